#include "platform/proc/effects.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <fftw3.h>
#include <numbers>
#include <vector>

namespace {

int Clamp255(double v) { return std::clamp(int(std::lround(v)), 0, 255); }

const QRgb* Row(const QImage& image, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y)); }
QRgb* Row(QImage& image, int y) { return reinterpret_cast<QRgb*>(image.scanLine(y)); }

QImage Rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Applies f(QRgb) -> QRgb to every pixel.
template <class F>
QImage MapPixels(const QImage& image, F f)
{
    QImage out = Rgb32(image);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* row = Row(out, y);
        for (int x = 0; x < out.width(); ++x) row[x] = f(row[x]);
    }
    return out;
}

// Pixel (x, y) with coordinates clamped to the image.
QRgb At(const QImage& image, int x, int y)
{
    return Row(image, std::clamp(y, 0, image.height() - 1))[std::clamp(x, 0, image.width() - 1)];
}

QRgb Bilinear(const QImage& image, double x, double y)
{
    const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const QRgb p[4] = {At(image, x0, y0), At(image, x0 + 1, y0), At(image, x0, y0 + 1), At(image, x0 + 1, y0 + 1)};
    auto mix = [&](int (*channel)(QRgb)) {
        const double top = channel(p[0]) + (channel(p[1]) - channel(p[0])) * fx;
        const double bottom = channel(p[2]) + (channel(p[3]) - channel(p[2])) * fx;
        return Clamp255(top + (bottom - top) * fy);
    };
    return qRgb(mix(qRed), mix(qGreen), mix(qBlue));
}

} // namespace

QImage AdjustContrast(const QImage& image, int contrast, int brightness)
{
    const double factor = contrast >= 0 ? 1.0 + contrast / 25.0 : 1.0 + contrast / 100.0;
    const double offset = brightness * 2.55;
    std::array<uint8_t, 256> lut;
    for (int v = 0; v < 256; ++v) lut[v] = uint8_t(Clamp255((v - 127.5) * factor + 127.5 + offset));
    return MapPixels(image, [&](QRgb c) { return qRgb(lut[qRed(c)], lut[qGreen(c)], lut[qBlue(c)]); });
}

QImage AdjustHSV(const QImage& image, int hue, int saturation, int value)
{
    return MapPixels(image, [&](QRgb c) {
        float h, s, v;
        QColor(c).getHsvF(&h, &s, &v);
        if (h < 0) h = 0;
        h = std::fmod(h + hue / 360.0f + 1.0f, 1.0f);
        s = std::clamp(s + saturation / 100.0f, 0.0f, 1.0f);
        v = std::clamp(v + value / 100.0f, 0.0f, 1.0f);
        return QColor::fromHsvF(h, s, v).rgb();
    });
}

QImage AdjustHSL(const QImage& image, int hue, int saturation, int lightness)
{
    return MapPixels(image, [&](QRgb c) {
        float h, s, l;
        QColor(c).getHslF(&h, &s, &l);
        if (h < 0) h = 0;
        h = std::fmod(h + hue / 360.0f + 1.0f, 1.0f);
        s = std::clamp(s + saturation / 100.0f, 0.0f, 1.0f);
        l = std::clamp(l + lightness / 100.0f, 0.0f, 1.0f);
        return QColor::fromHslF(h, s, l).rgb();
    });
}

QImage AdjustRGB(const QImage& image, int red, int green, int blue)
{
    return MapPixels(image, [&](QRgb c) {
        return qRgb(std::clamp(qRed(c) + red, 0, 255), std::clamp(qGreen(c) + green, 0, 255), std::clamp(qBlue(c) + blue, 0, 255));
    });
}

