// Our PNG files pass pngcheck, ImageMagick sees the pixels our reader gets back.
#include "formats/png/png.h"
#include "formats/png/png_io.h"
#include "tests/formats/peer_tools/peer_tools.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

std::vector<uint8_t> Write(TIEBitmap& bitmap, TIOParamsVals& params, const TIEBitmap* mask = nullptr)
{
    TMemoryStream stream;
    TTestProgress progress;
    WritePng(stream, bitmap, params, mask, progress.Rec);
    EXPECT_FALSE(progress.Aborting);
    return stream.Bytes();
}

bool Read(const std::vector<uint8_t>& bytes, TIEBitmap& bitmap, TIOParamsVals& params,
          std::unique_ptr<TIEBitmap>& mask)
{
    TMemoryStream stream(bytes.data(), bytes.size());
    TTestProgress progress;
    ReadPng(stream, bitmap, params, false, mask, false, progress.Rec);
    return !progress.Aborting;
}

// Payload of the first chunk of a type, or nothing.
std::vector<uint8_t> Chunk(const std::vector<uint8_t>& png, const char* type)
{
    for (size_t pos = 8; pos + 12 <= png.size();) {
        const size_t length = size_t(png[pos]) << 24 | size_t(png[pos + 1]) << 16 | size_t(png[pos + 2]) << 8 | png[pos + 3];
        if (std::memcmp(&png[pos + 4], type, 4) == 0)
            return std::vector<uint8_t>(png.begin() + pos + 8, png.begin() + pos + 8 + length);
        pos += 12 + length;
    }
    return {};
}

void MakeMask(TIEBitmap& mask, int width, int height)
{
    mask.Allocate(width, height, ipf8Gray);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.ScanLine(y)[x] = (x / 8 + y / 8) % 2 ? 255 : 0;
}

}  // namespace

TEST(PngWrite, EveryOutputPassesPeerChecks)
{
    if (!HaveTools({"pngcheck", "convert"}))
        GTEST_SKIP() << "pngcheck and ImageMagick are needed (tools/setup installs them)";
    struct TCase {
        const char* Name;
        int Bits, Samples;
        bool Interlaced, WithMask;
        uint8_t Filter;
        int Level;
        const char* ColourType;  // as pngcheck names it
        bool Lossless;
    } cases[] = {
        {"rgb", 8, 3, false, false, 0, 5, "RGB", true},
        {"rgb interlaced paeth", 8, 3, true, false, 2, 9, "RGB", true},
        {"rgba sub", 8, 3, false, true, 1, 1, "RGB+alpha", true},
        {"rgba interlaced", 8, 3, true, true, 5, 0, "RGB+alpha", true},
        {"palette 8", 8, 1, false, false, 0, 5, "palette", false},
        {"palette 4 interlaced", 4, 1, true, false, 0, 5, "palette", false},
        {"palette 2", 2, 1, false, false, 0, 5, "palette", false},
        {"palette with mask", 8, 1, false, true, 0, 5, "palette", false},
        {"one bit", 1, 1, false, false, 0, 5, "grayscale", false},
        {"one bit interlaced", 1, 3, true, false, 0, 5, "grayscale", false},
    };
    TTempDir dir;
    TIEBitmap picture, mask;
    MakeTestPicture(picture, 61, 37, 5);
    MakeMask(mask, 61, 37);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TIOParamsVals params;
        params.BitsPerSample = c.Bits;
        params.SamplesPerPixel = c.Samples;
        params.PngInterlaced = c.Interlaced;
        params.PngFilter = c.Filter;
        params.PngCompression = c.Level;
        params.DpiX = 300;
        params.DpiY = 72;
        const std::vector<uint8_t> bytes = Write(picture, params, c.WithMask ? &mask : nullptr);
        const std::string path = dir.Path("ours.png");
        WriteFileBytes(path, bytes);
        const std::string check = RunOutput("pngcheck -v " + path + " 2>&1");
        EXPECT_NE(check.find("No errors detected"), std::string::npos) << check;
        EXPECT_NE(check.find(c.ColourType), std::string::npos) << check;
        EXPECT_NE(check.find("11811x2835 pixels/meter"), std::string::npos) << check;

        TIEBitmap back;
        TIOParamsVals readParams;
        std::unique_ptr<TIEBitmap> backMask;
        ASSERT_TRUE(Read(bytes, back, readParams, backMask));
        EXPECT_EQ(readParams.PngInterlaced, c.Interlaced);
        EXPECT_EQ(readParams.DpiX, 300);
        EXPECT_EQ(readParams.DpiY, 72);
        back.ConvertTo(ipf24RGB);
        ASSERT_TRUE(RunCommand("convert " + path + " -alpha off -depth 8 ppm:" + dir.Path("ours.ppm")));
        EXPECT_EQ(MaxDifference(back, ReadPnm(dir.Path("ours.ppm"))), 0);
        if (c.Lossless) {
            for (int y = 0; y < picture.Height(); ++y)
                ASSERT_EQ(0, std::memcmp(back.ScanLine(y), picture.ScanLine(y), size_t(picture.Width()) * 3));
        }
        if (c.WithMask) {
            for (int y = 0; y < mask.Height(); ++y)
                ASSERT_EQ(0, std::memcmp(backMask->ScanLine(y), mask.ScanLine(y), size_t(mask.Width())));
        }
    }
}

