#include "platform/view/image_view.h"

#include "platform/proc/image_proc.h"
#include "platform/view/bitmap_image.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

namespace {

constexpr int kAntsInterval = 120;  // ms between two steps of the selection's dashes
constexpr int kFrameMargin = 2;     // pixels around a selection that its frame may touch

} // namespace

TImageView::TImageView(QWidget* parent)
    : QAbstractScrollArea(parent), FDpiX(logicalDpiX()), FDpiY(logicalDpiY()), FBackground(palette().color(QPalette::Window))
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    FAntsTimer.setInterval(kAntsInterval);
    connect(&FAntsTimer, &QTimer::timeout, this, [this] {
        FAntsPhase = (FAntsPhase + 1) % 8;
        RepaintSelection(FSelection, FSelection);
    });
    ApplyCursor();
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

TImageProc& TImageView::Proc()
{
    if (!FProc) FProc = std::make_unique<TImageProc>(this);
    return *FProc;
}

void TImageView::Update()
{
    FPyramid.clear();
    const QRect clipped = FSelection.intersected(QRect(0, 0, FBitmap.Width(), FBitmap.Height()));
    if (clipped != FSelection) SetSelection(clipped);
    if (FAutoFit) Fit();
    UpdateScrollBars();
    viewport()->update();
}

void TImageView::SetZoom(double percent)
{
    if (percent <= 0 || percent == FZoom) return;
    ApplyZoom(percent);
}

void TImageView::Fit()
{
    if (FBitmap.Empty()) return;
    // The area without scroll bars: a fitted image needs none.
    const QSize area = maximumViewportSize();
    const double zoom = std::min(double(area.width()) / FBitmap.Width(), double(area.height()) / FBitmap.Height()) * 100.0;
    if (zoom > 0) ApplyZoom(zoom);
}

void TImageView::SetAutoFit(bool on)
{
    FAutoFit = on;
    if (on) Fit();
}

