#include "formats/core/checked_size.h"
#include "formats/core/ie_bitmap.h"

#include <gtest/gtest.h>

TEST(BitmapTest, RowLengthsArePaddedToFourBytes)
{
    struct Case { int width; TImagePixelFormat format; int rowLen; };
    for (Case c : {Case{1, ipf1Bit, 4}, Case{33, ipf1Bit, 8}, Case{3, ipf24RGB, 12}, Case{5, ipf8Gray, 8},
                   Case{3, ipf16Gray, 8}, Case{4, ipf8Palette, 4}}) {
        TIEBitmap b;
        b.Allocate(c.width, 2, c.format);
        EXPECT_EQ(b.RowLen(), c.rowLen) << c.width << " px, format " << int(c.format);
        EXPECT_EQ(b.BitCount(), IEBitsPerPixel[c.format]);
        EXPECT_EQ(b.PaletteCount(), c.format == ipf8Palette ? 256 : 0);
    }
}

TEST(BitmapTest, NonPositiveSizeLeavesBitmapEmpty)
{
    TIEBitmap b;
    b.Allocate(0, 100, ipf24RGB);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.RowLen(), 0);
    EXPECT_EQ(b.Width(), 0);
    b.Allocate(10, 10, ipfNone);
    EXPECT_TRUE(b.Empty());
}

TEST(BitmapTest, MemoryRowsAreStoredBottomUpMappedRowsTopDown)
{
    TIEBitmap memory;
    memory.SetStorage(bsMemory);
    memory.Allocate(3, 4, ipf24RGB);
    ASSERT_EQ(memory.Storage(), bsMemory);
    EXPECT_EQ(memory.ScanLine(0) - memory.ScanLine(3), 3 * memory.RowLen());

    TIEBitmap mapped;
    mapped.MinFileSize = 0;  // force the file mapping
    mapped.Allocate(3, 4, ipf24RGB);
    ASSERT_EQ(mapped.Storage(), bsMappedFile);
    EXPECT_EQ(mapped.ScanLine(3) - mapped.ScanLine(0), 3 * mapped.RowLen());
    mapped.Fill(7);
    EXPECT_EQ(mapped.ScanLine(3)[8], 7);
}

TEST(BitmapTest, SmallMappedBitmapFallsBackToMemory)
{
    TIEBitmap b;
    ASSERT_EQ(b.Storage(), bsMappedFile);
    b.Allocate(16, 16, ipf8Gray);
    EXPECT_EQ(b.Storage(), bsMemory);
}

TEST(BitmapTest, ResizeKeepsOverlapAndAlphaFollows)
{
    TIEBitmap b;
    b.Allocate(4, 3, ipf8Gray);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) b.ScanLine(y)[x] = uint8_t(y * 10 + x);
    b.AlphaChannel()->ScanLine(2)[3] = 9;
    b.SetWidth(2);
    b.SetHeight(5);
    ASSERT_EQ(b.Width(), 2);
    ASSERT_EQ(b.Height(), 5);
    EXPECT_EQ(b.ScanLine(2)[1], 21);
    EXPECT_EQ(b.ScanLine(0)[0], 0);
    ASSERT_TRUE(b.HasAlphaChannel());
    EXPECT_EQ(b.AlphaChannel()->Width(), 2);
    EXPECT_EQ(b.AlphaChannel()->Height(), 5);
    EXPECT_EQ(b.AlphaChannel()->ScanLine(1)[1], 255);
}

TEST(BitmapTest, AssignCopiesPixelsPaletteAndAlpha)
{
    TIEBitmap source;
    source.Allocate(2, 2, ipf8Palette);
    source.Palette()[5] = CreateRGB(1, 2, 3);
    source.Fill(5);
    source.BlackWhiteMethod = 0;
    source.AlphaChannel()->ScanLine(0)[0] = 17;
    TIEBitmap copy;
    copy.Assign(source);
    EXPECT_EQ(copy.PixelFormat(), ipf8Palette);
    EXPECT_EQ(copy.ScanLine(1)[1], 5);
    EXPECT_EQ(copy.Palette()[5], CreateRGB(1, 2, 3));
    EXPECT_EQ(copy.BlackWhiteMethod, 0);
    ASSERT_TRUE(copy.HasAlphaChannel());
    EXPECT_EQ(copy.AlphaChannel()->ScanLine(0)[0], 17);
    EXPECT_TRUE(copy.AlphaChannel()->IsAlphaChannel);
    EXPECT_EQ(copy.AlphaChannel()->AlphaChannel(), nullptr);

    copy.FreeImage();
    EXPECT_TRUE(copy.Empty());
    EXPECT_FALSE(copy.HasAlphaChannel());
    EXPECT_EQ(copy.PaletteCount(), 0);
}

TEST(CheckedSizeTest, RejectsOverflowAndLimit)
{
    EXPECT_EQ(IEImageBytes(3, 2, 24), 24);
    EXPECT_FALSE(IEImageBytes(0, 2, 24));
    EXPECT_FALSE(IEImageBytes(-1, 2, 24));
    EXPECT_FALSE(IEImageBytes(int64_t(1) << 40, int64_t(1) << 40, 24));
    EXPECT_FALSE(IEImageBytes(65536, 65536, 24));  // 12 GiB, above the default 1 GiB
    EXPECT_TRUE(IEImageBytes(65536, 65536, 24, int64_t(1) << 36));
    EXPECT_FALSE(IECheckedMul(INT64_MAX, 2));
}
