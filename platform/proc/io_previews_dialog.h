#pragma once
// The image-options dialog: per-format pages that edit an I/O component's Params, beside a
// preview of its image. Page bits: JPEG 4, TIFF 8, GIF 16, BMP 32, PNG 128.

#include "formats/imageio/image_io.h"

#include <QDialog>
#include <functional>
#include <vector>

class QTabWidget;
class QWidget;

enum TIOPreviewsPage : int { ioppJPEG = 4, ioppTIFF = 8, ioppGIF = 16, ioppBMP = 32, ioppPNG = 128 };

class TIOPreviewsDialog : public QDialog {
    Q_OBJECT
public:
    TIOPreviewsDialog(TImageIO& io, int pages, QWidget* parent = nullptr);
    QTabWidget* Pages() const { return FTabs; }
    // Writes the controls' values into Params.
    void Store();

private:
    TImageIO& FIO;
    QTabWidget* FTabs;
    std::vector<std::function<void(TIOParamsVals&)>> FStores;
};

// Shows the dialog on the pages of mask for io's image and Params; the bitmap first becomes
// ipf24RGB unless it is ipf1Bit or ipf24RGB already. True when the user confirmed, and only
// then are Params changed.
bool DoPreviews(TImageIO& io, int pages, QWidget* parent = nullptr);
