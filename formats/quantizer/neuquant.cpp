#include "formats/quantizer/neuquant.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int NetBiasShift = 4;       // colour values are scaled by 16
constexpr int IntBiasShift = 16;
constexpr int IntBias = 1 << IntBiasShift;
constexpr int GammaShift = 10;
constexpr int BetaShift = 10;
constexpr int Beta = IntBias >> BetaShift;                        // frequency gain 64
constexpr int BetaGamma = IntBias << (GammaShift - BetaShift);    // bias loss 65536
constexpr int RadiusBiasShift = 6;
constexpr int RadiusDec = 30;
constexpr int InitAlpha = 1 << 10;
constexpr int AlphaRadBias = 1 << 18;
constexpr int Cycles = 100;

void ComputeRadPower(std::vector<int>& radPower, int rad, int alpha)
{
    for (int i = 0; i < rad; ++i) radPower[size_t(i)] = alpha * (((rad * rad - i * i) * 256) / (rad * rad));
}

}  // namespace

int TNeuQuant::SamplingFactor(int64_t pixels, int quality)
{
    if (quality >= 0) return int(std::trunc((100.0 - std::min(quality, 100)) / 100.0 * 29.0)) + 1;
    if (pixels < 2000) return 1;
    const double f = std::nearbyint(double(pixels - 2000) * 13.0 / 148000.0 + 2.0);
    return int(std::clamp(f, 1.0, 30.0));
}

TNeuQuant::TNeuQuant(const TIEBitmap& bitmap, int n, int quality)
    : FSize(n), FNet(size_t(n)), FFreq(size_t(n), IntBias / n), FBias(size_t(n), 0), FRadPower(size_t(n / 8 + 1))
{
    for (int i = 0; i < n; ++i) {
        const int v = (i << (NetBiasShift + 8)) / n;
        FNet[size_t(i)] = {v, v, v, i};
    }
    const int64_t pixels = int64_t(bitmap.Width()) * bitmap.Height();
    if (pixels > 0) Learn(bitmap, SamplingFactor(pixels, quality));
    FPalette.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        TNeuron& p = FNet[size_t(i)];
        p.B >>= NetBiasShift;
        p.G >>= NetBiasShift;
        p.R >>= NetBiasShift;
        FPalette[size_t(i)] = CreateRGB(uint8_t(std::clamp(p.R, 0, 255)), uint8_t(std::clamp(p.G, 0, 255)),
                                        uint8_t(std::clamp(p.B, 0, 255)));
    }
    BuildIndex();
}

void TNeuQuant::Palette(TRGB* palette) const { std::copy(FPalette.begin(), FPalette.end(), palette); }

// Bias-corrected winner search; also updates frequencies and biases.
int TNeuQuant::Contest(int b, int g, int r)
{
    int bestd = INT32_MAX, bestBiasd = INT32_MAX, bestPos = 0, bestBiasPos = 0;
    for (int i = 0; i < FSize; ++i) {
        const TNeuron& n = FNet[size_t(i)];
        const int dist = std::abs(n.B - b) + std::abs(n.G - g) + std::abs(n.R - r);
        if (dist < bestd) { bestd = dist; bestPos = i; }
        const int biasDist = dist - (FBias[size_t(i)] >> (IntBiasShift - NetBiasShift));
        if (biasDist < bestBiasd) { bestBiasd = biasDist; bestBiasPos = i; }
        const int betaFreq = FFreq[size_t(i)] >> BetaShift;
        FFreq[size_t(i)] -= betaFreq;
        FBias[size_t(i)] += betaFreq << GammaShift;
    }
    FFreq[size_t(bestPos)] += Beta;
    FBias[size_t(bestPos)] -= BetaGamma;
    return bestBiasPos;
}

