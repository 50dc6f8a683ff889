#pragma once
// Conversions between TIEBitmap and QImage (for painting, the clipboard and printing).

#include "formats/core/ie_bitmap.h"
#include <QImage>
#include <QRect>

// A deep copy of the bitmap as a QImage (Format_BGR888 for colour, Format_Grayscale8 for grey,
// Format_Mono for 1 bit, indexed for palettes).
QImage BitmapToQImage(const TIEBitmap& bitmap);
// Fills the bitmap from an image: ipf1Bit for monochrome images, else ipf24RGB.
void QImageToBitmap(const QImage& image, TIEBitmap& bitmap);

// Pixels x0 .. x0+count-1 of row y as 0xffRRGGBB values, whatever the pixel format.
void BitmapRowToRGB32(const TIEBitmap& bitmap, int y, int x0, int count, QRgb* out);
// The part of the bitmap inside rect (clipped to the image) as Format_RGB32.
QImage BitmapRectToQImage(const TIEBitmap& bitmap, const QRect& rect);
// The bitmap at half its width and height (each pixel the mean of a 2 × 2 block), Format_RGB32.
QImage HalveBitmap(const TIEBitmap& bitmap);
// The same for an RGB32 image.
QImage HalveImage(const QImage& image);
