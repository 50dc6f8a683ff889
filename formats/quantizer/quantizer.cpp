#include "formats/quantizer/quantizer.h"

#include "formats/quantizer/box_splitter.h"
#include "formats/quantizer/neuquant.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

struct TIEQuantizer::TStrategy {
    virtual ~TStrategy() = default;
    virtual int MapColor(uint32_t color) const = 0;
    virtual bool IsGrayScale() const { return false; }
};

namespace {

uint32_t Pack(const TRGB& c) { return uint32_t(c.b) | uint32_t(c.g) << 8 | uint32_t(c.r) << 16; }
TRGB Unpack(uint32_t c) { return CreateRGB(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)); }

const TRGB* Row(const TIEBitmap& bitmap, int32_t y) { return reinterpret_cast<const TRGB*>(bitmap.ScanLine(y)); }

struct TGrayRamp : TIEQuantizer::TStrategy {
    int MapColor(uint32_t color) const override { return int(color >> 16 & 0xFF); }
    bool IsGrayScale() const override { return true; }
};

// The image's own colours in the order first met.
struct TExact : TIEQuantizer::TStrategy {
    std::vector<uint32_t> Colors;
    std::unordered_map<uint32_t, int> Index;  // same answer as a search from the start, faster

    // False as soon as the image holds more than n colours.
    bool Collect(const TIEBitmap& bitmap, int n)
    {
        for (int32_t y = 0; y < bitmap.Height(); ++y) {
            const TRGB* row = Row(bitmap, y);
            uint32_t last = 0xFFFFFFFF;
            for (int32_t x = 0; x < bitmap.Width(); ++x) {
                const uint32_t c = Pack(row[x]);
                if (c == last) continue;
                last = c;
                if (Index.count(c)) continue;
                if (int(Colors.size()) == n) return false;
                Index.emplace(c, int(Colors.size()));
                Colors.push_back(c);
            }
        }
        return true;
    }
    int MapColor(uint32_t color) const override
    {
        auto it = Index.find(color & 0xFFFFFF);
        return it == Index.end() ? 0 : it->second;
    }
};

struct TNeural : TIEQuantizer::TStrategy {
    TNeuQuant Net;
    TNeural(const TIEBitmap& bitmap, int n, int quality) : Net(bitmap, n, quality) {}
    int MapColor(uint32_t color) const override { return Net.Map(uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16)); }
};

struct TBoxes : TIEQuantizer::TStrategy {
    TBoxSplitter Boxes;
    TBoxes(const TIEBitmap& bitmap, int n) : Boxes(bitmap, n) {}
    int MapColor(uint32_t color) const override { return Boxes.Map(uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color)); }
};

bool AllGray(const TIEBitmap& bitmap)
{
    for (int32_t y = 0; y < bitmap.Height(); ++y) {
        const TRGB* row = Row(bitmap, y);
        for (int32_t x = 0; x < bitmap.Width(); ++x)
            if (row[x].r != row[x].g || row[x].g != row[x].b) return false;
    }
    return true;
}

}  // namespace

TIEQuantizer::TIEQuantizer(TIEBitmap& bitmap, TRGB* palette, int n, int quality)
{
    n = std::clamp(n, 2, 256);
    std::fill_n(palette, n, CreateRGB(0, 0, 0));
    if (n == 256 && AllGray(bitmap)) {
        for (int i = 0; i < 256; ++i) palette[i] = CreateRGB(uint8_t(i), uint8_t(i), uint8_t(i));
        FStrategy = std::make_unique<TGrayRamp>();
        return;
    }
    auto exact = std::make_unique<TExact>();
    if (exact->Collect(bitmap, n)) {
        for (size_t i = 0; i < exact->Colors.size(); ++i) palette[i] = Unpack(exact->Colors[i]);
        FStrategy = std::move(exact);
    } else if (n >= 128) {
        auto neural = std::make_unique<TNeural>(bitmap, n, quality);
        neural->Net.Palette(palette);
        FStrategy = std::move(neural);
    } else {
        auto boxes = std::make_unique<TBoxes>(bitmap, n);
        boxes->Boxes.Palette(palette);
        FStrategy = std::move(boxes);
    }
}

TIEQuantizer::~TIEQuantizer() = default;

int TIEQuantizer::MapColor(uint32_t color) const { return FStrategy->MapColor(color); }

bool TIEQuantizer::IsGrayScale() const { return FStrategy->IsGrayScale(); }
