#pragma once
// Exact pixel rearrangements and conversions on a TIEBitmap, in any pixel format.

#include "formats/core/ie_bitmap.h"

// Quarter turns anticlockwise (1, 2 or 3) into dest, which is reallocated.
void RotateQuarters(const TIEBitmap& source, int quarters, TIEBitmap& dest);
void FlipRows(TIEBitmap& bitmap);
void MirrorRows(TIEBitmap& bitmap);
void InvertColors(TIEBitmap& bitmap);
// Grey levels by IELuminance, kept in the current format (palettes are made grey).
void GrayColors(TIEBitmap& bitmap);
// ipf1Bit through an 8 × 8 Bayer matrix on the luminance.
void DitherToBlackWhite(TIEBitmap& bitmap);
