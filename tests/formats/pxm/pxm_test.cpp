// Portable bitmap, greymap and pixmap reader and writer, cross-checked with netpbm and
// ImageMagick.

#include "formats/pxm/pxm.h"
#include "tests/formats/codec_peer.h"

#include <gtest/gtest.h>

using namespace codec_peer;

namespace {

struct TPxmFixture : ::testing::Test {
    void SetUp() override {
        params.SetDefaultParams();
        progress.Aborting = &aborting;
    }
    bool Read(const std::string& text, bool paramsOnly = false) {
        return Read(std::vector<uint8_t>(text.begin(), text.end()), paramsOnly);
    }
    bool Read(const std::vector<uint8_t>& bytes, bool paramsOnly = false) {
        TMemoryStream stream = StreamOf(bytes);
        aborting = false;
        ReadPxm(stream, bitmap, params, paramsOnly, progress);
        return !aborting;
    }
    std::string Write(TIEBitmap& source) {
        TMemoryStream out;
        aborting = false;
        WritePxm(out, source, params, progress);
        return std::string(reinterpret_cast<const char*>(out.Memory()), size_t(out.Size()));
    }
    TIOParamsVals params;
    TIEBitmap bitmap;
    bool aborting = false;
    TProgressRec progress;
    TTempDir dir;
};

void ToBitmap(const TRgbImage& image, TIEBitmap& bitmap) {
    Fill24(bitmap, image.width, image.height, [&](int x, int y) {
        const uint8_t* p = &image.rgb[size_t(3 * (y * image.width + x))];
        return CreateRGB(p[0], p[1], p[2]);
    });
}

}  // namespace

TEST_F(TPxmFixture, EveryKindDecodesLikeThePeer) {
    if (!HaveTool("pnmtoplainpnm") || !HaveTool("convert")) GTEST_SKIP() << "netpbm or ImageMagick missing";
    WritePpm(dir / "p6.ppm", Pattern(21, 13));
    struct TCase { const char* name; const char* command; int bits, samples; TImagePixelFormat format; };
    const TCase cases[] = {
        {"p6.ppm", "true", 8, 3, ipf24RGB},
        {"p3.ppm", "pnmtoplainpnm p6.ppm > p3.ppm", 8, 3, ipf24RGB},
        {"p5.pgm", "ppmtopgm p6.ppm > p5.pgm", 8, 1, ipf24RGB},
        {"p2.pgm", "pnmtoplainpnm p5.pgm > p2.pgm", 8, 1, ipf24RGB},
        {"p4.pbm", "pamthreshold -simple p5.pgm | pamtopnm > p4.pbm", 1, 1, ipf1Bit},
        {"p1.pbm", "pnmtoplainpnm p4.pbm > p1.pbm", 1, 1, ipf1Bit},
        {"p5-16.pgm", "pnmdepth 65535 p5.pgm > p5-16.pgm", 8, 1, ipf24RGB},
        {"p6-16.ppm", "pnmdepth 65535 p6.ppm > p6-16.ppm", 8, 3, ipf24RGB},
        {"p6-15.ppm", "pnmdepth 15 p6.ppm > p6-15.ppm", 8, 3, ipf24RGB},
        {"p5-15.pgm", "pnmdepth 15 p5.pgm > p5-15.pgm", 8, 1, ipf24RGB},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(RunTool("cd " + dir / "" + " && " + c.command));
        ASSERT_TRUE(Read(codec_peer::ReadFile(dir / c.name)));
        EXPECT_EQ(params.BitsPerSample, c.bits);
        EXPECT_EQ(params.SamplesPerPixel, c.samples);
        EXPECT_EQ(bitmap.PixelFormat(), c.format);
        TRgbImage peer = PeerDecode(dir, dir / c.name);
        // Reduced maxima: we truncate, ImageMagick rounds.
        if (std::string(c.name).find("-15") != std::string::npos)
            for (uint8_t& v : peer.rgb) v = uint8_t(v / 17 * 255 / 15);
        EXPECT_EQ(ToRgb(bitmap), peer);
    }
}

TEST_F(TPxmFixture, PillowPlainFilesEqualTheirRawTwins) {
    const std::string folder = PeerSuite("pillow-images/pnm");
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "peer suite absent: " << folder;
    for (const auto& [plain, raw] : {std::pair{"hopper_1bit_plain.pbm", "hopper_1bit.pbm"},
                                     {"hopper_8bit_plain.pgm", "hopper_8bit.pgm"},
                                     {"hopper_8bit_plain.ppm", "hopper_8bit.ppm"},
                                     {"hopper_16bit_plain.pgm", "hopper_16bit.pgm"}}) {
        SCOPED_TRACE(plain);
        ASSERT_TRUE(Read(codec_peer::ReadFile(folder + "/" + raw)));
        const TRgbImage expected = ToRgb(bitmap);
        ASSERT_TRUE(Read(codec_peer::ReadFile(folder + "/" + plain)));
        EXPECT_EQ(ToRgb(bitmap), expected);
    }
    ASSERT_TRUE(Read(codec_peer::ReadFile(folder + "/16_bit_binary.pgm")));
    EXPECT_EQ(bitmap.Width(), 20);
    EXPECT_EQ(bitmap.Height(), 100);
    EXPECT_FALSE(Read(codec_peer::ReadFile(folder + "/negative_size.ppm")));
}

