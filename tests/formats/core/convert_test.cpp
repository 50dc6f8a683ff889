#include "formats/core/ie_bitmap.h"
#include "formats/core/row_bits.h"

#include <gtest/gtest.h>

namespace {

constexpr TRGB Black = CreateRGB(0, 0, 0);
constexpr TRGB White = CreateRGB(255, 255, 255);

TRGB PixelRGB(const TIEBitmap& b, int x, int y) { return reinterpret_cast<const TRGB*>(b.ScanLine(y))[x]; }

// 8 × 1 one-bit image 0b10110000: white, black, white, white, then black.
void MakeBits(TIEBitmap& b)
{
    b.Allocate(8, 1, ipf1Bit);
    b.ScanLine(0)[0] = 0xB0;
}

}  // namespace

TEST(ConvertTest, FromOneBit)
{
    TIEBitmap b;
    MakeBits(b);
    b.ConvertTo(ipf8Gray);
    EXPECT_EQ(b.ScanLine(0)[0], 255);
    EXPECT_EQ(b.ScanLine(0)[1], 0);

    MakeBits(b);
    b.ConvertTo(ipf16Gray);
    EXPECT_EQ(IEGetWord(b.ScanLine(0), 0), 65535);
    EXPECT_EQ(IEGetWord(b.ScanLine(0), 1), 0);

    MakeBits(b);
    b.ConvertTo(ipf24RGB);
    EXPECT_EQ(PixelRGB(b, 0, 0), White);
    EXPECT_EQ(PixelRGB(b, 1, 0), Black);

    MakeBits(b);
    b.ConvertTo(ipf8Palette);
    EXPECT_EQ(b.Palette()[0], Black);
    EXPECT_EQ(b.Palette()[1], White);
    EXPECT_EQ(b.ScanLine(0)[2], 1);
    EXPECT_EQ(b.ScanLine(0)[4], 0);
}

TEST(ConvertTest, FromPalette)
{
    const TRGB color = CreateRGB(200, 100, 50);
    auto make = [&](TIEBitmap& b) {
        b.Allocate(1, 1, ipf8Palette);
        b.Palette()[3] = color;
        b.ScanLine(0)[0] = 3;
    };
    TIEBitmap b;
    make(b);
    b.ConvertTo(ipf8Gray);
    EXPECT_EQ(b.ScanLine(0)[0], (200 * 21 + 100 * 71 + 50 * 8) / 100);
    make(b);
    b.ConvertTo(ipf16Gray);
    EXPECT_EQ(IEGetWord(b.ScanLine(0), 0), (200 * 54272 + 100 * 182528 + 50 * 19200) / 1000);
    make(b);
    b.ConvertTo(ipf24RGB);
    EXPECT_EQ(PixelRGB(b, 0, 0), color);
}

TEST(ConvertTest, TwoGreysThresholdAtMeanLuminance)
{
    const TRGB dark = CreateRGB(60, 60, 60), light = CreateRGB(190, 190, 190);
    TIEBitmap b;
    b.Allocate(10, 1, ipf24RGB);
    for (int x = 0; x < 10; ++x) reinterpret_cast<TRGB*>(b.ScanLine(0))[x] = x < 7 ? dark : light;
    b.ConvertTo(ipf1Bit);
    ASSERT_EQ(b.PixelFormat(), ipf1Bit);
    for (int x = 0; x < 10; ++x) EXPECT_EQ(IEGetBit(b.ScanLine(0), x), x >= 7) << x;
}

TEST(ConvertTest, OrderedDitherFollowsBayerMatrix)
{
    // Mid grey 128 → brightness 32: white where the matrix entry is below 32.
    TIEBitmap b;
    b.BlackWhiteMethod = 0;
    b.Allocate(8, 8, ipf8Gray);
    b.Fill(128);
    b.ConvertTo(ipf1Bit);
    int whites = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) whites += IEGetBit(b.ScanLine(y), x);
    EXPECT_EQ(whites, 32);
    EXPECT_TRUE(IEGetBit(b.ScanLine(0), 0));   // entry 0
    EXPECT_FALSE(IEGetBit(b.ScanLine(0), 1));  // row 1 column 0 of the matrix: 48
    EXPECT_FALSE(IEGetBit(b.ScanLine(1), 0));  // row 0 column 1: 32, not below 32
}

TEST(ConvertTest, SameFormatDoesNothing)
{
    TIEBitmap b;
    b.Allocate(2, 2, ipf24RGB);
    const uint8_t* before = b.ScanLine(0);
    b.ConvertTo(ipf24RGB);
    EXPECT_EQ(b.ScanLine(0), before);
}

TEST(ConvertTest, ColourToPaletteKeepsFewColoursExactly)
{
    TIEBitmap b;
    b.Allocate(3, 1, ipf24RGB);
    TRGB* row = reinterpret_cast<TRGB*>(b.ScanLine(0));
    row[0] = CreateRGB(255, 0, 0);
    row[1] = CreateRGB(0, 0, 255);
    row[2] = CreateRGB(255, 0, 0);
    b.ConvertTo(ipf8Palette);
    EXPECT_EQ(b.Palette()[0], CreateRGB(255, 0, 0));
    EXPECT_EQ(b.Palette()[1], CreateRGB(0, 0, 255));
    EXPECT_EQ(b.ScanLine(0)[1], 1);
    EXPECT_EQ(b.ScanLine(0)[2], 0);
}
