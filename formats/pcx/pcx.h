#pragma once
// PCX reader and writer.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"

// streamSize tells where the trailing palette is.
void ReadPcx(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool paramsOnly, TProgressRec& progress,
             int64_t streamSize);
void WritePcx(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);
