#include "formats/quantizer/box_splitter.h"

#include <cmath>

namespace {

// Score of a channel that cannot be cut; a cut must score below it to be taken.
constexpr double NoCut = 17523.6;

int Cell(int r5, int g5, int b5) { return r5 * 1024 + g5 * 32 + b5; }

}  // namespace

TBoxSplitter::TBoxSplitter(const TIEBitmap& bitmap, int n)
    : FN(n), FPixels(double(bitmap.Width()) * bitmap.Height()), FHist(32768, 0), FLookup(32768, 0)
{
    TBox all;
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const TRGB* row = reinterpret_cast<const TRGB*>(bitmap.ScanLine(y));
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            const int r5 = row[x].r >> 3, g5 = row[x].g >> 3, b5 = row[x].b >> 3;
            ++FHist[size_t(Cell(r5, g5, b5))];
            ++all.Hist[0][size_t(r5)];
            ++all.Hist[1][size_t(g5)];
            ++all.Hist[2][size_t(b5)];
        }
    }
    all.Count = int64_t(FPixels);
    Measure(all);
    FBoxes.push_back(all);

    while (int(FBoxes.size()) < FN) {
        int pick = -1;
        double best = 0;
        for (size_t i = 0; i < FBoxes.size(); ++i)
            if (FBoxes[i].Spread > best) { best = FBoxes[i].Spread; pick = int(i); }
        if (pick < 0) break;
        TBox first, second;
        if (Split(FBoxes[size_t(pick)], first, second)) {
            FBoxes[size_t(pick)] = first;
            FBoxes.push_back(second);
        } else {
            FBoxes[size_t(pick)].Spread = 0;
        }
    }
    for (size_t i = 0; i < FBoxes.size(); ++i) {
        const TBox& box = FBoxes[i];
        for (int r = box.Lo[0]; r < box.Hi[0]; ++r)
            for (int g = box.Lo[1]; g < box.Hi[1]; ++g)
                for (int b = box.Lo[2]; b < box.Hi[2]; ++b) FLookup[size_t(Cell(r, g, b))] = uint8_t(i);
    }
}

void TBoxSplitter::Measure(TBox& box) const
{
    box.Spread = 0;
    if (box.Count == 0) return;
    for (int c = 0; c < 3; ++c) {
        double s1 = 0, s2 = 0;
        for (int j = box.Lo[size_t(c)]; j < box.Hi[size_t(c)]; ++j) {
            const double h = double(box.Hist[size_t(c)][size_t(j)]);
            s1 += j * h;
            s2 += double(j) * j * h;
        }
        const double mean = s1 / double(box.Count);
        box.Mean[size_t(c)] = mean;
        box.Spread += s2 - mean * mean * double(box.Count);
    }
    box.Spread /= FPixels;
}

bool TBoxSplitter::Cut(const TBox& box, int channel, TBox& first, TBox& second) const
{
    const size_t c = size_t(channel);
    const int lo = box.Lo[c], hi = box.Hi[c];
    if (hi == lo + 1) return false;
    const double m = box.Mean[c];
    const int64_t n = box.Count;
    const auto& h = box.Hist[c];
    const int s = int(std::nearbyint((lo + m) / 2)), t = int(std::nearbyint((hi + m) / 2));
    int64_t counted = 0;
    for (int j = lo; j < s; ++j) counted += h[size_t(j)];
    double mean = 0, best = -1;
    int cut = s;
    int64_t firstCount = n;
    for (int e = s; e <= t && e < 32; ++e) {
        counted += h[size_t(e)];
        if (counted == n) break;
        mean += double(e) * double(h[size_t(e)]) / double(n);
        const double score = double(counted) / double(n - counted) * (m - mean) * (m - mean);
        if (score > best) { best = score; cut = e; firstCount = counted; }
    }
    if (firstCount == 0 || firstCount == n) return false;

    first = TBox();
    first.Lo = box.Lo;
    first.Hi = box.Hi;
    first.Hi[c] = cut + 1;
    for (int r = first.Lo[0]; r < first.Hi[0]; ++r)
        for (int g = first.Lo[1]; g < first.Hi[1]; ++g)
            for (int b = first.Lo[2]; b < first.Hi[2]; ++b) {
                const uint32_t count = FHist[size_t(Cell(r, g, b))];
                if (!count) continue;
                first.Hist[0][size_t(r)] += count;
                first.Hist[1][size_t(g)] += count;
                first.Hist[2][size_t(b)] += count;
                first.Count += count;
            }
    second = TBox();
    second.Lo = box.Lo;
    second.Hi = box.Hi;
    second.Lo[c] = cut + 1;
    second.Count = n - first.Count;
    for (size_t k = 0; k < 3; ++k)
        for (size_t j = 0; j < 32; ++j) second.Hist[k][j] = box.Hist[k][j] - first.Hist[k][j];
    if (first.Count == 0 || second.Count == 0) return false;
    for (TBox* half : {&first, &second}) {
        for (size_t k = 0; k < 3; ++k) {
            int a = half->Lo[k], z = half->Hi[k];
            while (a < z && half->Hist[k][size_t(a)] == 0) ++a;
            while (z > a && half->Hist[k][size_t(z - 1)] == 0) --z;
            half->Lo[k] = a;
            half->Hi[k] = z;
        }
        Measure(*half);
    }
    return true;
}

bool TBoxSplitter::Split(const TBox& box, TBox& first, TBox& second) const
{
    if (box.Spread == 0 || box.Count == 0) return false;
    TBox halves[3][2];
    double score[3];
    for (int c = 0; c < 3; ++c)
        score[c] = Cut(box, c, halves[c][0], halves[c][1]) ? halves[c][0].Spread + halves[c][1].Spread : NoCut;
    int pick = -1;
    if (score[0] < NoCut && score[0] <= score[1] && score[0] <= score[2]) pick = 0;
    else if (score[1] < NoCut && score[1] <= score[0] && score[1] <= score[2]) pick = 1;
    else if (score[2] < NoCut) pick = 2;
    if (pick < 0) return false;
    first = halves[pick][0];
    second = halves[pick][1];
    return true;
}

void TBoxSplitter::Palette(TRGB* palette) const
{
    for (int i = 0; i < FN; ++i) palette[i] = CreateRGB(0, 0, 0);
    for (size_t i = 0; i < FBoxes.size(); ++i) {
        const TBox& box = FBoxes[i];
        palette[i] = CreateRGB(uint8_t(std::nearbyint(box.Mean[0]) * 8), uint8_t(std::nearbyint(box.Mean[1]) * 8),
                               uint8_t(std::nearbyint(box.Mean[2]) * 8));
    }
}
