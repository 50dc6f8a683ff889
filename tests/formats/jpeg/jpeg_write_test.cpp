// Our JPEG files: djpeg decodes them, our reader gets back what we wrote, options take effect.
#include "formats/jpeg/jpeg.h"
#include "tests/formats/peer_tools/peer_tools.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<uint8_t> Write(TIEBitmap& bitmap, TIOParamsVals& params)
{
    TMemoryStream stream;
    TTestProgress progress;
    WriteJpeg(stream, bitmap, params, progress.Rec);
    EXPECT_FALSE(progress.Aborting);
    return stream.Bytes();
}

bool Read(const std::vector<uint8_t>& bytes, TIEBitmap& bitmap, TIOParamsVals& params, bool rawColor = false,
          TStream* tables = nullptr)
{
    TMemoryStream stream(bytes.data(), bytes.size());
    TTestProgress progress;
    ReadJpeg(stream, tables, bitmap, rawColor, /*paramsOnly=*/false, progress.Rec, params);
    return !progress.Aborting;
}

// Mean absolute difference of two 24-bit bitmaps of one size.
double MeanDifference(const TIEBitmap& a, const TIEBitmap& b)
{
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int i = 0; i < a.Width() * 3; ++i)
            sum += std::abs(a.ScanLine(y)[i] - b.ScanLine(y)[i]);
    }
    return sum / (double(a.Width()) * a.Height() * 3);
}

void Fill(TIEBitmap& bitmap, int width, int height, TRGB colour)
{
    bitmap.Allocate(width, height, ipf24RGB);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            reinterpret_cast<TRGB*>(bitmap.ScanLine(y))[x] = colour;
    }
}

}  // namespace

TEST(JpegWrite, OptionsReachTheFileAndDjpegDecodesIt)
{
    if (!HaveTools({"djpeg"}))
        GTEST_SKIP() << "djpeg is needed (tools/setup installs it)";
    struct TCase {
        const char* Name;
        uint8_t ColorSpace;
        bool Progressive, Optimal;
        uint8_t Dct;
        int Smooth, Quality;
        int Samples;
        double MaxMean;
    } cases[] = {
        {"default", 2, false, false, 0, 0, 80, 3, 6},
        {"progressive optimal", 2, true, true, 0, 0, 90, 3, 6},
        {"fast dct smoothed", 2, false, false, 1, 30, 80, 3, 8},
        {"float dct", 2, false, false, 2, 0, 100, 3, 5},
        {"rgb", 0, false, false, 0, 0, 90, 3, 5},
        {"grey", 1, false, false, 0, 0, 90, 1, 60},
        {"cmyk", 3, false, false, 0, 0, 95, 4, 5},
        {"ycck", 4, false, false, 0, 0, 95, 4, 5},
    };
    TTempDir dir;
    TIEBitmap picture;
    MakeTestPicture(picture, 120, 70, 3);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TIOParamsVals params;
        params.JpegColorSpace = c.ColorSpace;
        params.JpegProgressive = c.Progressive;
        params.JpegOptimalHuffman = c.Optimal;
        params.JpegDctMethod = c.Dct;
        params.JpegSmooth = c.Smooth;
        params.JpegQuality = c.Quality;
        params.DpiX = 300;
        params.DpiY = 150;
        const std::vector<uint8_t> bytes = Write(picture, params);
        const std::string path = dir.Path("ours.jpg");
        WriteFileBytes(path, bytes);
        ASSERT_TRUE(RunCommand("djpeg -pnm -outfile " + dir.Path("ours.pnm") + " " + path));

        TIEBitmap back;
        TIOParamsVals readParams;
        ASSERT_TRUE(Read(bytes, back, readParams));
        EXPECT_EQ(readParams.JpegColorSpace, c.ColorSpace);
        EXPECT_EQ(readParams.SamplesPerPixel, c.Samples);
        EXPECT_EQ(readParams.JpegProgressive, c.Progressive);
        if (c.ColorSpace == 1 || c.ColorSpace == 2) {  // the only spaces with a JFIF header
            EXPECT_EQ(readParams.DpiX, 300);
            EXPECT_EQ(readParams.DpiY, 150);
        }
        const int djpegDifference = MaxDifference(back, ReadPnm(dir.Path("ours.pnm")));
        EXPECT_GE(djpegDifference, 0);
        EXPECT_LE(djpegDifference, c.Samples == 4 ? 1 : 0);
        EXPECT_LT(MeanDifference(back, picture), c.MaxMean);
    }
}

TEST(JpegWrite, CmykKeepsColours)
{
    const TRGB colours[] = {CreateRGB(200, 30, 60), CreateRGB(0, 0, 0), CreateRGB(255, 255, 255),
                            CreateRGB(10, 120, 250)};
    for (uint8_t space : {uint8_t(3), uint8_t(4)}) {
        for (TRGB colour : colours) {
            SCOPED_TRACE(testing::Message() << int(space) << ": " << int(colour.r) << "," << int(colour.g) << ","
                                            << int(colour.b));
            TIEBitmap bitmap;
            Fill(bitmap, 16, 16, colour);
            TIOParamsVals params;
            params.JpegColorSpace = space;
            params.JpegQuality = 100;
            TIEBitmap back;
            TIOParamsVals readParams;
            ASSERT_TRUE(Read(Write(bitmap, params), back, readParams));
            const TRGB got = reinterpret_cast<const TRGB*>(back.ScanLine(8))[8];
            EXPECT_NEAR(got.r, colour.r, 3);
            EXPECT_NEAR(got.g, colour.g, 3);
            EXPECT_NEAR(got.b, colour.b, 3);
        }
    }
}

