#pragma once
// The adjustments and effects of the preview dialog, each a pure function of an RGB32 image.
// Geometric parameters are percentages of the image's size so that a small preview shows what
// the whole image will get.

#include <QImage>
#include <array>

QImage AdjustContrast(const QImage& image, int contrast, int brightness);  // both -100..100
QImage AdjustHSV(const QImage& image, int hue, int saturation, int value);  // -180..180, -100..100, -100..100
QImage AdjustHSL(const QImage& image, int hue, int saturation, int lightness);
QImage AdjustRGB(const QImage& image, int red, int green, int blue);        // each -255..255
// 3 × 3 convolution, row by row; divisor 0 counts as 1.
QImage UserFilter(const QImage& image, const std::array<int, 9>& kernel, int divisor, int bias);
// Histogram equalisation of the luminance (or of each channel on its own).
QImage Equalize(const QImage& image, bool separateChannels);
// Relief lit from a point (percent of the size) with depth 1..100, mixed with the image by mix percent.
QImage BumpMap(const QImage& image, int lightX, int lightY, int depth, int mix);
// A spherical lens centred at (x, y) percent with radius percent of the smaller side.
QImage Lens(const QImage& image, int x, int y, int radius, int refraction);
// Sine displacement: amplitude and wavelength in percent of the height, phase in degrees.
QImage Wave(const QImage& image, int amplitude, int wavelength, int phase, bool reflect);
enum TMorphOperation { moErode, moDilate, moOpen, moClose };
QImage Morph(const QImage& image, TMorphOperation operation, int windowSize);
// Frequency filter through a 2-D Fourier transform: keeps frequencies inside (low pass) or
// outside (high pass) radius percent of the spectrum's half size.
enum TFftFilter { ffLowPass, ffHighPass };
QImage FftFilter(const QImage& image, TFftFilter filter, int radius);
// Log magnitude of the luminance's spectrum, origin in the centre, as a grey image.
QImage FftSpectrum(const QImage& image);
