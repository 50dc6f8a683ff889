#include "formats/pcx/pcx.h"
// Placeholder until the PCX codec lands: every call gives up.
void ReadPcx(TStream&, TIEBitmap&, TIOParamsVals&, bool, TProgressRec& progress, int64_t) { progress.Abort(); }
void WritePcx(TStream&, TIEBitmap&, TIOParamsVals&, TProgressRec& progress) { progress.Abort(); }
