// TIEBitmap::ConvertTo: every source format is read a row at a time into colour triples (or,
// for ipf16Gray, into 16-bit levels) and written in the target format.

#include "formats/core/ie_bitmap.h"
#include "formats/core/row_bits.h"
#include "formats/quantizer/quantizer.h"

#include <cstring>
#include <vector>

namespace {

constexpr TRGB Black = CreateRGB(0, 0, 0);
constexpr TRGB White = CreateRGB(255, 255, 255);

// The standard 8 × 8 ordered-dither matrix, levels 0 to 63.
constexpr uint8_t Bayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},    {48, 16, 56, 24, 50, 18, 58, 26}, {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22}, {3, 35, 11, 43, 1, 33, 9, 41},    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},   {63, 31, 55, 23, 61, 29, 53, 21},
};

void RowToRGB(const TIEBitmap& b, int32_t y, TRGB* out)
{
    const uint8_t* row = b.ScanLine(y);
    const int32_t w = b.Width();
    switch (b.PixelFormat()) {
    case ipf1Bit:
        for (int32_t x = 0; x < w; ++x) out[x] = IEGetBit(row, x) ? White : Black;
        break;
    case ipf8Palette:
        for (int32_t x = 0; x < w; ++x) out[x] = b.Palette()[row[x]];
        break;
    case ipf8Gray:
        for (int32_t x = 0; x < w; ++x) out[x] = CreateRGB(row[x], row[x], row[x]);
        break;
    case ipf16Gray:
        for (int32_t x = 0; x < w; ++x) {
            uint8_t v = uint8_t(IEGetWord(row, x) >> 8);
            out[x] = CreateRGB(v, v, v);
        }
        break;
    case ipf24RGB:
        std::memcpy(out, row, size_t(w) * 3);
        break;
    case ipfNone:
        break;
    }
}

// Brightness of each pixel of row y: luminance 0..255, or the 16-bit level for ipf16Gray.
void RowToLevels(const TIEBitmap& b, int32_t y, std::vector<TRGB>& rgb, uint16_t* out)
{
    const int32_t w = b.Width();
    if (b.PixelFormat() == ipf16Gray) {
        const uint8_t* row = b.ScanLine(y);
        for (int32_t x = 0; x < w; ++x) out[x] = IEGetWord(row, x);
        return;
    }
    RowToRGB(b, y, rgb.data());
    for (int32_t x = 0; x < w; ++x) out[x] = uint16_t(IELuminance(rgb[size_t(x)]));
}

void ToBlackWhite(const TIEBitmap& source, TIEBitmap& target)
{
    const int32_t w = source.Width(), h = source.Height();
    const bool wide = source.PixelFormat() == ipf16Gray;
    std::vector<TRGB> rgb(static_cast<size_t>(w));
    std::vector<uint16_t> levels(static_cast<size_t>(w));

    int threshold = 0;
    if (source.BlackWhiteMethod != 0) {
        // Luminance of the mean colour.
        uint64_t sum[3] = {0, 0, 0};
        for (int32_t y = 0; y < h; ++y) {
            if (wide) {
                const uint8_t* row = source.ScanLine(y);
                for (int32_t x = 0; x < w; ++x) sum[0] += IEGetWord(row, x);
            } else {
                RowToRGB(source, y, rgb.data());
                for (const TRGB& c : rgb) { sum[0] += c.r; sum[1] += c.g; sum[2] += c.b; }
            }
        }
        const uint64_t count = uint64_t(w) * uint64_t(h);
        threshold = wide ? int(sum[0] / count)
                         : IELuminance(CreateRGB(uint8_t(sum[0] / count), uint8_t(sum[1] / count), uint8_t(sum[2] / count)));
    }
    for (int32_t y = 0; y < h; ++y) {
        RowToLevels(source, y, rgb, levels.data());
        uint8_t* out = target.ScanLine(y);
        std::memset(out, 0, size_t(target.RowLen()));
        for (int32_t x = 0; x < w; ++x) {
            bool white;
            if (source.BlackWhiteMethod != 0) white = levels[size_t(x)] >= threshold;
            else white = Bayer[x & 7][y & 7] < (wide ? levels[size_t(x)] >> 10 : levels[size_t(x)] >> 2);
            if (white) IESetBit(out, x);
        }
    }
}

