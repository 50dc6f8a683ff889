// Decoding PngSuite images and ImageMagick's files, compared with netpbm's pixels.
#include "formats/png/png.h"
#include "tests/formats/peer_tools/peer_tools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

struct TRead {
    bool Ok = false;
    TIEBitmap Bitmap;
    TIOParamsVals Params;
    std::unique_ptr<TIEBitmap> Mask;
};

void ReadBytes(const std::vector<uint8_t>& bytes, TRead& r, bool paramsOnly = false)
{
    TMemoryStream stream(bytes.data(), bytes.size());
    TTestProgress progress;
    ReadPng(stream, r.Bitmap, r.Params, /*mergeBackground=*/false, r.Mask, paramsOnly, progress.Rec);
    r.Ok = !progress.Aborting;
}

// Largest difference from netpbm's decoding, which leaves gamma alone as we do (ImageMagick
// applies the gAMA chunk). 1-bit bitmaps are compared as black and white.
int CompareWithPeer(TRead& r, const std::string& png, const TTempDir& dir)
{
    const std::string reference = dir.Path("reference.pnm");
    if (!RunCommand("pngtopnm '" + png + "' 2>/dev/null | pamdepth 255 > " + reference))
        return -1;
    r.Bitmap.ConvertTo(ipf24RGB);
    return MaxDifference(r.Bitmap, ReadPnm(reference));
}

std::string PngSuite() { return std::string(NUMERAK_PEER_SUITES) + "/pngsuite/png"; }

}  // namespace

TEST(PngSuitePeer, DecodesLikeNetpbm)
{
    if (!std::filesystem::is_directory(PngSuite()))
        GTEST_SKIP() << "PngSuite not found at " << PngSuite();
    if (!HaveTools({"pngtopnm", "pamdepth"}))
        GTEST_SKIP() << "netpbm is needed";
    TTempDir dir;
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PngSuite())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png")
            continue;
        SCOPED_TRACE(name);
        TRead r;
        ReadBytes(ReadFileBytes(entry.path().string()), r);
        if (name[0] == 'x') {
            EXPECT_FALSE(r.Ok) << "corrupt file accepted";
            continue;
        }
        ASSERT_TRUE(r.Ok);
        const int colorType = name.size() > 5 ? name[4] - '0' : -1;
        const int depth = std::stoi(name.substr(6, 2));
        // 1-bit files are read by index; transparency of grey and RGB files stays out of the mask.
        const bool byIndex = depth == 1 && (colorType == 0 || colorType == 3);
        if (!byIndex) {
            // 16-bit samples are cut to their high byte; pamdepth rounds.
            EXPECT_LE(CompareWithPeer(r, entry.path().string(), dir), depth == 16 ? 1 : 0);
        }
        EXPECT_EQ(r.Params.BitsPerSample, depth);
        ASSERT_TRUE(r.Mask);
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(PngSuitePeer, InterlacedAlphaKeepsEveryPass)
{
    if (!std::filesystem::is_directory(PngSuite()))
        GTEST_SKIP() << "PngSuite not found at " << PngSuite();
    // The same RGBA image stored plain and interlaced gives the same pixels and mask.
    TRead plain, interlaced;
    ReadBytes(ReadFileBytes(PngSuite() + "/basn6a08.png"), plain);
    ReadBytes(ReadFileBytes(PngSuite() + "/basi6a08.png"), interlaced);
    ASSERT_TRUE(plain.Ok && interlaced.Ok);
    EXPECT_TRUE(interlaced.Params.PngInterlaced);
    for (int y = 0; y < plain.Bitmap.Height(); ++y) {
        ASSERT_EQ(0, std::memcmp(plain.Bitmap.ScanLine(y), interlaced.Bitmap.ScanLine(y), size_t(plain.Bitmap.Width()) * 3))
            << "row " << y;
        ASSERT_EQ(0, std::memcmp(plain.Mask->ScanLine(y), interlaced.Mask->ScanLine(y), size_t(plain.Bitmap.Width())))
            << "row " << y;
    }
}

