#include "formats/jpeg/jpeg.h"
#include "formats/jpeg/jpeg_decompressor.h"
#include "formats/jpeg/jpeg_pixels.h"

#include "formats/core/checked_size.h"

#include <cmath>
#include <vector>

namespace {

constexpr int IEJpegSearchWindow = 100;
// Far above any real file; bounds the work a hostile progressive file can ask for.
constexpr int IEJpegMaxScans = 1000;

struct TColorSpaceRow {
    J_COLOR_SPACE File;
    uint8_t ParamValue;
    int Samples;
    J_COLOR_SPACE Output;
};

// The file's colour space as the record names it, and what the library hands back.
constexpr TColorSpaceRow IEJpegColorSpaces[] = {
    {JCS_GRAYSCALE, 1, 1, JCS_EXT_BGR},
    {JCS_RGB, 0, 3, JCS_EXT_BGR},
    {JCS_YCbCr, 2, 3, JCS_EXT_BGR},
    {JCS_CMYK, 3, 4, JCS_CMYK},
    {JCS_YCCK, 4, 4, JCS_CMYK},
};

constexpr J_DCT_METHOD IEJpegDctMethods[] = {JDCT_ISLOW, JDCT_IFAST, JDCT_FLOAT};

J_DCT_METHOD DctMethod(uint8_t value) { return value < 3 ? IEJpegDctMethods[value] : JDCT_ISLOW; }

constexpr unsigned IEJpegScaleDenominators[] = {0, 1, 2, 4, 8};

unsigned ScaledSize(unsigned size, unsigned denominator) { return (size + denominator - 1) / denominator; }

// The largest reduction that still covers the size asked for in the record.
unsigned ScaleDenominator(const jpeg_decompress_struct& info, const TIOParamsVals& params)
{
    if (params.JpegScale >= 1 && params.JpegScale <= 4)
        return IEJpegScaleDenominators[params.JpegScale];
    if (params.Width <= 0 || params.Height <= 0)
        return 1;
    for (unsigned denominator : {8u, 4u, 2u}) {
        if (ScaledSize(info.image_width, denominator) >= unsigned(params.Width) &&
            ScaledSize(info.image_height, denominator) >= unsigned(params.Height))
            return denominator;
    }
    return 1;
}

// Progress monitor of the decompressor: honours Aborting while the library consumes scans.
struct TJpegScanGuard {
    jpeg_progress_mgr Pub{};  // first, so the library's pointer is ours
    const TProgressRec* Progress = nullptr;
};

void GuardScans(j_common_ptr cinfo)
{
    auto* info = reinterpret_cast<j_decompress_ptr>(cinfo);
    const auto* guard = reinterpret_cast<TJpegScanGuard*>(cinfo->progress);
    if (info->input_scan_number > IEJpegMaxScans) {
        guard->Progress->Abort();
        throw EIEJpegException("Too many scans");
    }
    if (guard->Progress->Aborted())
        throw EIEJpegException("Aborted");
}

void ReadDensity(const jpeg_decompress_struct& info, TIOParamsVals& params)
{
    if (!info.saw_JFIF_marker)
        return;
    if (info.density_unit == 2) {
        params.DpiX = static_cast<int>(std::trunc(info.X_density * 2.54));
        params.DpiY = static_cast<int>(std::trunc(info.Y_density * 2.54));
    } else {
        params.DpiX = info.X_density;
        params.DpiY = info.Y_density;
    }
}

void CopyMarkers(const jpeg_decompress_struct& info, TIOParamsVals& params)
{
    params.JpegMarkers.clear();
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
        // The JFIF header at the start of the file is the library's to write again.
        if (m == info.marker_list && m->marker == JPEG_APP0)
            continue;
        params.JpegMarkers.push_back(TJpegMarker{m->marker, std::vector<uint8_t>(m->data, m->data + m->data_length)});
    }
}

void DecodeRows(TJpegDecompressor& jpeg, TIEBitmap& bitmap, bool cmykOutput, TProgressRec& progress,
                TIOParamsVals& params)
{
    jpeg_decompress_struct& info = jpeg.Info;
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    bitmap.Allocate(width, height, ipf24RGB);
    std::vector<JSAMPLE> buffer;
    const bool direct = !cmykOutput && info.output_components == 3;
    if (!direct)
        buffer.resize(size_t(width) * info.output_components);
    while (info.output_scanline < info.output_height && !progress.Aborted()) {
        const int y = static_cast<int>(info.output_scanline);
        uint8_t* row = bitmap.ScanLine(y);
        JSAMPROW target = direct ? row : buffer.data();
        if (jpeg_read_scanlines(&info, &target, 1) != 1)
            break;
        if (cmykOutput)
            JpegInvertedCmykToBgr(buffer.data(), row, width);
        else if (!direct)
            JpegGreyToBgr(buffer.data(), row, width);
        progress.Report(static_cast<int>(int64_t(info.output_scanline) * 100 / height));
    }
    if (info.output_scanline < info.output_height)
        progress.Abort();
    else if (!progress.Aborted()) {
        CopyMarkers(info, params);  // finishing frees them, with markers met between scans
        try {
            jpeg_finish_decompress(&info);
        } catch (const EIEJpegException&) {
            // The image is complete; trouble after the last row does not spoil it.
            *progress.Aborting = false;
        }
    }
}

}  // namespace

