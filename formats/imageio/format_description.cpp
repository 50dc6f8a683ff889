#include "formats/imageio/format_table.h"
#include "formats/imageio/image_io.h"

namespace {

// Suffix texts indexed by the record's enumeration value.
const char* const TiffSuffix[] = {" Uncompressed", " Huffman", " Group 3 Fax", " Group 3 Fax 2D", " Group 4 Fax",
                                  " LZW", " Jpeg v.5", " Jpeg", " PackBits RLE"};
const char* const JpegSuffix[] = {"", " Gray level", " YCbCr", " CMYK", " YCbCrK"};
const char* const BmpSuffix[] = {" ver.1", " ver.3", " OS/2 v.1", " OS/2 v.2"};
const char* const J2kSuffix[] = {" Gray level", " RGB", " YCbCr"};

template <size_t N>
std::string Pick(const char* const (&texts)[N], unsigned value)
{
    return value < N ? texts[value] : "";
}

}  // namespace

std::string GetFormatDescription(const TIOParamsVals& p)
{
    std::string text;
    if (const TFileFormatInfo* row = IEFindFormatByType(p.FileType))
        text = row->FullName + " (" + IEFirstExtension(*row) + ")";
    switch (p.FileType) {
    case ftTIFF: return text + Pick(TiffSuffix, p.TiffCompression);
    case ftGIF: return text + (p.GifInterlaced ? " Interlaced" : "");
    case ftJPEG: return text + Pick(JpegSuffix, p.JpegColorSpace);
    case ftPCX: return text + (p.PcxCompression == 0 ? " Uncompressed" : "");
    case ftBMP: return text + Pick(BmpSuffix, p.BmpVersion);
    case ftPNG: return text + (p.PngInterlaced ? " Interlaced" : "");
    case ftTGA: return text + (p.TgaCompressed ? " Compressed" : " Uncompressed");
    case ftJP2:
    case ftJ2K: return text + Pick(J2kSuffix, p.J2kColorSpace);
    default: return text;
    }
}
