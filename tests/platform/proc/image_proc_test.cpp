#include "platform/proc/image_proc.h"
#include "platform/view/bitmap_image.h"
#include "platform/view/image_view.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

namespace {

TRGB Pixel(const TIEBitmap& b, int x, int y)
{
    const uint8_t* p = b.ScanLine(y) + 3 * x;
    return TRGB{p[0], p[1], p[2]};
}

// A w × h colour image whose pixel (x, y) encodes its coordinates.
void FillCoordinates(TIEBitmap& b, int w, int h)
{
    b.Allocate(w, h, ipf24RGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = b.ScanLine(y) + 3 * x;
            p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 77;
        }
}

bool SameImage(const TIEBitmap& a, const TIEBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat()) return false;
    const int bytes = int(IERowLen(a.Width(), a.BitCount()));
    for (int y = 0; y < a.Height(); ++y)
        if (!std::equal(a.ScanLine(y), a.ScanLine(y) + bytes, b.ScanLine(y))) return false;
    return true;
}

TEST(ImageProc, QuarterTurnIsExactForEveryFormat)
{
    for (TImagePixelFormat format : {ipf1Bit, ipf8Gray, ipf24RGB}) {
        SCOPED_TRACE(int(format));
        TImageView view;
        TIEBitmap& b = view.IEBitmap();
        TIEBitmap colour;
        FillCoordinates(colour, 100, 50);
        b.Assign(colour);
        b.ConvertTo(format);
        TIEBitmap before;
        before.Assign(b);
        view.Proc().Rotate(90, true, ierFast, view.Proc().Background);
        ASSERT_EQ(b.Width(), 50);
        ASSERT_EQ(b.Height(), 100);
        EXPECT_EQ(b.PixelFormat(), format);
        // The new top row is the old right-hand column read from top to bottom.
        const QImage now = BitmapToQImage(b), old = BitmapToQImage(before);
        for (int x = 0; x < 50; ++x) EXPECT_EQ(now.pixel(x, 0), old.pixel(99, x));
        EXPECT_EQ(now.pixel(0, 99), old.pixel(0, 0));
        for (int i = 0; i < 3; ++i) view.Proc().Rotate(90, true, ierFast, view.Proc().Background);
        EXPECT_TRUE(SameImage(b, before));
    }
}

TEST(ImageProc, AnyAngleFillsTheBoundingBoxWithTheBackground)
{
    TImageView view;
    TIEBitmap& b = view.IEBitmap();
    b.Allocate(100, 40, ipf24RGB);
    b.Fill(0);  // black picture
    view.Proc().Rotate(30, true, ierFast, CreateRGB(255, 0, 0));
    EXPECT_EQ(b.Width(), int(std::lround(100 * std::cos(M_PI / 6) + 40 * std::sin(M_PI / 6))));
    EXPECT_EQ(b.Height(), int(std::lround(100 * std::sin(M_PI / 6) + 40 * std::cos(M_PI / 6))));
    EXPECT_EQ(Pixel(b, 0, 0), CreateRGB(255, 0, 0));
    EXPECT_EQ(Pixel(b, b.Width() / 2, b.Height() / 2), CreateRGB(0, 0, 0));
    view.Proc().Undo();
    EXPECT_EQ(b.Width(), 100);
}

TEST(ImageProc, FlipsReverseRowsOrColumnsAndStoreNoUndo)
{
    TImageView view;
    TIEBitmap& b = view.IEBitmap();
    FillCoordinates(b, 7, 5);
    view.Proc().Flip(fdVertical);
    EXPECT_EQ(Pixel(b, 2, 0).g, 4);
    view.Proc().Flip(fdHorizontal);
    EXPECT_EQ(Pixel(b, 0, 0).b, 6);
    EXPECT_FALSE(view.Proc().CanUndo());
    view.Proc().Undo();  // nothing stored: nothing changes
    EXPECT_EQ(Pixel(b, 0, 0).b, 6);

    b.Allocate(9, 1, ipf1Bit);
    b.ScanLine(0)[0] = 0x80, b.ScanLine(0)[1] = 0;
    view.Proc().Flip(fdHorizontal);
    EXPECT_EQ(b.ScanLine(0)[0], 0);
    EXPECT_EQ(b.ScanLine(0)[1], 0x80);
}

TEST(ImageProc, OneUndoCopyRestoredWithoutBeingConsumed)
{
    TImageView view;
    TIEBitmap& b = view.IEBitmap();
    FillCoordinates(b, 4, 4);
    TIEBitmap start;
    start.Assign(b);

    view.Proc().Negative();
    EXPECT_EQ(Pixel(b, 1, 2), (TRGB{254, 253, 178}));
    view.Proc().Undo();
    EXPECT_TRUE(SameImage(b, start));
    view.Proc().Undo();
    EXPECT_TRUE(SameImage(b, start));

    view.Proc().Negative();
    TIEBitmap negative;
    negative.Assign(b);
    view.Proc().ConvertToGray();
    view.Proc().Undo();
    EXPECT_TRUE(SameImage(b, negative));  // only the last copy is kept
}

