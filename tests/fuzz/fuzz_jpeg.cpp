// libFuzzer target: the JPEG reader with its marker parsing, then the writer over what it decoded.
#include "formats/jpeg/jpeg.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFuzzCase c;
    TMemoryStream in(data, size);
    FindJpegStart(in);
    ReadJpeg(in, /*tables=*/nullptr, c.bitmap, /*rawColor=*/false, /*paramsOnly=*/false, c.progress, c.params);
    DecodeJpegMetadata(c.params);
    if (c.WorthWriting()) {
        TMemoryStream out;
        c.bitmap.ConvertTo(ipf24RGB);
        try {
            WriteJpeg(out, c.bitmap, c.params, c.progress);
        } catch (const EIEJpegException&) {
            // the writer reports library errors by exception; that is its contract
        }
    }
    return 0;
}
