#pragma once
// TIEQuantizer: builds a palette of at most n colours for one ipf24RGB bitmap and maps colours
// to palette indexes (grey ramp, exact colours, NeuQuant for n >= 128, box splitter below).

#include "formats/core/ie_bitmap.h"
#include <cstdint>
#include <memory>

class TIEQuantizer {
public:
    // Fills palette[0 .. n-1] (unfilled entries black). quality: -1 automatic sampling, else 0..100.
    TIEQuantizer(TIEBitmap& bitmap, TRGB* palette, int n, int quality = -1);
    ~TIEQuantizer();
    TIEQuantizer(const TIEQuantizer&) = delete;
    TIEQuantizer& operator=(const TIEQuantizer&) = delete;

    // Colour packed as blue in bits 0-7, green 8-15, red 16-23.
    int MapColor(uint32_t color) const;
    int MapColor(const TRGB& c) const { return MapColor(uint32_t(c.b) | uint32_t(c.g) << 8 | uint32_t(c.r) << 16); }
    bool IsGrayScale() const;

    struct TStrategy;
private:
    std::unique_ptr<TStrategy> FStrategy;
};