void TImageView::ApplyZoom(double percent)
{
    const QPointF centre = ViewToBitmap(QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
    const bool changed = percent != FZoom;
    FZoom = percent;
    UpdateScrollBars();
    if (changed) {
        // Keep the point under the window's centre where it was.
        horizontalScrollBar()->setValue(int(std::lround(centre.x() * Scale() - viewport()->width() / 2.0)));
        verticalScrollBar()->setValue(int(std::lround(centre.y() * Scale() - viewport()->height() / 2.0)));
    }
    viewport()->update();
}

void TImageView::SetMouseInteract(TMouseInteract mode)
{
    FMouseInteract = mode;
    FDragging = false;
    ApplyCursor();
}

void TImageView::SetCursor(int cursor)
{
    FCursor = cursor;
    ApplyCursor();
}

void TImageView::ApplyCursor()
{
    if (FMouseInteract == miScroll)
        viewport()->setCursor(FDragging ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    else
        viewport()->setCursor(FCursor == crImageViewStandard ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TImageView::SetSelection(const QRect& rect)
{
    const QRect clipped = rect.normalized().intersected(QRect(0, 0, FBitmap.Width(), FBitmap.Height()));
    if (clipped == FSelection) return;
    const QRect before = FSelection;
    FSelection = clipped;
    if (FSelection.isEmpty()) FAntsTimer.stop();
    else if (!FAntsTimer.isActive()) FAntsTimer.start();
    RepaintSelection(before, FSelection);
}

void TImageView::DeSelect()
{
    SetSelection(QRect());
}

QSize TImageView::ScaledSize() const
{
    // The tolerance keeps a fitted size from growing a pixel through rounding.
    return QSize(int(std::ceil(FBitmap.Width() * Scale() - 1e-6)), int(std::ceil(FBitmap.Height() * Scale() - 1e-6)));
}

QPoint TImageView::Origin() const
{
    const QSize scaled = ScaledSize();
    const QSize area = viewport()->size();
    // A picture smaller than the window is centred; a larger one follows the scroll bars.
    const int x = scaled.width() < area.width() ? (area.width() - scaled.width()) / 2 : -horizontalScrollBar()->value();
    const int y = scaled.height() < area.height() ? (area.height() - scaled.height()) / 2 : -verticalScrollBar()->value();
    return QPoint(x, y);
}

QPointF TImageView::BitmapToView(QPointF p) const
{
    const QPoint o = Origin();
    return QPointF(o.x() + p.x() * Scale(), o.y() + p.y() * Scale());
}

QPointF TImageView::ViewToBitmap(QPointF p) const
{
    const QPoint o = Origin();
    return QPointF((p.x() - o.x()) / Scale(), (p.y() - o.y()) / Scale());
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
    const QSize scaled = ScaledSize();
    horizontalScrollBar()->setRange(0, std::max(0, scaled.width() - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, scaled.height() - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void TImageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (FAutoFit) Fit();
    UpdateScrollBars();
}

void TImageView::scrollContentsBy(int dx, int dy)
{
    // Only the strip that scrolled into sight is painted again.
    viewport()->scroll(dx, dy);
}

QRect TImageView::SelectionFrame(const QRect& selection) const
{
    if (selection.isEmpty()) return {};
    const QRectF r(BitmapToView(selection.topLeft()), BitmapToView(selection.bottomRight() + QPoint(1, 1)));
    return r.toAlignedRect().adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin, kFrameMargin);
}

void TImageView::RepaintSelection(const QRect& before, const QRect& after)
{
    // Only the frames' borders change; the pixels inside are untouched.
    QRegion region;
    for (const QRect& frame : {SelectionFrame(before), SelectionFrame(after)}) {
        if (frame.isEmpty()) continue;
        const QRect inner = frame.adjusted(2 * kFrameMargin + 1, 2 * kFrameMargin + 1, -2 * kFrameMargin - 1, -2 * kFrameMargin - 1);
        region += inner.isEmpty() ? QRegion(frame) : QRegion(frame).subtracted(QRegion(inner));
    }
    if (!region.isEmpty()) viewport()->update(region);
}

const QImage& TImageView::PyramidLevel(int level)
{
    while (int(FPyramid.size()) < level)
        FPyramid.push_back(FPyramid.empty() ? HalveBitmap(FBitmap) : HalveImage(FPyramid.back()));
    return FPyramid[level - 1];
}

void TImageView::PaintImage(QPainter& painter, const QRect& area)
{
    const QPoint origin = Origin();
    const QRect target = QRect(origin, ScaledSize()).intersected(area);
    if (target.isEmpty()) return;
    const double scale = Scale();
    // Reduced views read from the halved copy just above the zoom, so smoothing works on at
    // most twice the painted pixels.
    int level = 0;
    if (scale < 1.0) level = std::max(0, int(std::floor(std::log2(1.0 / scale))));
    while (level > 0 && (FBitmap.Width() >> level) < 1) --level;
    const double levelScale = scale * double(1 << level);
    const int levelWidth = level == 0 ? FBitmap.Width() : PyramidLevel(level).width();
    const int levelHeight = level == 0 ? FBitmap.Height() : PyramidLevel(level).height();

    // Source pixels that cover the target, in the level's coordinates.
    const int sx0 = std::clamp(int(std::floor((target.left() - origin.x()) / levelScale)), 0, levelWidth - 1);
    const int sy0 = std::clamp(int(std::floor((target.top() - origin.y()) / levelScale)), 0, levelHeight - 1);
    const int sx1 = std::clamp(int(std::ceil((target.right() + 1 - origin.x()) / levelScale)), sx0 + 1, levelWidth);
    const int sy1 = std::clamp(int(std::ceil((target.bottom() + 1 - origin.y()) / levelScale)), sy0 + 1, levelHeight);
    const QRect source(sx0, sy0, sx1 - sx0, sy1 - sy0);
    const QRectF dest(origin.x() + sx0 * levelScale, origin.y() + sy0 * levelScale, source.width() * levelScale,
                      source.height() * levelScale);

    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
    painter.setClipRect(target);
    if (level == 0)
        painter.drawImage(dest, BitmapRectToQImage(FBitmap, source));
    else
        painter.drawImage(dest, PyramidLevel(level), QRectF(source));
    painter.setClipping(false);
}

void TImageView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), FBackground);
    if (FBitmap.Empty()) return;
    for (const QRect& rect : event->region()) PaintImage(painter, rect);
    if (!FSelection.isEmpty()) {
        const QRect frame = SelectionFrame(FSelection).adjusted(kFrameMargin, kFrameMargin, -kFrameMargin - 1, -kFrameMargin - 1);
        painter.setClipRegion(event->region());
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(frame);
        QPen ants(Qt::black, 1, Qt::CustomDashLine);
        ants.setDashPattern({4, 4});
        ants.setDashOffset(FAntsPhase);
        painter.setPen(ants);
        painter.drawRect(frame);
    }
}

QPoint TImageView::GridPoint(QPointF bitmapPoint) const
{
    return QPoint(std::clamp(int(std::lround(bitmapPoint.x())), 0, FBitmap.Width()),
                  std::clamp(int(std::lround(bitmapPoint.y())), 0, FBitmap.Height()));
}

void TImageView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, event->button(), pos);
    if (event->button() != Qt::LeftButton || FBitmap.Empty()) return;
    if (FMouseInteract == miSelect) {
        const QPointF p = ViewToBitmap(event->position());
        FDragStart = GridPoint(p);
        FDragging = true;
    } else if (FMouseInteract == miScroll) {
        FDragStart = pos;
        FScrollStart = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
        FDragging = true;
        ApplyCursor();
    }
}

void TImageView::mouseMoveEvent(QMouseEvent* event)
{
    if (!FDragging) return;
    if (FMouseInteract == miSelect) {
        const QPoint end = GridPoint(ViewToBitmap(event->position()));
        SetSelection(QRect(QPoint(std::min(FDragStart.x(), end.x()), std::min(FDragStart.y(), end.y())),
                           QPoint(std::max(FDragStart.x(), end.x()) - 1, std::max(FDragStart.y(), end.y()) - 1)));
    } else if (FMouseInteract == miScroll) {
        const QPoint delta = event->position().toPoint() - FDragStart;
        horizontalScrollBar()->setValue(FScrollStart.x() - delta.x());
        verticalScrollBar()->setValue(FScrollStart.y() - delta.y());
    }
}

void TImageView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!FDragging || event->button() != Qt::LeftButton) return;
    FDragging = false;
    if (FMouseInteract == miSelect) {
        // A click without a drag removes the selection.
        if (GridPoint(ViewToBitmap(event->position())) == FDragStart) DeSelect();
    }
    ApplyCursor();
}
