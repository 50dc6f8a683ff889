#include "formats/png/png.h"
#include "formats/png/png_io.h"

#include "formats/core/checked_size.h"

#include <vector>

namespace {

// Deflate cannot do better than about 1032 to 1; a file whose rows could not come out of the
// bytes left is refused before the bitmap is allocated.
constexpr int64_t IEDeflateMaxRatio = 1032;

int SamplesOf(int colorType)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;  // grey, palette
    }
}

TRGB Reduced(const png_color_16& c, int bitDepth)
{
    const int shift = bitDepth == 16 ? 8 : 0;
    return CreateRGB(uint8_t(c.red >> shift), uint8_t(c.green >> shift), uint8_t(c.blue >> shift));
}

// The file's background in 8 bits per component, or false when it has none.
bool FileBackground(png_structp png, png_infop info, int colorType, int bitDepth, TRGB& colour)
{
    png_color_16p background = nullptr;
    if (!png_get_bKGD(png, info, &background))
        return false;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int count = 0;
        if (!png_get_PLTE(png, info, &palette, &count) || background->index >= count)
            return false;
        colour = CreateRGB(palette[background->index].red, palette[background->index].green,
                           palette[background->index].blue);
        return true;
    }
    if (!(colorType & PNG_COLOR_MASK_COLOR)) {
        const int grey = bitDepth == 16 ? background->gray >> 8 : background->gray * 255 / ((1 << bitDepth) - 1);
        colour = CreateRGB(uint8_t(grey), uint8_t(grey), uint8_t(grey));
        return true;
    }
    colour = Reduced(*background, bitDepth);
    return true;
}

void SetUpBackground(png_structp png, png_infop info, int colorType, int bitDepth, TIOParamsVals& params)
{
    TRGB colour;
    if (FileBackground(png, info, colorType, bitDepth, colour)) {
        png_color_16p background = nullptr;
        png_get_bKGD(png, info, &background);
        png_set_background(png, background, PNG_BACKGROUND_GAMMA_FILE, /*need_expand=*/1, 1.0);
        params.PngBackground = colour;
        return;
    }
    png_color_16 screen{};
    screen.red = params.PngBackground.r;
    screen.green = params.PngBackground.g;
    screen.blue = params.PngBackground.b;
    screen.gray = static_cast<png_uint_16>(IELuminance(params.PngBackground));
    png_set_background(png, &screen, PNG_BACKGROUND_GAMMA_SCREEN, /*need_expand=*/0, 1.0);
}

void SetUpTransformations(png_structp png, int colorType, int bitDepth)
{
    const bool grey = !(colorType & PNG_COLOR_MASK_COLOR);
    if ((colorType == PNG_COLOR_TYPE_PALETTE && bitDepth >= 2) || (colorType == PNG_COLOR_TYPE_GRAY && bitDepth >= 2 && bitDepth <= 7))
        png_set_expand(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (bitDepth > 1 && bitDepth < 8)
        png_set_packing(png);  // 1-bit rows stay packed: they are the bitmap's own layout
    if (grey && bitDepth > 1)
        png_set_gray_to_rgb(png);
    if (bitDepth > 1)
        png_set_bgr(png);
}

// From the file's own header values: the info reports the transformed ones after the update.
void ReadHeaderFields(png_structp png, png_infop info, int colorType, int bitDepth, TIOParamsVals& params)
{
    params.Width = static_cast<int>(png_get_image_width(png, info));
    params.Height = static_cast<int>(png_get_image_height(png, info));
    params.BitsPerSample = bitDepth;
    params.SamplesPerPixel = SamplesOf(colorType);
    png_uint_32 resX = 0, resY = 0;
    int unit = 0;
    png_get_pHYs(png, info, &resX, &resY, &unit);
    params.DpiX = PngPixelsPerMetreToDpi(resX);
    params.DpiY = PngPixelsPerMetreToDpi(resY);
    if (params.DpiX == 0)
        params.DpiX = IEDefaultDpi;
    if (params.DpiY == 0)
        params.DpiY = IEDefaultDpi;
    png_colorp palette = nullptr;
    int count = 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &palette, &count)) {
        std::vector<TRGB> colours;
        for (int i = 0; i < count; ++i)
            colours.push_back(CreateRGB(palette[i].red, palette[i].green, palette[i].blue));
        params.SetColorMap(colours.data(), count);
    }
    params.PngInterlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
}

