#pragma once
// Portable bitmap, greymap and pixmap reader and writer.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"

#include <string>

// The next header token: a word of letters and digits (the byte ending it is consumed), or
// "#" followed by a comment's text trimmed of blanks and control characters, or "" at the end
// of the stream. Any other byte between tokens is skipped.
std::string ReadPxmToken(TStream& stream);

// True when the stream starts like a P1 to P6 file with a positive size; the position is kept.
bool IsPxm(TStream& stream);
// Reads P1 to P6. Maximum sample values above 255 (two-byte raw samples) are scaled to 8 bits;
// a maximum of 0 or below, a missing or non-positive size, or another magic set Aborting and
// leave the bitmap alone. A short raster is tolerated: what was not read stays black, or white
// for bitmaps.
void ReadPxm(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool paramsOnly, TProgressRec& progress);
// Writes P4 for 1-bit images (or BitsPerSample 1 with SamplesPerPixel 1), P5 for 8 × 1, else P6.
void WritePxm(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);
