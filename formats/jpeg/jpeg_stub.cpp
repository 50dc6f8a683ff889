#include "formats/jpeg/jpeg.h"
// Placeholder until the JPEG codec lands: every call gives up.
void ReadJpeg(TStream&, TStream*, TIEBitmap&, bool, bool, TProgressRec& progress, TIOParamsVals&) { progress.Abort(); }
void WriteJpeg(TStream&, TIEBitmap&, TIOParamsVals&, TProgressRec& progress) { progress.Abort(); }
int64_t FindJpegStart(TStream&) { return -1; }
void DecodeJpegMetadata(TIOParamsVals&) {}
void FoldIptcIntoMarkers(TIOParamsVals&) {}