QImage UserFilter(const QImage& source, const std::array<int, 9>& kernel, int divisor, int bias)
{
    const QImage image = Rgb32(source);
    QImage out(image.size(), QImage::Format_RGB32);
    const double div = divisor == 0 ? 1.0 : divisor;
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = Row(out, y);
        for (int x = 0; x < image.width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int k = 0; k < 9; ++k) {
                const QRgb p = At(image, x + k % 3 - 1, y + k / 3 - 1);
                r += kernel[k] * qRed(p);
                g += kernel[k] * qGreen(p);
                b += kernel[k] * qBlue(p);
            }
            row[x] = qRgb(Clamp255(r / div + bias), Clamp255(g / div + bias), Clamp255(b / div + bias));
        }
    }
    return out;
}

QImage Equalize(const QImage& source, bool separateChannels)
{
    const QImage image = Rgb32(source);
    const double total = double(image.width()) * image.height();
    if (total == 0) return image;
    std::array<std::array<double, 256>, 4> hist{};  // red, green, blue, luminance
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = Row(image, y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = row[x];
            ++hist[0][qRed(c)], ++hist[1][qGreen(c)], ++hist[2][qBlue(c)];
            ++hist[3][(qRed(c) * 21 + qGreen(c) * 71 + qBlue(c) * 8) / 100];
        }
    }
    std::array<std::array<int, 256>, 4> map{};
    for (int ch = 0; ch < 4; ++ch) {
        double sum = 0;
        for (int v = 0; v < 256; ++v) {
            sum += hist[ch][v];
            map[ch][v] = Clamp255(sum / total * 255.0);
        }
    }
    return MapPixels(image, [&](QRgb c) {
        if (separateChannels) return qRgb(map[0][qRed(c)], map[1][qGreen(c)], map[2][qBlue(c)]);
        const int l = (qRed(c) * 21 + qGreen(c) * 71 + qBlue(c) * 8) / 100;
        const double gain = l == 0 ? 0.0 : double(map[3][l]) / l;
        return l == 0 ? qRgb(map[3][0], map[3][0], map[3][0])
                      : qRgb(Clamp255(qRed(c) * gain), Clamp255(qGreen(c) * gain), Clamp255(qBlue(c) * gain));
    });
}

QImage BumpMap(const QImage& source, int lightX, int lightY, int depth, int mix)
{
    const QImage image = Rgb32(source);
    const int w = image.width(), h = image.height();
    QImage out(image.size(), QImage::Format_RGB32);
    const double lx = w * lightX / 100.0, ly = h * lightY / 100.0, lz = std::max(w, h) / 2.0;
    auto height = [&](int x, int y) { return qGray(At(image, x, y)) / 255.0 * depth; };
    for (int y = 0; y < h; ++y) {
        QRgb* row = Row(out, y);
        const QRgb* src = Row(image, y);
        for (int x = 0; x < w; ++x) {
            // Surface normal from the grey level's slope, lit by a point light.
            const double nx = height(x - 1, y) - height(x + 1, y), ny = height(x, y - 1) - height(x, y + 1), nz = 2.0;
            const double dx = lx - x, dy = ly - y;
            const double nlen = std::sqrt(nx * nx + ny * ny + nz * nz), llen = std::sqrt(dx * dx + dy * dy + lz * lz);
            const double shade = std::max(0.0, (nx * dx + ny * dy + nz * lz) / (nlen * llen));
            const double m = mix / 100.0;
            auto blend = [&](int v) { return Clamp255(v * (1.0 - m) + v * shade * m); };
            row[x] = qRgb(blend(qRed(src[x])), blend(qGreen(src[x])), blend(qBlue(src[x])));
        }
    }
    return out;
}

