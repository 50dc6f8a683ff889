#include "formats/png/png.h"
#include "formats/png/png_io.h"

#include "formats/core/two_colour.h"
#include "formats/quantizer/quantizer.h"

#include <algorithm>
#include <vector>

namespace {

enum TPngOutput { poGrey1, poGrey, poPalette, poRGB, poRGBA };

// Row filter by PngFilter; other values leave libpng's own choice.
constexpr int IEPngFilters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_PAETH};

bool UniformlyOpaque(const TIEBitmap& mask)
{
    for (int y = 0; y < mask.Height(); ++y) {
        const uint8_t* row = mask.ScanLine(y);
        if (std::any_of(row, row + mask.Width(), [](uint8_t v) { return v != 255; }))
            return false;
    }
    return true;
}

// Palette depths libpng accepts: 1, 2, 4, 8.
int PaletteDepth(int bits)
{
    for (int depth : {1, 2, 4})
        if (bits <= depth)
            return depth;
    return 8;
}

int GreyDepth(int bits) { return bits > 8 ? 16 : PaletteDepth(bits); }

// The bitmap to encode: the caller's own when it already has the right format.
const TIEBitmap& WorkingBitmap(TIEBitmap& bitmap, int bitsPerSample, TIEBitmap& copy)
{
    if (bitsPerSample == 1) {
        if (bitmap.PixelFormat() == ipf1Bit)
            return bitmap;
        TRGB colours[2];
        if (bitmap.PixelFormat() == ipf24RGB && IEMakeTwoColourBitmap(bitmap, copy, colours))
            return copy;
        copy.Assign(bitmap);
        copy.ConvertTo(ipf1Bit);
        return copy;
    }
    if (bitmap.PixelFormat() == ipf24RGB)
        return bitmap;
    copy.Assign(bitmap);
    copy.ConvertTo(ipf24RGB);
    return copy;
}

struct TPngPlan {
    TPngOutput Output = poRGB;
    int BitDepth = 8;
    std::unique_ptr<TIEQuantizer> Quantizer;
    std::vector<TRGB> Palette;  // as written; with alpha, entry 0 is the transparent background
    bool Alpha = false;
};

void PlanOutput(TIEBitmap& working, const TIOParamsVals& params, bool alpha, TPngPlan& plan)
{
    if (working.PixelFormat() == ipf1Bit) {
        // One bit per pixel is grey whatever SamplesPerPixel says: the rows go out as they are.
        plan.Output = poGrey1;
        plan.BitDepth = 1;
        return;
    }
    if (params.SamplesPerPixel != 1) {
        plan.Output = alpha ? poRGBA : poRGB;
        plan.Alpha = alpha;
        return;
    }
    const int bits = std::clamp(params.BitsPerSample, 1, 16);
    if (alpha) {
        plan.Output = poPalette;
        plan.BitDepth = 8;
        plan.Alpha = true;
        const int colours = std::min(1 << std::min(bits, 8), 255);
        std::vector<TRGB> quantized(256);
        plan.Quantizer = std::make_unique<TIEQuantizer>(working, quantized.data(), colours);
        plan.Palette.push_back(params.PngBackground);
        plan.Palette.insert(plan.Palette.end(), quantized.begin(), quantized.begin() + colours);
        return;
    }
    const int colours = 1 << std::min(PaletteDepth(bits), 8);
    plan.Palette.resize(256);
    plan.Quantizer = std::make_unique<TIEQuantizer>(working, plan.Palette.data(), colours);
    if (plan.Quantizer->IsGrayScale()) {
        plan.Output = poGrey;
        plan.BitDepth = GreyDepth(bits);
        plan.Palette.clear();
        return;
    }
    plan.Output = poPalette;
    plan.BitDepth = PaletteDepth(bits);
    plan.Palette.resize(size_t(colours));
}

