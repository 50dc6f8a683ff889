#pragma once
// Row conversions between the bitmap's blue-green-red pixels and JPEG sample rows. CMYK rows
// follow the inverted convention of Adobe files: 255 means no ink.
#include <cstdint>

// C, M, Y, K → blue, green, red, with red = C × K div 255 and so on.
void JpegInvertedCmykToBgr(const uint8_t* cmyk, uint8_t* bgr, int width);
// Blue, green, red → C, M, Y, K with m = max(R, G, B) (1 when 0): R × 255 div m, ..., m.
void JpegBgrToInvertedCmyk(const uint8_t* bgr, uint8_t* cmyk, int width);
// One sample per pixel → the same value in blue, green and red.
void JpegGreyToBgr(const uint8_t* grey, uint8_t* bgr, int width);
