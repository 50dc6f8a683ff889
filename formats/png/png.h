#pragma once
// PNG reader and writer over libpng.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"
#include <memory>

void ReadPng(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool mergeBackground,
             std::unique_ptr<TIEBitmap>& mask, bool paramsOnly, TProgressRec& progress);
void WritePng(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, const TIEBitmap* mask,
              TProgressRec& progress);
// True when the stream starts with the PNG signature; the position is restored.
bool IsPng(TStream& stream);
