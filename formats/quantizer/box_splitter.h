#pragma once
// Variance-driven box splitting over a 32 × 32 × 32 colour histogram (red, green and blue cut to
// 5 bits): the box of largest spread is cut in two until n boxes exist or none can be cut; each
// box's mean colour is a palette entry and a lookup table maps every histogram cell to its box.

#include "formats/core/ie_bitmap.h"

#include <array>
#include <vector>

class TBoxSplitter {
public:
    TBoxSplitter(const TIEBitmap& bitmap, int n);

    // Fills palette[0 .. n-1]; entries past the last box are black.
    void Palette(TRGB* palette) const;
    int Map(int r, int g, int b) const { return FLookup[size_t((r >> 3) * 1024 + (g >> 3) * 32 + (b >> 3))]; }
    int BoxCount() const { return int(FBoxes.size()); }

private:
    struct TBox {
        int64_t Count = 0;
        std::array<int, 3> Lo{0, 0, 0}, Hi{32, 32, 32};  // per channel (red, green, blue), upper exclusive
        std::array<std::array<int64_t, 32>, 3> Hist{};
        std::array<double, 3> Mean{};
        double Spread = 0;
    };
    void Measure(TBox& box) const;
    bool Cut(const TBox& box, int channel, TBox& first, TBox& second) const;
    bool Split(const TBox& box, TBox& first, TBox& second) const;

    int FN;
    double FPixels;
    std::vector<uint32_t> FHist;  // 32768 cells, red × 1024 + green × 32 + blue
    std::vector<TBox> FBoxes;
    std::vector<uint8_t> FLookup;
};
