// PCX reader, writer and line coding, cross-checked with netpbm and ImageMagick.

#include "formats/pcx/pcx.h"
#include "tests/formats/codec_peer.h"

#include <gtest/gtest.h>

using namespace codec_peer;

namespace {

struct TPcxFixture : ::testing::Test {
    void SetUp() override {
        params.SetDefaultParams();
        progress.Aborting = &aborting;
    }
    bool Read(const std::vector<uint8_t>& bytes, bool paramsOnly = false) {
        TMemoryStream stream = StreamOf(bytes);
        aborting = false;
        ReadPcx(stream, bitmap, params, paramsOnly, progress, stream.Size());
        return !aborting;
    }
    std::vector<uint8_t> Write(TIEBitmap& source) {
        TMemoryStream out;
        aborting = false;
        WritePcx(out, source, params, progress);
        return std::vector<uint8_t>(out.Memory(), out.Memory() + out.Size());
    }
    TIOParamsVals params;
    TIEBitmap bitmap;
    bool aborting = false;
    TProgressRec progress;
    TTempDir dir;
};

// A header for a width × height image with the given layout; the rest of the file follows.
std::vector<uint8_t> Header(int width, int height, int bits, int planes, int bytesPerLine, int encoding = 1) {
    std::vector<uint8_t> h(128, 0);
    h[0] = 10, h[1] = 5, h[2] = uint8_t(encoding), h[3] = uint8_t(bits);
    h[8] = uint8_t(width - 1), h[10] = uint8_t(height - 1);
    h[12] = 44, h[13] = 1, h[14] = 44, h[15] = 1;  // 300 dpi
    h[65] = uint8_t(planes), h[66] = uint8_t(bytesPerLine);
    return h;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& line) {
    std::vector<uint8_t> out(2 * line.size() + 1);
    out.resize(size_t(EncodePcxLine(out.data(), line.data(), int(line.size()), 1, 0)));
    return out;
}

}  // namespace

TEST(PcxLine, RunLengthCoding) {
    struct TCase { std::vector<uint8_t> line, coded; };
    const TCase cases[] = {
        {std::vector<uint8_t>(70, 9), {0xFF, 9, 0xC7, 9}},
        {{200, 100}, {0xC1, 200, 100}},
        {{1, 2, 2, 3, 3}, {1, 0xC2, 2, 0xC2, 3, 0}},  // odd: a 0 completes the even line
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(Encode(c.line), c.coded);
        std::vector<uint8_t> decoded(c.line.size() + c.line.size() % 2, 0xEE);
        TPcxLineDecoder(c.coded.data(), c.coded.size(), true).DecodePcxLine(decoded.data(), int(decoded.size()));
        std::vector<uint8_t> expected = c.line;
        if (c.line.size() % 2) expected.push_back(0);
        EXPECT_EQ(decoded, expected);
    }
    // Every third byte of the input (one channel of 24-bit pixels).
    const uint8_t pixels[] = {1, 2, 3, 1, 5, 6, 1, 8, 9, 7, 0, 0};
    uint8_t out[9];
    ASSERT_EQ(EncodePcxLine(out, pixels, 4, 3, 0), 3);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 3), (std::vector<uint8_t>{0xC3, 1, 7}));
}

TEST(PcxLine, RunsCrossLineEnds) {
    // A run of 5 sevens over two 4-byte lines, then a literal.
    const std::vector<uint8_t> data = {1, 2, 0xC5, 7, 3};
    TPcxLineDecoder decoder(data.data(), data.size(), true);
    uint8_t first[4], second[4] = {0, 0, 0, 0xEE};
    decoder.DecodePcxLine(first, 4);
    decoder.DecodePcxLine(second, 4);
    EXPECT_EQ(std::vector<uint8_t>(first, first + 4), (std::vector<uint8_t>{1, 2, 7, 7}));
    // Three sevens and the literal; nothing is ever written beyond the line.
    EXPECT_EQ(std::vector<uint8_t>(second, second + 4), (std::vector<uint8_t>{7, 7, 7, 3}));
    // A run longer than a short line spreads over several lines.
    const std::vector<uint8_t> longRun = {0xFF, 4};
    TPcxLineDecoder spread(longRun.data(), longRun.size(), true);
    uint8_t line[3] = {};
    for (int i = 0; i < 21; ++i) spread.DecodePcxLine(line, 3);
    EXPECT_EQ(line[2], 4);
}

