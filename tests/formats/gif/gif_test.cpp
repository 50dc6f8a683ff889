// GIF reader, writer and coding routines, cross-checked with netpbm, ImageMagick and giflib.

#include "formats/gif/gif.h"
#include "tests/formats/codec_peer.h"

#include <gtest/gtest.h>

#include <random>

using namespace codec_peer;

namespace {

struct TGifFixture : ::testing::Test {
    void SetUp() override {
        IEGlobalLzwSlots().GifDecompressor = DecodeGifLzw;
        IEGlobalLzwSlots().GifCompressor = EncodeGifRunLength;
        params.SetDefaultParams();
        progress.Aborting = &aborting;
    }
    // Reads bytes; returns false when Aborting was set.
    bool Read(const std::vector<uint8_t>& bytes, bool paramsOnly = false) {
        TMemoryStream stream = StreamOf(bytes);
        aborting = false;
        mask.reset();
        ReadGif(stream, bitmap, imageCount, /*noMask=*/false, mask, paramsOnly, progress, params);
        return !aborting;
    }
    bool ReadFile(const std::string& path) { return Read(codec_peer::ReadFile(path)); }
    std::vector<uint8_t> Write(TIEBitmap& source) {
        TMemoryStream out;
        aborting = false;
        WriteGif(out, source, params, progress);
        return std::vector<uint8_t>(out.Memory(), out.Memory() + out.Size());
    }

    TIOParamsVals params;
    TIEBitmap bitmap;
    std::unique_ptr<TIEBitmap> mask;
    int imageCount = 0;
    bool aborting = false;
    TProgressRec progress;
    TTempDir dir;
};

// A small GIF assembled by hand: 2-colour global table, optional control extension, one image
// whose data is given as LZW bytes with minimum code size 2.
std::vector<uint8_t> HandGif(std::vector<uint8_t> table, int width, int height, std::vector<uint8_t> data,
                             int transparentIndex = -1) {
    std::vector<uint8_t> g = {'G', 'I', 'F', '8', '9', 'a', uint8_t(width), 0, uint8_t(height), 0, 0x80, 1, 0};
    g.insert(g.end(), table.begin(), table.end());
    if (transparentIndex >= 0) g.insert(g.end(), {0x21, 0xF9, 4, 1, 7, 0, uint8_t(transparentIndex), 0});
    g.insert(g.end(), {0x2C, 0, 0, 0, 0, uint8_t(width), 0, uint8_t(height), 0, 0, 2, uint8_t(data.size())});
    g.insert(g.end(), data.begin(), data.end());
    g.insert(g.end(), {0, 0x3B});
    return g;
}

// LZW bytes (minimum code size 2, 3-bit codes) packing codes LSB first.
std::vector<uint8_t> Codes3(std::initializer_list<int> codes) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    for (int c : codes) {
        bits |= uint32_t(c) << count;
        count += 3;
        while (count >= 8) {
            out.push_back(uint8_t(bits));
            bits >>= 8;
            count -= 8;
        }
    }
    if (count) out.push_back(uint8_t(bits));
    return out;
}

const std::vector<uint8_t> kBlackWhite = {0, 0, 0, 255, 255, 255};

TRgbImage Pattern(int w, int h, int colours) {
    TRgbImage image{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int i = (x * 7 + y * 13 + (x * y) % 5) % colours;
            image.rgb.insert(image.rgb.end(), {uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 91)});
        }
    return image;
}

}  // namespace