TEST(PngWrite, PaletteOfAColourImage)
{
    TIEBitmap picture;
    MakeTestPicture(picture, 64, 64, 9);
    TIOParamsVals params;
    params.SamplesPerPixel = 1;
    params.BitsPerSample = 8;
    const std::vector<uint8_t> bytes = Write(picture, params);
    const std::vector<uint8_t> plte = Chunk(bytes, "PLTE");
    ASSERT_EQ(plte.size(), 256u * 3);
    std::set<uint32_t> palette;
    for (size_t i = 0; i < plte.size(); i += 3)
        palette.insert(uint32_t(plte[i]) << 16 | plte[i + 1] << 8 | plte[i + 2]);
    TIEBitmap back;
    TIOParamsVals readParams;
    std::unique_ptr<TIEBitmap> mask;
    ASSERT_TRUE(Read(bytes, back, readParams, mask));
    EXPECT_EQ(readParams.ColorMapCount, 256);
    for (int y = 0; y < back.Height(); ++y) {
        for (int x = 0; x < back.Width(); ++x) {
            const uint8_t* p = back.ScanLine(y) + 3 * x;
            ASSERT_TRUE(palette.count(uint32_t(p[2]) << 16 | p[1] << 8 | p[0])) << x << "," << y;
        }
    }
}

TEST(PngWrite, GreyImagesBecomeGreyFiles)
{
    TIEBitmap grey;
    grey.Allocate(32, 4, ipf24RGB);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 32 * 3; ++x)
            grey.ScanLine(y)[x] = uint8_t((x / 3) * 8);
    for (int bits : {8, 16}) {
        SCOPED_TRACE(bits);
        TIOParamsVals params;
        params.SamplesPerPixel = 1;
        params.BitsPerSample = bits;
        const std::vector<uint8_t> bytes = Write(grey, params);
        const std::vector<uint8_t> header = Chunk(bytes, "IHDR");
        ASSERT_EQ(header.size(), 13u);
        EXPECT_EQ(header[8], bits);
        EXPECT_EQ(header[9], 0);  // grey
        TIEBitmap back;
        TIOParamsVals readParams;
        std::unique_ptr<TIEBitmap> mask;
        ASSERT_TRUE(Read(bytes, back, readParams, mask));
        EXPECT_EQ(back.ScanLine(2)[3 * 31], 248);
    }
}

TEST(PngWrite, Failures)
{
    TIEBitmap picture;
    MakeTestPicture(picture, 200, 200);
    TIOParamsVals params;
    params.PngCompression = 0;
    TLimitedStream stream(500);
    TTestProgress progress;
    WritePng(stream, picture, params, nullptr, progress.Rec);
    EXPECT_TRUE(progress.Aborting);

    TIEBitmap empty;
    TMemoryStream out;
    TTestProgress emptyProgress;
    WritePng(out, empty, params, nullptr, emptyProgress.Rec);
    EXPECT_TRUE(emptyProgress.Aborting);
    EXPECT_EQ(out.Size(), 0);

    // Wider than libpng accepts: the library's error comes out as the writer's exception.
    TIEBitmap wide;
    wide.Allocate(1000001, 1, ipf24RGB);
    wide.Fill(0);
    TMemoryStream wideOut;
    TTestProgress wideProgress;
    try {
        WritePng(wideOut, wide, params, nullptr, wideProgress.Rec);
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Error on creating PNG");
    }
}
