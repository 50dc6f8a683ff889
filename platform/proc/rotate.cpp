#include "platform/proc/rotate.h"

#include <cmath>
#include <numbers>

QImage RotateImage(const QImage& sourceImage, double angle, bool antialias, QRgb background, bool keepSize)
{
    const QImage source = sourceImage.convertToFormat(QImage::Format_RGB32);
    const int w = source.width(), h = source.height();
    if (w == 0 || h == 0) return source;
    const double rad = angle * std::numbers::pi / 180.0;
    const double c = std::cos(rad), s = std::sin(rad);
    int ow = w, oh = h;
    if (!keepSize) {
        ow = std::max(1, int(std::lround(std::abs(w * c) + std::abs(h * s))));
        oh = std::max(1, int(std::lround(std::abs(w * s) + std::abs(h * c))));
    }
    QImage out(ow, oh, QImage::Format_RGB32);
    const double scx = w / 2.0, scy = h / 2.0, dcx = ow / 2.0, dcy = oh / 2.0;
    const int br = qRed(background), bg = qGreen(background), bb = qBlue(background);
    auto sample = [&](int x, int y, int& r, int& g, int& b) {
        if (x < 0 || y < 0 || x >= w || y >= h) {
            r = br, g = bg, b = bb;
            return;
        }
        const QRgb p = reinterpret_cast<const QRgb*>(source.constScanLine(y))[x];
        r = qRed(p), g = qGreen(p), b = qBlue(p);
    };
    for (int y = 0; y < oh; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const double dy = y + 0.5 - dcy;
        for (int x = 0; x < ow; ++x) {
            const double dx = x + 0.5 - dcx;
            // Inverse of an anticlockwise turn on screen (y down): clockwise in these axes.
            const double sx = c * dx - s * dy + scx - 0.5;
            const double sy = s * dx + c * dy + scy - 0.5;
            if (!antialias) {
                int r, g, b;
                sample(int(std::lround(sx)), int(std::lround(sy)), r, g, b);
                row[x] = qRgb(r, g, b);
                continue;
            }
            const int x0 = int(std::floor(sx)), y0 = int(std::floor(sy));
            const double fx = sx - x0, fy = sy - y0;
            int r[4], g[4], b[4];
            sample(x0, y0, r[0], g[0], b[0]);
            sample(x0 + 1, y0, r[1], g[1], b[1]);
            sample(x0, y0 + 1, r[2], g[2], b[2]);
            sample(x0 + 1, y0 + 1, r[3], g[3], b[3]);
            auto mix = [&](const int* v) {
                const double top = v[0] + (v[1] - v[0]) * fx, bottom = v[2] + (v[3] - v[2]) * fx;
                return std::clamp(int(std::lround(top + (bottom - top) * fy)), 0, 255);
            };
            row[x] = qRgb(mix(r), mix(g), mix(b));
        }
    }
    return out;
}
