#include "formats/tiff/tiff.h"
// Placeholder until the TIFF codec lands: every call gives up.
void ReadTiff(TIEBitmap&, TStream&, int& pageCount, bool, bool, bool, std::unique_ptr<TIEBitmap>&,
              TProgressRec& progress, TIOParamsVals&) { pageCount = 0; progress.Abort(); }
int WriteTiff(TStream&, bool, TIEBitmap&, TProgressRec& progress, TIOParamsVals&) { progress.Abort(); return 0; }
const uint8_t* TiffLzwDecode(const uint8_t*, size_t, int, void**) { return nullptr; }
bool TiffLzwEncode(const uint8_t*, int, TStream&, void**) { return false; }
