#include "formats/png/png.h"
// Placeholder until the PNG codec lands: every call gives up.
void ReadPng(TStream&, TIEBitmap&, TIOParamsVals&, bool, std::unique_ptr<TIEBitmap>&, bool, TProgressRec& progress) { progress.Abort(); }
void WritePng(TStream&, TIEBitmap&, TIOParamsVals&, const TIEBitmap*, TProgressRec& progress) { progress.Abort(); }
bool IsPng(TStream&) { return false; }
