#include "platform/proc/image_proc.h"

#include "platform/proc/pixel_ops.h"
#include "platform/proc/previews_dialog.h"
#include "platform/proc/rotate.h"
#include "platform/view/bitmap_image.h"
#include "platform/view/image_view.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <cmath>
#include <cstring>

TImageProc::TImageProc(TImageView* view) : FView(view) {}

TImageProc::~TImageProc() = default;

void TImageProc::SaveUndo()
{
    const TIEBitmap& bitmap = FView->IEBitmap();
    if (bitmap.Empty() || UndoLimit <= 0) return;
    auto copy = std::make_unique<TIEBitmap>();
    copy->Assign(bitmap);
    FUndo.push_back(std::move(copy));
    while (int(FUndo.size()) > UndoLimit) FUndo.pop_front();
}

void TImageProc::AutoSaveUndo()
{
    if (AutoUndo) SaveUndo();
}

void TImageProc::Undo()
{
    if (FUndo.empty()) return;
    FView->IEBitmap().Assign(*FUndo.back());
    Changed();
}

void TImageProc::Changed()
{
    FView->Update();
}

void TImageProc::Rotate(double angle, bool antialias, TAntialiasMode mode, TRGB background)
{
    TIEBitmap& bitmap = FView->IEBitmap();
    if (bitmap.Empty()) return;
    AutoSaveUndo();
    const double turns = angle / 90.0;
    if (turns == std::round(turns)) {
        TIEBitmap rotated;
        RotateQuarters(bitmap, int(std::fmod(turns, 4.0)), rotated);
        bitmap.Assign(rotated);
    } else {
        // Both modes sample bilinearly; the fast one is the only one we need to be quick.
        (void)mode;
        const QImage result = RotateImage(BitmapRectToQImage(bitmap, QRect(0, 0, bitmap.Width(), bitmap.Height())), angle,
                                          antialias, qRgb(background.r, background.g, background.b));
        QImageToBitmap(result, bitmap);
    }
    FView->DeSelect();
    Changed();
}

void TImageProc::Flip(TFlipDirection direction)
{
    TIEBitmap& bitmap = FView->IEBitmap();
    if (bitmap.Empty()) return;
    if (direction == fdVertical) FlipRows(bitmap);
    else MirrorRows(bitmap);
    Changed();
}

void TImageProc::Negative()
{
    if (FView->IEBitmap().Empty()) return;
    AutoSaveUndo();
    InvertColors(FView->IEBitmap());
    Changed();
}

void TImageProc::ConvertToGray()
{
    if (FView->IEBitmap().Empty()) return;
    AutoSaveUndo();
    GrayColors(FView->IEBitmap());
    Changed();
}

void TImageProc::ConvertToBWOrdered()
{
    if (FView->IEBitmap().Empty()) return;
    AutoSaveUndo();
    DitherToBlackWhite(FView->IEBitmap());
    Changed();
}

void TImageProc::ConvertTo24Bit()
{
    if (FView->IEBitmap().Empty()) return;
    AutoSaveUndo();
    FView->IEBitmap().ConvertTo(ipf24RGB);
    Changed();
}

void TImageProc::Clear()
{
    TIEBitmap& bitmap = FView->IEBitmap();
    if (bitmap.Empty()) return;
    AutoSaveUndo();
    const int w = bitmap.Width(), h = bitmap.Height();
    const bool white = Background == CreateRGB(255, 255, 255), black = Background == TRGB{};
    if (bitmap.PixelFormat() == ipf1Bit && (white || black)) {
        bitmap.Fill(white ? 0xff : 0x00);
    } else {
        bitmap.Allocate(w, h, ipf24RGB);
        for (int y = 0; y < h; ++y) {
            uint8_t* p = bitmap.ScanLine(y);
            for (int x = 0; x < w; ++x, p += 3) std::memcpy(p, &Background, 3);
        }
    }
    Changed();
}

QRect TImageProc::WorkRect() const
{
    const TIEBitmap& bitmap = FView->IEBitmap();
    return FView->Selected() ? FView->SelectionRect() : QRect(0, 0, bitmap.Width(), bitmap.Height());
}

void TImageProc::PutImage(const QRect& rect, const QImage& image)
{
    TIEBitmap& bitmap = FView->IEBitmap();
    const QRect whole(0, 0, bitmap.Width(), bitmap.Height());
    if (rect == whole && image.size() != rect.size()) {
        QImageToBitmap(image, bitmap);
        FView->DeSelect();
        Changed();
        return;
    }
    bitmap.ConvertTo(ipf24RGB);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QRect r = rect.intersected(whole).intersected(QRect(rect.topLeft(), rgb.size()));
    for (int y = 0; y < r.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* dst = bitmap.ScanLine(r.top() + y) + 3 * r.left();
        for (int x = 0; x < r.width(); ++x, dst += 3) {
            dst[0] = uint8_t(qBlue(src[x]));
            dst[1] = uint8_t(qGreen(src[x]));
            dst[2] = uint8_t(qRed(src[x]));
        }
    }
    Changed();
}

void TImageProc::CopyToClipboard()
{
    const TIEBitmap& bitmap = FView->IEBitmap();
    if (bitmap.Empty()) return;
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    const QRect r = WorkRect();
    // A 1-bit image stays 1-bit on the clipboard; anything else goes as true colour.
    QImage image = bitmap.PixelFormat() == ipf1Bit ? BitmapToQImage(bitmap).copy(r) : BitmapRectToQImage(bitmap, r);
    clipboard->setImage(image);
}

bool TImageProc::ClipboardHasPicture()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

bool TImageProc::PasteFromClipboard()
{
    const QImage image = QApplication::clipboard()->image();
    if (image.isNull()) return false;
    AutoSaveUndo();
    QImageToBitmap(image, FView->IEBitmap());
    FView->DeSelect();
    Changed();
    return true;
}

bool TImageProc::DoPreviews(int pages)
{
    TIEBitmap& bitmap = FView->IEBitmap();
    if (bitmap.Empty()) return false;
    const QRect rect = WorkRect();
    const QImage source = BitmapRectToQImage(bitmap, rect);
    TPreviewsDialog dialog(source, pages, /*keepSize=*/FView->Selected(), FView->window());
    if (dialog.exec() != QDialog::Accepted) return false;
    const QImage result = dialog.ApplyTo(source);
    AutoSaveUndo();
    PutImage(rect, result);
    return true;
}
