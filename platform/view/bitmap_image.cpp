#include "platform/view/bitmap_image.h"

#include <algorithm>

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

void BitmapRowToRGB32(const TIEBitmap& bitmap, int y, int x0, int count, QRgb* out)
{
    const uint8_t* row = bitmap.ScanLine(y);
    switch (bitmap.PixelFormat()) {
    case ipf1Bit:
        for (int i = 0; i < count; ++i) {
            const int x = x0 + i;
            out[i] = (row[x >> 3] & (0x80 >> (x & 7))) ? 0xffffffffu : 0xff000000u;
        }
        break;
    case ipf8Gray:
        for (int i = 0; i < count; ++i) out[i] = qRgb(row[x0 + i], row[x0 + i], row[x0 + i]);
        break;
    case ipf16Gray: {
        const uint16_t* words = reinterpret_cast<const uint16_t*>(row);
        for (int i = 0; i < count; ++i) {
            const int v = words[x0 + i] >> 8;
            out[i] = qRgb(v, v, v);
        }
        break;
    }
    case ipf8Palette: {
        const TRGB* pal = bitmap.Palette();
        for (int i = 0; i < count; ++i) {
            const TRGB& c = pal[row[x0 + i]];
            out[i] = qRgb(c.r, c.g, c.b);
        }
        break;
    }
    case ipf24RGB: {
        const uint8_t* p = row + 3 * x0;
        for (int i = 0; i < count; ++i, p += 3) out[i] = qRgb(p[2], p[1], p[0]);
        break;
    }
    case ipfNone:
        std::fill_n(out, count, 0xff000000u);
        break;
    }
}

QImage BitmapRectToQImage(const TIEBitmap& bitmap, const QRect& rect)
{
    const QRect r = rect.intersected(QRect(0, 0, bitmap.Width(), bitmap.Height()));
    if (r.isEmpty() || bitmap.Empty()) return {};
    QImage image(r.size(), QImage::Format_RGB32);
    for (int y = 0; y < r.height(); ++y)
        BitmapRowToRGB32(bitmap, r.top() + y, r.left(), r.width(), reinterpret_cast<QRgb*>(image.scanLine(y)));
    return image;
}

namespace {

// Mean of two rows' 2 × 2 blocks; an odd last column or row is repeated.
void HalveRows(const QRgb* a, const QRgb* b, int srcWidth, QRgb* out, int outWidth)
{
    for (int x = 0; x < outWidth; ++x) {
        const int x1 = 2 * x, x2 = std::min(2 * x + 1, srcWidth - 1);
        const QRgb p[4] = {a[x1], a[x2], b[x1], b[x2]};
        int r = 0, g = 0, bl = 0;
        for (QRgb c : p) {
            r += qRed(c);
            g += qGreen(c);
            bl += qBlue(c);
        }
        out[x] = qRgb((r + 2) / 4, (g + 2) / 4, (bl + 2) / 4);
    }
}

} // namespace

QImage HalveBitmap(const TIEBitmap& bitmap)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    if (bitmap.Empty()) return {};
    const int ow = std::max(1, (w + 1) / 2), oh = std::max(1, (h + 1) / 2);
    QImage image(ow, oh, QImage::Format_RGB32);
    std::vector<QRgb> a(w), b(w);
    for (int y = 0; y < oh; ++y) {
        BitmapRowToRGB32(bitmap, 2 * y, 0, w, a.data());
        BitmapRowToRGB32(bitmap, std::min(2 * y + 1, h - 1), 0, w, b.data());
        HalveRows(a.data(), b.data(), w, reinterpret_cast<QRgb*>(image.scanLine(y)), ow);
    }
    return image;
}

QImage HalveImage(const QImage& image)
{
    const int w = image.width(), h = image.height();
    if (image.isNull()) return {};
    const int ow = std::max(1, (w + 1) / 2), oh = std::max(1, (h + 1) / 2);
    QImage out(ow, oh, QImage::Format_RGB32);
    for (int y = 0; y < oh; ++y)
        HalveRows(reinterpret_cast<const QRgb*>(image.constScanLine(2 * y)),
                  reinterpret_cast<const QRgb*>(image.constScanLine(std::min(2 * y + 1, h - 1))), w,
                  reinterpret_cast<QRgb*>(out.scanLine(y)), ow);
    return out;
}
