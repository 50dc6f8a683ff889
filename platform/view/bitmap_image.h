#pragma once
// Conversions between TIEBitmap and QImage (for painting, the clipboard and printing).

#include "formats/core/ie_bitmap.h"
#include <QImage>

// A deep copy of the bitmap as a QImage (Format_RGB888 for colour, Format_Grayscale8 for grey,
// Format_Mono for 1 bit, indexed for palettes).
QImage BitmapToQImage(const TIEBitmap& bitmap);
// Fills the bitmap from an image: ipf1Bit for monochrome images, else ipf24RGB.
void QImageToBitmap(const QImage& image, TIEBitmap& bitmap);
