#include "formats/pxm/pxm.h"
// Placeholder until the portable pixmap codec lands: every call gives up.
bool IsPxm(TStream&) { return false; }
void ReadPxm(TStream&, TIEBitmap&, TIOParamsVals&, bool, TProgressRec& progress) { progress.Abort(); }
void WritePxm(TStream&, TIEBitmap&, TIOParamsVals&, TProgressRec& progress) { progress.Abort(); }
