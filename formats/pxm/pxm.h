#pragma once
// Portable bitmap, greymap and pixmap reader and writer.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"

bool IsPxm(TStream& stream);
void ReadPxm(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool paramsOnly, TProgressRec& progress);
void WritePxm(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);
