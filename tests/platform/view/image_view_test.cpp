#include "platform/view/bitmap_image.h"
#include "platform/view/image_view.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {

// A view of client size w × h holding an image filled by pixel(x, y) -> TRGB.
struct TViewFixture {
    TImageView view;
    TViewFixture(int w, int h)
    {
        view.setFrameShape(QFrame::NoFrame);
        view.resize(w, h);
        view.show();
    }
    template <class F>
    void SetImage(int w, int h, F pixel)
    {
        TIEBitmap& b = view.IEBitmap();
        b.Allocate(w, h, ipf24RGB);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const TRGB c = pixel(x, y);
                std::copy_n(&c.b, 3, b.ScanLine(y) + 3 * x);
            }
        view.Update();
    }
    QImage Shot() { return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent event(type, QPointF(pos), view.viewport()->mapToGlobal(QPointF(pos)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button), Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &event);
    }
};

TEST(ImageView, ZoomIgnoresNonPositiveValues)
{
    TViewFixture f(200, 200);
    f.SetImage(50, 50, [](int, int) { return CreateRGB(1, 2, 3); });
    f.view.SetZoom(250);
    for (double z : {0.0, -10.0}) {
        f.view.SetZoom(z);
        EXPECT_EQ(f.view.Zoom(), 250);
    }
    f.view.SetZoom(12.5);
    EXPECT_EQ(f.view.Zoom(), 12.5);
}

