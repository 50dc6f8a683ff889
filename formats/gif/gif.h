#pragma once
// GIF reader and writer, and the default LZW coding routines.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"
#include <memory>

void ReadGif(TStream& stream, TIEBitmap& bitmap, int& imageCount, bool noMask, std::unique_ptr<TIEBitmap>& mask,
             bool paramsOnly, TProgressRec& progress, TIOParamsVals& params);
void WriteGif(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);

void DecodeGifLzw(TStream& stream, int height, int width, uint8_t* pixels, bool interlaced);
void EncodeGifRunLength(TStream& stream, int height, int width, int bits, const uint8_t* pixels, bool interlaced);
