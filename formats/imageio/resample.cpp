#include "formats/imageio/resample.h"

#include "formats/core/row_bits.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void StretchPlane(const TIEBitmap& source, TIEBitmap& target)
{
    const int32_t w = target.Width(), h = target.Height();
    std::vector<int32_t> columns(static_cast<size_t>(w));
    for (int32_t x = 0; x < w; ++x) columns[size_t(x)] = int32_t(int64_t(x) * source.Width() / w);
    const size_t bytes = source.BitCount() / 8;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* in = source.ScanLine(int32_t(int64_t(y) * source.Height() / h));
        uint8_t* out = target.ScanLine(y);
        if (source.PixelFormat() == ipf1Bit) {
            std::memset(out, 0, size_t(target.RowLen()));
            for (int32_t x = 0; x < w; ++x)
                if (IEGetBit(in, columns[size_t(x)])) IESetBit(out, x);
        } else {
            for (int32_t x = 0; x < w; ++x) std::memcpy(out + size_t(x) * bytes, in + size_t(columns[size_t(x)]) * bytes, bytes);
        }
    }
}

// Bilinear filter over interleaved 8-bit channels (1 or 3).
void FilterPlane(const TIEBitmap& source, TIEBitmap& target, int channels)
{
    const int32_t sw = source.Width(), sh = source.Height(), w = target.Width(), h = target.Height();
    struct TTap { int32_t i0, i1; int32_t f; };  // weight of i1 in 1/256
    auto taps = [](int32_t from, int32_t to) {
        std::vector<TTap> t(static_cast<size_t>(to));
        for (int32_t i = 0; i < to; ++i) {
            double pos = (i + 0.5) * from / to - 0.5;
            pos = std::clamp(pos, 0.0, double(from - 1));
            const int32_t i0 = int32_t(pos);
            t[size_t(i)] = {i0, std::min(i0 + 1, from - 1), int32_t((pos - i0) * 256)};
        }
        return t;
    };
    const std::vector<TTap> xs = taps(sw, w), ys = taps(sh, h);
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* a = source.ScanLine(ys[size_t(y)].i0);
        const uint8_t* b = source.ScanLine(ys[size_t(y)].i1);
        const int32_t fy = ys[size_t(y)].f;
        uint8_t* out = target.ScanLine(y);
        for (int32_t x = 0; x < w; ++x) {
            const TTap& t = xs[size_t(x)];
            for (int c = 0; c < channels; ++c) {
                const int top = a[t.i0 * channels + c] * (256 - t.f) + a[t.i1 * channels + c] * t.f;
                const int bottom = b[t.i0 * channels + c] * (256 - t.f) + b[t.i1 * channels + c] * t.f;
                out[x * channels + c] = uint8_t((top * (256 - fy) + bottom * fy + 32768) >> 16);
            }
        }
    }
}

template <typename Plane>
void Resample(TIEBitmap& bitmap, int32_t width, int32_t height, Plane plane)
{
    TIEBitmap target;
    target.Allocate(width, height, bitmap.PixelFormat());
    plane(bitmap, target);
    if (bitmap.PixelFormat() == ipf8Palette) std::copy_n(bitmap.Palette(), 256, target.Palette());
    target.BlackWhiteMethod = bitmap.BlackWhiteMethod;
    if (bitmap.HasAlphaChannel()) plane(*bitmap.AlphaChannel(), *target.AlphaChannel());
    bitmap.Assign(target);
}

}  // namespace

void IEStretchNearest(TIEBitmap& bitmap, int32_t width, int32_t height)
{
    Resample(bitmap, width, height, StretchPlane);
}

void IEResampleFiltered(TIEBitmap& bitmap, int32_t width, int32_t height)
{
    bitmap.ConvertTo(ipf24RGB);
    Resample(bitmap, width, height, [](const TIEBitmap& s, TIEBitmap& t) {
        FilterPlane(s, t, s.PixelFormat() == ipf24RGB ? 3 : 1);
    });
}
