#pragma once
// Run-length coders of the BMP codec. The decoders fill ipf24RGB rows through the palette from
// the bottom row up (top row down when topDown); runs past a row end or the last row, and
// indexes past the palette, are dropped or shown black, never written outside the bitmap.

#include "formats/core/ie_bitmap.h"
#include "formats/core/progress.h"

#include <cstddef>
#include <cstdint>
#include <vector>

void DecodeRle8(const uint8_t* data, size_t size, TIEBitmap& bitmap, const std::vector<TRGB>& palette, bool topDown,
                const TProgressRec& progress);
void DecodeRle4(const uint8_t* data, size_t size, TIEBitmap& bitmap, const std::vector<TRGB>& palette, bool topDown,
                const TProgressRec& progress);

// One row of palette indexes (one per byte) into out, ending with the end-of-line escape;
// returns the bytes produced. out must hold n × 10 bytes.
int EncodeRle8Row(const uint8_t* p, int n, uint8_t* out);
int EncodeRle4Row(const uint8_t* p, int n, uint8_t* out);
