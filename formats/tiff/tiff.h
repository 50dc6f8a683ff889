#pragma once
// TIFF reader and writer.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"
#include <memory>

// Reads page Params.TiffImageIndex; pageCount receives the number of pages. A page with alpha
// hands back its transparency mask (unless exifMode). Failure sets Aborting.
void ReadTiff(TIEBitmap& bitmap, TStream& stream, int& pageCount, bool exifMode, bool useStreamPosition,
              bool paramsOnly, std::unique_ptr<TIEBitmap>& mask, TProgressRec& progress, TIOParamsVals& params);
// Writes one page (inserted at TiffImageIndex of an existing little-endian file when append);
// returns the number of pages in the file. Failure sets Aborting.
int WriteTiff(TStream& stream, bool append, TIEBitmap& bitmap, TProgressRec& progress, TIOParamsVals& params);

// The program's LZW routines for the program-wide slots.
const uint8_t* TiffLzwDecode(const uint8_t* data, size_t size, int rowLen, void** state);
bool TiffLzwEncode(const uint8_t* row, int rowLen, TStream& stream, void** state);
