// libFuzzer target: the BMP reader, then the writer over what it decoded.
#include "formats/bmp/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemoryStream in(data, size);
    TIEBitmap bitmap;
    TIOParamsVals params;
    params.MaxImageBytes = int64_t(64) << 20;  // keep hostile sizes fast
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    ReadBmp(in, bitmap, int64_t(size), /*paramsOnly=*/false, progress, params);
    if (!aborting && !bitmap.Empty() && bitmap.Width() * int64_t(bitmap.Height()) < 65536) {
        TMemoryStream out;
        WriteBmp(out, bitmap, params, progress);
    }
    return 0;
}
