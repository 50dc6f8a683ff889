#pragma once
// NeuQuant colour reduction (Kohonen network, Dekker 1994) over an ipf24RGB bitmap: learns a
// palette of n colours from sampled pixels, then maps colours through the green-sorted network.

#include "formats/core/ie_bitmap.h"

#include <array>
#include <vector>

class TNeuQuant {
public:
    // quality: -1 picks the sampling factor from the image size, else 0..100.
    TNeuQuant(const TIEBitmap& bitmap, int n, int quality);

    // Pixels between two samples.
    static int SamplingFactor(int64_t pixels, int quality);
    // Fills palette[0 .. n-1] in neuron order.
    void Palette(TRGB* palette) const;
    int Map(int b, int g, int r) const;

private:
    struct TNeuron {
        int B, G, R, Index;
    };
    int Contest(int b, int g, int r);
    void Learn(const TIEBitmap& bitmap, int factor);
    void BuildIndex();

    int FSize;
    std::vector<TNeuron> FNet;
    std::vector<int> FFreq, FBias, FRadPower;
    std::array<int, 256> FGreenIndex{};
    std::vector<TRGB> FPalette;
};
