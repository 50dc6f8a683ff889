#include "formats/imageio/image_io.h"
#include "formats/jpeg/jpeg.h"
#include "temp_dir.h"

namespace {

std::string Bytes(const std::string& head, size_t size)
{
    std::string s = head;
    s.resize(size, 'x');
    return s;
}

// Icon (1) or cursor (2) directory with one zeroed entry.
std::string Icon(char type) { return std::string("\0\0", 2) + type + std::string("\0\1\0", 3) + std::string(24, '\0'); }

TImageFileType Detect(const std::string& bytes, int64_t position = 0)
{
    TMemoryStream s(bytes.data(), bytes.size());
    s.SetPosition(position);
    TImageIO io;
    TImageFileType type = io.FindStreamFormat(s);
    EXPECT_EQ(s.Position(), position);
    return type;
}

}  // namespace

TEST(DetectTest, SignaturesAndTheirMinimumSizes)
{
    struct Case { std::string bytes; TImageFileType type; };
    const std::string pcxHeader("\x0A\x05", 2);
    for (const Case& c : {Case{Bytes("II", 9), ftTIFF}, Case{Bytes("II", 8), ftUnknown}, Case{Bytes("MM", 9), ftTIFF},
                          Case{Bytes("BM", 15), ftBMP}, Case{Bytes("BM", 14), ftUnknown}, Case{Bytes("GIF", 14), ftGIF},
                          Case{Bytes("GIF", 13), ftUnknown}, Case{Bytes(pcxHeader, 129), ftPCX},
                          Case{Bytes(pcxHeader, 128), ftUnknown}, Case{Bytes(std::string("PCX2\0", 5), 13), ftPCX},
                          Case{Bytes(std::string("TIFF\0", 5), 13), ftTIFF},
                          Case{Icon(1), ftICO},
                          Case{Icon(2), ftCUR},
                          Case{Bytes(std::string("\0\0\0\x0CjP  \x0D\x0A\x87\x0A", 12), 40), ftJP2},
                          Case{Bytes("\xFF\x4F\xFF\x51", 40), ftJ2K}, Case{Bytes("hello", 200), ftUnknown}})
        EXPECT_EQ(Detect(c.bytes), c.type) << c.bytes.substr(0, 4);
}

TEST(DetectTest, ProbesStartAtTheStreamPosition)
{
    EXPECT_EQ(Detect("garbage" + Bytes("BM", 20), 7), ftBMP);
}

TEST(DetectTest, JpegStartWithinTheFirstHundredBytes)
{
    const std::string soi("\xFF\xD8\xFF\xE0", 4);
    {
        TMemoryStream probe(soi.data(), soi.size());
        if (FindJpegStart(probe) != 0) GTEST_SKIP() << "the JPEG codec is not built yet";
    }
    EXPECT_EQ(Detect(std::string(99, '\x01') + soi + std::string(50, '\x01')), ftJPEG);
    EXPECT_EQ(Detect(std::string(100, '\x01') + soi + std::string(50, '\x01')), ftUnknown);
}

TEST(DetectTest, FindFileFormatVerifiesTheExtension)
{
    TTempDir dir;
    const std::string bmp = Bytes("BM", 60), icon = Icon(1);
    TImageIO io;
    EXPECT_EQ(io.FindFileFormat(dir.Write("a.png", bmp), false), ftBMP);
    EXPECT_EQ(io.FindFileFormat(dir.Write("b.png", bmp), true), ftUnknown);
    EXPECT_EQ(io.FindFileFormat(dir.Write("c.dib", bmp), true), ftBMP);
    EXPECT_EQ(io.FindFileFormat(dir.Write("d.xyz", bmp), true), ftUnknown);
    EXPECT_EQ(io.FindFileFormat(dir.Write("e.cur", icon), true), ftCUR);
    EXPECT_EQ(io.FindFileFormat(dir.Write("f.ico", icon), true), ftICO);
    EXPECT_EQ(io.FindFileFormat(dir / "missing.bmp", true), ftUnknown);
}