TEST(PngRead, FieldsOfMagickFiles)
{
    if (!HaveTools({"convert", "pngtopnm", "pamdepth"}))
        GTEST_SKIP() << "ImageMagick and netpbm are needed";
    TTempDir dir;
    struct TCase {
        const char* Command;
        int Bits, Samples;
        TImagePixelFormat Format;
        int Dpi;
    } cases[] = {
        {"-size 20x10 gradient:red-blue -depth 16 -units PixelsPerInch -density 300", 16, 3, ipf24RGB, 300},
        {"-size 20x10 xc:black xc:white +append -type Palette -depth 1 -define png:color-type=3", 1, 1, ipf1Bit, 96},
        {"-size 20x10 gradient: -depth 8 -define png:color-type=0", 8, 1, ipf24RGB, 96},
        {"-size 20x10 gradient:red-blue -depth 8 -alpha set -channel A -evaluate set 50% +channel -define png:color-type=6", 8, 4, ipf24RGB, 96},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Command);
        const std::string png = dir.Path("f.png");
        ASSERT_TRUE(RunCommand(std::string("convert ") + c.Command + " png:" + png));
        TRead r;
        ReadBytes(ReadFileBytes(png), r);
        ASSERT_TRUE(r.Ok);
        EXPECT_EQ(r.Params.BitsPerSample, c.Bits);
        EXPECT_EQ(r.Params.SamplesPerPixel, c.Samples);
        EXPECT_EQ(r.Bitmap.PixelFormat(), c.Format);
        EXPECT_EQ(r.Params.DpiX, c.Dpi);
        if (c.Format == ipf1Bit) {
            EXPECT_EQ(r.Bitmap.ScanLine(0)[0], 0x00);  // index 0 black
            EXPECT_EQ(r.Bitmap.ScanLine(0)[3] & 0x0F, 0x0F);  // index 1 white
        }
        if (c.Samples == 4) {
            EXPECT_NEAR(r.Mask->ScanLine(3)[3], 128, 1);
        }
        EXPECT_LE(CompareWithPeer(r, png, dir), c.Bits == 16 ? 1 : 0);
    }
}

TEST(PngRead, ParamsOnlyAndDamage)
{
    TIEBitmap picture;
    MakeTestPicture(picture, 40, 30);
    TIOParamsVals params;
    params.DpiX = params.DpiY = 300;
    TMemoryStream out;
    TTestProgress progress;
    WritePng(out, picture, params, nullptr, progress.Rec);
    const std::vector<uint8_t> file = out.Bytes();

    TMemoryStream probe(file.data(), file.size());
    EXPECT_TRUE(IsPng(probe));
    EXPECT_EQ(probe.Position(), 0);
    const std::vector<uint8_t> jpegStart = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0, 0, 0};
    TMemoryStream notPng(jpegStart.data(), jpegStart.size());
    EXPECT_FALSE(IsPng(notPng));

    TRead header;
    ReadBytes(file, header, /*paramsOnly=*/true);
    EXPECT_TRUE(header.Ok);
    EXPECT_EQ(header.Params.Width, 40);
    EXPECT_EQ(header.Params.DpiX, 300);
    EXPECT_TRUE(header.Bitmap.Empty());

    for (size_t size : {file.size() - 20, size_t(40), size_t(8), size_t(0)}) {
        SCOPED_TRACE(size);
        TRead r;
        ReadBytes(std::vector<uint8_t>(file.begin(), file.begin() + size), r);
        EXPECT_FALSE(r.Ok);
    }
    // A header claiming far more rows than the bytes that follow could hold.
    std::vector<uint8_t> huge = file;
    huge[16] = huge[17] = 0x00;
    huge[18] = huge[19] = 0x7F;  // width 32639; the CRC is now wrong as well
    TRead r;
    ReadBytes(huge, r);
    EXPECT_FALSE(r.Ok);
}
