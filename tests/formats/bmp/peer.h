#pragma once
// ImageMagick as the independent decoder and encoder of BMP files.
#include "formats/core/ie_bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

inline bool HaveImageMagick() { return std::system("convert -version >/dev/null 2>&1") == 0; }

inline int RunQuiet(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// ImageMagick's decode of a file as 24-bit pixels, via a binary PPM.
inline bool PeerDecode(const std::string& file, const std::string& ppm, TIEBitmap& out)
{
    if (RunQuiet("convert '" + file + "' -depth 8 -type truecolor ppm:'" + ppm + "'") != 0) return false;
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, max = 0;
    in >> magic >> w >> h >> max;
    in.get();
    if (magic != "P6" || w <= 0 || h <= 0 || max != 255) return false;
    out.Allocate(w, h, ipf24RGB);
    std::string row(size_t(w) * 3, '\0');
    for (int y = 0; y < h; ++y) {
        in.read(row.data(), std::streamsize(row.size()));
        TRGB* px = reinterpret_cast<TRGB*>(out.ScanLine(y));
        for (int x = 0; x < w; ++x) px[x] = CreateRGB(uint8_t(row[3 * x]), uint8_t(row[3 * x + 1]), uint8_t(row[3 * x + 2]));
    }
    return bool(in);
}

// Largest channel difference between two images of the same size (-1 when sizes differ).
inline int MaxDifference(TIEBitmap& a, TIEBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    a.ConvertTo(ipf24RGB);
    b.ConvertTo(ipf24RGB);
    int worst = 0;
    for (int y = 0; y < a.Height(); ++y) {
        const TRGB* p = reinterpret_cast<const TRGB*>(a.ScanLine(y));
        const TRGB* q = reinterpret_cast<const TRGB*>(b.ScanLine(y));
        for (int x = 0; x < a.Width(); ++x)
            worst = std::max({worst, std::abs(p[x].r - q[x].r), std::abs(p[x].g - q[x].g), std::abs(p[x].b - q[x].b)});
    }
    return worst;
}
