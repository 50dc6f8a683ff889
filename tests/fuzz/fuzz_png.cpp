// libFuzzer target: the PNG reader, then the writer over what it decoded.
#include "formats/png/png.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzCase c;
    TMemoryStream in(data, size);
    IsPng(in);
    std::unique_ptr<TIEBitmap> mask;
    ReadPng(in, c.bitmap, c.params, /*mergeBackground=*/false, mask, /*paramsOnly=*/false, c.progress);
    if (c.WorthWriting()) {
        TMemoryStream out;
        c.bitmap.ConvertTo(ipf24RGB);
        WritePng(out, c.bitmap, c.params, mask.get(), c.progress);
    }
    return 0;
}
