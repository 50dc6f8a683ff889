#include "platform/view/bitmap_image.h"

QImage BitmapToQImage(const TIEBitmap& bitmap)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    switch (bitmap.PixelFormat()) {
    case ipf1Bit: {
        QImage image(w, h, QImage::Format_Mono);
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        const int bytes = (w + 7) / 8;
        for (int y = 0; y < h; ++y) std::copy_n(bitmap.ScanLine(y), bytes, image.scanLine(y));
        return image;
    }
    case ipf8Gray: {
        QImage image(w, h, QImage::Format_Grayscale8);
        for (int y = 0; y < h; ++y) std::copy_n(bitmap.ScanLine(y), w, image.scanLine(y));
        return image;
    }
    case ipf8Palette: {
        QImage image(w, h, QImage::Format_Indexed8);
        QList<QRgb> colors(256);
        for (int i = 0; i < 256; ++i) colors[i] = qRgb(bitmap.Palette()[i].r, bitmap.Palette()[i].g, bitmap.Palette()[i].b);
        image.setColorTable(colors);
        for (int y = 0; y < h; ++y) std::copy_n(bitmap.ScanLine(y), w, image.scanLine(y));
        return image;
    }
    case ipf16Gray: {
        QImage image(w, h, QImage::Format_Grayscale16);
        for (int y = 0; y < h; ++y) std::copy_n(bitmap.ScanLine(y), w * 2, image.scanLine(y));
        return image;
    }
    case ipf24RGB: {
        QImage image(w, h, QImage::Format_BGR888);
        for (int y = 0; y < h; ++y) std::copy_n(bitmap.ScanLine(y), w * 3, image.scanLine(y));
        return image;
    }
    case ipfNone:
        break;
    }
    return {};
}

void QImageToBitmap(const QImage& image, TIEBitmap& bitmap)
{
    const int w = image.width(), h = image.height();
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB) {
        const QImage mono = image.convertToFormat(QImage::Format_Mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
        bitmap.Allocate(w, h, ipf1Bit);
        for (int y = 0; y < h; ++y) std::copy_n(mono.constScanLine(y), (w + 7) / 8, bitmap.ScanLine(y));
        return;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_BGR888);
    bitmap.Allocate(w, h, ipf24RGB);
    for (int y = 0; y < h; ++y) std::copy_n(rgb.constScanLine(y), w * 3, bitmap.ScanLine(y));
}
