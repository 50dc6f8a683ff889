#pragma once
// Resampling used to square the pixels of images with unequal resolutions. Both keep the alpha
// channel in step; sizes must be positive.

#include "formats/core/ie_bitmap.h"

// Nearest-neighbour stretch in the bitmap's own pixel format.
void IEStretchNearest(TIEBitmap& bitmap, int32_t width, int32_t height);
// Bilinear resample; the bitmap becomes ipf24RGB first.
void IEResampleFiltered(TIEBitmap& bitmap, int32_t width, int32_t height);
