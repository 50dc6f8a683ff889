#include "formats/imageio/format_table.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(std::string s)
{
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

const std::vector<TFileFormatInfo>& IEFileFormats()
{
    static const std::vector<TFileFormatInfo> table = {
        {ftTIFF, "TIFF Bitmap", "TIF;TIFF;FAX;G3N;G3F", true, true},
        {ftGIF, "CompuServe Bitmap", "GIF", true, true},
        {ftJPEG, "JPEG Bitmap", "JPG;JPEG;JPE", true, true},
        {ftPCX, "PaintBrush", "PCX", true, true},
        {ftBMP, "Windows Bitmap", "BMP;DIB;RLE", true, true},
        {ftICO, "Windows Icon", "ICO", true, true},
        {ftCUR, "Windows Cursor", "CUR", true, false},
        {ftPNG, "Portable Network Graphics", "PNG", true, true},
        {ftWMF, "Windows Metafile", "WMF", true, false},
        {ftEMF, "Enhanced Windows Metafile", "EMF", true, false},
        {ftTGA, "Targa Bitmap", "TGA;TARGA;VDA;ICB;VST;PIX", true, true},
        {ftPXM, "Portable Pixmap, GreyMap, BitMap", "PXM;PPM;PGM;PBM", true, true},
        {ftJP2, "JPEG2000", "JP2", true, true},
        {ftJ2K, "JPEG2000 Code Stream", "J2K;JPC;J2C", true, true},
    };
    return table;
}

const TFileFormatInfo* IEFindFormatByExtension(std::string extension)
{
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    extension = Upper(extension);
    if (extension.empty()) return nullptr;
    for (const TFileFormatInfo& row : IEFileFormats()) {
        size_t start = 0;
        while (start <= row.Extensions.size()) {
            size_t end = row.Extensions.find(';', start);
            if (end == std::string::npos) end = row.Extensions.size();
            if (row.Extensions.compare(start, end - start, extension) == 0) return &row;
            start = end + 1;
        }
    }
    return nullptr;
}

const TFileFormatInfo* IEFindFormatByType(TImageFileType type)
{
    const auto& table = IEFileFormats();
    auto it = std::find_if(table.begin(), table.end(), [type](const TFileFormatInfo& r) { return r.FileType == type; });
    return it == table.end() ? nullptr : &*it;
}

bool IECanRead(const TFileFormatInfo& row)
{
    return row.FileType == ftGIF ? IEGlobalLzwSlots().GifDecompressor != nullptr : row.Readable;
}

bool IECanWrite(const TFileFormatInfo& row)
{
    return row.FileType == ftGIF ? IEGlobalLzwSlots().GifCompressor != nullptr : row.Writable;
}

std::string IEFirstExtension(const TFileFormatInfo& row) { return row.Extensions.substr(0, row.Extensions.find(';')); }

std::string IEFileExtension(const std::string& fileName)
{
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = fileName.substr(dot);
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}
