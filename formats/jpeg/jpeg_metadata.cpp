#include "formats/jpeg/iptc.h"
#include "formats/jpeg/jpeg.h"

#include "formats/tiff/tiff.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint8_t IEApp1 = 0xE1;
constexpr uint8_t IEApp13 = 0xED;
constexpr char IEExifSignature[] = "Exif";  // followed by two zero bytes
constexpr size_t IEExifHeaderSize = 6;

bool IsExif(const TJpegMarker& marker)
{
    return marker.Marker == IEApp1 && marker.Data.size() >= 4 && std::memcmp(marker.Data.data(), IEExifSignature, 4) == 0;
}

// One page of the TIFF structure inside the block, in EXIF mode; false when the reader gave up.
bool ReadExifPage(const TJpegMarker& marker, int page, TIEBitmap& bitmap, bool paramsOnly, TIOParamsVals& exifParams)
{
    if (marker.Data.size() <= IEExifHeaderSize)
        return false;
    TMemoryStream stream(marker.Data.data() + IEExifHeaderSize, marker.Data.size() - IEExifHeaderSize);
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    std::unique_ptr<TIEBitmap> mask;
    int pageCount = 0;
    exifParams.TiffImageIndex = page;
    ReadTiff(bitmap, stream, pageCount, /*exifMode=*/true, /*useStreamPosition=*/true, paramsOnly, mask, progress,
             exifParams);
    return !aborting;
}

void DecodeExif(const TJpegMarker& marker, TIOParamsVals& params)
{
    TIOParamsVals exifParams;
    TIEBitmap unused;
    if (!ReadExifPage(marker, 0, unused, /*paramsOnly=*/true, exifParams))
        return;
    auto thumbnail = std::make_shared<TIEBitmap>();
    TIOParamsVals thumbnailParams;
    if (ReadExifPage(marker, 1, *thumbnail, /*paramsOnly=*/false, thumbnailParams) && !thumbnail->Empty())
        exifParams.Exif.ExifThumbnail = thumbnail;
    params.Exif = exifParams.Exif;
    params.Exif.HasExif = true;

    // JFIF writers that know only the aspect ratio leave 1 × 1; the camera's figure is better.
    if (params.DpiX != 1 || params.DpiY != 1)
        return;
    const auto& rationals = params.Exif.Rationals;
    auto x = rationals.find("ExifXResolution");
    auto y = rationals.find("ExifYResolution");
    if (x == rationals.end() || y == rationals.end())
        return;
    auto unit = params.Exif.Integers.find("ExifResolutionUnit");
    const double factor = unit != params.Exif.Integers.end() && unit->second == 3 ? 2.54 : 1.0;
    params.DpiX = static_cast<int>(std::trunc(x->second * factor));
    params.DpiY = static_cast<int>(std::trunc(y->second * factor));
}

}  // namespace

void DecodeJpegMetadata(TIOParamsVals& params)
{
    const auto& markers = params.JpegMarkers;
    auto app13 = std::find_if(markers.begin(), markers.end(), [](const TJpegMarker& m) { return m.Marker == IEApp13; });
    if (app13 != markers.end()) {
        params.IptcInfo = IptcParseApp13(app13->Data);
        params.IptcChanged = false;
    }
    auto exif = std::find_if(markers.begin(), markers.end(), IsExif);
    if (exif != markers.end())
        DecodeExif(*exif, params);
}

void FoldIptcIntoMarkers(TIOParamsVals& params)
{
    if (!params.IptcChanged)
        return;
    auto& markers = params.JpegMarkers;
    TJpegMarker block{IEApp13, IptcMakeApp13(params.IptcInfo)};
    auto app13 = std::find_if(markers.begin(), markers.end(), [](const TJpegMarker& m) { return m.Marker == IEApp13; });
    if (app13 != markers.end())
        *app13 = std::move(block);
    else
        markers.push_back(std::move(block));
}
