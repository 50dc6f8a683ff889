#include "formats/bmp/bmp.h"
// Placeholder until the BMP codec lands: every call gives up.
void ReadBmp(TStream&, TIEBitmap&, int64_t, bool, TProgressRec& progress, TIOParamsVals&) { progress.Abort(); }
void WriteBmp(TStream&, TIEBitmap&, TIOParamsVals&, TProgressRec& progress) { progress.Abort(); }
