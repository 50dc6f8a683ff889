#include "formats/quantizer/box_splitter.h"
#include "formats/quantizer/neuquant.h"
#include "formats/quantizer/quantizer.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

TRGB* Row(TIEBitmap& b, int y) { return reinterpret_cast<TRGB*>(b.ScanLine(y)); }

// A w × h colour image of pseudo-random pixels.
void Noise(TIEBitmap& b, int w, int h, unsigned seed = 1)
{
    std::mt19937 rng(seed);
    b.Allocate(w, h, ipf24RGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Row(b, y)[x] = CreateRGB(uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
}

}  // namespace

TEST(QuantizerTest, GreyImageGetsTheRampOnlyForAFullPalette)
{
    TIEBitmap b;
    b.Allocate(300, 1, ipf24RGB);
    for (int x = 0; x < 300; ++x) Row(b, 0)[x] = CreateRGB(uint8_t(x), uint8_t(x), uint8_t(x));
    TRGB palette[256];
    TIEQuantizer ramp(b, palette, 256);
    EXPECT_TRUE(ramp.IsGrayScale());
    for (int i = 0; i < 256; ++i) ASSERT_EQ(palette[i], CreateRGB(uint8_t(i), uint8_t(i), uint8_t(i)));
    EXPECT_EQ(ramp.MapColor(CreateRGB(77, 77, 77)), 77);

    TRGB small[16];
    TIEQuantizer boxes(b, small, 16);
    EXPECT_FALSE(boxes.IsGrayScale());
}

TEST(QuantizerTest, FewColoursKeepFirstMetOrderAndBlackRest)
{
    TIEBitmap b;
    b.Allocate(5, 2, ipf24RGB);
    std::vector<TRGB> colors;
    for (int i = 0; i < 10; ++i) colors.push_back(CreateRGB(uint8_t(10 + i), uint8_t(200 - i), uint8_t(3 * i)));
    // Bottom row holds the first five colours in reverse; the top row is met first.
    for (int x = 0; x < 5; ++x) {
        Row(b, 0)[x] = colors[size_t(x)];
        Row(b, 1)[x] = colors[size_t(9 - x)];
    }
    TRGB palette[16];
    std::fill_n(palette, 16, CreateRGB(1, 1, 1));
    TIEQuantizer q(b, palette, 16);
    std::vector<TRGB> expected = {colors[0], colors[1], colors[2], colors[3], colors[4],
                                  colors[9], colors[8], colors[7], colors[6], colors[5]};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(palette[i], expected[size_t(i)]) << i;
    for (int i = 10; i < 16; ++i) EXPECT_EQ(palette[i], CreateRGB(0, 0, 0)) << i;
    EXPECT_EQ(q.MapColor(colors[9]), 5);
}

TEST(QuantizerTest, AutomaticSamplingFactor)
{
    struct Case { int64_t pixels; int quality; int factor; };
    for (Case c : {Case{1999, -1, 1}, Case{2000, -1, 2}, Case{150000, -1, 15}, Case{8699840, -1, 30},
                   Case{100, 100, 1}, Case{100, 0, 30}, Case{100, 50, 15}})
        EXPECT_EQ(TNeuQuant::SamplingFactor(c.pixels, c.quality), c.factor) << c.pixels << " q" << c.quality;
}

TEST(QuantizerTest, NeuralReducerMapsToNearbyColours)
{
    // Includes a size below the 503-pixel stride that must not read past the image.
    for (int w : {130, 300}) {
        TIEBitmap b;
        Noise(b, w, w == 130 ? 1 : 300);
        TRGB palette[256];
        TIEQuantizer q(b, palette, 256);
        EXPECT_FALSE(q.IsGrayScale());
        long error = 0;
        for (int x = 0; x < b.Width(); ++x) {
            const TRGB c = Row(b, 0)[x];
            const int i = q.MapColor(c);
            ASSERT_GE(i, 0);
            ASSERT_LT(i, 256);
            error += std::abs(palette[i].r - c.r) + std::abs(palette[i].g - c.g) + std::abs(palette[i].b - c.b);
        }
        EXPECT_LT(error / b.Width(), 120) << "mean error too large for width " << w;
    }
}

TEST(QuantizerTest, BoxSplitterSeparatesClustersAndMapsByCell)
{
    // Four colour clusters: 4 boxes with their means.
    TIEBitmap b;
    b.Allocate(40, 40, ipf24RGB);
    const TRGB centres[4] = {CreateRGB(16, 16, 16), CreateRGB(240, 16, 16), CreateRGB(16, 240, 16), CreateRGB(16, 16, 240)};
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            TRGB c = centres[(y / 20) * 2 + x / 20];
            c.r = uint8_t(c.r + (x % 3) * 8);
            Row(b, y)[x] = c;
        }
    TRGB palette[4];
    TIEQuantizer q(b, palette, 4);
    std::set<int> used;
    for (int k = 0; k < 4; ++k) {
        const int i = q.MapColor(centres[k]);
        used.insert(i);
        EXPECT_LE(std::abs(palette[i].g - centres[k].g), 16);
        EXPECT_LE(std::abs(palette[i].b - centres[k].b), 16);
    }
    EXPECT_EQ(used.size(), 4u);
}

TEST(QuantizerTest, BoxSplitterStopsWhenNoBoxCanBeCut)
{
    // 20 distinct colours inside 3 histogram cells: only 3 boxes, the rest of the palette black.
    TIEBitmap b;
    b.Allocate(20, 1, ipf24RGB);
    for (int x = 0; x < 20; ++x) {
        const int cell = x % 3;
        Row(b, 0)[x] = CreateRGB(uint8_t(cell * 64 + x % 7), uint8_t(x % 5), 0);
    }
    TRGB palette[16];
    TIEQuantizer q(b, palette, 16);
    TBoxSplitter boxes(b, 16);
    EXPECT_EQ(boxes.BoxCount(), 3);
    for (int i = 3; i < 16; ++i) EXPECT_EQ(palette[i], CreateRGB(0, 0, 0));
}
