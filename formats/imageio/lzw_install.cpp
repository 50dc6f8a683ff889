#include "formats/imageio/lzw_install.h"

#include "formats/core/lzw_slots.h"
#include "formats/gif/gif.h"
#include "formats/tiff/tiff.h"

void IEInstallProgramLzwRoutines()
{
    TIELzwSlots& slots = IEGlobalLzwSlots();
    slots.TiffDecompressor = TiffLzwDecode;
    slots.TiffCompressor = TiffLzwEncode;
    slots.GifDecompressor = DecodeGifLzw;
    slots.GifCompressor = EncodeGifRunLength;
}
