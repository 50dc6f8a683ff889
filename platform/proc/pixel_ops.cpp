#include "platform/proc/pixel_ops.h"

#include "platform/view/bitmap_image.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool Bit(const uint8_t* row, int x) { return row[x >> 3] & (0x80 >> (x & 7)); }
void SetBit(uint8_t* row, int x, bool on)
{
    if (on) row[x >> 3] |= uint8_t(0x80 >> (x & 7));
    else row[x >> 3] &= uint8_t(~(0x80 >> (x & 7)));
}

// Copies pixel (sx, sy) of source to (dx, dy) of dest; both share one format.
struct TPixelCopier {
    const TIEBitmap& source;
    TIEBitmap& dest;
    int bytes = int(source.BitCount() / 8);
    void operator()(int sx, int sy, int dx, int dy) const
    {
        if (bytes == 0) SetBit(dest.ScanLine(dy), dx, Bit(source.ScanLine(sy), sx));
        else std::memcpy(dest.ScanLine(dy) + dx * bytes, source.ScanLine(sy) + sx * bytes, bytes);
    }
};

void CopyPalette(const TIEBitmap& source, TIEBitmap& dest)
{
    if (source.Palette() && dest.Palette()) std::copy_n(source.Palette(), 256, dest.Palette());
}

} // namespace

void RotateQuarters(const TIEBitmap& source, int quarters, TIEBitmap& dest)
{
    const int w = source.Width(), h = source.Height();
    quarters = ((quarters % 4) + 4) % 4;
    const bool swap = quarters % 2 == 1;
    dest.Allocate(swap ? h : w, swap ? w : h, source.PixelFormat());
    CopyPalette(source, dest);
    dest.BlackWhiteMethod = source.BlackWhiteMethod;
    if (dest.PixelFormat() == ipf1Bit)
        for (int y = 0; y < dest.Height(); ++y) std::memset(dest.ScanLine(y), 0, dest.RowLen());
    const TPixelCopier copy{source, dest};
    for (int y = 0; y < dest.Height(); ++y)
        for (int x = 0; x < dest.Width(); ++x) {
            switch (quarters) {
            case 0: copy(x, y, x, y); break;
            case 1: copy(w - 1 - y, x, x, y); break;  // old right-hand column becomes the top row
            case 2: copy(w - 1 - x, h - 1 - y, x, y); break;
            case 3: copy(y, h - 1 - x, x, y); break;
            }
        }
}

void FlipRows(TIEBitmap& bitmap)
{
    std::vector<uint8_t> tmp(bitmap.RowLen());
    for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom) {
        std::memcpy(tmp.data(), bitmap.ScanLine(top), tmp.size());
        std::memcpy(bitmap.ScanLine(top), bitmap.ScanLine(bottom), tmp.size());
        std::memcpy(bitmap.ScanLine(bottom), tmp.data(), tmp.size());
    }
}

void MirrorRows(TIEBitmap& bitmap)
{
    const int w = bitmap.Width();
    const int bytes = int(bitmap.BitCount() / 8);
    std::vector<uint8_t> tmp(bitmap.RowLen());
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        std::memcpy(tmp.data(), row, tmp.size());
        for (int x = 0; x < w; ++x) {
            if (bytes == 0) SetBit(row, x, Bit(tmp.data(), w - 1 - x));
            else std::memcpy(row + x * bytes, tmp.data() + (w - 1 - x) * bytes, bytes);
        }
    }
}

void InvertColors(TIEBitmap& bitmap)
{
    if (bitmap.PixelFormat() == ipf8Palette) {
        for (int i = 0; i < 256; ++i) {
            TRGB& c = bitmap.Palette()[i];
            c = CreateRGB(255 - c.r, 255 - c.g, 255 - c.b);
        }
        return;
    }
    const int64_t bytes = IERowLen(bitmap.Width(), bitmap.BitCount());
    for (int y = 0; y < bitmap.Height(); ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int64_t i = 0; i < bytes; ++i) row[i] = uint8_t(~row[i]);
    }
}

void GrayColors(TIEBitmap& bitmap)
{
    switch (bitmap.PixelFormat()) {
    case ipf24RGB:
        for (int y = 0; y < bitmap.Height(); ++y) {
            uint8_t* p = bitmap.ScanLine(y);
            for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
                const uint8_t l = uint8_t(IELuminance(TRGB{p[0], p[1], p[2]}));
                p[0] = p[1] = p[2] = l;
            }
        }
        break;
    case ipf8Palette:
        for (int i = 0; i < 256; ++i) {
            TRGB& c = bitmap.Palette()[i];
            const uint8_t l = uint8_t(IELuminance(c));
            c = CreateRGB(l, l, l);
        }
        break;
    default:  // grey and black and white are grey already
        break;
    }
}

void DitherToBlackWhite(TIEBitmap& bitmap)
{
    static constexpr uint8_t kBayer[8][8] = {
        {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
        {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
    if (bitmap.Empty() || bitmap.PixelFormat() == ipf1Bit) return;
    const int w = bitmap.Width(), h = bitmap.Height();
    TIEBitmap result;
    result.Allocate(w, h, ipf1Bit);
    std::vector<QRgb> line(w);
    for (int y = 0; y < h; ++y) {
        BitmapRowToRGB32(bitmap, y, 0, w, line.data());
        uint8_t* out = result.ScanLine(y);
        std::memset(out, 0, result.RowLen());
        for (int x = 0; x < w; ++x) {
            const int l = IELuminance(CreateRGB(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
            // Threshold (k + 0.5) × 4 for k in 0..63 spreads 0..255 over the 64 levels.
            if (l * 64 > kBayer[y & 7][x & 7] * 256 + 128) SetBit(out, x, true);
        }
    }
    bitmap.Assign(result);
}