TEST(JpegWrite, OneBitImagesAndScreenResolution)
{
    TIEBitmap bitmap;
    bitmap.Allocate(40, 10, ipf1Bit);
    for (int y = 0; y < 10; ++y)
        std::fill_n(bitmap.ScanLine(y), bitmap.RowLen(), y < 5 ? 0x00 : 0xFF);
    TIOParamsVals params;
    params.JpegQuality = 100;
    TIEBitmap back;
    TIOParamsVals readParams;
    ASSERT_TRUE(Read(Write(bitmap, params), back, readParams));
    EXPECT_EQ(bitmap.PixelFormat(), ipf1Bit);  // the caller's bitmap is left alone
    EXPECT_LT(back.ScanLine(1)[3], 8);
    EXPECT_GT(back.ScanLine(8)[3], 247);
    EXPECT_EQ(readParams.DpiX, IEDefaultDpi);
}

TEST(JpegWrite, Failures)
{
    TIOParamsVals params;
    {
        TIEBitmap empty;
        TMemoryStream stream;
        TTestProgress progress;
        WriteJpeg(stream, empty, params, progress.Rec);
        EXPECT_TRUE(progress.Aborting);
        EXPECT_EQ(stream.Size(), 0);
    }
    TIEBitmap picture;
    MakeTestPicture(picture, 300, 300);
    {
        TLimitedStream stream(1000);
        TTestProgress progress;
        WriteJpeg(stream, picture, params, progress.Rec);
        EXPECT_TRUE(progress.Aborting);
    }
    {
        // A marker the format cannot hold is the library's error, raised to the caller.
        params.JpegMarkers = {TJpegMarker{0xFE, std::vector<uint8_t>(70000, 'x')}};
        TMemoryStream stream;
        TTestProgress progress;
        EXPECT_THROW(WriteJpeg(stream, picture, params, progress.Rec), EIEJpegException);
        EXPECT_TRUE(progress.Aborting);
    }
}

TEST(JpegWrite, MarkersAreWrittenBackExceptAdobe)
{
    TIEBitmap picture;
    MakeTestPicture(picture, 32, 32);
    TIOParamsVals params;
    const std::vector<TJpegMarker> markers = {
        {0xE1, {'E', 'x', 'i', 'f', 0, 0, 1, 2}},
        {0xEE, {'A', 'd', 'o', 'b', 'e', 0, 1, 0, 0, 0, 0, 1}},
        {0xED, {'P', 'h', 'o', 't', 'o', 's', 'h', 'o', 'p'}},
        {0xFE, {'h', 'e', 'l', 'l', 'o'}},
        {0xE0, {'J', 'F', 'X', 'X', 0, 0x13}},
    };
    params.JpegMarkers = markers;
    const std::vector<uint8_t> bytes = Write(picture, params);
    TIEBitmap back;
    TIOParamsVals readParams;
    ASSERT_TRUE(Read(bytes, back, readParams));
    std::vector<TJpegMarker> expected = markers;
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(readParams.JpegMarkers, expected);

    // Read again and save again: still the same list, the JFIF header the library's own.
    TIOParamsVals again;
    ASSERT_TRUE(Read(Write(back, readParams), back, again));
    EXPECT_EQ(again.JpegMarkers, expected);

    if (HaveTools({"rdjpgcom"})) {
        TTempDir dir;
        WriteFileBytes(dir.Path("m.jpg"), bytes);
        EXPECT_EQ(RunOutput("rdjpgcom " + dir.Path("m.jpg")), "hello\n");
    }
}

TEST(JpegTables, AbbreviatedStreamWithSeparateTables)
{
    TIEBitmap picture;
    MakeTestPicture(picture, 64, 48);
    TIOParamsVals params;
    const std::vector<uint8_t> full = Write(picture, params);
    // Split the file as JPEG-in-TIFF stores it: tables (DQT, DHT) apart, the image without them.
    std::vector<uint8_t> tables = {0xFF, 0xD8}, image = {0xFF, 0xD8};
    size_t pos = 2;
    while (pos + 4 <= full.size() && full[pos] == 0xFF && full[pos + 1] != 0xDA) {
        const size_t length = size_t(full[pos + 2]) << 8 | full[pos + 3];
        auto& target = full[pos + 1] == 0xDB || full[pos + 1] == 0xC4 ? tables : image;
        target.insert(target.end(), full.begin() + pos, full.begin() + pos + 2 + length);
        pos += 2 + length;
    }
    image.insert(image.end(), full.begin() + pos, full.end());
    tables.insert(tables.end(), {0xFF, 0xD9});

    TIEBitmap expected, got;
    TIOParamsVals p1, p2, p3;
    ASSERT_TRUE(Read(full, expected, p1));
    EXPECT_FALSE(Read(image, got, p2));
    TMemoryStream tableStream(tables.data(), tables.size());
    ASSERT_TRUE(Read(image, got, p3, /*rawColor=*/false, &tableStream));
    EXPECT_EQ(MeanDifference(expected, got), 0.0);
}

TEST(JpegRawColor, ComponentsComeAsStored)
{
    TIEBitmap red;
    Fill(red, 16, 16, CreateRGB(255, 0, 0));
    TIOParamsVals params;
    params.JpegQuality = 100;
    const std::vector<uint8_t> bytes = Write(red, params);
    TIEBitmap raw;
    TIOParamsVals readParams;
    ASSERT_TRUE(Read(bytes, raw, readParams, /*rawColor=*/true));
    // Pure red is Y 76, Cb 85, Cr 255, stored in the bitmap's three bytes in that order.
    const uint8_t* pixel = raw.ScanLine(8) + 8 * 3;
    EXPECT_NEAR(pixel[0], 76, 2);
    EXPECT_NEAR(pixel[1], 85, 2);
    EXPECT_NEAR(pixel[2], 255, 2);
}
