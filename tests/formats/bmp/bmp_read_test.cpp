#include "bmp_fixture.h"

TEST(BmpReadTest, HeaderFormsSetVersionAndPaletteAfterHeader)
{
    // A 1 × 1 8-bit image of palette entry 1, under every header size.
    struct Case { uint32_t headerSize; uint8_t version; };
    for (Case c : {Case{12, 2}, Case{40, 1}, Case{64, 3}, Case{108, 0}, Case{124, 0}}) {
        TBmpSpec s;
        s.HeaderSize = c.headerSize;
        s.Width = s.Height = 1;
        s.BitCount = 8;
        s.Palette.assign(256, kBlack);
        s.Palette[1] = CreateRGB(10, 20, 30);
        s.Pixels = {1, 0, 0, 0};
        TIEBitmap b;
        TIOParamsVals p;
        ASSERT_FALSE(Decode(MakeBmp(s), b, p)) << c.headerSize;
        EXPECT_EQ(p.BmpVersion, c.version) << c.headerSize;
        EXPECT_EQ(p.ColorMapCount, 256);
        EXPECT_EQ(Pixel(b, 0, 0), CreateRGB(10, 20, 30)) << c.headerSize;
        EXPECT_EQ(p.BitsPerSample, 8);
        EXPECT_EQ(p.SamplesPerPixel, 1);
    }
}

TEST(BmpReadTest, ColoursUsedAboveTheLimitMeansAFullPalette)
{
    for (uint32_t used : {0u, 300u}) {
        TBmpSpec s;
        s.Width = s.Height = 1;
        s.BitCount = 8;
        s.ColorsUsed = used;
        s.Palette.assign(256, kBlack);
        s.Palette[255] = kRed;
        s.Pixels = {255, 0, 0, 0};
        TIEBitmap b;
        TIOParamsVals p;
        ASSERT_FALSE(Decode(MakeBmp(s), b, p));
        EXPECT_EQ(p.ColorMapCount, 256) << used;
        EXPECT_EQ(Pixel(b, 0, 0), kRed) << used;
    }
}

TEST(BmpReadTest, OneBitPalettes)
{
    // Row 0b1010_0000: with (white, black) a set bit is black in the file.
    struct Case { TRGB entry0, entry1; bool firstWhite; };
    for (Case c : {Case{kBlack, kWhite, true}, Case{kWhite, kBlack, false}, Case{kRed, CreateRGB(0, 0, 255), true}}) {
        TBmpSpec s;
        s.Width = 4;
        s.Height = 1;
        s.BitCount = 1;
        s.Palette = {c.entry0, c.entry1};
        s.Pixels = {0xA0, 0, 0, 0};
        TIEBitmap b;
        TIOParamsVals p;
        ASSERT_FALSE(Decode(MakeBmp(s), b, p));
        ASSERT_EQ(b.PixelFormat(), ipf1Bit);
        EXPECT_EQ(IEGetBit(b.ScanLine(0), 0), c.firstWhite);
        EXPECT_EQ(IEGetBit(b.ScanLine(0), 1), !c.firstWhite);
    }
}

TEST(BmpReadTest, RowsBottomUpAndTopDown)
{
    for (int32_t height : {2, -2}) {
        TBmpSpec s;
        s.Width = 1;
        s.Height = height;
        s.Pixels = {1, 2, 3, 0, 4, 5, 6, 0};  // file row 0, then file row 1
        TIEBitmap b;
        TIOParamsVals p;
        ASSERT_FALSE(Decode(MakeBmp(s), b, p));
        const TRGB first = TRGB{1, 2, 3};
        EXPECT_EQ(Pixel(b, 0, height > 0 ? 1 : 0), first) << height;
        EXPECT_EQ(p.Height, 2);
    }
}

TEST(BmpReadTest, ResolutionFromPixelsPerMetre)
{
    struct Case { int32_t ppm; int dpi; };
    for (Case c : {Case{11811, 300}, Case{0, IEDefaultDpi}, Case{3780, 96}, Case{-5, IEDefaultDpi}}) {
        TBmpSpec s;
        s.Width = s.Height = 1;
        s.Ppm = c.ppm;
        s.Pixels = {0, 0, 0, 0};
        TIEBitmap b;
        TIOParamsVals p;
        ASSERT_FALSE(Decode(MakeBmp(s), b, p));
        EXPECT_EQ(p.DpiX, c.dpi) << c.ppm;
        EXPECT_EQ(p.DpiY, c.dpi) << c.ppm;
    }
}

TEST(BmpReadTest, SixteenBitFields)
{
    // 5-6-5: pure red, green and blue fill the top bits of each byte.
    for (uint32_t headerSize : {40u, 124u}) {
        TBmpSpec s;
        s.HeaderSize = headerSize;
        s.Width = 3;
        s.Height = 1;
        s.BitCount = 16;
        s.Compression = 3;
        s.Masks = {0xF800, 0x07E0, 0x001F};
        s.Pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0};
        TIEBitmap b;
        TIOParamsVals p;
        ASSERT_FALSE(Decode(MakeBmp(s), b, p)) << headerSize;
        EXPECT_EQ(Pixel(b, 0, 0), CreateRGB(0xF8, 0, 0)) << headerSize;
        EXPECT_EQ(Pixel(b, 1, 0), CreateRGB(0, 0xFC, 0)) << headerSize;
        EXPECT_EQ(Pixel(b, 2, 0), CreateRGB(0, 0, 0xF8)) << headerSize;
        EXPECT_EQ(p.BitsPerSample, 5);
    }
    // Without bit fields: 5-5-5.
    TBmpSpec s;
    s.Width = 1;
    s.Height = 1;
    s.BitCount = 16;
    s.Pixels = {0xFF, 0x7F, 0, 0};
    TIEBitmap b;
    TIOParamsVals p;
    ASSERT_FALSE(Decode(MakeBmp(s), b, p));
    EXPECT_EQ(Pixel(b, 0, 0), CreateRGB(0xF8, 0xF8, 0xF8));
}