void ReadRows(png_structp png, png_infop info, int passes, TIEBitmap& bitmap, TIEBitmap* mask,
              TProgressRec& progress)
{
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const bool alpha = png_get_channels(png, info) == 4;
    std::vector<png_byte> buffer(alpha ? png_get_rowbytes(png, info) : 0);
    const int64_t total = int64_t(height) * passes;
    int64_t done = 0;
    for (int pass = 0; pass < passes && !progress.Aborted(); ++pass) {
        for (int y = 0; y < height && !progress.Aborted(); ++y) {
            uint8_t* row = bitmap.ScanLine(y);
            if (!alpha) {
                png_read_row(png, row, nullptr);
            } else {
                uint8_t* maskRow = mask ? mask->ScanLine(y) : nullptr;
                // Later passes fill in pixels of a row the earlier ones began: start from them.
                if (pass > 0) {
                    for (int x = 0; x < width; ++x) {
                        std::copy_n(row + 3 * x, 3, &buffer[4 * x]);
                        buffer[4 * x + 3] = maskRow ? maskRow[x] : 255;
                    }
                }
                png_read_row(png, buffer.data(), nullptr);
                for (int x = 0; x < width; ++x) {
                    std::copy_n(&buffer[4 * x], 3, row + 3 * x);
                    if (maskRow)
                        maskRow[x] = buffer[4 * x + 3];
                }
            }
            progress.Report(static_cast<int>(++done * 100 / total));
        }
    }
}

}  // namespace

void ReadPng(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool mergeBackground,
             std::unique_ptr<TIEBitmap>& mask, bool paramsOnly, TProgressRec& progress)
{
    try {
        TPngReader reader(stream, progress);
        if (!reader.Valid()) {
            progress.Abort();
            return;
        }
        png_structp png = reader.Png();
        png_infop info = reader.Info();
        png_read_info(png, info);
        const int colorType = png_get_color_type(png, info);
        const int bitDepth = png_get_bit_depth(png, info);
        const int width = static_cast<int>(png_get_image_width(png, info));
        const int height = static_cast<int>(png_get_image_height(png, info));

        if (mergeBackground)
            SetUpBackground(png, info, colorType, bitDepth, params);
        SetUpTransformations(png, colorType, bitDepth);
        const int passes = png_set_interlace_handling(png);
        png_read_update_info(png, info);
        ReadHeaderFields(png, info, colorType, bitDepth, params);
        if (paramsOnly)
            return;

        const bool oneBit = bitDepth == 1;
        // The rows libpng hands over must fit the bitmap's rows.
        const int64_t bitmapRowLen = IERowLen(width, oneBit ? 1 : 24);
        const int64_t rowBytes = int64_t(png_get_rowbytes(png, info));
        if (rowBytes > (png_get_channels(png, info) == 4 ? int64_t(width) * 4 : bitmapRowLen)) {
            progress.Abort();
            return;
        }
        const auto bytes = IEImageBytes(width, height, oneBit ? 1 : 24, params.MaxImageBytes);
        const auto packed = IECheckedMul(int64_t(png_get_rowbytes(png, info)), height);
        if (!bytes || !packed || *packed / IEDeflateMaxRatio > stream.Remaining()) {
            progress.Abort();
            return;
        }
        if (!mergeBackground) {
            mask = std::make_unique<TIEBitmap>();
            mask->Allocate(width, height, ipf8Gray);
            mask->Fill(255);
        }
        bitmap.Allocate(width, height, oneBit ? ipf1Bit : ipf24RGB);
        ReadRows(png, info, passes, bitmap, mask.get(), progress);
        if (!progress.Aborted())
            png_read_end(png, nullptr);
    } catch (const TPngReadAbort&) {
        // Aborting is already set; the image stays as far as it got.
    }
}
