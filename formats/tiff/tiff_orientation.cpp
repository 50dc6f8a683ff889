#include "formats/tiff/tiff_orientation.h"

#include "formats/core/row_bits.h"

#include <cstring>

void TiffApplyOrientation(TIEBitmap& bitmap, int orientation) {
    if (orientation < 2 || orientation > 8 || bitmap.Empty()) return;
    const TImagePixelFormat format = bitmap.PixelFormat();
    if (format != ipf1Bit && format != ipf8Gray && format != ipf24RGB) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    const bool swap = orientation >= 5;
    TIEBitmap source;
    source.SetStorage(bitmap.Storage());
    source.Assign(bitmap);
    source.FreeAlphaChannel();
    bitmap.Allocate(swap ? h : w, swap ? w : h, format);
    const int dw = bitmap.Width(), dh = bitmap.Height();
    const int bytes = format == ipf24RGB ? 3 : 1;
    for (int y = 0; y < dh; ++y) {
        uint8_t* dst = bitmap.ScanLine(y);
        if (format == ipf1Bit) std::memset(dst, 0, size_t(bitmap.RowLen()));
        for (int x = 0; x < dw; ++x) {
            int sx, sy;
            switch (orientation) {
            case 2: sx = w - 1 - x; sy = y; break;
            case 3: sx = w - 1 - x; sy = h - 1 - y; break;
            case 4: sx = x; sy = h - 1 - y; break;
            case 5: sx = y; sy = x; break;                   // rows are the left side
            case 6: sx = y; sy = h - 1 - x; break;           // rows are the right side
            case 7: sx = w - 1 - y; sy = h - 1 - x; break;
            default: sx = w - 1 - y; sy = x; break;          // 8
            }
            const uint8_t* src = source.ScanLine(sy);
            if (format == ipf1Bit) {
                if (IEGetBit(src, sx)) IESetBit(dst, x);
            } else {
                std::memcpy(dst + x * bytes, src + sx * bytes, size_t(bytes));
            }
        }
    }
}
