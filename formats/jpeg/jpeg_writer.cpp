#include "formats/jpeg/jpeg.h"
#include "formats/jpeg/jpeg_error.h"
#include "formats/jpeg/jpeg_pixels.h"
#include "formats/jpeg/jpeg_stream_mgr.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct TJpegCompressor {
    jpeg_compress_struct Info{};
    TJpegErrorRecord Error;
    TJpegStreamDestination Destination;

    explicit TJpegCompressor(bool* aborting)
    {
        Info.err = JpegInitErrorRecord(Error, aborting);
        jpeg_create_compress(&Info);
    }
    ~TJpegCompressor() { jpeg_destroy_compress(&Info); }
    TJpegCompressor(const TJpegCompressor&) = delete;
    TJpegCompressor& operator=(const TJpegCompressor&) = delete;
};

struct TColorSpaceChoice {
    J_COLOR_SPACE File;
    bool CmykInput;
};

// By JpegColorSpace; anything else is RGB.
constexpr TColorSpaceChoice IEJpegWriteSpaces[] = {
    {JCS_RGB, false}, {JCS_GRAYSCALE, false}, {JCS_YCbCr, false}, {JCS_CMYK, true}, {JCS_YCCK, true},
};

constexpr J_DCT_METHOD IEJpegDctMethods[] = {JDCT_ISLOW, JDCT_IFAST, JDCT_FLOAT};

UINT16 Density(int dpi) { return static_cast<UINT16>(std::clamp(dpi == 0 ? IEDefaultDpi : dpi, 1, 65535)); }

void Configure(jpeg_compress_struct& info, const TIEBitmap& bitmap, const TIOParamsVals& params, bool& cmykInput)
{
    const TColorSpaceChoice choice = params.JpegColorSpace < 5 ? IEJpegWriteSpaces[params.JpegColorSpace]
                                                                : IEJpegWriteSpaces[0];
    cmykInput = choice.CmykInput;
    info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    // The bitmap's own blue-green-red order goes in as it is.
    info.input_components = cmykInput ? 4 : 3;
    info.in_color_space = cmykInput ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, choice.File);

    info.density_unit = 1;
    info.X_density = Density(params.DpiX);
    info.Y_density = Density(params.DpiY);
    info.dct_method = params.JpegDctMethod < 3 ? IEJpegDctMethods[params.JpegDctMethod] : JDCT_ISLOW;
    info.optimize_coding = params.JpegOptimalHuffman ? TRUE : FALSE;
    info.smoothing_factor = std::clamp(params.JpegSmooth, 0, 100);
    jpeg_set_quality(&info, std::clamp(params.JpegQuality, 1, 100), /*force_baseline=*/TRUE);
    if (params.JpegProgressive)
        jpeg_simple_progression(&info);
}

void WriteMarkers(jpeg_compress_struct& info, const TIOParamsVals& params)
{
    for (const TJpegMarker& marker : params.JpegMarkers) {
        // The library writes its own Adobe marker when the colour space needs one.
        if (marker.Marker == JPEG_APP0 + 14)
            continue;
        jpeg_write_marker(&info, marker.Marker, marker.Data.data(), static_cast<unsigned>(marker.Data.size()));
    }
}

}  // namespace

void WriteJpeg(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress)
{
    std::unique_ptr<TIEBitmap> colourCopy;
    const TIEBitmap* source = &bitmap;
    if (bitmap.PixelFormat() != ipf24RGB && !bitmap.Empty()) {
        colourCopy = std::make_unique<TIEBitmap>();
        colourCopy->Assign(bitmap);
        colourCopy->ConvertTo(ipf24RGB);
        source = colourCopy.get();
    }
    if (source->Width() == 0 || source->Height() == 0) {
        progress.Abort();
        return;
    }

    TJpegCompressor jpeg(progress.Aborting);
    jpeg_compress_struct& info = jpeg.Info;
    JpegAttachDestination(&info, jpeg.Destination, stream, progress.Aborting);
    if (progress.Aborted())
        return;
    bool cmykInput = false;
    Configure(info, *source, params, cmykInput);
    jpeg_start_compress(&info, /*write_all_tables=*/TRUE);
    WriteMarkers(info, params);

    const int width = source->Width();
    const int height = source->Height();
    std::vector<JSAMPLE> cmyk(cmykInput ? size_t(width) * 4 : 0);
    for (int y = 0; y < height && !progress.Aborted(); ++y) {
        const uint8_t* row = source->ScanLine(y);
        JSAMPROW line = const_cast<JSAMPROW>(row);  // the library only reads input rows
        if (cmykInput) {
            JpegBgrToInvertedCmyk(row, cmyk.data(), width);
            line = cmyk.data();
        }
        jpeg_write_scanlines(&info, &line, 1);
        progress.Report(static_cast<int>(int64_t(y + 1) * 100 / height));
    }
    if (!progress.Aborted())
        jpeg_finish_compress(&info);
}
