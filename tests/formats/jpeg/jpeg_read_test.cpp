// Decoding JPEG files made by cjpeg and ImageMagick, compared with what djpeg makes of them.
#include "formats/jpeg/jpeg.h"
#include "formats/jpeg/jpeg_error.h"
#include "tests/formats/peer_tools/peer_tools.h"

#include <gtest/gtest.h>
#include <jerror.h>

namespace {

bool ReadFile(const std::string& path, TIEBitmap& bitmap, TIOParamsVals& params, bool paramsOnly = false)
{
    TFileReadStream stream(path);
    TTestProgress progress;
    ReadJpeg(stream, nullptr, bitmap, /*rawColor=*/false, paramsOnly, progress.Rec, params);
    return !progress.Aborting;
}

bool ReadBytes(const std::vector<uint8_t>& bytes, TIEBitmap& bitmap, TIOParamsVals& params)
{
    TMemoryStream stream(bytes.data(), bytes.size());
    TTestProgress progress;
    ReadJpeg(stream, nullptr, bitmap, /*rawColor=*/false, /*paramsOnly=*/false, progress.Rec, params);
    return !progress.Aborting;
}

class JpegPeerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTools({"cjpeg", "djpeg", "convert"}))
            GTEST_SKIP() << "cjpeg, djpeg and ImageMagick are needed (tools/setup installs them)";
        TIEBitmap picture;
        MakeTestPicture(picture, 157, 93);
        Source = Dir.Path("source.ppm");
        WritePpm(Source, picture);
    }
    TTempDir Dir;
    std::string Source;
};

struct TPeerCase {
    const char* Name;
    const char* Command;  // %s: source PPM, %o: output JPEG
    uint8_t ColorSpace;
    int Samples;
    bool Progressive;
    int Tolerance;  // djpeg rounds CMYK to nearest, we truncate
};

const TPeerCase IEPeerCases[] = {
    {"baseline", "cjpeg -quality 85 %s > %o", 2, 3, false, 0},
    {"progressive", "cjpeg -progressive %s > %o", 2, 3, true, 0},
    {"optimized", "cjpeg -optimize -sample 1x1 %s > %o", 2, 3, false, 0},
    {"grey", "cjpeg -grayscale %s > %o", 1, 1, false, 0},
    {"restarts", "cjpeg -restart 1 %s > %o", 2, 3, false, 0},
    {"rgb", "cjpeg -rgb %s > %o", 0, 3, false, 0},
    {"magick", "convert %s -quality 70 %o", 2, 3, false, 0},
    {"cmyk", "convert %s -colorspace CMYK %o", 4, 4, false, 1},  // the library stores CMYK as YCCK
};

std::string Expand(std::string command, const std::string& source, const std::string& output)
{
    command.replace(command.find("%s"), 2, source);
    command.replace(command.find("%o"), 2, output);
    return command;
}

}  // namespace

TEST_F(JpegPeerTest, DecodesLikeDjpeg)
{
    for (const TPeerCase& c : IEPeerCases) {
        SCOPED_TRACE(c.Name);
        const std::string jpeg = Dir.Path(std::string(c.Name) + ".jpg");
        const std::string reference = Dir.Path(std::string(c.Name) + ".pnm");
        ASSERT_TRUE(RunCommand(Expand(c.Command, Source, jpeg)));
        ASSERT_TRUE(RunCommand("djpeg -pnm " + jpeg + " > " + reference));
        TIEBitmap bitmap;
        TIOParamsVals params;
        ASSERT_TRUE(ReadFile(jpeg, bitmap, params));
        EXPECT_EQ(params.JpegColorSpace, c.ColorSpace);
        EXPECT_EQ(params.SamplesPerPixel, c.Samples);
        EXPECT_EQ(params.BitsPerSample, 8);
        EXPECT_EQ(params.JpegProgressive, c.Progressive);
        EXPECT_EQ(params.JpegWarningCount, 0);
        EXPECT_EQ(params.Width, 157);
        EXPECT_EQ(params.Height, 93);
        EXPECT_LE(MaxDifference(bitmap, ReadPnm(reference)), c.Tolerance);
        EXPECT_GE(MaxDifference(bitmap, ReadPnm(reference)), 0);
    }
}

TEST_F(JpegPeerTest, FindsTheStartWithinOneHundredBytes)
{
    const std::string jpeg = Dir.Path("plain.jpg");
    ASSERT_TRUE(RunCommand("cjpeg " + Source + " > " + jpeg));
    const std::vector<uint8_t> file = ReadFileBytes(jpeg);
    for (int junk : {0, 50, 99, 100}) {
        SCOPED_TRACE(junk);
        std::vector<uint8_t> bytes(size_t(junk), 0xFF);  // FF bytes but never FF D8 FF
        bytes.insert(bytes.end(), file.begin(), file.end());
        TMemoryStream stream(bytes.data(), bytes.size());
        EXPECT_EQ(FindJpegStart(stream), junk < 100 ? junk : -1);
        EXPECT_EQ(stream.Position(), 0);
        TIEBitmap bitmap;
        TIOParamsVals params;
        EXPECT_EQ(ReadBytes(bytes, bitmap, params), junk < 100);
    }
}