QImage Lens(const QImage& source, int x, int y, int radius, int refraction)
{
    const QImage image = Rgb32(source);
    const int w = image.width(), h = image.height();
    QImage out = image.copy();
    const double cx = w * x / 100.0, cy = h * y / 100.0, r = std::min(w, h) * radius / 100.0;
    const double n = std::max(1.0, refraction / 10.0);
    if (r <= 0) return out;
    for (int py = 0; py < h; ++py) {
        QRgb* row = Row(out, py);
        for (int px = 0; px < w; ++px) {
            const double dx = px + 0.5 - cx, dy = py + 0.5 - cy, d2 = dx * dx + dy * dy;
            if (d2 >= r * r) continue;
            // Bend each ray through a sphere of refraction index n.
            const double z = std::sqrt(r * r - d2), nxr = dx / r, nyr = dy / r, nzr = z / r;
            const double cosi = nzr, sint2 = (1.0 - cosi * cosi) / (n * n), cost = std::sqrt(std::max(0.0, 1.0 - sint2));
            const double k = cosi / n - cost;
            const double tx = k * nxr, ty = k * nyr, tz = -1.0 / n + k * nzr;
            const double t = tz != 0 ? -z / tz : 0;
            row[px] = Bilinear(image, px + tx * t, py + ty * t);
        }
    }
    return out;
}

QImage Wave(const QImage& source, int amplitude, int wavelength, int phase, bool reflect)
{
    const QImage image = Rgb32(source);
    const int w = image.width(), h = image.height();
    QImage out(image.size(), QImage::Format_RGB32);
    const double amp = h * amplitude / 100.0, len = std::max(1.0, h * wavelength / 100.0);
    const double ph = phase * std::numbers::pi / 180.0;
    for (int y = 0; y < h; ++y) {
        QRgb* row = Row(out, y);
        for (int x = 0; x < w; ++x) {
            double sy = y + amp * std::sin(2 * std::numbers::pi * x / len + ph);
            double sx = x + amp * std::sin(2 * std::numbers::pi * y / len + ph);
            if (reflect) {
                // Mirror at the borders instead of repeating the edge pixels.
                if (sy < 0) sy = -sy;
                if (sy > h - 1) sy = 2 * (h - 1) - sy;
                if (sx < 0) sx = -sx;
                if (sx > w - 1) sx = 2 * (w - 1) - sx;
            }
            row[x] = Bilinear(image, sx, sy);
        }
    }
    return out;
}

namespace {

QImage MorphPass(const QImage& image, bool dilate, int size)
{
    const int w = image.width(), h = image.height(), r = size / 2;
    // Separable: rows first, then columns.
    QImage rows(image.size(), QImage::Format_RGB32), out(image.size(), QImage::Format_RGB32);
    auto pick = [dilate](int a, int b) { return dilate ? std::max(a, b) : std::min(a, b); };
    auto combine = [&](QRgb a, QRgb b) { return qRgb(pick(qRed(a), qRed(b)), pick(qGreen(a), qGreen(b)), pick(qBlue(a), qBlue(b))); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb v = At(image, x, y);
            for (int d = -r; d <= r; ++d) v = combine(v, At(image, x + d, y));
            Row(rows, y)[x] = v;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb v = At(rows, x, y);
            for (int d = -r; d <= r; ++d) v = combine(v, At(rows, x, y + d));
            Row(out, y)[x] = v;
        }
    return out;
}

} // namespace

QImage Morph(const QImage& source, TMorphOperation operation, int windowSize)
{
    const QImage image = Rgb32(source);
    if (image.isNull() || windowSize < 2) return image;
    switch (operation) {
    case moErode: return MorphPass(image, false, windowSize);
    case moDilate: return MorphPass(image, true, windowSize);
    case moOpen: return MorphPass(MorphPass(image, false, windowSize), true, windowSize);
    case moClose: return MorphPass(MorphPass(image, true, windowSize), false, windowSize);
    }
    return image;
}

