// libFuzzer target: the GIF reader, then the writer over what it decoded.
#include "formats/gif/gif.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzCase c;
    TMemoryStream in(data, size);
    int imageCount = 0;
    std::unique_ptr<TIEBitmap> mask;
    ReadGif(in, c.bitmap, imageCount, /*noMask=*/false, mask, /*paramsOnly=*/false, c.progress, c.params);
    if (c.WorthWriting()) {
        TMemoryStream out;
        c.bitmap.ConvertTo(ipf24RGB);
        WriteGif(out, c.bitmap, c.params, c.progress);
    }
    return 0;
}
