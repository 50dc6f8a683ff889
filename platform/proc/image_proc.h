#pragma once
// TImageProc: the image processor of one view. Every operation works on the view's bitmap and
// repaints the view. With AutoUndo on, the operations that say so first store a copy of the
// whole image (only when the image is not empty); at most UndoLimit copies are kept, the
// oldest dropped first. Undo restores the newest copy without consuming it.

#include "formats/core/ie_bitmap.h"

#include <QRect>
#include <deque>
#include <memory>

class TImageView;
class QImage;

enum TFlipDirection { fdHorizontal, fdVertical };
enum TAntialiasMode { ierFast, ierBilinear };

// Page bits of the preview dialog, in the order the dialog lists them.
enum TPreviewPage : int {
    ppeColorAdjust = 2, ppeHSV = 4, ppeHSL = 8, ppeRGB = 16, ppeUserFilter = 32, ppeEqualize = 64,
    ppeBumpMap = 128, ppeLens = 256, ppeWave = 512, ppeMorphFilters = 1024, ppeRotate = 2048, ppeFFT = 4096
};

class TImageProc {
public:
    explicit TImageProc(TImageView* view);
    ~TImageProc();
    TImageProc(const TImageProc&) = delete;
    TImageProc& operator=(const TImageProc&) = delete;

    bool AutoUndo = true;
    int UndoLimit = 1;
    // Colour of the corners a rotation uncovers and of a cleared image.
    TRGB Background = CreateRGB(255, 255, 255);

    void SaveUndo();
    void Undo();
    bool CanUndo() const { return !FUndo.empty(); }
    void ClearUndo() { FUndo.clear(); }

    // Rotates anticlockwise by angle degrees; quarter turns are exact, other angles are
    // resampled (bilinear when antialias is set) into the bounding box, corners in background.
    void Rotate(double angle, bool antialias, TAntialiasMode mode, TRGB background);
    void Flip(TFlipDirection direction);
    void Negative();
    void ConvertToGray();
    // One bit per pixel, with an 8 × 8 ordered dither of the luminance.
    void ConvertToBWOrdered();
    void ConvertTo24Bit();
    // Fills the image with Background, keeping its size.
    void Clear();

    // Empties the clipboard and puts the selection (or the whole image) on it as a
    // device-independent bitmap.
    void CopyToClipboard();
    // Makes the clipboard's bitmap the image; false when the clipboard holds none.
    bool PasteFromClipboard();
    static bool ClipboardHasPicture();

    // The preview dialog of adjustments and effects on the pages of mask; on confirmation the
    // chosen page's result replaces the selection (or the whole image) after an undo copy.
    bool DoPreviews(int pages);

    // The selection of the view, or the whole image when there is none.
    QRect WorkRect() const;
    // Replaces the pixels of rect by image (of rect's size, or the new whole image when rect
    // is the whole image and the size differs). The bitmap becomes ipf24RGB.
    void PutImage(const QRect& rect, const QImage& image);

private:
    void AutoSaveUndo();
    void Changed();

    TImageView* FView;
    std::deque<std::unique_ptr<TIEBitmap>> FUndo;
};