int64_t FindJpegStart(TStream& stream)
{
    const int64_t start = stream.Position();
    uint8_t window[IEJpegSearchWindow + 2];
    const int64_t got = stream.Read(window, sizeof window);
    stream.SetPosition(start);
    for (int64_t i = 0; i + 2 < got && i < IEJpegSearchWindow; ++i) {
        if (window[i] == 0xFF && window[i + 1] == 0xD8 && window[i + 2] == 0xFF)
            return start + i;
    }
    return -1;
}

void ReadJpeg(TStream& stream, TStream* tables, TIEBitmap& bitmap, bool rawColor, bool paramsOnly,
              TProgressRec& progress, TIOParamsVals& params)
{
    params.JpegWarningCount = 0;
    params.JpegWarningCode = 0;
    const int64_t start = FindJpegStart(stream);
    if (start < 0) {
        progress.Abort();
        return;
    }
    stream.SetPosition(start);
    try {
        TJpegDecompressor jpeg(progress.Aborting);
        jpeg_decompress_struct& info = jpeg.Info;
        info.mem->max_memory_to_use = static_cast<long>(params.MaxImageBytes);
        TJpegScanGuard scanGuard;
        scanGuard.Pub.progress_monitor = GuardScans;
        scanGuard.Progress = &progress;
        info.progress = &scanGuard.Pub;

        if (tables) {
            JpegAttachSource(&info, jpeg.Source, *tables, progress.Aborting);
            jpeg_read_header(&info, FALSE);
        }
        JpegAttachSource(&info, jpeg.Source, stream, progress.Aborting);
        jpeg_save_markers(&info, JPEG_COM, 0xFFFF);
        for (int m = 0; m < 16; ++m)
            jpeg_save_markers(&info, JPEG_APP0 + m, 0xFFFF);
        jpeg_read_header(&info, TRUE);
        if (progress.Aborted())
            return;
        CopyMarkers(info, params);

        params.BitsPerSample = 8;
        const TColorSpaceRow* space = nullptr;
        for (const TColorSpaceRow& row : IEJpegColorSpaces) {
            if (row.File == info.jpeg_color_space)
                space = &row;
        }
        if (!space) {
            // Two components, or more than four: nothing a 24-bit bitmap can show.
            progress.Abort();
            return;
        }
        params.JpegColorSpace = space->ParamValue;
        params.SamplesPerPixel = space->Samples;
        info.out_color_space = space->Output;
        const bool cmykOutput = space->Output == JCS_CMYK;
        if (rawColor && info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK)
            info.out_color_space = info.jpeg_color_space;  // components as stored, unconverted
        info.dct_method = DctMethod(params.JpegDctMethod);
        ReadDensity(info, params);
        params.FreeColorMap();
        params.JpegProgressive = jpeg_has_multiple_scans(&info);
        params.JpegOriginalWidth = static_cast<int>(info.image_width);
        params.JpegOriginalHeight = static_cast<int>(info.image_height);
        info.scale_num = 1;
        info.scale_denom = ScaleDenominator(info, params);
        params.JpegScaleUsed = static_cast<int>(info.scale_denom);

        jpeg_calc_output_dimensions(&info);
        params.Width = static_cast<int>(info.output_width);
        params.Height = static_cast<int>(info.output_height);
        if (!paramsOnly) {
            if (!IEImageBytes(info.output_width, info.output_height, 24, params.MaxImageBytes)) {
                progress.Abort();
                return;
            }
            jpeg_start_decompress(&info);
            DecodeRows(jpeg, bitmap, cmykOutput, progress, params);
        }
        if (jpeg.Error.Pub.num_warnings > 0) {
            params.JpegWarningCount = static_cast<int>(jpeg.Error.Pub.num_warnings);
            params.JpegWarningCode = jpeg.Error.LastWarningCode;
        }
    } catch (const EIEJpegException&) {
        progress.Abort();
    }
}
