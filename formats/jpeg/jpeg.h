#pragma once
// JPEG reader and writer over libjpeg.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"
#include <stdexcept>

// Raised inside the codec by the replaced libjpeg error exit, with the library's message.
class EIEJpegException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// tables: optional abbreviated table stream (JPEG-in-TIFF). rawColor: components without
// colour conversion. Failure sets Aborting.
void ReadJpeg(TStream& stream, TStream* tables, TIEBitmap& bitmap, bool rawColor, bool paramsOnly,
              TProgressRec& progress, TIOParamsVals& params);
// Library errors propagate as EIEJpegException.
void WriteJpeg(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);
// Position of the first FF D8 FF within 100 bytes of the current position, or -1; the
// position is restored.
int64_t FindJpegStart(TStream& stream);

// After a JPEG load: IptcInfo from the APP13 marker and the EXIF block from the APP1 "Exif"
// marker of Params.JpegMarkers (EXIF through the TIFF reader in EXIF mode).
void DecodeJpegMetadata(TIOParamsVals& params);
// Before a JPEG save: when IptcChanged, IptcInfo replaces the APP13 marker of JpegMarkers.
void FoldIptcIntoMarkers(TIOParamsVals& params);
