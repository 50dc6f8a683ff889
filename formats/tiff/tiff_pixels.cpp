#include "formats/tiff/tiff_pixels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
uint16_t Sample16(const uint8_t* p, bool bigEndian) { return bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]); }

uint8_t ScaleGrey(int v, int bits) {
    int max = (1 << bits) - 1;
    return uint8_t(bits == 8 ? v : (std::min(v, max) * 255 + max / 2) / max);
}

constexpr double kWhiteX = 0.95047, kWhiteY = 1.0, kWhiteZ = 1.08883;

double ToLinear(double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }
double FromLinear(double c) { return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055; }
uint8_t ToByte(double c) { return uint8_t(std::clamp(std::lround(c * 255.0), 0L, 255L)); }
}  // namespace

bool TiffLayoutSupported(const TTiffPixelLayout& l) {
    const int p = l.Photometric, s = l.Samples, b = l.Bits;
    if (b < 1) return false;  // a BitsPerSample of 0 describes no samples at all
    if (p == 2) return (s >= 3 && (b == 8 || b == 16)) || (s == 1 && b == 16);
    if (p == 3) return (s == 1 || s == 2) && b <= 8 && l.Palette;
    if (p == 0 || p == 1) return (s == 1 || s == 2) && (b <= 8 || b == 16) && (b != 1 || s == 1);
    if (p == 5) return s >= 4 && b == 8;
    if (p == 8) return s >= 3 && b == 8;
    return false;
}

void TiffUnpackSamples(const uint8_t* src, int64_t count, int bits, uint8_t* dst) {
    const unsigned mask = (1u << bits) - 1;
    uint64_t bitPos = 0;
    for (int64_t i = 0; i < count; ++i, bitPos += unsigned(bits)) {
        size_t byte = size_t(bitPos >> 3);
        unsigned shift = 16 - unsigned(bitPos & 7) - unsigned(bits);
        unsigned pair = unsigned(src[byte]) << 8 | ((bitPos & 7) + unsigned(bits) > 8 ? src[byte + 1] : 0);
        dst[i] = uint8_t((pair >> shift) & mask);
    }
}