TEST(ImageView, FitShowsTheWholeImageAndAutoFitFollowsTheWindow)
{
    TViewFixture f(400, 563);
    f.SetImage(2000, 3000, [](int, int) { return CreateRGB(9, 9, 9); });
    f.view.Fit();
    EXPECT_NEAR(f.view.Zoom(), 563.0 / 3000.0 * 100.0, 1e-9);
    EXPECT_EQ(f.view.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(f.view.horizontalScrollBar()->maximum(), 0);
    EXPECT_FALSE(f.view.AutoFit());

    f.view.SetAutoFit(true);
    f.view.resize(200, 563);
    EXPECT_NEAR(f.view.Zoom(), 10.0, 1e-9);  // width now decides: 200 / 2000
    f.SetImage(100, 100, [](int, int) { return CreateRGB(9, 9, 9); });
    EXPECT_NEAR(f.view.Zoom(), 200.0, 1e-9);

    f.view.SetAutoFit(false);
    f.view.resize(400, 400);
    EXPECT_NEAR(f.view.Zoom(), 200.0, 1e-9);
}

TEST(ImageView, PaintsPixelsAtEveryZoom)
{
    TViewFixture f(64, 64);
    // Columns alternate black and white: reduced to 50 % they must blend to grey.
    f.SetImage(64, 64, [](int x, int) { return x % 2 ? CreateRGB(255, 255, 255) : CreateRGB(0, 0, 0); });
    f.view.SetZoom(100);
    QImage shot = f.Shot();
    EXPECT_EQ(shot.pixel(0, 10), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(1, 10), qRgb(255, 255, 255));

    f.view.SetZoom(50);
    shot = f.Shot();
    // Centred 32 × 32 picture, each pixel the mean of a black and a white column.
    const QRgb mid = shot.pixel(32, 32);
    EXPECT_NEAR(qRed(mid), 128, 20);
    EXPECT_EQ(shot.pixel(2, 2), f.view.palette().color(QPalette::Window).rgb());

    f.view.SetZoom(12.5);  // through the halved copies
    EXPECT_NEAR(qRed(f.Shot().pixel(32, 32)), 128, 20);

    f.view.SetZoom(400);  // enlarged pixels stay sharp
    f.view.horizontalScrollBar()->setValue(0);
    f.view.verticalScrollBar()->setValue(0);
    shot = f.Shot();
    EXPECT_EQ(shot.pixel(3, 3), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(4, 3), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(7, 3), qRgb(255, 255, 255));
}

TEST(ImageView, ZoomKeepsTheCentreInPlaceAndScrollBarsCoverTheImage)
{
    TViewFixture f(100, 100);
    f.SetImage(1000, 1000, [](int x, int y) { return CreateRGB(x % 256, y % 256, 0); });
    f.view.SetZoom(100);
    f.view.horizontalScrollBar()->setValue(300);
    f.view.verticalScrollBar()->setValue(300);
    const QPointF centre = f.view.ViewToBitmap(QPointF(50, 50));
    f.view.SetZoom(200);
    EXPECT_NEAR(f.view.ViewToBitmap(QPointF(50, 50)).x(), centre.x(), 1.0);
    EXPECT_NEAR(f.view.ViewToBitmap(QPointF(50, 50)).y(), centre.y(), 1.0);
    EXPECT_EQ(f.view.horizontalScrollBar()->maximum(), 2000 - f.view.viewport()->width());
}

TEST(ImageView, DragSelectsClickDeselectsAndScrollModeDrags)
{
    TViewFixture f(200, 200);
    f.SetImage(100, 100, [](int, int) { return CreateRGB(50, 50, 50); });
    f.view.SetZoom(100);
    int presses = 0;
    f.view.OnMouseDown = [&](TImageView* sender, Qt::MouseButton button, QPoint) {
        EXPECT_EQ(sender, &f.view);
        EXPECT_EQ(button, Qt::LeftButton);
        ++presses;
    };
    // The 100 × 100 picture is centred at (50, 50) in the 200 × 200 window.
    f.Mouse(QEvent::MouseButtonPress, {60, 70});
    f.Mouse(QEvent::MouseMove, {90, 80});
    f.Mouse(QEvent::MouseButtonRelease, {90, 80});
    EXPECT_EQ(f.view.SelectionRect(), QRect(10, 20, 30, 10));
    // Dragging past the image clips to it, in any direction.
    f.Mouse(QEvent::MouseButtonPress, {120, 120});
    f.Mouse(QEvent::MouseMove, {10, 10});
    f.Mouse(QEvent::MouseButtonRelease, {10, 10});
    EXPECT_EQ(f.view.SelectionRect(), QRect(0, 0, 70, 70));
    f.Mouse(QEvent::MouseButtonPress, {100, 100});
    f.Mouse(QEvent::MouseButtonRelease, {100, 100});
    EXPECT_FALSE(f.view.Selected());
    EXPECT_EQ(presses, 3);

    f.view.SetZoom(400);
    f.view.SetMouseInteract(miScroll);
    const int h0 = f.view.horizontalScrollBar()->value(), v0 = f.view.verticalScrollBar()->value();
    f.Mouse(QEvent::MouseButtonPress, {100, 100});
    f.Mouse(QEvent::MouseMove, {70, 60});
    f.Mouse(QEvent::MouseButtonRelease, {70, 60});
    EXPECT_EQ(f.view.horizontalScrollBar()->value(), h0 + 30);
    EXPECT_EQ(f.view.verticalScrollBar()->value(), v0 + 40);
    EXPECT_FALSE(f.view.Selected());
}

TEST(ImageView, SelectionShrinksWithTheImageAndIsDrawn)
{
    TViewFixture f(100, 100);
    f.SetImage(80, 80, [](int, int) { return CreateRGB(128, 128, 128); });
    f.view.SetZoom(100);
    f.view.SetSelection(QRect(20, 20, 60, 60));
    const QImage shot = f.Shot();
    // The frame runs along the selection's edge: black or white, never the image's grey.
    const QRgb edge = shot.pixel(10 + 20 + 10, 10 + 20);
    EXPECT_TRUE(edge == qRgb(0, 0, 0) || edge == qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(50, 50), qRgb(128, 128, 128));

    f.SetImage(40, 40, [](int, int) { return CreateRGB(1, 1, 1); });
    EXPECT_EQ(f.view.SelectionRect(), QRect(20, 20, 20, 20));
    f.view.DeSelect();
    EXPECT_FALSE(f.view.Selected());
}

TEST(ImageView, StartsWithTheStandardCursorInSelectionMode)
{
    TImageView view;
    EXPECT_EQ(view.Cursor(), crImageViewStandard);
    EXPECT_EQ(view.MouseInteract(), miSelect);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::CrossCursor);
    view.SetMouseInteract(miScroll);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::OpenHandCursor);
    int dx, dy;
    view.SetResolution(300, 0);
    view.GetResolution(dx, dy);
    EXPECT_EQ(dx, 300);
    EXPECT_GT(dy, 0);
    view.SetViewBackground(CreateRGB(10, 20, 30));
    EXPECT_EQ(view.ViewBackground(), CreateRGB(10, 20, 30));
}

TEST(BitmapImage, RowsOfEveryFormatBecomeRgb)
{
    TIEBitmap b;
    b.Allocate(9, 1, ipf1Bit);
    b.ScanLine(0)[0] = 0b10100000;
    b.ScanLine(0)[1] = 0b10000000;
    QRgb row[9];
    BitmapRowToRGB32(b, 0, 0, 9, row);
    EXPECT_EQ(row[0], 0xffffffffu);
    EXPECT_EQ(row[1], 0xff000000u);
    EXPECT_EQ(row[2], 0xffffffffu);
    EXPECT_EQ(row[8], 0xffffffffu);

    b.Allocate(2, 1, ipf24RGB);
    const uint8_t px[6] = {1, 2, 3, 4, 5, 6};  // blue, green, red
    std::copy_n(px, 6, b.ScanLine(0));
    const QImage image = BitmapRectToQImage(b, QRect(1, 0, 5, 5));
    ASSERT_EQ(image.size(), QSize(1, 1));
    EXPECT_EQ(image.pixel(0, 0), qRgb(6, 5, 4));
    TIEBitmap back;
    QImageToBitmap(BitmapToQImage(b), back);
    EXPECT_EQ(back.PixelFormat(), ipf24RGB);
    EXPECT_TRUE(std::equal(px, px + 6, back.ScanLine(0)));
}

} // namespace
