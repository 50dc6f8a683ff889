#pragma once
// The two-colour rule of the 1-bit writers: an ipf24RGB image holding exactly two distinct
// colours becomes a 1-bit image in which the first colour met (row 0 first, left to right) is
// 0, unless the other colour is darker, in which case the bits are inverted so that entry 0 is
// always the darker colour.

#include "formats/core/ie_bitmap.h"

#include <cmath>
#include <cstring>

// Brightness used to order the two colours: round((21 R + 71 G + 8 B) / 100).
inline int IETwoColourBrightness(const TRGB& c) {
    return int(std::lround((21.0 * c.r + 71.0 * c.g + 8.0 * c.b) / 100.0));
}

// Fills out (ipf1Bit) and colours[0..1] and returns true when source (ipf24RGB) holds exactly two
// colours; otherwise returns false and leaves out untouched.
inline bool IEMakeTwoColourBitmap(const TIEBitmap& source, TIEBitmap& out, TRGB colours[2]) {
    if (source.PixelFormat() != ipf24RGB || source.Empty()) return false;
    const int w = source.Width(), h = source.Height();
    TRGB found[2];
    int count = 0;
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = source.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const TRGB c{p[0], p[1], p[2]};
            if (count > 0 && c == found[0]) continue;
            if (count > 1 && c == found[1]) continue;
            if (count == 2) return false;
            found[count++] = c;
        }
    }
    if (count != 2) return false;
    const bool invert = IETwoColourBrightness(found[1]) < IETwoColourBrightness(found[0]);
    out.Allocate(w, h, ipf1Bit);
    for (int y = 0; y < h; ++y) {
        const uint8_t* p = source.ScanLine(y);
        uint8_t* row = out.ScanLine(y);
        std::memset(row, 0, size_t(out.RowLen()));
        for (int x = 0; x < w; ++x, p += 3) {
            const bool second = !(TRGB{p[0], p[1], p[2]} == found[0]);
            if (second != invert) row[x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
    }
    colours[0] = invert ? found[1] : found[0];
    colours[1] = invert ? found[0] : found[1];
    return true;
}
