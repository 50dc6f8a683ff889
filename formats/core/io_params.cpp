#include "formats/core/io_params.h"

#include <ctime>

namespace {

// Today's date (no time of day) as days since 1899-12-30.
double Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = 12;  // noon keeps daylight-saving shifts from moving the day
    local.tm_min = local.tm_sec = 0;
    std::time_t noon = timegm(&local);
    return double(noon / 86400) + 25569.0;  // 25569 days from 1899-12-30 to 1970-01-01
}

}  // namespace

TIOParamsVals::TIOParamsVals(const TIOParamsOwner* owner) : FOwner(owner)
{
    // A new record's owner has no image nor view to report yet.
    ApplyDefaults();
}

void TIOParamsVals::SetDefaultParams()
{
    ApplyDefaults();
    if (FOwner) {
        FOwner->ImageSize(Width, Height);
        FOwner->ViewResolution(DpiX, DpiY);
    }
}

void TIOParamsVals::ApplyDefaults()
{
    // Size and resolution keep their values unless the owner can tell them.
    const int width = Width, height = Height, dpiX = DpiX, dpiY = DpiY;
    static_cast<TIOParamsFields&>(*this) = TIOParamsFields();
    Width = width;
    Height = height;
    DpiX = dpiX;
    DpiY = dpiY;
    const TIELzwSlots& slots = IEGlobalLzwSlots();
    TiffLzwDecompressor = slots.TiffDecompressor;
    TiffLzwCompressor = slots.TiffCompressor;
    GifLzwDecompressor = slots.GifDecompressor;
    GifLzwCompressor = slots.GifCompressor;
    TgaDate = Today();
}

void TIOParamsVals::ResetInfo()
{
    IptcInfo.clear();
    JpegMarkers.clear();
    Exif.Clear();
    GifComments.clear();
    TiffDocumentName.clear();
    TiffImageDescription.clear();
    TiffPageName.clear();
    TgaDescriptor.clear();
    TgaAuthor.clear();
    TgaImageName.clear();
    PxmComments.clear();
}

void TIOParamsVals::Assign(const TIOParamsVals& source)
{
    if (&source != this) static_cast<TIOParamsFields&>(*this) = source;
}

void TIOParamsVals::AssignCompression(const TIOParamsVals& s)
{
    BitsPerSample = s.BitsPerSample;
    SamplesPerPixel = s.SamplesPerPixel;
    TiffCompression = s.TiffCompression;
    TiffPhotometric = s.TiffPhotometric;
    TiffPlanarConfig = s.TiffPlanarConfig;
    TiffOrientation = s.TiffOrientation;
    TiffLzwDecompressor = s.TiffLzwDecompressor;
    TiffLzwCompressor = s.TiffLzwCompressor;
    TiffAdjustOrientation = s.TiffAdjustOrientation;
    TiffJpegQuality = s.TiffJpegQuality;
    GifInterlaced = s.GifInterlaced;
    GifLzwDecompressor = s.GifLzwDecompressor;
    GifLzwCompressor = s.GifLzwCompressor;
    JpegColorSpace = s.JpegColorSpace;
    JpegQuality = s.JpegQuality;
    JpegDctMethod = s.JpegDctMethod;
    JpegOptimalHuffman = s.JpegOptimalHuffman;
    JpegSmooth = s.JpegSmooth;
    JpegProgressive = s.JpegProgressive;
    J2kColorSpace = s.J2kColorSpace;
    J2kRate = s.J2kRate;
    J2kProgression = s.J2kProgression;
    PcxVersion = s.PcxVersion;
    PcxCompression = s.PcxCompression;
    BmpVersion = s.BmpVersion;
    BmpCompression = s.BmpCompression;
    PngInterlaced = s.PngInterlaced;
    PngFilter = s.PngFilter;
    PngCompression = s.PngCompression;
    TgaCompressed = s.TgaCompressed;
    TgaGrayLevel = s.TgaGrayLevel;
}

void TIOParamsVals::SetColorMap(const TRGB* colors, int count)
{
    if (!colors || count <= 0) {
        FreeColorMap();
        return;
    }
    ColorMap.assign(colors, colors + count);
    ColorMapCount = count;
}
