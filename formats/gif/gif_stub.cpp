#include "formats/gif/gif.h"
// Placeholder until the GIF codec lands: every call gives up.
void ReadGif(TStream&, TIEBitmap&, int& imageCount, bool, std::unique_ptr<TIEBitmap>&, bool, TProgressRec& progress,
             TIOParamsVals&) { imageCount = 0; progress.Abort(); }
void WriteGif(TStream&, TIEBitmap&, TIOParamsVals&, TProgressRec& progress) { progress.Abort(); }
void DecodeGifLzw(TStream&, int, int, uint8_t*, bool) {}
void EncodeGifRunLength(TStream&, int, int, int, const uint8_t*, bool) {}