TEST_F(TPcxFixture, PeerFilesDecodeLikeThePeer) {
    if (!HaveTool("ppmtopcx") || !HaveTool("pcxtoppm")) GTEST_SKIP() << "netpbm missing";
    WritePpm(dir / "src.ppm", Pattern(37, 11));
    struct TCase { const char* name; const char* command; int bits, samples; };
    const TCase cases[] = {
        {"24.pcx", "ppmtopcx -24bit src.ppm > 24.pcx", 8, 3},
        {"8.pcx", "pnmquant 200 src.ppm | ppmtopcx -8bit > 8.pcx", 8, 1},
        {"planes.pcx", "pnmquant 16 src.ppm | ppmtopcx -planes 4 > planes.pcx", 4, 1},
        {"4.pcx", "pnmquant 16 src.ppm | ppmtopcx -packed > 4.pcx", 4, 1},
        {"2.pcx", "pnmquant 4 src.ppm | ppmtopcx -packed > 2.pcx", 2, 1},
        {"1.pcx", "ppmtopgm src.ppm | pgmtopbm -threshold | ppmtopcx > 1.pcx", 1, 1},
        {"magick.pcx", "convert src.ppm magick.pcx", 8, 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(RunTool("cd " + dir / "" + " && " + c.command));
        ASSERT_TRUE(Read(codec_peer::ReadFile(dir / c.name)));
        EXPECT_EQ(params.BitsPerSample, c.bits);
        EXPECT_EQ(params.SamplesPerPixel, c.samples);
        ASSERT_TRUE(RunTool("pcxtoppm " + dir / c.name + " > " + dir / "peer.ppm"));
        EXPECT_EQ(ToRgb(bitmap), ParsePpm(codec_peer::ReadFile(dir / "peer.ppm")));
    }
}

TEST_F(TPcxFixture, PillowImages) {
    const std::string folder = PeerSuite("pillow-images/pcx");
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "peer suite absent: " << folder;
    ASSERT_TRUE(Read(codec_peer::ReadFile(folder + "/pil184.pcx")));
    EXPECT_EQ(bitmap.Width(), 447);
    EXPECT_EQ(bitmap.Height(), 144);
    ASSERT_TRUE(Read(codec_peer::ReadFile(folder + "/odd_stride.pcx")));
    EXPECT_EQ(bitmap.Width(), 371);
    EXPECT_EQ(bitmap.Height(), 150);
    ASSERT_TRUE(Read(codec_peer::ReadFile(folder + "/p_4_planes.pcx")));
    const uint8_t* p = bitmap.ScanLine(0);
    EXPECT_EQ(CreateRGB(p[2], p[1], p[0]), params.ColorMap[3]);
    // Damaged files end without reading out of bounds.
    Read(codec_peer::ReadFile(folder + "/01r_00.pcx"));
    Read(codec_peer::ReadFile(folder + "/ossfuzz-4836216264589312.pcx"));
}

TEST_F(TPcxFixture, HeaderValuesAndBadHeaders) {
    auto file = Header(2, 1, 8, 3, 2);
    file.insert(file.end(), {1, 2, 3, 4, 5, 6});
    file[14] = file[15] = 0;  // 0 dpi vertically, 300 horizontally
    ASSERT_TRUE(Read(file));
    EXPECT_EQ(params.DpiX, IEDefaultDpi);
    EXPECT_EQ(params.DpiY, IEDefaultDpi);
    EXPECT_EQ(ToRgb(bitmap).rgb, (std::vector<uint8_t>{1, 3, 5, 2, 4, 6}));

    struct TCase { const char* name; size_t offset; uint8_t value; };
    for (const TCase& c : {TCase{"manufacturer", 0, 11}, {"bits per plane", 3, 9}, {"encoding", 2, 2}, {"empty window", 8, 0}}) {
        SCOPED_TRACE(c.name);
        auto bad = file;
        bad[c.offset] = c.value;
        if (c.offset == 8) bad[4] = 5;  // x min above x max
        bitmap.Allocate(3, 3, ipf1Bit);
        EXPECT_FALSE(Read(bad));
        EXPECT_EQ(bitmap.Width(), 3);
    }
    EXPECT_FALSE(Read(std::vector<uint8_t>(file.begin(), file.begin() + 100)));
    // Run-length data that ends early leaves the rest black.
    auto shortData = Header(4, 2, 8, 1, 4);
    shortData.insert(shortData.end(), {0xC4, 9});
    ASSERT_TRUE(Read(shortData));
}

TEST_F(TPcxFixture, WriterKinds) {
    TIEBitmap mono;
    mono.Allocate(9, 2, ipf1Bit);
    mono.Fill(0x55);
    // Default parameters (8 bits × 3 samples): true colour in three planes, palette information 0.
    auto bytes = Write(mono);
    EXPECT_EQ(bytes[3], 8);
    EXPECT_EQ(bytes[65], 3);
    EXPECT_EQ(bytes[66], 10);  // 9 rounded up to even
    EXPECT_EQ(bytes[68], 0);
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(ToRgb(bitmap), ToRgb(mono));

    params.BitsPerSample = 1;
    bytes = Write(mono);
    EXPECT_EQ(bytes[3], 1);
    EXPECT_EQ(bytes[65], 1);
    EXPECT_EQ(bytes[66], 2);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 16, bytes.begin() + 22), (std::vector<uint8_t>{0, 0, 0, 255, 255, 255}));
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(bitmap.PixelFormat(), ipf1Bit);
    EXPECT_EQ(ToRgb(bitmap), ToRgb(mono));

    // Any other product writes the header only.
    params.BitsPerSample = 5;
    params.SamplesPerPixel = 1;
    EXPECT_EQ(Write(mono).size(), 128u);
}