TEST(ImageProc, ConversionsProduceTheirFormats)
{
    TImageView view;
    TIEBitmap& b = view.IEBitmap();
    FillCoordinates(b, 16, 16);
    view.Proc().ConvertToGray();
    const TRGB c = Pixel(b, 3, 5);
    EXPECT_EQ(c.r, IELuminance(CreateRGB(77, 5, 3)));
    EXPECT_TRUE(c.r == c.g && c.g == c.b);

    // Ordered dither: black stays black, white stays white, mid grey is about half white.
    for (auto [level, low, high] : {std::tuple{0, 0, 0}, std::tuple{255, 256, 256}, std::tuple{128, 120, 136}}) {
        b.Allocate(16, 16, ipf24RGB);
        b.Fill(uint8_t(level));
        view.Proc().ConvertToBWOrdered();
        ASSERT_EQ(b.PixelFormat(), ipf1Bit);
        int white = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) white += (b.ScanLine(y)[x / 8] >> (7 - x % 8)) & 1;
        EXPECT_GE(white, low);
        EXPECT_LE(white, high);
    }
    view.Proc().ConvertTo24Bit();
    EXPECT_EQ(b.PixelFormat(), ipf24RGB);
    view.Proc().Undo();
    EXPECT_EQ(b.PixelFormat(), ipf1Bit);
}

TEST(ImageProc, ClearFillsWithTheBackgroundKeepingTheSize)
{
    TImageView view;
    TIEBitmap& b = view.IEBitmap();
    FillCoordinates(b, 30, 20);
    view.Proc().Background = CreateRGB(10, 20, 30);
    view.Proc().Clear();
    EXPECT_EQ(b.Width(), 30);
    EXPECT_EQ(b.Height(), 20);
    EXPECT_EQ(Pixel(b, 29, 19), CreateRGB(10, 20, 30));
    view.Proc().Undo();
    EXPECT_EQ(Pixel(b, 29, 19).b, 29);
}

TEST(ImageProc, EmptyImagesStoreNoUndo)
{
    TImageView view;
    view.Proc().Negative();
    view.Proc().Rotate(90, true, ierFast, view.Proc().Background);
    EXPECT_FALSE(view.Proc().CanUndo());
}

TEST(ImageProc, ClipboardCarriesTheSelectionOrTheWholeImage)
{
    TImageView view;
    TIEBitmap& b = view.IEBitmap();
    FillCoordinates(b, 40, 30);
    view.Proc().CopyToClipboard();
    QImage clip = QApplication::clipboard()->image();
    ASSERT_EQ(clip.size(), QSize(40, 30));
    EXPECT_EQ(clip.pixel(5, 6), qRgb(77, 6, 5));
    EXPECT_TRUE(TImageProc::ClipboardHasPicture());

    view.Update();
    view.SetSelection(QRect(10, 5, 8, 4));
    view.Proc().CopyToClipboard();
    clip = QApplication::clipboard()->image();
    ASSERT_EQ(clip.size(), QSize(8, 4));
    EXPECT_EQ(clip.pixel(0, 0), qRgb(77, 5, 10));

    TImageView target;
    ASSERT_TRUE(target.Proc().PasteFromClipboard());
    EXPECT_EQ(target.IEBitmap().Width(), 8);
    EXPECT_EQ(Pixel(target.IEBitmap(), 0, 0), CreateRGB(77, 5, 10));

    QApplication::clipboard()->clear();
    EXPECT_FALSE(TImageProc::ClipboardHasPicture());
    EXPECT_FALSE(target.Proc().PasteFromClipboard());
    EXPECT_EQ(target.IEBitmap().Width(), 8);
}

TEST(ImageProc, BlackAndWhiteStaysOneBitThroughTheClipboard)
{
    TImageView view;
    TIEBitmap& b = view.IEBitmap();
    b.Allocate(10, 2, ipf1Bit);
    b.Fill(0);
    b.ScanLine(1)[0] = 0x40;
    view.Proc().CopyToClipboard();
    TImageView target;
    ASSERT_TRUE(target.Proc().PasteFromClipboard());
    ASSERT_EQ(target.IEBitmap().PixelFormat(), ipf1Bit);
    EXPECT_EQ(target.IEBitmap().ScanLine(1)[0] & 0xc0, 0x40);
}

} // namespace
