#include "formats/jpeg/jpeg_pixels.h"

#include <algorithm>

void JpegInvertedCmykToBgr(const uint8_t* cmyk, uint8_t* bgr, int width)
{
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = cmyk[3];
        bgr[0] = static_cast<uint8_t>(cmyk[2] * k / 255);
        bgr[1] = static_cast<uint8_t>(cmyk[1] * k / 255);
        bgr[2] = static_cast<uint8_t>(cmyk[0] * k / 255);
    }
}

void JpegBgrToInvertedCmyk(const uint8_t* bgr, uint8_t* cmyk, int width)
{
    for (int x = 0; x < width; ++x, bgr += 3, cmyk += 4) {
        const unsigned b = bgr[0], g = bgr[1], r = bgr[2];
        const unsigned m = std::max({r, g, b, 1u});
        cmyk[0] = static_cast<uint8_t>(r * 255 / m);
        cmyk[1] = static_cast<uint8_t>(g * 255 / m);
        cmyk[2] = static_cast<uint8_t>(b * 255 / m);
        cmyk[3] = static_cast<uint8_t>(std::max({r, g, b}));
    }
}

void JpegGreyToBgr(const uint8_t* grey, uint8_t* bgr, int width)
{
    for (int x = 0; x < width; ++x, bgr += 3)
        bgr[0] = bgr[1] = bgr[2] = grey[x];
}
