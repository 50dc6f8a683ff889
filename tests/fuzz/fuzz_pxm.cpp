// libFuzzer target: the portable pixmap reader, then the writer over what it decoded.
#include "formats/pxm/pxm.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzCase c;
    TMemoryStream in(data, size);
    IsPxm(in);
    ReadPxm(in, c.bitmap, c.params, /*paramsOnly=*/false, c.progress);
    if (c.WorthWriting()) {
        TMemoryStream out;
        WritePxm(out, c.bitmap, c.params, c.progress);
    }
    return 0;
}
