#pragma once
// Rotation by any angle of an RGB32 image into its bounding box.

#include <QColor>
#include <QImage>

// Anticlockwise by angle degrees; uncovered corners take background. With antialias each
// pixel is the bilinear mix of its four nearest source pixels, else the nearest one. When
// keepSize is set the result keeps the source's size, centred on it.
QImage RotateImage(const QImage& source, double angle, bool antialias, QRgb background, bool keepSize = false);
