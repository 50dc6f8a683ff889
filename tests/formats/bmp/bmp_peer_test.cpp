// Cross-checks with ImageMagick: files it writes decode to its own pixels, and it decodes the
// files we write to ours.
#include "formats/imageio/image_io.h"
#include "peer.h"
#include "temp_dir.h"

TEST(BmpPeerTest, FilesImageMagickWritesDecodeToTheSamePixels)
{
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    TTempDir dir;
    const std::string source = dir / "source.ppm";
    ASSERT_EQ(RunQuiet("convert -size 37x23 gradient:red-blue -depth 8 '" + source + "'"), 0);
    struct Case { const char* name; const char* options; int tolerance; };
    // 5-6-5 pixels keep their low bits zero where ImageMagick scales them up.
    const Case cases[] = {
        {"v3-24.bmp", "-type truecolor BMP3:", 0},   {"v5-24.bmp", "-type truecolor BMP:", 0},
        {"os2-24.bmp", "-type truecolor BMP2:", 0},  {"p8.bmp", "-colors 200 -type palette BMP3:", 0},
        {"p4.bmp", "-colors 12 BMP3:", 0},           {"m1.bmp", "-monochrome BMP3:", 0},
        {"os2-p8.bmp", "-colors 100 -type palette BMP2:", 0},
        {"rle8.bmp", "-colors 200 -type palette -compress RLE BMP3:", 0},
        {"r565.bmp", "-define bmp:subtype=RGB565 BMP:", 7}, {"a32.bmp", "-type truecoloralpha BMP:", 0},
        {"v4-p8.bmp", "-colors 50 -type palette -define bmp:format=bmp4 BMP:", 0},
    };
    for (const Case& c : cases) {
        const std::string file = dir / c.name;
        ASSERT_EQ(RunQuiet("convert '" + source + "' " + c.options + "'" + file + "'"), 0) << c.name;
        TIEBitmap peer;
        ASSERT_TRUE(PeerDecode(file, dir / "peer.ppm", peer)) << c.name;
        TImageIO io;
        io.LoadFromFile(file);
        ASSERT_FALSE(io.Aborting) << c.name;
        EXPECT_EQ(io.Params.FileType, ftBMP);
        EXPECT_LE(MaxDifference(*io.IEBitmap(), peer), c.tolerance) << c.name;
    }
}

TEST(BmpPeerTest, FilesWeWriteDecodeTheSameInImageMagick)
{
    if (!HaveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    TTempDir dir;
    TImageIO io;
    TIEBitmap& b = *io.IEBitmap();
    b.Allocate(41, 17, ipf24RGB);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 41; ++x)
            reinterpret_cast<TRGB*>(b.ScanLine(y))[x] = CreateRGB(uint8_t(x * 6), uint8_t(y * 15), uint8_t((x * y) % 256));
    struct Case { const char* name; int bits, samples; uint8_t version, compression; };
    const Case cases[] = {
        {"w24.bmp", 8, 3, 1, 0}, {"w24-os2.bmp", 8, 3, 2, 0}, {"w24-v64.bmp", 8, 3, 3, 0},
        {"w8.bmp", 8, 1, 1, 0},  {"w8-rle.bmp", 8, 1, 1, 1},  {"w4.bmp", 4, 1, 1, 0},
        {"w4-rle.bmp", 4, 1, 1, 1}, {"w1.bmp", 1, 1, 1, 0}, {"w8-os2.bmp", 8, 1, 2, 1},
    };
    for (const Case& c : cases) {
        io.Params.BitsPerSample = c.bits;
        io.Params.SamplesPerPixel = c.samples;
        io.Params.BmpVersion = c.version;
        io.Params.BmpCompression = c.compression;
        const std::string file = dir / c.name;
        io.SaveToFile(file);
        ASSERT_FALSE(io.Aborting) << c.name;
        TIEBitmap peer;
        ASSERT_TRUE(PeerDecode(file, dir / "peer.ppm", peer)) << c.name;
        TImageIO reader;
        reader.LoadFromFile(file);
        ASSERT_FALSE(reader.Aborting) << c.name;
        EXPECT_EQ(MaxDifference(*reader.IEBitmap(), peer), 0) << c.name;
        if (c.bits == 8 && c.samples == 3) {
            EXPECT_EQ(MaxDifference(*reader.IEBitmap(), b), 0) << c.name;
        }
    }
}
