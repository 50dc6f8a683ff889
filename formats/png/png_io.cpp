#include "formats/png/png_io.h"

#include "formats/png/png.h"

#include <cmath>
#include <cstring>

namespace {

const char* const IEPngWriteError = "Error on creating PNG";

TPngStreamLink& LinkOf(png_structp png) { return *static_cast<TPngStreamLink*>(png_get_io_ptr(png)); }

[[noreturn]] void ReadError(png_structp png, png_const_charp)
{
    static_cast<const TPngStreamLink*>(png_get_error_ptr(png))->Progress->Abort();
    throw TPngReadAbort{};
}

[[noreturn]] void WriteError(png_structp, png_const_charp) { throw EInvalidGraphic(IEPngWriteError); }

void IgnoreWarning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep data, size_t length)
{
    if (LinkOf(png).Stream->Read(data, static_cast<int64_t>(length)) != static_cast<int64_t>(length))
        png_error(png, "Read Error");
}

void WriteData(png_structp png, png_bytep data, size_t length)
{
    TPngStreamLink& link = LinkOf(png);
    if (!link.Stream->WriteBuffer(data, static_cast<int64_t>(length)))
        link.Progress->Abort();
}

void FlushData(png_structp) {}

}  // namespace

TPngReader::TPngReader(TStream& stream, const TProgressRec& progress) : FLink{&stream, &progress}
{
    FPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, &FLink, ReadError, IgnoreWarning);
    if (!FPng)
        return;
    FInfo = png_create_info_struct(FPng);
    png_set_read_fn(FPng, &FLink, ReadData);
}

TPngReader::~TPngReader()
{
    if (FPng)
        png_destroy_read_struct(&FPng, FInfo ? &FInfo : nullptr, nullptr);
}

TPngWriter::TPngWriter(TStream& stream, const TProgressRec& progress) : FLink{&stream, &progress}
{
    FPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, &FLink, WriteError, IgnoreWarning);
    if (!FPng)
        throw EInvalidGraphic(IEPngWriteError);
    FInfo = png_create_info_struct(FPng);
    if (!FInfo) {
        png_destroy_write_struct(&FPng, nullptr);
        throw EInvalidGraphic(IEPngWriteError);
    }
    png_set_write_fn(FPng, &FLink, WriteData, FlushData);
}

TPngWriter::~TPngWriter() { png_destroy_write_struct(&FPng, &FInfo); }

int PngPixelsPerMetreToDpi(png_uint_32 pixelsPerMetre)
{
    return static_cast<int>(std::nearbyint(pixelsPerMetre / 100.0 * 2.54));
}

png_uint_32 PngDpiToPixelsPerMetre(int dpi)
{
    return dpi <= 0 ? 0 : static_cast<png_uint_32>(std::nearbyint(dpi * 100 / 2.54));
}

bool IsPng(TStream& stream)
{
    const int64_t start = stream.Position();
    png_byte signature[8] = {};
    const int64_t got = stream.Read(signature, 8);
    stream.SetPosition(start);
    return got == 8 && png_sig_cmp(signature, 0, 4) == 0;
}
