#pragma once
// TImageView: the document view. It owns the TIEBitmap it shows, its own TImageIO (created on
// first use, attached to the view, with the view's progress handler), its own TImageProc
// (created on first use, with its one undo copy) and its resolution.
//
// Display: any zoom (a percentage), smoothed when reduced; fit to window, and the AutoFit mode
// that fits again whenever the window or the image changes. Only the visible part is painted:
// at 100 % and above straight from the bitmap's rows, below from a pyramid of halved copies
// built once per image change. Mouse: rectangle selection drawn as marching ants (miSelect)
// or dragging to scroll (miScroll).

#include "formats/imageio/image_io.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class TImageProc;

enum TMouseInteract { miNone, miSelect, miScroll };

// The view's standard cursor, the one every new view starts with.
inline constexpr int crImageViewStandard = 1785;

class TImageView : public QAbstractScrollArea, public TIEViewLink {
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr);
    ~TImageView() override;

    // The document's modified flag lives here, as the view's tag: 0 unmodified, 1 modified.
    int Tag = 0;
    // Progress handler handed to the view's own I/O component when it is created.
    std::function<void(void* sender, int percent)> OnProgress;
    // Every mouse press, before the view acts on it (sender, button, position in the view).
    std::function<void(TImageView* sender, Qt::MouseButton button, QPoint position)> OnMouseDown;

    TImageIO& IO();
    TImageProc& Proc();
    // Repaints after the bitmap changed (size, pixels or format).
    void Update();

    // Zoom in percent. Values of 0 or less, and the value already set, are ignored.
    double Zoom() const { return FZoom; }
    void SetZoom(double percent);
    // Sets the zoom that shows the whole image in the window.
    void Fit();
    bool AutoFit() const { return FAutoFit; }
    void SetAutoFit(bool on);

    TMouseInteract MouseInteract() const { return FMouseInteract; }
    void SetMouseInteract(TMouseInteract mode);
    int Cursor() const { return FCursor; }
    void SetCursor(int cursor);

    // The selected rectangle in bitmap pixels, clipped to the image; empty when none.
    bool Selected() const { return !FSelection.isEmpty(); }
    QRect SelectionRect() const { return FSelection; }
    void SetSelection(const QRect& rect);
    void DeSelect();

    // Where a bitmap pixel appears in the viewport, and back.
    QPointF BitmapToView(QPointF p) const;
    QPointF ViewToBitmap(QPointF p) const;

    // TIEViewLink
    TIEBitmap& IEBitmap() override { return FBitmap; }
    void GetResolution(int& dpiX, int& dpiY) const override;
    void SetResolution(int dpiX, int dpiY) override;
    TRGB ViewBackground() const override;
    void SetViewBackground(TRGB color) override;
    void ImageChanged() override { Update(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double Scale() const { return FZoom / 100.0; }
    QSize ScaledSize() const;
    QPoint Origin() const;
    void UpdateScrollBars();
    void ApplyZoom(double percent);
    void ApplyCursor();
    // The pixel corner nearest to a bitmap point, inside the image.
    QPoint GridPoint(QPointF bitmapPoint) const;
    QRect SelectionFrame(const QRect& selection) const;
    void RepaintSelection(const QRect& before, const QRect& after);
    const QImage& PyramidLevel(int level);
    void PaintImage(QPainter& painter, const QRect& area);

    TIEBitmap FBitmap;
    std::unique_ptr<TImageIO> FIO;
    std::unique_ptr<TImageProc> FProc;
    int FDpiX;
    int FDpiY;
    QColor FBackground;

    double FZoom = 100.0;
    bool FAutoFit = false;
    TMouseInteract FMouseInteract = miSelect;
    int FCursor = crImageViewStandard;

    QRect FSelection;
    QPoint FDragStart;       // bitmap point where a selection began, or view point of a scroll drag
    QPoint FScrollStart;     // scroll bar values when a scroll drag began
    bool FDragging = false;
    int FAntsPhase = 0;
    QTimer FAntsTimer;

    std::vector<QImage> FPyramid;  // [0] half size, [1] quarter, ...; empty until needed
};