TEST_F(TPcxFixture, PeersReadOurFiles) {
    if (!HaveTool("pcxtoppm")) GTEST_SKIP() << "netpbm missing";
    const TRgbImage pattern = Pattern(37, 11);
    TIEBitmap colour, few;
    Fill24(colour, pattern.width, pattern.height, [&](int x, int y) {
        const uint8_t* p = &pattern.rgb[size_t(3 * (y * pattern.width + x))];
        return CreateRGB(p[0], p[1], p[2]);
    });
    // Few enough colours that 16- and 256-colour files are exact.
    Fill24(few, 37, 11, [](int x, int y) { return CreateRGB(uint8_t((x % 4) * 80), uint8_t((y % 3) * 100), 50); });
    struct TCase { const char* name; TIEBitmap* bitmap; int bits, samples, compression; };
    for (const TCase& c : {TCase{"24", &colour, 8, 3, 1}, {"24 raw", &colour, 8, 3, 0}, {"256", &few, 8, 1, 1},
                           {"256 raw", &few, 8, 1, 0}, {"16", &few, 4, 1, 1}, {"16 raw", &few, 4, 1, 0}}) {
        SCOPED_TRACE(c.name);
        params.BitsPerSample = c.bits;
        params.SamplesPerPixel = c.samples;
        params.PcxCompression = uint8_t(c.compression);
        WriteFile(dir / "ours.pcx", Write(*c.bitmap));
        ASSERT_FALSE(aborting);
        if (c.compression) {  // netpbm reads run-length files only
            ASSERT_TRUE(RunTool("pcxtoppm " + dir / "ours.pcx" + " > " + dir / "ours.ppm"));
            EXPECT_EQ(ParsePpm(codec_peer::ReadFile(dir / "ours.ppm")), ToRgb(*c.bitmap));
        }
        EXPECT_EQ(PeerDecode(dir, dir / "ours.pcx"), ToRgb(*c.bitmap));
        ASSERT_TRUE(Read(codec_peer::ReadFile(dir / "ours.pcx")));
        EXPECT_EQ(ToRgb(bitmap), ToRgb(*c.bitmap));
    }
    // A two-colour image at 1 bit keeps its colours in the header map.
    TIEBitmap two;
    Fill24(two, 10, 3, [](int x, int) { return x < 4 ? CreateRGB(240, 240, 0) : CreateRGB(0, 0, 128); });
    params.BitsPerSample = 1;
    params.PcxCompression = 1;
    WriteFile(dir / "two.pcx", Write(two));
    ASSERT_TRUE(RunTool("pcxtoppm " + dir / "two.pcx" + " > " + dir / "two.ppm"));
    EXPECT_EQ(ParsePpm(codec_peer::ReadFile(dir / "two.ppm")), ToRgb(two));
}