// Files made by the peers decode to the pixels the peer decodes.
TEST_F(TGifFixture, PeerFilesDecodeLikeThePeer) {
    if (!HaveTool("convert") || !HaveTool("ppmtogif")) GTEST_SKIP() << "ImageMagick or netpbm missing";
    WritePpm(dir / "src.ppm", Pattern(37, 23, 200));
    WritePpm(dir / "small.ppm", Pattern(9, 5, 3));
    struct TCase { const char* name; std::string command; bool interlaced; };
    const TCase cases[] = {
        {"plain", "ppmtogif " + dir / "src.ppm" + " > " + dir / "plain.gif", false},
        {"interlaced", "ppmtogif -interlace " + dir / "src.ppm" + " > " + dir / "interlaced.gif", true},
        {"magick", "convert " + dir / "src.ppm" + " -colors 64 " + dir / "magick.gif", false},
        {"magick-interlaced", "convert " + dir / "src.ppm" + " -interlace GIF " + dir / "magick-interlaced.gif", true},
        {"three-colours", "ppmtogif " + dir / "small.ppm" + " > " + dir / "three-colours.gif", false},
        {"mono", "convert " + dir / "src.ppm" + " -monochrome " + dir / "mono.gif", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(RunTool(c.command));
        const std::string file = dir / (std::string(c.name) + ".gif");
        ASSERT_TRUE(ReadFile(file));
        EXPECT_EQ(params.GifInterlaced, c.interlaced);
        EXPECT_EQ(ToRgb(bitmap), PeerDecode(dir, file));
    }
    EXPECT_EQ(bitmap.PixelFormat(), ipf1Bit);  // the monochrome file has a black, white table
}

TEST_F(TGifFixture, PillowImagesDecodeLikeThePeer) {
    const std::string folder = PeerSuite("pillow-images/gif");
    if (!std::filesystem::exists(folder)) GTEST_SKIP() << "peer suite absent: " << folder;
    if (!HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    for (const char* name : {"hopper.gif", "chi.gif", "iss634.gif", "issue_2811.gif", "text_mono.gif",
                             "hopper_zero_comment_subblocks.gif", "transparent.gif", "test.colors.gif"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ReadFile(folder + "/" + name));
        EXPECT_EQ(ToRgb(bitmap), PeerDecode(dir, folder + "/" + name + "[0]"));
    }
    // Hostile or odd files end cleanly, with an error where there is nothing sound to show.
    for (const char* name : {"decompression_bomb.gif", "decompression_bomb_extents.gif", "zero_width.gif",
                             "no_palette.gif", "background_outside_palette.gif", "test_extents.gif"})
        ReadFile(folder + "/" + name);
    params.GifImageIndex = 0;
    EXPECT_FALSE(ReadFile(folder + "/decompression_bomb.gif"));
    EXPECT_FALSE(ReadFile(folder + "/zero_width.gif"));
}

TEST_F(TGifFixture, TransparencyGoesIntoTheMask) {
    // 2 × 1 image, pixels 0 and 1: clear, 0, 1, end.
    const auto data = Codes3({4, 0, 1, 5});
    ASSERT_TRUE(Read(HandGif(kBlackWhite, 2, 1, data)));
    ASSERT_TRUE(mask);
    EXPECT_EQ(mask->ScanLine(0)[0], 255);
    EXPECT_EQ(mask->ScanLine(0)[1], 255);
    EXPECT_FALSE(params.GifTransparent);

    ASSERT_TRUE(Read(HandGif(kBlackWhite, 2, 1, data, /*transparentIndex=*/1)));
    EXPECT_TRUE(params.GifTransparent);
    EXPECT_EQ(params.GifDelayTime, 7);
    EXPECT_EQ(params.GifTranspColor, CreateRGB(255, 255, 255));
    EXPECT_EQ(mask->ScanLine(0)[0], 255);
    EXPECT_EQ(mask->ScanLine(0)[1], 0);
}

TEST_F(TGifFixture, TwoColourTablesAndPartialBytes) {
    // 9 × 1: eight black then one white; the ninth column must survive in the 1-bit bitmap.
    const auto data = Codes3({4, 0, 0, 0, 0, 0, 0, 0, 0, 1, 5});
    ASSERT_TRUE(Read(HandGif(kBlackWhite, 9, 1, data)));
    EXPECT_EQ(bitmap.PixelFormat(), ipf1Bit);
    EXPECT_EQ(ToRgb(bitmap).rgb[8 * 3], 255);
    EXPECT_EQ(ToRgb(bitmap).rgb[7 * 3], 0);

    ASSERT_TRUE(Read(HandGif({255, 0, 0, 255, 255, 255}, 9, 1, data)));
    EXPECT_EQ(bitmap.PixelFormat(), ipf24RGB);
    EXPECT_EQ(params.BitsPerSample, 1);
    EXPECT_EQ(params.ColorMapCount, 2);
    EXPECT_EQ(params.ColorMap[0], CreateRGB(255, 0, 0));
    EXPECT_EQ(bitmap.ScanLine(0)[2], 255);  // red of the first pixel
}

TEST_F(TGifFixture, SelectsAnImageCountsAllAndCollectsEveryComment) {
    if (!HaveTool("convert")) GTEST_SKIP() << "ImageMagick missing";
    ASSERT_TRUE(RunTool("convert -size 5x4 \\( xc:red -set comment first \\) \\( xc:lime -set comment second \\) "
                    "\\( xc:blue -set comment third \\) " + dir / "three.gif"));
    params.GifImageIndex = 2;
    ASSERT_TRUE(ReadFile(dir / "three.gif"));
    EXPECT_EQ(params.GifImageCount, 3);
    EXPECT_EQ(imageCount, 3);
    EXPECT_EQ(params.GifComments, (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(ToRgb(bitmap).rgb[2], 255);  // blue
    EXPECT_EQ(ToRgb(bitmap).rgb[0], 0);

    // Beyond the last image: nothing decoded, no error.
    params.GifImageIndex = 5;
    params.GifComments.clear();
    bitmap.Allocate(1, 1, ipf24RGB);
    ASSERT_TRUE(ReadFile(dir / "three.gif"));
    EXPECT_EQ(params.GifImageCount, 3);
    EXPECT_EQ(bitmap.Width(), 1);
}

TEST_F(TGifFixture, BadFilesAbortAndKeepTheBitmap) {
    const auto good = HandGif(kBlackWhite, 2, 1, Codes3({4, 0, 1, 5}));
    struct TCase { const char* name; std::vector<uint8_t> bytes; };
    std::vector<TCase> cases = {
        {"empty", {}},
        {"not a GIF", {'P', 'N', 'G', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 13 + 6)},
        {"code beyond the next free code", HandGif(kBlackWhite, 2, 1, Codes3({4, 0, 7, 5}))},
        {"end right after clear, data left", HandGif(kBlackWhite, 2, 1, Codes3({4, 5, 0, 0, 0, 0}))},
    };
    auto badSize = good;
    badSize[13 + 6 + 10] = 12;  // minimum code size
    cases.push_back({"minimum code size 12", badSize});
    auto huge = good;
    huge[13 + 6 + 5] = 0xFF, huge[13 + 6 + 6] = 0xFF, huge[13 + 6 + 7] = 0xFF, huge[13 + 6 + 8] = 0xFF;
    cases.push_back({"65535 × 65535 descriptor", huge});
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        bitmap.Allocate(3, 3, ipf24RGB);
        EXPECT_FALSE(Read(c.bytes));
        EXPECT_EQ(bitmap.Width(), 3);
    }
    // Running out of data is not an error: the decoded pixels stay.
    EXPECT_TRUE(Read(HandGif(kBlackWhite, 2, 1, Codes3({4, 1}))));
}

// Encoders may defer the clear code once the table is full; the table then stays as it is.
TEST_F(TGifFixture, FullTableWithoutClearKeepsDecoding) {
    // 8-bit codes of a 256-colour stream: fill the table with literals, then one more literal.
    std::vector<uint8_t> bits;
    uint64_t acc = 0;
    int n = 0, width = 9, next = 258;
    auto put = [&](int code) {
        acc |= uint64_t(code) << n;
        n += width;
        while (n >= 8) { bits.push_back(uint8_t(acc)); acc >>= 8; n -= 8; }
    };
    put(256);
    for (int i = 0; next < 4096 + 1; ++i) {
        put(i % 256);
        if (i > 0) ++next;
        if (next == (1 << width) && width < 12) ++width;
    }
    put(7);
    if (n) bits.push_back(uint8_t(acc));
    TMemoryStream stream;
    const uint8_t m = 8;
    stream.Write(&m, 1);
    for (size_t at = 0; at < bits.size(); at += 255) {
        const uint8_t size = uint8_t(std::min<size_t>(255, bits.size() - at));
        stream.Write(&size, 1);
        stream.Write(bits.data() + at, size);
    }
    stream.Write("\0", 1);
    stream.SetPosition(0);
    std::vector<uint8_t> pixels(5000);
    DecodeGifLzw(stream, 1, 5000, pixels.data(), false);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(pixels[3839], 3839 % 256);
    EXPECT_EQ(pixels[3840], 7);
}

// The encoder's output decodes back to the same indexes, at every bit depth and interlaced.
TEST(GifLzw, RunLengthStreamsRoundTrip) {
    std::mt19937 random(7);
    for (int bits = 1; bits <= 8; ++bits) {
        for (const auto& [w, h] : {std::pair{1, 1}, {13, 7}, {300, 200}, {2480, 40}}) {
            for (bool interlaced : {false, true}) {
                SCOPED_TRACE(testing::Message() << bits << " bits " << w << "x" << h << (interlaced ? " interlaced" : ""));
                std::vector<uint8_t> pixels(size_t(w) * h);
                // Noise, long runs and runs of varying colour, so that clears and run codes both occur.
                for (size_t i = 0; i < pixels.size(); ++i)
                    pixels[i] = uint8_t(i % 3 == 0 ? random() : (i / 97) * 5) & ((1 << bits) - 1);
                TMemoryStream stream;
                EncodeGifRunLength(stream, h, w, bits, pixels.data(), interlaced);
                stream.SetPosition(0);
                std::vector<uint8_t> decoded(pixels.size(), 0xEE);
                DecodeGifLzw(stream, h, w, decoded.data(), interlaced);
                EXPECT_EQ(stream.Position(), stream.Size());
                EXPECT_EQ(decoded, pixels);
            }
        }
    }
}

TEST(GifLzw, OneColourUsesRunCodes) {
    std::vector<uint8_t> pixels(1000, 3);
    TMemoryStream stream;
    EncodeGifRunLength(stream, 1, 1000, 8, pixels.data(), false);
    // 1000 pixels of 9-bit codes would take over 1100 bytes; run codes need a few dozen.
    EXPECT_LT(stream.Size(), 100);
    stream.SetPosition(0);
    std::vector<uint8_t> decoded(1000);
    DecodeGifLzw(stream, 1, 1000, decoded.data(), false);
    EXPECT_EQ(decoded, pixels);
}

TEST_F(TGifFixture, WriterLaysOutItsBlocks) {
    Fill24(bitmap, 4, 3, [](int x, int y) { return CreateRGB(uint8_t(x * 60), uint8_t(y * 90), 7); });
    params.BitsPerSample = 8;
    auto bytes = Write(bitmap);
    ASSERT_FALSE(aborting);
    const size_t gce = 13 + 768;
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
    EXPECT_EQ(bytes[10], 0xF7);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + gce, bytes.begin() + gce + 4), (std::vector<uint8_t>{0x21, 0xF9, 4, 0x08}));
    EXPECT_EQ(bytes[gce + 8], 0x2C);
    EXPECT_EQ(bytes[gce + 8 + 9], 0x00);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), (std::vector<uint8_t>{0x21, 0xFE, 0x00, 0x3B}));

    params.GifTransparent = true;
    params.GifInterlaced = true;
    params.GifComments = {"scan", std::string(300, 'x')};
    bytes = Write(bitmap);
    EXPECT_EQ(bytes[gce + 3], 0x09);
    EXPECT_EQ(bytes[gce + 8 + 9], 0x40);
    params.GifComments.clear();
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(params.GifComments, (std::vector<std::string>{"scan", std::string(255, 'x'), std::string(45, 'x')}));
}