void TNeuQuant::Learn(const TIEBitmap& bitmap, int factor)
{
    const int64_t width = bitmap.Width();
    const int64_t pixels = width * bitmap.Height();
    const int64_t lengthCount = pixels * 3;
    const int64_t samples = lengthCount / (3 * factor);
    const int64_t delta = std::max<int64_t>(1, samples / Cycles);
    const int alphaDec = 30 + (factor - 1) / 3;
    int alpha = InitAlpha;
    int radius = (FSize >> 3) << RadiusBiasShift;
    int rad = radius >> RadiusBiasShift;
    if (rad <= 1) rad = 0;
    ComputeRadPower(FRadPower, rad, alpha);

    int64_t step;
    if (lengthCount % 499 != 0) step = 499;
    else if (lengthCount % 491 != 0) step = 491;
    else if (lengthCount % 487 != 0) step = 487;
    else step = 503;

    int64_t k = 0;
    for (int64_t i = 0; i < samples;) {
        const TRGB& px = reinterpret_cast<const TRGB*>(bitmap.ScanLine(int32_t(k / width)))[k % width];
        const int b = px.b << NetBiasShift, g = px.g << NetBiasShift, r = px.r << NetBiasShift;
        const int j = Contest(b, g, r);

        TNeuron& winner = FNet[size_t(j)];
        winner.B -= (alpha * (winner.B - b)) / InitAlpha;
        winner.G -= (alpha * (winner.G - g)) / InitAlpha;
        winner.R -= (alpha * (winner.R - r)) / InitAlpha;
        if (rad) {
            const int lo = std::max(j - rad, -1), hi = std::min(j + rad, FSize);
            int up = j + 1, down = j - 1, q = 0;
            while (up < hi || down > lo) {
                const int a = FRadPower[size_t(++q)];
                for (int idx : {up < hi ? up++ : -1, down > lo ? down-- : -1}) {
                    if (idx < 0) continue;
                    TNeuron& p = FNet[size_t(idx)];
                    p.B -= int((int64_t(a) * (p.B - b)) / AlphaRadBias);
                    p.G -= int((int64_t(a) * (p.G - g)) / AlphaRadBias);
                    p.R -= int((int64_t(a) * (p.R - r)) / AlphaRadBias);
                }
            }
        }
        // Small images would step past the end more than once: wrap by the remainder.
        k = (k + step) % pixels;
        if (++i % delta == 0) {
            alpha -= alpha / alphaDec;
            radius -= radius / RadiusDec;
            rad = radius >> RadiusBiasShift;
            if (rad <= 1) rad = 0;
            ComputeRadPower(FRadPower, rad, alpha);
        }
    }
}

// Selection sort by green and the start position of each green value.
void TNeuQuant::BuildIndex()
{
    int previous = 0, start = 0;
    const int maxPos = FSize - 1;
    for (int i = 0; i < FSize; ++i) {
        int smallPos = i, smallVal = FNet[size_t(i)].G;
        for (int j = i + 1; j < FSize; ++j)
            if (FNet[size_t(j)].G < smallVal) { smallPos = j; smallVal = FNet[size_t(j)].G; }
        if (smallPos != i) std::swap(FNet[size_t(i)], FNet[size_t(smallPos)]);
        if (smallVal != previous) {
            FGreenIndex[size_t(previous)] = (start + i) >> 1;
            for (int j = previous + 1; j < smallVal; ++j) FGreenIndex[size_t(j)] = i;
            previous = smallVal;
            start = i;
        }
    }
    FGreenIndex[size_t(previous)] = (start + maxPos) >> 1;
    for (int j = previous + 1; j < 256; ++j) FGreenIndex[size_t(j)] = maxPos;
}

int TNeuQuant::Map(int b, int g, int r) const
{
    int bestd = 1000, best = 0;
    int i = FGreenIndex[size_t(g)], j = i - 1;
    auto consider = [&](const TNeuron& p, int dist) {
        dist += std::abs(p.B - b);
        if (dist >= bestd) return;
        dist += std::abs(p.R - r);
        if (dist < bestd) { bestd = dist; best = p.Index; }
    };
    while (i < FSize || j >= 0) {
        if (i < FSize) {
            const TNeuron& p = FNet[size_t(i)];
            const int dist = p.G - g;
            if (dist >= bestd) i = FSize;
            else { ++i; consider(p, std::abs(dist)); }
        }
        if (j >= 0) {
            const TNeuron& p = FNet[size_t(j)];
            const int dist = g - p.G;
            if (dist >= bestd) j = -1;
            else { --j; consider(p, std::abs(dist)); }
        }
    }
    return best;
}
