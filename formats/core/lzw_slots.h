#pragma once
// The program-wide LZW routine slots. They are empty at start; the main window fills the TIFF
// decoder, TIFF encoder and both GIF slots when it is created. Parameter records copy the slots
// when their defaults are set, and codecs fall back on the slots when a record's own is empty.

#include <cstddef>
#include <cstdint>

class TStream;

// TIFF decoder: called once per row with the whole strip (data, size never read past) and
// returns the next rowLen bytes, or null on an error or at the end of the data. The first call
// for a strip creates *state; a call with data == nullptr releases it.
using TTiffLzwDecompressor = const uint8_t* (*)(const uint8_t* data, size_t size, int rowLen, void** state);
// TIFF encoder: called once per row, then once with row == nullptr to end the strip and
// release *state. Returns false when writing to the stream failed.
using TTiffLzwCompressor = bool (*)(const uint8_t* row, int rowLen, TStream& stream, void** state);
// GIF decoder: reads the image data (minimum code size and sub-blocks) at the stream position
// into width × height pixel indexes; leaves the position unchanged to signal failure.
using TGifLzwDecompressor = void (*)(TStream& stream, int height, int width, uint8_t* pixels, bool interlaced);
// GIF encoder: writes the minimum code size, the sub-blocks and the block terminator.
using TGifLzwCompressor = void (*)(TStream& stream, int height, int width, int bits, const uint8_t* pixels,
                                   bool interlaced);

struct TIELzwSlots {
    TTiffLzwDecompressor TiffDecompressor = nullptr;
    TTiffLzwCompressor TiffCompressor = nullptr;
    TGifLzwDecompressor GifDecompressor = nullptr;
    TGifLzwCompressor GifCompressor = nullptr;
};

// The one process-wide instance.
TIELzwSlots& IEGlobalLzwSlots();
