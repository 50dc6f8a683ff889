#pragma once
// PCX reader and writer.
//
// Tolerated damage: a missing or short trailing palette reads as black entries; run-length
// data that ends early leaves the remaining pixels black; a bytes-per-line value too small
// for the width reads the missing bytes as 0. Headers with another manufacturer byte, more
// than 8 bits per plane, another encoding or a non-positive size set Aborting and leave the
// bitmap alone.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"

#include <cstddef>

// streamSize tells where the trailing palette is.
void ReadPcx(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool paramsOnly, TProgressRec& progress,
             int64_t streamSize);
void WritePcx(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress);

// Run-length codes count bytes of input taken every stride bytes from first into output
// (room for 2 × count + 1 bytes) and returns the number of bytes produced. An odd count gets
// one 0 byte appended, so the line decodes to its even length.
int EncodePcxLine(uint8_t* output, const uint8_t* input, int count, int stride, int first);

// Decodes plane lines from the image data, raw or run-length; a run that crosses the end of a
// line continues on the next one.
class TPcxLineDecoder {
public:
    TPcxLineDecoder(const uint8_t* data, size_t size, bool runLength) : FData(data), FSize(size), FRunLength(runLength) {}
    // Fills line[0 .. n-1]; bytes the data cannot provide keep their previous content.
    void DecodePcxLine(uint8_t* line, int n);

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FAt = 0;
    bool FRunLength;
    int FPending = 0;
    uint8_t FPendingValue = 0;
};