TEST_F(JpegPeerTest, DensityBecomesResolution)
{
    struct TCase {
        const char* Options;
        int Dpi;
    } cases[] = {{"-units PixelsPerInch -density 300", 300}, {"-units PixelsPerCentimeter -density 40", 101}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Options);
        const std::string jpeg = Dir.Path("density.jpg");
        ASSERT_TRUE(RunCommand("convert " + Source + " " + c.Options + " " + jpeg));
        TIEBitmap bitmap;
        TIOParamsVals params;
        ASSERT_TRUE(ReadFile(jpeg, bitmap, params, /*paramsOnly=*/true));
        EXPECT_EQ(params.DpiX, c.Dpi);
        EXPECT_EQ(params.DpiY, c.Dpi);
        EXPECT_TRUE(bitmap.Empty());
    }
}

TEST_F(JpegPeerTest, AutomaticScaleCoversTheAskedSize)
{
    struct TCase {
        int FileWidth, FileHeight;
        uint8_t Scale;
        int AskWidth, AskHeight;
        int Denominator, Width, Height;
    } cases[] = {
        {1600, 1200, 0, 200, 150, 8, 200, 150},
        {1500, 1200, 0, 200, 150, 4, 375, 300},
        {1600, 1200, 0, 0, 150, 1, 1600, 1200},
        {1600, 1200, 2, 0, 0, 2, 800, 600},
        {1601, 1201, 4, 0, 0, 8, 201, 151},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.FileWidth << "x" << c.FileHeight << " scale " << int(c.Scale));
        const std::string jpeg = Dir.Path("large.jpg");
        ASSERT_TRUE(RunCommand("convert -size " + std::to_string(c.FileWidth) + "x" + std::to_string(c.FileHeight) +
                        " gradient:red-blue " + jpeg));
        TIEBitmap bitmap;
        TIOParamsVals params;
        params.JpegScale = c.Scale;
        params.Width = c.AskWidth;
        params.Height = c.AskHeight;
        ASSERT_TRUE(ReadFile(jpeg, bitmap, params));
        EXPECT_EQ(params.JpegScaleUsed, c.Denominator);
        EXPECT_EQ(params.Width, c.Width);
        EXPECT_EQ(params.Height, c.Height);
        EXPECT_EQ(bitmap.Width(), c.Width);
        EXPECT_EQ(bitmap.Height(), c.Height);
        EXPECT_EQ(params.JpegOriginalWidth, c.FileWidth);
        EXPECT_EQ(params.JpegOriginalHeight, c.FileHeight);
    }
}

TEST_F(JpegPeerTest, DamagedFiles)
{
    const std::string jpeg = Dir.Path("plain.jpg");
    ASSERT_TRUE(RunCommand("cjpeg " + Source + " > " + jpeg));
    const std::vector<uint8_t> file = ReadFileBytes(jpeg);
    TIEBitmap bitmap;
    TIOParamsVals params;

    // Cut in the middle of the scan: the rest is grey, and the loss is counted as a warning.
    std::vector<uint8_t> truncated(file.begin(), file.begin() + file.size() / 2);
    EXPECT_TRUE(ReadBytes(truncated, bitmap, params));
    EXPECT_EQ(bitmap.Height(), 93);
    EXPECT_GT(params.JpegWarningCount, 0);
    EXPECT_NE(params.JpegWarningCode, 0);

    // A header cut short, only the start marker, and nothing at all.
    for (size_t size : {size_t(20), size_t(3), size_t(0)}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> head(file.begin(), file.begin() + size);
        EXPECT_FALSE(ReadBytes(head, bitmap, params));
    }

    // A frame header claiming a picture far beyond the allocation limit.
    std::vector<uint8_t> huge = file;
    for (size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = huge[i + 6] = huge[i + 7] = huge[i + 8] = 0xFF;
            break;
        }
    }
    EXPECT_FALSE(ReadBytes(huge, bitmap, params));
}

TEST(JpegErrorText, PlaceholdersAndOutOfTableCodes)
{
    TJpegErrorRecord record;
    bool aborting = false;
    const jpeg_error_mgr* err = JpegInitErrorRecord(record, &aborting);
    EXPECT_EQ(JpegMessageText(*err, 0), "Bogus message code ?");
    EXPECT_EQ(JpegMessageText(*err, JERR_BAD_COMPONENT_ID), "Invalid component ID ? in SOS");
    EXPECT_EQ(JpegMessageText(*err, JERR_NO_SOI), "Not a JPEG file: starts with 0x? 0x?");
    EXPECT_EQ(JpegMessageText(*err, err->last_jpeg_message + 1), "Corrupted");
    EXPECT_EQ(JpegMessageText(*err, -5), "Corrupted");
}

TEST(JpegReadErrors, LibraryErrorSetsAbortingWithoutThrowing)
{
    // A start marker followed by a bogus segment.
    const std::vector<uint8_t> bytes = {0xFF, 0xD8, 0xFF, 0x01, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    TIEBitmap bitmap;
    TIOParamsVals params;
    EXPECT_FALSE(ReadBytes(bytes, bitmap, params));
    EXPECT_TRUE(bitmap.Empty());
}