void ToGray8(const TIEBitmap& source, TIEBitmap& target)
{
    std::vector<TRGB> rgb(size_t(source.Width()));
    for (int32_t y = 0; y < source.Height(); ++y) {
        uint8_t* out = target.ScanLine(y);
        if (source.PixelFormat() == ipf16Gray) {
            const uint8_t* row = source.ScanLine(y);
            for (int32_t x = 0; x < source.Width(); ++x) out[x] = uint8_t(IEGetWord(row, x) >> 8);
            continue;
        }
        RowToRGB(source, y, rgb.data());
        for (int32_t x = 0; x < source.Width(); ++x) out[x] = uint8_t(IELuminance(rgb[size_t(x)]));
    }
}

void ToGray16(const TIEBitmap& source, TIEBitmap& target)
{
    std::vector<TRGB> rgb(size_t(source.Width()));
    for (int32_t y = 0; y < source.Height(); ++y) {
        const uint8_t* row = source.ScanLine(y);
        uint8_t* out = target.ScanLine(y);
        RowToRGB(source, y, rgb.data());
        for (int32_t x = 0; x < source.Width(); ++x) {
            const TRGB& c = rgb[size_t(x)];
            uint32_t v;
            switch (source.PixelFormat()) {
            case ipf1Bit: v = IEGetBit(row, x) ? 65535 : 0; break;
            case ipf8Gray: v = row[x] * 257u; break;
            default: v = (c.r * 54272u + c.g * 182528u + c.b * 19200u) / 1000u; break;
            }
            IESetWord(out, x, uint16_t(v));
        }
    }
}

void ToRGB24(const TIEBitmap& source, TIEBitmap& target)
{
    for (int32_t y = 0; y < source.Height(); ++y) RowToRGB(source, y, reinterpret_cast<TRGB*>(target.ScanLine(y)));
}

void ToPalette(TIEBitmap& source, TIEBitmap& target)
{
    TRGB* palette = target.Palette();
    const int32_t w = source.Width();
    switch (source.PixelFormat()) {
    case ipf1Bit:
        std::fill_n(palette, 256, Black);
        palette[1] = White;
        for (int32_t y = 0; y < source.Height(); ++y) {
            const uint8_t* row = source.ScanLine(y);
            uint8_t* out = target.ScanLine(y);
            for (int32_t x = 0; x < w; ++x) out[x] = IEGetBit(row, x) ? 1 : 0;
        }
        break;
    case ipf8Gray:
    case ipf16Gray:
        for (int i = 0; i < 256; ++i) palette[i] = CreateRGB(uint8_t(i), uint8_t(i), uint8_t(i));
        ToGray8(source, target);
        break;
    case ipf24RGB: {
        TIEQuantizer quantizer(source, palette, 256);
        for (int32_t y = 0; y < source.Height(); ++y) {
            const TRGB* row = reinterpret_cast<const TRGB*>(source.ScanLine(y));
            uint8_t* out = target.ScanLine(y);
            for (int32_t x = 0; x < w; ++x) out[x] = uint8_t(quantizer.MapColor(row[x]));
        }
        break;
    }
    default:
        break;
    }
}

}  // namespace

void TIEBitmap::ConvertTo(TImagePixelFormat format)
{
    if (format == FPixelFormat || format == ipfNone || format > ipf24RGB) return;
    if (Empty()) {
        FPixelFormat = format;
        return;
    }
    TIEBitmap target;
    target.SetStorage(FStorage);
    target.MinFileSize = MinFileSize;
    target.BlackWhiteMethod = BlackWhiteMethod;
    target.Allocate(FWidth, FHeight, format);
    switch (format) {
    case ipf1Bit: ToBlackWhite(*this, target); break;
    case ipf8Palette: ToPalette(*this, target); break;
    case ipf8Gray: ToGray8(*this, target); break;
    case ipf16Gray: ToGray16(*this, target); break;
    case ipf24RGB: ToRGB24(*this, target); break;
    case ipfNone: break;
    }
    TakeImage(target);
}
