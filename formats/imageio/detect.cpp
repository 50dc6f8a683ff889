// Recognising a format from content.

#include "formats/imageio/format_table.h"
#include "formats/imageio/image_io.h"
#include "formats/jpeg/jpeg.h"
#include "formats/png/png.h"
#include "formats/pxm/pxm.h"

#include <cstring>

namespace {

// Up to 16 bytes from the start of the probe; the stream position is restored by the caller.
struct THead {
    uint8_t Bytes[16] = {};
    bool Starts(const char* text, size_t n) const { return std::memcmp(Bytes, text, n) == 0; }
};

// Icon and cursor directories: reserved 0, type 1 (icon) or 2 (cursor), at least one image
// whose directory entry has reserved byte 0 and one or no planes.
bool IsIconDirectory(const THead& h, int type)
{
    const int count = h.Bytes[4] | h.Bytes[5] << 8;
    return h.Bytes[0] == 0 && h.Bytes[1] == 0 && h.Bytes[2] == type && h.Bytes[3] == 0 && count > 0 &&
           h.Bytes[9] == 0;
}

bool IsJp2File(const THead& h) { return h.Starts("\x00\x00\x00\x0CjP  \x0D\x0A\x87\x0A", 12); }
bool IsJ2kStream(const THead& h) { return h.Starts("\xFF\x4F\xFF\x51", 4); }

TImageFileType Probe(TStream& stream, int64_t start, int64_t size)
{
    THead h;
    auto rewind = [&] { stream.SetPosition(start); };
    stream.Read(h.Bytes, sizeof h.Bytes);
    rewind();
    // Stream headers written with StreamHeaders: the name is zero-terminated.
    if (size > 12 && h.Starts("JFIF", 5)) return ftJPEG;
    if (size > 13 && h.Starts("GIF", 3)) return ftGIF;
    if (size > 12 && h.Starts("PCX2", 5)) return ftPCX;
    if (size > 4 && h.Starts("PCX", 4)) return ftPCX;
    if (size > 14 && h.Starts("BM", 2)) return ftBMP;
    if (size > 128 && h.Bytes[0] == 0x0A && h.Bytes[1] <= 5) return ftPCX;
    if (size > 12 && h.Starts("TIFF", 5)) return ftTIFF;
    if (size > 8 && (h.Starts("II", 2) || h.Starts("MM", 2))) return ftTIFF;
    if (size > 8) {
        const bool png = IsPng(stream);
        rewind();
        if (png) return ftPNG;
    }
    if (size >= 6 && IsIconDirectory(h, 1)) return ftICO;
    if (size >= 6 && IsIconDirectory(h, 2)) return ftCUR;
    const bool pxm = IsPxm(stream);
    rewind();
    if (pxm) return ftPXM;
    const int64_t jpeg = FindJpegStart(stream);
    rewind();
    if (jpeg >= 0) return ftJPEG;
    if (IsJp2File(h)) return ftJP2;
    if (IsJ2kStream(h)) return ftJ2K;
    return ftUnknown;
}

}  // namespace

TImageFileType TImageIO::FindStreamFormat(TStream& stream)
{
    const int64_t start = stream.Position();
    const int64_t size = stream.Size() - start;
    TImageFileType type = ftUnknown;
    try {
        type = Probe(stream, start, size);
    } catch (...) {
        type = ftUnknown;  // a probe that fails answers "not recognised"
    }
    stream.SetPosition(start);
    return type;
}

TImageFileType TImageIO::FindFileFormat(const std::string& fileName, bool verifyExtension)
{
    TImageFileType type = ftUnknown;
    try {
        TFileReadStream stream(fileName);
        type = FindStreamFormat(stream);
    } catch (...) {
        return ftUnknown;
    }
    if (!verifyExtension || type == ftUnknown) return type;
    const TFileFormatInfo* row = IEFindFormatByExtension(IEFileExtension(fileName));
    if (!row) return ftUnknown;
    // Icons and cursors share their content check; the extension tells them apart.
    if ((type == ftICO || type == ftCUR) && (row->FileType == ftICO || row->FileType == ftCUR)) return row->FileType;
    return type == row->FileType ? type : ftUnknown;
}