void WriteHeader(png_structp png, png_infop info, const TIEBitmap& working, const TIOParamsVals& params,
                 const TPngPlan& plan)
{
    static constexpr int colorTypes[] = {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_PALETTE,
                                         PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA};
    png_set_IHDR(png, info, png_uint_32(working.Width()), png_uint_32(working.Height()), plan.BitDepth,
                 colorTypes[plan.Output], params.PngInterlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, PngDpiToPixelsPerMetre(params.DpiX), PngDpiToPixelsPerMetre(params.DpiY),
                 PNG_RESOLUTION_METER);
    if (params.PngFilter < 3)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, IEPngFilters[params.PngFilter]);
    png_set_compression_level(png, std::clamp(params.PngCompression, 0, 9));

    png_color_16 background{};
    const TRGB bg = params.PngBackground;
    if (plan.Output == poPalette) {
        std::vector<png_color> palette;
        for (const TRGB& c : plan.Palette)
            palette.push_back(png_color{c.r, c.g, c.b});
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
        if (plan.Alpha) {
            png_byte transparent = 0;
            png_set_tRNS(png, info, &transparent, 1, nullptr);
            background.index = 0;
        } else {
            background.index = png_byte(plan.Quantizer->MapColor(bg));
        }
    } else if (plan.Output == poRGB || plan.Output == poRGBA) {
        background.red = bg.r;
        background.green = bg.g;
        background.blue = bg.b;
    } else {
        // Grey: the background's level in the file's own depth.
        const int level = IELuminance(bg);
        background.gray = png_uint_16(plan.BitDepth == 16 ? level * 257 : level >> (8 - plan.BitDepth));
    }
    png_set_bKGD(png, info, &background);
    png_write_info(png, info);
    if (plan.Output == poRGB || plan.Output == poRGBA)
        png_set_bgr(png);
    if (plan.Output == poPalette && plan.BitDepth < 8)
        png_set_packing(png);
}

// One output row; RGB rows need none and go out straight from the bitmap.
void MakeRow(const TIEBitmap& working, const TIEBitmap* mask, const TPngPlan& plan, int y, std::vector<png_byte>& row)
{
    const uint8_t* source = working.ScanLine(y);
    const int width = working.Width();
    switch (plan.Output) {
    case poRGBA: {
        const uint8_t* alpha = mask->ScanLine(y);
        for (int x = 0; x < width; ++x) {
            std::copy_n(source + 3 * x, 3, &row[4 * x]);
            row[4 * x + 3] = alpha[x];
        }
        break;
    }
    case poGrey:
        for (int x = 0; x < width; ++x) {
            const uint8_t level = source[3 * x + 2];  // grey: red, green and blue agree
            if (plan.BitDepth == 16) {
                row[2 * x] = level;
                row[2 * x + 1] = 0;
            } else if (plan.BitDepth == 8) {
                row[x] = level;
            } else {
                const int shift = 8 - plan.BitDepth, perByte = 8 / plan.BitDepth;
                const int slot = (perByte - 1 - x % perByte) * plan.BitDepth;
                if (x % perByte == 0)
                    row[x / perByte] = 0;
                row[x / perByte] |= png_byte((level >> shift) << slot);
            }
        }
        break;
    case poPalette: {
        const uint8_t* alpha = plan.Alpha ? mask->ScanLine(y) : nullptr;
        for (int x = 0; x < width; ++x) {
            const TRGB c{source[3 * x], source[3 * x + 1], source[3 * x + 2]};
            const int index = plan.Quantizer->MapColor(c);
            row[x] = png_byte(alpha ? (alpha[x] == 255 ? index + 1 : 0) : index);
        }
        break;
    }
    default:
        break;
    }
}

}  // namespace

void WritePng(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, const TIEBitmap* mask,
              TProgressRec& progress)
{
    TIEBitmap copy;
    const TIEBitmap& working = WorkingBitmap(bitmap, params.BitsPerSample, copy);
    if (working.Empty()) {
        progress.Abort();
        return;
    }
    const bool alpha = mask && mask->Width() == working.Width() && mask->Height() == working.Height() &&
                       !UniformlyOpaque(*mask);
    TPngPlan plan;
    PlanOutput(const_cast<TIEBitmap&>(working), params, alpha, plan);

    TPngWriter writer(stream, progress);
    png_structp png = writer.Png();
    WriteHeader(png, writer.Info(), working, params, plan);
    const int passes = png_set_interlace_handling(png);
    const int height = working.Height();
    const bool straight = plan.Output == poRGB || plan.Output == poGrey1;
    std::vector<png_byte> row(straight ? 0 : size_t(working.Width()) * 4);
    const int64_t total = int64_t(height) * passes;
    int64_t done = 0;
    for (int pass = 0; pass < passes && !progress.Aborted(); ++pass) {
        for (int y = 0; y < height && !progress.Aborted(); ++y) {
            if (straight) {
                png_write_row(png, working.ScanLine(y));
            } else {
                MakeRow(working, mask, plan, y, row);
                png_write_row(png, row.data());
            }
            progress.Report(static_cast<int>(++done * 100 / total));
        }
    }
    if (!progress.Aborted())
        png_write_end(png, nullptr);
}
