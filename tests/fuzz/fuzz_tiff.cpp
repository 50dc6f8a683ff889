// libFuzzer target: the TIFF reader (first two pages), then the writer over what it decoded.
#include "formats/tiff/tiff.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int page = 0; page < 2; ++page) {
        TFuzzCase c;
        TMemoryStream in(data, size);
        c.params.TiffImageIndex = page;
        int pageCount = 0;
        std::unique_ptr<TIEBitmap> mask;
        ReadTiff(c.bitmap, in, pageCount, /*exifMode=*/false, /*useStreamPosition=*/false, /*paramsOnly=*/false, mask,
                 c.progress, c.params);
        if (c.WorthWriting()) {
            TMemoryStream out;
            c.bitmap.ConvertTo(ipf24RGB);
            WriteTiff(out, /*append=*/false, c.bitmap, c.progress, c.params);
        }
        if (pageCount < 2) break;
    }
    return 0;
}
