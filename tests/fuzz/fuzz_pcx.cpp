// libFuzzer target: the PCX reader, then the writer over what it decoded.
#include "formats/pcx/pcx.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzCase c;
    TMemoryStream in(data, size);
    ReadPcx(in, c.bitmap, c.params, /*paramsOnly=*/false, c.progress, int64_t(size));
    if (c.WorthWriting()) {
        TMemoryStream out;
        WritePcx(out, c.bitmap, c.params, c.progress);
    }
    return 0;
}
