#include "formats/bmp/bmp_rle.h"

#include "bmp_fixture.h"

namespace {

// A w × h colour image whose pixel (x, y) is colors[(x + y) % colors.size()].
void Pattern(TIEBitmap& b, int w, int h, const std::vector<TRGB>& colors)
{
    b.Allocate(w, h, ipf24RGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(b, x, y, colors[size_t(x + y) % colors.size()]);
}

std::vector<uint8_t> Rle(bool nibbles, const std::vector<uint8_t>& p)
{
    std::vector<uint8_t> out(p.size() * 10 + 2);
    out.resize(size_t(nibbles ? EncodeRle4Row(p.data(), int(p.size()), out.data())
                              : EncodeRle8Row(p.data(), int(p.size()), out.data())));
    return out;
}

}  // namespace

TEST(BmpWriteTest, RowEncoders)
{
    struct Case { bool nibbles; std::vector<uint8_t> in, out; };
    const std::vector<Case> cases = {
        {true, {0xA, 0xB, 0xC, 0xD, 0xE}, {0x00, 0x05, 0xAB, 0xCD, 0xE0, 0x00, 0x00, 0x00}},
        {false, {7}, {0x01, 7, 0, 0}},
        {false, {7, 8}, {0x01, 7, 0x01, 8, 0, 0}},
        {true, {7, 8}, {0x02, 0x78, 0, 0}},
        {false, {1, 2, 3}, {0x00, 3, 1, 2, 3, 0, 0, 0}},
        {false, {5, 5, 5, 1}, {3, 5, 0x01, 1, 0, 0}},
        {true, {3, 3}, {2, 0x33, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(Rle(c.nibbles, c.in), c.out);
    // 300 equal pixels: a run of 255 and one of 45.
    EXPECT_EQ(Rle(false, std::vector<uint8_t>(300, 4)), (std::vector<uint8_t>{255, 4, 45, 4, 0, 0}));
    // Long literal stretches split at 255.
    std::vector<uint8_t> alternating(300);
    for (size_t i = 0; i < alternating.size(); ++i) alternating[i] = uint8_t(1 + i % 2);
    const std::vector<uint8_t> encoded = Rle(false, alternating);
    // The stretch is flushed once it exceeds 255: 255 literals, then the 256th alone, then 44.
    ASSERT_EQ(encoded.size(), 2 + 255 + 1 + 2 + 2 + 44 + 2u);
    EXPECT_EQ(encoded[1], 255);
    EXPECT_EQ(encoded[258], 1);
    EXPECT_EQ(encoded[261], 44);
}

TEST(BmpWriteTest, HeadersOfTheThreeForms)
{
    TIEBitmap b;
    Pattern(b, 3, 2, {kRed, kWhite, CreateRGB(1, 2, 3)});
    struct Case { uint8_t version; uint32_t headerSize; };
    for (Case c : {Case{0, 40}, Case{1, 40}, Case{2, 12}, Case{3, 64}}) {
        TIOParamsVals p;
        p.BmpVersion = c.version;
        p.DpiX = 300;
        p.DpiY = 72;
        const std::vector<uint8_t> f = Encode(b, p);
        ASSERT_FALSE(f.empty());
        EXPECT_EQ(LE32(f, 2), f.size());
        EXPECT_EQ(LE32(f, 14), c.headerSize);
        EXPECT_EQ(LE32(f, 10), 14 + c.headerSize);
        if (c.headerSize == 12) {
            EXPECT_EQ(LE16(f, 24), 24);
            continue;
        }
        EXPECT_EQ(LE16(f, 28), 24);
        EXPECT_EQ(LE32(f, 34), f.size() - 14 - c.headerSize);  // image size
        EXPECT_EQ(LE32(f, 38), 11811u);
        EXPECT_EQ(LE32(f, 42), 2835u);
        EXPECT_EQ(LE32(f, 46), 0u);         // colours used
        EXPECT_EQ(LE32(f, 50), 16777216u);  // important colours
        TIEBitmap back;
        TIOParamsVals q;
        ASSERT_FALSE(Decode(f, back, q));
        EXPECT_EQ(Pixel(back, 2, 1), Pixel(b, 2, 1));
        EXPECT_EQ(q.DpiX, 300);
    }
}

TEST(BmpWriteTest, PaletteOutputRoundTripsWithFirstMetColours)
{
    const std::vector<TRGB> colors = {kRed, kWhite, CreateRGB(0, 128, 0), CreateRGB(9, 9, 200), kBlack};
    TIEBitmap b;
    Pattern(b, 301, 3, colors);
    struct Case { int bits; uint8_t compression; uint8_t version; uint32_t fileCompression; };
    for (Case c : {Case{4, 0, 1, 0}, Case{4, 1, 1, 2}, Case{8, 0, 1, 0}, Case{8, 1, 1, 1}, Case{8, 1, 2, 0}}) {
        TIOParamsVals p;
        p.BitsPerSample = c.bits;
        p.SamplesPerPixel = 1;
        p.BmpCompression = c.compression;
        p.BmpVersion = c.version;
        const std::vector<uint8_t> f = Encode(b, p);
        ASSERT_FALSE(f.empty());
        ASSERT_EQ(p.ColorMapCount, 1 << c.bits);
        for (size_t i = 0; i < colors.size(); ++i) EXPECT_EQ(p.ColorMap[i], colors[i]);
        EXPECT_EQ(p.ColorMap[5], kBlack);
        if (c.version == 2) {
            // OS/2 files never run-length code; 3-byte entries, no end-of-bitmap escape.
            EXPECT_EQ(LE32(f, 10), 14 + 12 + 3u * 256);
            EXPECT_EQ(f.size(), 14 + 12 + 3u * 256 + 3 * 304);
        } else {
            EXPECT_EQ(LE32(f, 30), c.fileCompression);
            if (c.compression) {
                EXPECT_EQ(std::vector<uint8_t>(f.end() - 4, f.end()), (std::vector<uint8_t>{0, 0, 0, 1}));
            }
        }
        TIEBitmap back;
        TIOParamsVals q;
        ASSERT_FALSE(Decode(f, back, q));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 301; ++x) ASSERT_EQ(Pixel(back, x, y), Pixel(b, x, y)) << c.bits << " " << x << "," << y;
    }
}

TEST(BmpWriteTest, TwoColourImagesKeepTheirColoursDarkerFirst)
{
    for (bool redFirst : {true, false}) {
        TIEBitmap b;
        Pattern(b, 5, 2, redFirst ? std::vector<TRGB>{kRed, kWhite} : std::vector<TRGB>{kWhite, kRed});
        TIOParamsVals p;
        p.BitsPerSample = 1;
        const std::vector<uint8_t> f = Encode(b, p);
        ASSERT_EQ(p.ColorMapCount, 2);
        EXPECT_EQ(p.ColorMap[0], kRed);
        EXPECT_EQ(p.ColorMap[1], kWhite);
        EXPECT_EQ(b.PixelFormat(), ipf24RGB) << "the caller's image must stay as it was";
        // Top row (last in the file): red pixels are 0 bits.
        const uint8_t top = f[f.size() - 4];
        EXPECT_EQ(top, redFirst ? 0x50 : 0xA8) << redFirst;
    }
}

TEST(BmpWriteTest, OneBitSources)
{
    TIEBitmap bits;
    bits.Allocate(8, 1, ipf1Bit);
    bits.ScanLine(0)[0] = 0xC3;
    TIOParamsVals p;
    p.BitsPerSample = 1;
    std::vector<uint8_t> f = Encode(bits, p);
    EXPECT_EQ(p.ColorMap, (std::vector<TRGB>{kBlack, kWhite}));
    EXPECT_EQ(f[LE32(f, 10)], 0xC3);

    // Many colours: thresholded copy, black and white table.
    TIEBitmap many;
    Pattern(many, 4, 1, {kBlack, CreateRGB(40, 40, 40), CreateRGB(200, 200, 200), kWhite});
    f = Encode(many, p);
    EXPECT_EQ(p.ColorMap, (std::vector<TRGB>{kBlack, kWhite}));
    EXPECT_EQ(f[LE32(f, 10)], 0x30);
    EXPECT_EQ(many.PixelFormat(), ipf24RGB);

    // A 1-bit image written as 24 bits.
    TIOParamsVals rgb;
    f = Encode(bits, rgb);
    EXPECT_EQ(LE16(f, 28), 24);
    TIEBitmap back;
    ASSERT_FALSE(Decode(f, back, rgb));
    EXPECT_EQ(Pixel(back, 0, 0), kWhite);
    EXPECT_EQ(Pixel(back, 2, 0), kBlack);
}

TEST(BmpWriteTest, ShortWriteKeepsPlaceholderHeaders)
{
    // A stream that accepts only its first 100 bytes.
    struct TShortStream : TMemoryStream {
        int64_t Write(const void* b, int64_t n) override
        {
            const int64_t room = std::max<int64_t>(0, 100 - Position());
            return TMemoryStream::Write(b, std::min(n, room));
        }
    } s;
    TIEBitmap b;
    Pattern(b, 50, 50, {kRed, kWhite, kBlack});
    TIOParamsVals p;
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    WriteBmp(s, b, p, progress);
    EXPECT_TRUE(aborting);
    EXPECT_EQ(LE32(s.Bytes(), 2), 0u);
    EXPECT_EQ(LE16(s.Bytes(), 28), 0u);
}