TEST_F(TPxmFixture, HeaderCommentsAndSampleScaling) {
    ASSERT_TRUE(Read("P6\n# made by scanner \n1 1\n255\n\x01\x02\x03"));
    EXPECT_EQ(params.PxmComments, std::vector<std::string>{"made by scanner"});
    EXPECT_EQ(ToRgb(bitmap).rgb, (std::vector<uint8_t>{1, 2, 3}));

    ASSERT_TRUE(Read("P1\n4 1\n0 1 1 0\n"));
    EXPECT_EQ(ToRgb(bitmap).rgb, (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255}));

    ASSERT_TRUE(Read("P5 2 1 15\n\x0F\x07"));
    EXPECT_EQ(ToRgb(bitmap).rgb, (std::vector<uint8_t>{255, 255, 255, 119, 119, 119}));

    ASSERT_TRUE(Read("P2 2 1 100 50 300"));
    EXPECT_EQ(ToRgb(bitmap).rgb[0], 127);
    EXPECT_EQ(ToRgb(bitmap).rgb[3], uint8_t(765));  // above the maximum: low 8 bits

    // A minus sign is not part of a token; a width token of 0 leaves the slot open for the next one.
    ASSERT_TRUE(Read("P4 -0 9 2 \x80\x40", /*paramsOnly=*/true));
    EXPECT_EQ(params.Width, 9);
    EXPECT_EQ(params.Height, 2);
}

TEST_F(TPxmFixture, BadHeadersAbortAndKeepTheBitmap) {
    for (const char* text : {"", "P6", "P6 ", "P6 10", "P6 10 10", "P7 1 1 255 x", "P6 x 4 255 ",
                             "P6 99999999999 4 255 ", "P5 1 1 0 x", "P5 1 1 70000 xx", "# only a comment\n"}) {
        SCOPED_TRACE(text);
        bitmap.Allocate(3, 3, ipf24RGB);
        EXPECT_FALSE(Read(std::string(text)));
        EXPECT_EQ(bitmap.Width(), 3);
    }
    // A short raster is not an error: the rest is black.
    ASSERT_TRUE(Read("P6 2 2 255\n\xFF\xFF\xFF\xFF"));
    EXPECT_EQ(ToRgb(bitmap).rgb, (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PxmDetect, IsPxmKeepsThePosition) {
    struct TCase { const char* text; bool expected; };
    for (const TCase& c : {TCase{"P6 3 2 255\n", true}, {"# c\nP1\n# c\n2 2\n", true}, {"P6 0 0 3 4 255", true},
                           {"P6 3", false}, {"p6 3 2 255", false}, {"P8 3 2 255", false}, {"", false}, {"GIF89a", false}}) {
        SCOPED_TRACE(c.text);
        TMemoryStream stream(c.text, strlen(c.text));
        stream.SetPosition(0);
        EXPECT_EQ(IsPxm(stream), c.expected);
        EXPECT_EQ(stream.Position(), 0);
    }
}

TEST_F(TPxmFixture, WriterChoosesTheKindFromBitmapAndParameters) {
    TIEBitmap mono;
    mono.Allocate(2, 2, ipf1Bit);
    mono.ScanLine(0)[0] = 0x80;  // white, black
    mono.ScanLine(1)[0] = 0x40;  // black, white
    params.BitsPerSample = 8;
    params.SamplesPerPixel = 3;
    EXPECT_EQ(Write(mono), std::string("P4 2 2\n\x40\x80", 9));

    TIEBitmap colour;
    Fill24(colour, 640, 480, [](int x, int) { return CreateRGB(uint8_t(x), 10, 20); });
    EXPECT_EQ(Write(colour).substr(0, 15), "P6 640 480 255\n");
    params.SamplesPerPixel = 1;
    const std::string grey = Write(colour);
    EXPECT_EQ(grey.substr(0, 15), "P5 640 480 255\n");
    EXPECT_EQ(grey.size(), 15u + 640 * 480);
    EXPECT_EQ(uint8_t(grey[15 + 100]), (100 * 21 + 10 * 71 + 20 * 8) / 100);

    params.PxmComments = {"made by scanner", "page 2"};
    params.BitsPerSample = 1;
    const std::string bits = Write(colour);
    EXPECT_EQ(bits.substr(0, 44), "P4 \n# made by scanner\n\n# page 2\n640 480\n\xFF\xFF\xFF\xFF");
    EXPECT_EQ(bits.size(), 40u + 80 * 480);  // the colour image converted to 1 bit
}

TEST_F(TPxmFixture, PeersReadOurFiles) {
    if (!HaveTool("pnmtopnm") || !HaveTool("convert")) GTEST_SKIP() << "netpbm or ImageMagick missing";
    TIEBitmap colour, mono;
    ToBitmap(Pattern(33, 7), colour);
    mono.Assign(colour);
    mono.ConvertTo(ipf1Bit);
    params.PxmComments = {"made by scanner"};
    struct TCase { const char* name; TIEBitmap* bitmap; int bits, samples; };
    for (const TCase& c : {TCase{"ours.ppm", &colour, 8, 3}, {"ours.pbm", &mono, 8, 3}, {"ours.pgm", &colour, 8, 1}}) {
        SCOPED_TRACE(c.name);
        params.BitsPerSample = c.bits;
        params.SamplesPerPixel = c.samples;
        const std::string bytes = Write(*c.bitmap);
        WriteFile(dir / c.name, bytes);
        ASSERT_TRUE(RunTool("pnmfile " + dir / c.name + " > /dev/null"));
        ASSERT_TRUE(Read(bytes));
        EXPECT_EQ(PeerDecode(dir, dir / c.name), ToRgb(bitmap));
        EXPECT_EQ(params.PxmComments, std::vector<std::string>{"made by scanner"});
    }
}