void TiffUndoPredictor(uint8_t* row, int width, int samples, int bits, bool bigEndian) {
    const int n = width * samples;
    if (bits == 8) {
        for (int i = samples; i < n; ++i) row[i] = uint8_t(row[i] + row[i - samples]);
    } else if (bits == 16) {
        for (int i = samples; i < n; ++i) {
            uint8_t* p = row + 2 * i;
            uint16_t v = uint16_t(Sample16(p, bigEndian) + Sample16(p - 2 * samples, bigEndian));
            if (bigEndian) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
            else { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
        }
    }
}

void TiffApplyPredictor(const uint8_t* src, uint8_t* dst, int width, int samples) {
    const int n = width * samples;
    std::memcpy(dst, src, size_t(std::min(n, samples)));
    for (int i = samples; i < n; ++i) dst[i] = uint8_t(src[i] - src[i - samples]);
}

TRGB TiffLabToRgb(uint8_t l8, int8_t a, int8_t b) {
    double l = l8 * 100.0 / 255.0;
    double fy = (l + 16.0) / 116.0, fx = fy + a / 500.0, fz = fy - b / 200.0;
    auto inv = [](double f) { return f > 6.0 / 29.0 ? f * f * f : 3 * (6.0 / 29.0) * (6.0 / 29.0) * (f - 4.0 / 29.0); };
    double x = kWhiteX * inv(fx), y = kWhiteY * inv(fy), z = kWhiteZ * inv(fz);
    double r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
    double g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z;
    double bl = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
    return CreateRGB(ToByte(FromLinear(std::clamp(r, 0.0, 1.0))), ToByte(FromLinear(std::clamp(g, 0.0, 1.0))),
                     ToByte(FromLinear(std::clamp(bl, 0.0, 1.0))));
}

void TiffRgbToLab(const TRGB& c, uint8_t out[3]) {
    double r = ToLinear(c.r / 255.0), g = ToLinear(c.g / 255.0), b = ToLinear(c.b / 255.0);
    double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / kWhiteX;
    double y = (0.2126729 * r + 0.7151522 * g + 0.0721750 * b) / kWhiteY;
    double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / kWhiteZ;
    auto f = [](double t) { return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0; };
    double fx = f(x), fy = f(y), fz = f(z);
    double l = 116.0 * fy - 16.0, a = 500.0 * (fx - fy), bb = 200.0 * (fy - fz);
    out[0] = uint8_t(std::clamp(std::lround(l * 255.0 / 100.0), 0L, 255L));
    out[1] = uint8_t(int8_t(std::clamp(std::lround(a), -128L, 127L)));
    out[2] = uint8_t(int8_t(std::clamp(std::lround(bb), -128L, 127L)));
}

void TiffConvertRow(const TTiffPixelLayout& l, const uint8_t* src, int width, uint8_t* dst, uint8_t* mask) {
    const int s = l.Samples;
    TRGB* out = reinterpret_cast<TRGB*>(dst);
    switch (l.Photometric) {
    case 2:
        if (l.Bits == 8) {
            for (int x = 0; x < width; ++x, src += s) {
                out[x] = CreateRGB(src[0], src[1], src[2]);
                if (mask && s >= 4) mask[x] = src[3];
            }
        } else if (s >= 3) {
            const int hi = l.BigEndian ? 0 : 1;
            for (int x = 0; x < width; ++x, src += 2 * s) {
                out[x] = CreateRGB(src[hi], src[2 + hi], src[4 + hi]);
                if (mask && s >= 4) mask[x] = src[6 + hi];
            }
        } else {
            for (int x = 0; x < width; ++x, src += 2) {
                uint16_t v = Sample16(src, l.BigEndian);
                out[x] = CreateRGB(uint8_t((v >> 10 & 31) * 8), uint8_t((v >> 5 & 31) * 8), uint8_t((v & 31) * 8));
            }
        }
        break;
    case 3:
        for (int x = 0; x < width; ++x, src += s) {
            out[x] = src[0] < l.PaletteSize ? l.Palette[src[0]] : TRGB{};
            if (mask && s == 2) mask[x] = src[1];
        }
        break;
    case 0:
    case 1:
        if (l.Bits == 1) {
            const int bytes = (width + 7) / 8;
            if (l.Photometric == 0) for (int i = 0; i < bytes; ++i) dst[i] = uint8_t(~src[i]);
            else std::memcpy(dst, src, size_t(bytes));
        } else if (l.Bits == 16) {
            const int shift = l.LookMolli ? 4 : 8;
            for (int x = 0; x < width; ++x, src += 2 * s) {
                int v = Sample16(src, l.BigEndian);
                if (l.Photometric == 0) v = 65535 - v;
                uint8_t g = uint8_t(std::min(v >> shift, 255));
                out[x] = CreateRGB(g, g, g);
                if (mask && s == 2) mask[x] = uint8_t(Sample16(src + 2, l.BigEndian) >> 8);
            }
        } else {
            for (int x = 0; x < width; ++x, src += s) {
                uint8_t g = ScaleGrey(src[0], l.Bits);
                if (l.Photometric == 0) g = uint8_t(255 - g);
                out[x] = CreateRGB(g, g, g);
                if (mask && s == 2) mask[x] = ScaleGrey(src[1], l.Bits);
            }
        }
        break;
    case 5:
        for (int x = 0; x < width; ++x, src += s) {
            int k = 255 - src[3];
            out[x] = CreateRGB(uint8_t((255 - src[0]) * k / 255), uint8_t((255 - src[1]) * k / 255),
                               uint8_t((255 - src[2]) * k / 255));
        }
        break;
    case 8:
        for (int x = 0; x < width; ++x, src += s) out[x] = TiffLabToRgb(src[0], int8_t(src[1]), int8_t(src[2]));
        break;
    default:
        break;
    }
}