TEST_F(TGifFixture, OneBitOutput) {
    bitmap.Allocate(10, 2, ipf1Bit);
    bitmap.Fill(0xA5);
    params.BitsPerSample = 1;
    auto bytes = Write(bitmap);
    EXPECT_EQ(bytes[10], 0x80);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 13, bytes.begin() + 19), kBlackWhite);
    EXPECT_EQ(bytes[19 + 8 + 10], 2);  // minimum code size
    TIEBitmap original;
    original.Assign(bitmap);
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(ToRgb(bitmap), ToRgb(original));

    // A two-colour colour image keeps its colours, the darker as entry 0.
    Fill24(original, 5, 2, [](int x, int) { return x % 2 ? CreateRGB(200, 0, 0) : CreateRGB(250, 250, 190); });
    bytes = Write(original);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 13, bytes.begin() + 19), (std::vector<uint8_t>{200, 0, 0, 250, 250, 190}));
    ASSERT_TRUE(Read(bytes));
    EXPECT_EQ(ToRgb(bitmap), ToRgb(original));

    // BitsPerSample above 8 is taken as 8.
    params.BitsPerSample = 24;
    bytes = Write(original);
    EXPECT_EQ(bytes[10], 0xF7);
}

TEST_F(TGifFixture, InterlacedRowsAreWrittenInPassOrder) {
    Fill24(bitmap, 2, 3, [](int, int y) { return CreateRGB(uint8_t(y * 100), 0, 0); });
    params.GifInterlaced = true;
    const auto bytes = Write(bitmap);
    TMemoryStream stream = StreamOf(bytes);
    stream.SetPosition(13 + 768 + 8 + 10);
    std::vector<uint8_t> fileOrder(6);
    DecodeGifLzw(stream, 3, 2, fileOrder.data(), /*interlaced=*/false);
    ASSERT_TRUE(Read(bytes));
    ASSERT_EQ(params.ColorMap.size(), 256u);
    const TRGB* palette = params.ColorMap.data();
    const int rowOfFileRow[3] = {0, 2, 1};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(palette[fileOrder[size_t(2 * i)]].r, rowOfFileRow[i] * 100);
}

