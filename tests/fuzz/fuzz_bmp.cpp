// libFuzzer target: the BMP reader, then the writer over what it decoded.
#include "formats/bmp/bmp.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzCase c;
    TMemoryStream in(data, size);
    ReadBmp(in, c.bitmap, int64_t(size), /*paramsOnly=*/false, c.progress, c.params);
    if (c.WorthWriting()) {
        TMemoryStream out;
        WriteBmp(out, c.bitmap, c.params, c.progress);
    }
    return 0;
}