TEST(BmpReadTest, RunLengthDecodingStaysInsideBitmapAndPalette)
{
    // 3 × 2 RLE8 with a run past the row end, a delta beyond the top, an index past a
    // two-entry palette and an absolute run with its pad byte.
    TBmpSpec s;
    s.Width = 3;
    s.Height = 2;
    s.BitCount = 8;
    s.Compression = 1;
    s.ColorsUsed = 2;
    s.Palette = {kRed, kWhite};
    s.Pixels = {10, 1,          // 10 white pixels into a 3-wide row
                0, 0,           // end of line
                0, 3, 0, 9, 1, 0,  // absolute: red, index 9 (none: black), white, pad
                0, 2, 0, 200,   // delta far above the top
                5, 1, 0, 1};
    TIEBitmap b;
    TIOParamsVals p;
    ASSERT_FALSE(Decode(MakeBmp(s), b, p));
    EXPECT_EQ(p.BmpCompression, 1);
    EXPECT_EQ(Pixel(b, 2, 1), kWhite);
    EXPECT_EQ(Pixel(b, 0, 0), kRed);
    EXPECT_EQ(Pixel(b, 1, 0), kBlack);
    EXPECT_EQ(Pixel(b, 2, 0), kWhite);

    // RLE4: a run alternates nibbles, starting with the high one.
    s.BitCount = 4;
    s.Compression = 2;
    s.Palette = {kBlack, kRed, kWhite};
    s.ColorsUsed = 3;
    s.Pixels = {3, 0x12, 0, 0, 0, 1};
    ASSERT_FALSE(Decode(MakeBmp(s), b, p));
    EXPECT_EQ(Pixel(b, 0, 1), kRed);
    EXPECT_EQ(Pixel(b, 1, 1), kWhite);
    EXPECT_EQ(Pixel(b, 2, 1), kRed);
    EXPECT_EQ(Pixel(b, 0, 0), kBlack);  // never reached
}

TEST(BmpReadTest, RejectedInput)
{
    TBmpSpec good;
    good.Width = good.Height = 1;
    good.Pixels = {0, 0, 0, 0};
    struct Case { const char* what; std::vector<uint8_t> bytes; };
    std::vector<Case> cases;
    std::vector<uint8_t> noSignature = MakeBmp(good);
    noSignature[0] = 'X';
    cases.push_back({"signature", noSignature});
    TBmpSpec huge = good;
    huge.Width = 1 << 20;
    huge.Height = 1 << 20;
    cases.push_back({"pixel limit", MakeBmp(huge)});
    TBmpSpec truncated = good;
    truncated.Width = 100;
    truncated.Height = 100;
    cases.push_back({"truncated rows", MakeBmp(truncated)});
    TBmpSpec twoBit = good;
    twoBit.BitCount = 2;
    cases.push_back({"bit count", MakeBmp(twoBit)});
    TBmpSpec rle1 = good;
    rle1.BitCount = 1;
    rle1.Compression = 1;
    cases.push_back({"1-bit RLE", MakeBmp(rle1)});
    TBmpSpec zero = good;
    zero.Width = 0;
    cases.push_back({"zero width", MakeBmp(zero)});
    cases.push_back({"short", {'B', 'M', 1}});
    for (const Case& c : cases) {
        TIEBitmap b;
        TIOParamsVals p;
        p.Width = 77;
        EXPECT_TRUE(Decode(c.bytes, b, p)) << c.what;
        EXPECT_TRUE(b.Empty()) << c.what;
        if (std::string(c.what) == "signature") {
            EXPECT_EQ(p.Width, 77) << "parameters must stay untouched";
        }
    }
}

TEST(BmpReadTest, ParamsOnlyLeavesBitmapAndProgressStops)
{
    TBmpSpec s;
    s.Width = 1;
    s.Height = 4;
    s.Pixels.assign(16, 0);
    const std::vector<uint8_t> bytes = MakeBmp(s);
    TMemoryStream stream(bytes.data(), bytes.size());
    TIEBitmap b;
    TIOParamsVals p;
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    ReadBmp(stream, b, 0, /*paramsOnly=*/true, progress, p);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(p.Height, 4);

    std::vector<int> reports;
    progress.OnProgress = [&](void*, int percent) {
        reports.push_back(percent);
        if (percent >= 50) aborting = true;
    };
    stream.SetPosition(0);
    ReadBmp(stream, b, 0, /*paramsOnly=*/false, progress, p);
    EXPECT_EQ(reports, (std::vector<int>{0, 25, 50}));
}