// Our files decode in the peers to what we wrote.
TEST_F(TGifFixture, PeersReadOurFiles) {
    if (!HaveTool("convert") || !HaveTool("giftopnm")) GTEST_SKIP() << "ImageMagick or netpbm missing";
    const TRgbImage pattern = Pattern(301, 77, 120);
    TIEBitmap colour;
    Fill24(colour, pattern.width, pattern.height,
           [&](int x, int y) { const uint8_t* p = &pattern.rgb[size_t(3 * (y * pattern.width + x))]; return CreateRGB(p[0], p[1], p[2]); });
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced);
        params.GifInterlaced = interlaced;
        params.BitsPerSample = 8;
        WriteFile(dir / "ours.gif", Write(colour));
        ASSERT_TRUE(RunTool("giftopnm " + dir / "ours.gif" + " > " + dir / "ours.ppm"));
        EXPECT_EQ(ParsePpm(codec_peer::ReadFile(dir / "ours.ppm")), pattern);  // 120 colours fit exactly
        EXPECT_EQ(PeerDecode(dir, dir / "ours.gif"), pattern);
        if (HaveTool("gif2rgb")) {  // giflib
            ASSERT_TRUE(RunTool("gif2rgb -1 -o " + dir / "ours.rgb" + " " + dir / "ours.gif"));
            EXPECT_EQ(codec_peer::ReadFile(dir / "ours.rgb"), pattern.rgb);
        }
    }
    TIEBitmap mono;
    mono.Allocate(33, 9, ipf1Bit);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < mono.RowLen(); ++x) mono.ScanLine(y)[x] = uint8_t(x * 37 + y);
    params.BitsPerSample = 1;
    WriteFile(dir / "mono.gif", Write(mono));
    EXPECT_EQ(PeerDecode(dir, dir / "mono.gif"), ToRgb(mono));
}
