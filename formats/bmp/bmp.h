#pragma once
// BMP reader and writer: Windows (40-byte and longer headers) and OS/2 (12- and 64-byte
// headers) bitmaps of 1, 4, 8, 16, 24 and 32 bits, RLE4 and RLE8, 16-bit bit fields.
//
// Damage the reader tolerates: palette indexes past the palette show black; run-length data past
// a row end or the last row is dropped, and pixels it never reaches are black. Rejected (Aborting
// set, before anything is allocated): a missing "BM" signature, a width or height of 0, a size
// over Params.MaxImageBytes, uncompressed pixel data longer than the stream, and bit counts or
// compressions without a decoder. Heights below zero are read as top-down rows.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"

// Reads one image at the stream position; dataSize is the bytes available from there (0 unknown).
void ReadBmp(TStream& stream, TIEBitmap& bitmap, int64_t dataSize, bool paramsOnly, TProgressRec& progress,
             TIOParamsVals& params);
// Writes one image at the stream position, from an ipf1Bit or ipf24RGB bitmap. The bitmap is
// left as it was; a short write sets Aborting and leaves the placeholder headers.
void WriteBmp(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);
