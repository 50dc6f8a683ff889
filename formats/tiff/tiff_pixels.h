#pragma once
// Row-level pixel work of the TIFF codec: spreading packed samples, undoing horizontal
// differencing, and converting a decoded row into an ipf1Bit or ipf24RGB row (and the
// transparency mask); the writer's colour conversions live here too.

#include "formats/core/ie_bitmap.h"

#include <cstdint>

struct TTiffPixelLayout {
    int Photometric = 0;  // as in the file
    int Samples = 1;
    int Bits = 1;
    bool BigEndian = false;
    bool LookMolli = false;  // 16-bit grey scaled by 16 rather than 256
    const TRGB* Palette = nullptr;
    int PaletteSize = 0;
};

// True for the combinations we can turn into pixels.
bool TiffLayoutSupported(const TTiffPixelLayout& layout);
// Whether the page becomes an ipf1Bit bitmap.
inline bool TiffIsBilevel(const TTiffPixelLayout& l) { return l.Bits == 1 && l.Samples == 1 && l.Photometric != 3; }
// Whether decoded rows must be spread to one byte per sample before conversion.
inline bool TiffNeedsUnpack(const TTiffPixelLayout& l) { return l.Bits < 8 && !TiffIsBilevel(l); }

// Spreads count samples of bits (1..7) each, most significant first, to one byte each.
void TiffUnpackSamples(const uint8_t* src, int64_t count, int bits, uint8_t* dst);
// Undoes horizontal differencing on 8- or 16-bit samples.
void TiffUndoPredictor(uint8_t* row, int width, int samples, int bits, bool bigEndian);
// Applies horizontal differencing to 8-bit samples (the writer's side), src to dst.
void TiffApplyPredictor(const uint8_t* src, uint8_t* dst, int width, int samples);

// Converts width pixels of a decoded (and, where needed, unpacked) row. dst is an ipf1Bit row
// for bilevel layouts, else ipf24RGB; mask, when given, receives 8-bit alpha values.
void TiffConvertRow(const TTiffPixelLayout& layout, const uint8_t* src, int width, uint8_t* dst, uint8_t* mask);

// CIE L*a*b* (8-bit TIFF encoding: L scaled to 0..255, a and b signed) and sRGB, D65 white.
TRGB TiffLabToRgb(uint8_t l, int8_t a, int8_t b);
void TiffRgbToLab(const TRGB& c, uint8_t out[3]);
