#include "formats/quantizer/quantizer.h"

#include <algorithm>
#include <vector>

struct TIEQuantizer::TStrategy {
    virtual ~TStrategy() = default;
    virtual int MapColor(uint32_t color) const = 0;
    virtual bool IsGrayScale() const { return false; }
};

namespace {

uint32_t Pack(const TRGB& c) { return uint32_t(c.b) | uint32_t(c.g) << 8 | uint32_t(c.r) << 16; }

struct TGrayRamp : TIEQuantizer::TStrategy {
    int MapColor(uint32_t color) const override { return int(color >> 16 & 0xFF); }
    bool IsGrayScale() const override { return true; }
};

struct TExact : TIEQuantizer::TStrategy {
    std::vector<uint32_t> Colors;
    int MapColor(uint32_t color) const override
    {
        auto it = std::find(Colors.begin(), Colors.end(), color & 0xFFFFFF);
        return it == Colors.end() ? 0 : int(it - Colors.begin());
    }
};

// Interim uniform palette for images with more colours than asked.
struct TUniform : TIEQuantizer::TStrategy {
    int N;
    explicit TUniform(int n) : N(n) {}
    int MapColor(uint32_t color) const override
    {
        int r = int(color >> 16 & 0xFF), g = int(color >> 8 & 0xFF), b = int(color & 0xFF);
        return ((r * 21 + g * 71 + b * 8) / 100) * N / 256;
    }
};

bool AllGray(TIEBitmap& bitmap)
{
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const TRGB* row = reinterpret_cast<const TRGB*>(bitmap.ScanLine(y));
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            if (row[x].r != row[x].g || row[x].g != row[x].b) return false;
    }
    return true;
}

}  // namespace

TIEQuantizer::TIEQuantizer(TIEBitmap& bitmap, TRGB* palette, int n, int /*quality*/)
{
    n = std::clamp(n, 2, 256);
    std::fill_n(palette, n, CreateRGB(0, 0, 0));
    if (n == 256 && AllGray(bitmap)) {
        for (int i = 0; i < 256; ++i) palette[i] = CreateRGB(uint8_t(i), uint8_t(i), uint8_t(i));
        FStrategy = std::make_unique<TGrayRamp>();
        return;
    }
    auto exact = std::make_unique<TExact>();
    bool few = true;
    for (int32_t y = 0; y < bitmap.Height() && few; ++y) {
        const TRGB* row = reinterpret_cast<const TRGB*>(bitmap.ScanLine(y));
        for (int32_t x = 0; x < bitmap.Width(); ++x) {
            uint32_t c = Pack(row[x]);
            if (std::find(exact->Colors.begin(), exact->Colors.end(), c) != exact->Colors.end()) continue;
            if (int(exact->Colors.size()) == n) { few = false; break; }
            exact->Colors.push_back(c);
        }
    }
    if (few) {
        for (size_t i = 0; i < exact->Colors.size(); ++i) {
            uint32_t c = exact->Colors[i];
            palette[i] = CreateRGB(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c));
        }
        FStrategy = std::move(exact);
        return;
    }
    for (int i = 0; i < n; ++i) { uint8_t v = uint8_t(i * 255 / (n - 1)); palette[i] = CreateRGB(v, v, v); }
    FStrategy = std::make_unique<TUniform>(n);
}

TIEQuantizer::~TIEQuantizer() = default;

int TIEQuantizer::MapColor(uint32_t color) const { return FStrategy->MapColor(color); }

bool TIEQuantizer::IsGrayScale() const { return FStrategy->IsGrayScale(); }
