#pragma once
// BMP reader and writer.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"

// Reads one image at the stream position; dataSize is the bytes available from there (0 unknown).
void ReadBmp(TStream& stream, TIEBitmap& bitmap, int64_t dataSize, bool paramsOnly, TProgressRec& progress,
             TIOParamsVals& params);
// Writes one image at the stream position, from an ipf1Bit or ipf24RGB bitmap.
void WriteBmp(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);
