#pragma once
// TImageView: the document view. It owns the TIEBitmap it shows, its own TImageIO (created on
// first use, attached to the view, with the view's progress handler) and its resolution.

#include "formats/imageio/image_io.h"

#include <QAbstractScrollArea>
#include <functional>
#include <memory>

class TImageView : public QAbstractScrollArea, public TIEViewLink {
    Q_OBJECT
public:
    explicit TImageView(QWidget* parent = nullptr);
    ~TImageView() override;

    // The document's modified flag lives here, as the view's tag: 0 unmodified, 1 modified.
    int Tag = 0;
    // Progress handler handed to the view's own I/O component when it is created.
    std::function<void(void* sender, int percent)> OnProgress;

    TImageIO& IO();
    // Repaints after the bitmap changed (size, pixels or format).
    void Update();

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

private:
    void UpdateScrollBars();

    TIEBitmap FBitmap;
    std::unique_ptr<TImageIO> FIO;
    int FDpiX;
    int FDpiY;
    QColor FBackground;
};
