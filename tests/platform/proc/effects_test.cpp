#include "platform/proc/effects.h"
#include "platform/proc/rotate.h"

#include <gtest/gtest.h>

namespace {

QImage Uniform(int w, int h, QRgb c)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

QImage Gradient(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), 100));
    return image;
}

int MaxDifference(const QImage& a, const QImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// Every effect at its neutral setting leaves the picture as it was.
TEST(Effects, NeutralSettingsChangeNothing)
{
    const QImage g = Gradient(33, 17);
    const std::vector<std::pair<const char*, QImage>> cases = {
        {"contrast", AdjustContrast(g, 0, 0)},
        {"hsv", AdjustHSV(g, 0, 0, 0)},
        {"hsl", AdjustHSL(g, 0, 0, 0)},
        {"rgb", AdjustRGB(g, 0, 0, 0)},
        {"identity kernel", UserFilter(g, {0, 0, 0, 0, 1, 0, 0, 0, 0}, 1, 0)},
        {"flat wave", Wave(g, 0, 20, 0, true)},
        {"zero lens", Lens(g, 50, 50, 40, 10)},
        {"all frequencies", FftFilter(g, ffLowPass, 100)},
        {"rotate 0", RotateImage(g, 0, true, qRgb(0, 0, 0))},
    };
    for (const auto& [name, result] : cases) {
        SCOPED_TRACE(name);
        ASSERT_EQ(result.size(), g.size());
        EXPECT_LE(MaxDifference(result, g), 2);
    }
}

TEST(Effects, AdjustmentsMoveColoursTheRightWay)
{
    const QImage grey = Uniform(4, 4, qRgb(100, 100, 100));
    EXPECT_EQ(AdjustRGB(grey, 200, -150, 0).pixel(0, 0), qRgb(255, 0, 100));
    EXPECT_GT(qRed(AdjustContrast(grey, 0, 50).pixel(0, 0)), 100);
    EXPECT_LT(qRed(AdjustContrast(grey, 100, 0).pixel(0, 0)), 100);  // below the middle goes darker
    const QRgb red = AdjustHSV(Uniform(2, 2, qRgb(255, 0, 0)), 120, 0, 0).pixel(0, 0);
    EXPECT_EQ(red, qRgb(0, 255, 0));
    EXPECT_EQ(AdjustHSL(grey, 0, 0, -100).pixel(0, 0), qRgb(0, 0, 0));
}

TEST(Effects, EqualizeSpreadsANarrowRange)
{
    QImage narrow(64, 1, QImage::Format_RGB32);
    for (int x = 0; x < 64; ++x) narrow.setPixel(x, 0, qRgb(100 + x / 8, 100 + x / 8, 100 + x / 8));
    const QImage wide = Equalize(narrow, false);
    EXPECT_LT(qRed(wide.pixel(0, 0)), 64);
    EXPECT_EQ(qRed(wide.pixel(63, 0)), 255);
    EXPECT_EQ(qGreen(Equalize(narrow, true).pixel(63, 0)), 255);
}

TEST(Effects, MorphologyRemovesOrGrowsSpecks)
{
    QImage speck = Uniform(9, 9, qRgb(0, 0, 0));
    speck.setPixel(4, 4, qRgb(255, 255, 255));
    EXPECT_EQ(Morph(speck, moErode, 3).pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_EQ(Morph(speck, moDilate, 3).pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(Morph(speck, moOpen, 3).pixel(4, 4), qRgb(0, 0, 0));
    EXPECT_EQ(Morph(speck, moClose, 3).pixel(4, 4), qRgb(255, 255, 255));
}

TEST(Effects, FrequencyFiltersSplitDetailFromTheMean)
{
    QImage stripes(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) stripes.setPixel(x, y, x % 2 ? qRgb(200, 200, 200) : qRgb(0, 0, 0));
    // The finest stripes are the highest frequency: a low pass leaves their mean.
    const QImage low = FftFilter(stripes, ffLowPass, 50);
    EXPECT_NEAR(qRed(low.pixel(5, 5)), 100, 2);
    EXPECT_NEAR(qRed(low.pixel(6, 5)), 100, 2);
    const QImage high = FftFilter(stripes, ffHighPass, 50);
    EXPECT_LE(MaxDifference(high, stripes), 2);
    const QImage spectrum = FftSpectrum(Uniform(8, 8, qRgb(50, 50, 50)));
    EXPECT_EQ(qGray(spectrum.pixel(4, 4)), 255);  // all energy at the centre
    EXPECT_EQ(qGray(spectrum.pixel(0, 0)), 0);
}

TEST(Effects, GeometricEffectsKeepTheSizeAndMovePixels)
{
    const QImage g = Gradient(40, 30);
    for (const QImage& result : {Wave(g, 5, 20, 0, true), Lens(g, 50, 50, 40, 20), BumpMap(g, 25, 25, 20, 100)}) {
        EXPECT_EQ(result.size(), g.size());
        EXPECT_GT(MaxDifference(result, g), 2);
    }
    const QImage kept = RotateImage(g, 45, true, qRgb(255, 0, 0), /*keepSize=*/true);
    EXPECT_EQ(kept.size(), g.size());
    EXPECT_EQ(kept.pixel(0, 0), qRgb(255, 0, 0));
}

} // namespace