namespace {

// One plane's forward and inverse transforms through FFTW, owning its buffers.
class TFftPlane {
public:
    TFftPlane(int w, int h)
        : FW(w), FH(h), FSpatial(fftw_alloc_real(size_t(w) * h)), FFreq(fftw_alloc_complex(size_t(h) * (w / 2 + 1)))
    {
        FForward = fftw_plan_dft_r2c_2d(h, w, FSpatial, FFreq, FFTW_ESTIMATE);
        FInverse = fftw_plan_dft_c2r_2d(h, w, FFreq, FSpatial, FFTW_ESTIMATE);
    }
    ~TFftPlane()
    {
        fftw_destroy_plan(FForward);
        fftw_destroy_plan(FInverse);
        fftw_free(FSpatial);
        fftw_free(FFreq);
    }
    TFftPlane(const TFftPlane&) = delete;
    TFftPlane& operator=(const TFftPlane&) = delete;

    double* Spatial() { return FSpatial; }
    fftw_complex* Freq() { return FFreq; }
    int FreqWidth() const { return FW / 2 + 1; }
    void Forward() { fftw_execute(FForward); }
    void Inverse() { fftw_execute(FInverse); }

private:
    int FW, FH;
    double* FSpatial;
    fftw_complex* FFreq;
    fftw_plan FForward;
    fftw_plan FInverse;
};

} // namespace

QImage FftFilter(const QImage& source, TFftFilter filter, int radius)
{
    const QImage image = Rgb32(source);
    const int w = image.width(), h = image.height();
    if (w == 0 || h == 0) return image;
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    TFftPlane plane(w, h);
    const double limit = radius / 100.0;
    int (*channels[3])(QRgb) = {qRed, qGreen, qBlue};
    for (int ch = 0; ch < 3; ++ch) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) plane.Spatial()[size_t(y) * w + x] = channels[ch](Row(image, y)[x]);
        plane.Forward();
        for (int v = 0; v < h; ++v) {
            const double fy = (v <= h / 2 ? v : h - v) / (h / 2.0 + 0.5);
            for (int u = 0; u < plane.FreqWidth(); ++u) {
                const double fx = u / (w / 2.0 + 0.5);
                const bool inside = std::sqrt(fx * fx + fy * fy) <= limit;
                // The high pass keeps the mean so the picture does not go black.
                const bool keep = filter == ffLowPass ? inside : (!inside || (u == 0 && v == 0));
                if (!keep) plane.Freq()[size_t(v) * plane.FreqWidth() + u][0] = plane.Freq()[size_t(v) * plane.FreqWidth() + u][1] = 0;
            }
        }
        plane.Inverse();
        const double norm = 1.0 / (double(w) * h);
        for (int y = 0; y < h; ++y) {
            QRgb* row = Row(out, y);
            for (int x = 0; x < w; ++x) {
                const int v = Clamp255(plane.Spatial()[size_t(y) * w + x] * norm);
                const QRgb c = row[x];
                row[x] = ch == 0 ? qRgb(v, qGreen(c), qBlue(c)) : ch == 1 ? qRgb(qRed(c), v, qBlue(c)) : qRgb(qRed(c), qGreen(c), v);
            }
        }
    }
    return out;
}

QImage FftSpectrum(const QImage& source)
{
    const QImage image = Rgb32(source);
    const int w = image.width(), h = image.height();
    QImage out(image.size(), QImage::Format_Grayscale8);
    if (w == 0 || h == 0) return out;
    TFftPlane plane(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) plane.Spatial()[size_t(y) * w + x] = qGray(Row(image, y)[x]);
    plane.Forward();
    std::vector<double> mag(size_t(w) * h);
    double top = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Full spectrum from the half one by symmetry, shifted so that 0 is in the centre.
            int u = (x + w / 2) % w, v = (y + h / 2) % h;
            if (u >= plane.FreqWidth()) u = (w - u) % w, v = (h - v) % h;
            const fftw_complex& c = plane.Freq()[size_t(v) * plane.FreqWidth() + u];
            mag[size_t(y) * w + x] = std::log1p(std::hypot(c[0], c[1]));
            top = std::max(top, mag[size_t(y) * w + x]);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.scanLine(y)[x] = uint8_t(top > 0 ? Clamp255(mag[size_t(y) * w + x] / top * 255) : 0);
    return out;
}
