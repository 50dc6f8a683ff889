#pragma once
// Turns a decoded page upright according to its Orientation tag (2..8).

#include "formats/core/ie_bitmap.h"

// Works on ipf1Bit, ipf8Gray and ipf24RGB bitmaps; others are left alone.
void TiffApplyOrientation(TIEBitmap& bitmap, int orientation);
