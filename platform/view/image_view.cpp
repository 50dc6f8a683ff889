#include "platform/view/image_view.h"

#include "platform/view/bitmap_image.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

TImageView::TImageView(QWidget* parent)
    : QAbstractScrollArea(parent), FDpiX(logicalDpiX()), FDpiY(logicalDpiY()), FBackground(palette().color(QPalette::Window))
{
}

TImageView::~TImageView() = default;

TImageIO& TImageView::IO()
{
    if (!FIO) {
        FIO = std::make_unique<TImageIO>();
        FIO->SetAttachedImage(this);
        FIO->OnProgress = OnProgress;
    }
    return *FIO;
}

void TImageView::Update()
{
    UpdateScrollBars();
    viewport()->update();
}

void TImageView::GetResolution(int& dpiX, int& dpiY) const
{
    dpiX = FDpiX;
    dpiY = FDpiY;
}

void TImageView::SetResolution(int dpiX, int dpiY)
{
    if (dpiX > 0) FDpiX = dpiX;
    if (dpiY > 0) FDpiY = dpiY;
}

TRGB TImageView::ViewBackground() const
{
    return CreateRGB(FBackground.red(), FBackground.green(), FBackground.blue());
}

void TImageView::SetViewBackground(TRGB color)
{
    FBackground = QColor(color.r, color.g, color.b);
    viewport()->update();
}

void TImageView::UpdateScrollBars()
{
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, FBitmap.Width() - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, FBitmap.Height() - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
}

void TImageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TImageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), FBackground);
    if (FBitmap.Empty()) return;
    painter.drawImage(QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value()), BitmapToQImage(FBitmap));
}
