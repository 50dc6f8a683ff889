#include "cli/convert/param_fields.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value)
{
    if constexpr (std::is_floating_point_v<T>) {
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        if (text.empty() || *end) return false;
        value = T(v);
        return true;
    } else {
        long long v = 0;
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
        if (ec != std::errc() || ptr != text.data() + text.size()) return false;
        if (v < (long long)std::numeric_limits<T>::min() || v > (long long)std::numeric_limits<T>::max()) return false;
        value = T(v);
        return true;
    }
}

template <typename T>
std::string Format(const T& v)
{
    if constexpr (std::is_same_v<T, std::string>) return v;
    else if constexpr (std::is_same_v<T, TRGB>) {
        char text[8];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", v.r, v.g, v.b);
        return text;
    } else if constexpr (std::is_same_v<T, TImageFileType>) return std::to_string(int(v));
    else if constexpr (std::is_same_v<T, bool>) return v ? "1" : "0";
    else if constexpr (std::is_floating_point_v<T>) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        return text;
    } else return std::to_string(+v);
}

template <typename T>
bool Parse(const std::string& text, T& v)
{
    if constexpr (std::is_same_v<T, std::string>) { v = text; return true; }
    else if constexpr (std::is_same_v<T, TRGB>) {
        if (text.size() != 7 || text[0] != '#') return false;
        unsigned rgb = 0;
        auto [ptr, ec] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
        if (ec != std::errc() || ptr != text.data() + 7) return false;
        v = CreateRGB(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
        return true;
    } else if constexpr (std::is_same_v<T, TImageFileType>) {
        int n;
        if (!ParseNumber(text, n) || n < 0 || n > ftJ2K) return false;
        v = TImageFileType(n);
        return true;
    } else if constexpr (std::is_same_v<T, bool>) {
        if (text != "0" && text != "1") return false;
        v = text == "1";
        return true;
    } else return ParseNumber(text, v);
}

#define FIELD(name)                                                                                  \
    TParamField{#name, [](const TIOParamsVals& p) { return Format(p.name); },                         \
                [](TIOParamsVals& p, const std::string& t) { return Parse(t, p.name); }}

}  // namespace

const std::vector<TParamField>& ParamFields()
{
    static const std::vector<TParamField> fields = {
        FIELD(BitsPerSample), FIELD(SamplesPerPixel), FIELD(Width), FIELD(Height), FIELD(DpiX), FIELD(DpiY),
        FIELD(FileType),
        FIELD(TiffCompression), FIELD(TiffImageIndex), FIELD(TiffPhotometric), FIELD(TiffPlanarConfig),
        FIELD(TiffXPos), FIELD(TiffYPos), FIELD(TiffDocumentName), FIELD(TiffImageDescription), FIELD(TiffPageName),
        FIELD(TiffPageNumber), FIELD(TiffPageCount), FIELD(TiffOrientation), FIELD(TiffAdjustOrientation),
        FIELD(TiffJpegQuality),
        FIELD(GifVersion), FIELD(GifImageIndex), FIELD(GifXPos), FIELD(GifYPos), FIELD(GifDelayTime),
        FIELD(GifTransparent), FIELD(GifTranspColor), FIELD(GifInterlaced), FIELD(GifWinWidth), FIELD(GifWinHeight),
        FIELD(GifBackground), FIELD(GifRatio),
        FIELD(JpegColorSpace), FIELD(JpegQuality), FIELD(JpegDctMethod), FIELD(JpegOptimalHuffman), FIELD(JpegSmooth),
        FIELD(JpegProgressive), FIELD(JpegScale), FIELD(JpegScaleUsed), FIELD(JpegWarningCount),
        FIELD(JpegWarningCode), FIELD(JpegOriginalWidth), FIELD(JpegOriginalHeight),
        FIELD(J2kColorSpace), FIELD(J2kRate), FIELD(J2kProgression), FIELD(PcxVersion), FIELD(PcxCompression),
        FIELD(BmpVersion), FIELD(BmpCompression), FIELD(IcoImageIndex), FIELD(IcoBackground), FIELD(CurImageIndex),
        FIELD(CurXHotSpot), FIELD(CurYHotSpot), FIELD(CurBackground),
        FIELD(PngInterlaced), FIELD(PngBackground), FIELD(PngFilter), FIELD(PngCompression),
        FIELD(TgaXPos), FIELD(TgaYPos), FIELD(TgaCompressed), FIELD(TgaDescriptor), FIELD(TgaAuthor), FIELD(TgaDate),
        FIELD(TgaImageName), FIELD(TgaBackground), FIELD(TgaAspectRatio), FIELD(TgaGamma), FIELD(TgaGrayLevel),
        FIELD(IptcChanged), FIELD(FileName), FIELD(ColorMapCount), FIELD(GifImageCount), FIELD(TiffImageCount),
        FIELD(MaxImageBytes),
    };
    return fields;
}

const TParamField* FindParamField(const std::string& name)
{
    for (const TParamField& f : ParamFields())
        if (f.Name == name) return &f;
    return nullptr;
}
