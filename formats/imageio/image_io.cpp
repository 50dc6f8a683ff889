#include "formats/imageio/image_io.h"

#include "formats/bmp/bmp.h"
#include "formats/core/checked_size.h"
#include "formats/gif/gif.h"
#include "formats/imageio/format_table.h"
#include "formats/imageio/resample.h"
#include "formats/jpeg/jpeg.h"
#include "formats/pcx/pcx.h"
#include "formats/png/png.h"
#include "formats/pxm/pxm.h"
#include "formats/tiff/tiff.h"

#include <cmath>

namespace {

// One codec as the load and save procedures see it. Formats without a codec have no entry.
struct TCodec {
    TImageFileType FileType;
    void (*Read)(TImageIO& io, TStream& stream, TProgressRec& progress, std::unique_ptr<TIEBitmap>& mask);
    void (*Write)(TImageIO& io, TStream& stream, TProgressRec& progress);
};

void SetBackground(TImageIO& io, TRGB color)
{
    io.Background = color;
    if (io.AttachedImage()) io.AttachedImage()->SetViewBackground(color);
}

const TCodec Codecs[] = {
    {ftTIFF,
     [](TImageIO& io, TStream& s, TProgressRec& pr, std::unique_ptr<TIEBitmap>& mask) {
         int pages = 0;
         ReadTiff(*io.IEBitmap(), s, pages, /*exifMode=*/false, /*useStreamPosition=*/false, /*paramsOnly=*/false,
                  mask, pr, io.Params);
         io.Params.TiffImageCount = pages;
     },
     [](TImageIO& io, TStream& s, TProgressRec& pr) { WriteTiff(s, /*append=*/false, *io.IEBitmap(), pr, io.Params); }},
    {ftGIF,
     [](TImageIO& io, TStream& s, TProgressRec& pr, std::unique_ptr<TIEBitmap>& mask) {
         int images = 0;
         ReadGif(s, *io.IEBitmap(), images, /*noMask=*/false, mask, /*paramsOnly=*/false, pr, io.Params);
         io.Params.GifImageCount = images;
         SetBackground(io, io.Params.GifTransparent ? io.Params.GifTranspColor : io.Params.GifBackground);
     },
     [](TImageIO& io, TStream& s, TProgressRec& pr) { WriteGif(s, *io.IEBitmap(), io.Params, pr); }},
    {ftJPEG,
     [](TImageIO& io, TStream& s, TProgressRec& pr, std::unique_ptr<TIEBitmap>&) {
         ReadJpeg(s, /*tables=*/nullptr, *io.IEBitmap(), /*rawColor=*/false, /*paramsOnly=*/false, pr, io.Params);
         DecodeJpegMetadata(io.Params);
     },
     [](TImageIO& io, TStream& s, TProgressRec& pr) {
         FoldIptcIntoMarkers(io.Params);
         WriteJpeg(s, *io.IEBitmap(), io.Params, pr);
     }},
    {ftPCX,
     [](TImageIO& io, TStream& s, TProgressRec& pr, std::unique_ptr<TIEBitmap>&) {
         ReadPcx(s, *io.IEBitmap(), io.Params, /*paramsOnly=*/false, pr, s.Size());
     },
     [](TImageIO& io, TStream& s, TProgressRec& pr) { WritePcx(s, *io.IEBitmap(), io.Params, pr); }},
    {ftBMP,
     [](TImageIO& io, TStream& s, TProgressRec& pr, std::unique_ptr<TIEBitmap>&) {
         ReadBmp(s, *io.IEBitmap(), s.Size() - s.Position(), /*paramsOnly=*/false, pr, io.Params);
     },
     [](TImageIO& io, TStream& s, TProgressRec& pr) { WriteBmp(s, *io.IEBitmap(), io.Params, pr); }},
    {ftPNG,
     [](TImageIO& io, TStream& s, TProgressRec& pr, std::unique_ptr<TIEBitmap>& mask) {
         io.Params.PngBackground = io.AttachedImage() ? io.AttachedImage()->ViewBackground() : io.Background;
         ReadPng(s, *io.IEBitmap(), io.Params, /*mergeBackground=*/false, mask, /*paramsOnly=*/false, pr);
         SetBackground(io, io.Params.PngBackground);
     },
     [](TImageIO& io, TStream& s, TProgressRec& pr) {
         TIEBitmap& b = *io.IEBitmap();
         WritePng(s, b, io.Params, b.HasAlphaChannel() ? b.AlphaChannel() : nullptr, pr);
     }},
    {ftPXM,
     [](TImageIO& io, TStream& s, TProgressRec& pr, std::unique_ptr<TIEBitmap>&) {
         ReadPxm(s, *io.IEBitmap(), io.Params, /*paramsOnly=*/false, pr);
     },
     [](TImageIO& io, TStream& s, TProgressRec& pr) { WritePxm(s, *io.IEBitmap(), io.Params, pr); }},
};

const TCodec* FindCodec(TImageFileType type)
{
    for (const TCodec& c : Codecs)
        if (c.FileType == type) return &c;
    return nullptr;
}

// Extension routing, in the program's order; loads and saves share it except where noted.
struct TRoute {
    const char* Extensions;  // lower case, with dots, separated by spaces
    TImageFileType FileType;
    bool Save;               // false: load only (metafiles and cursors cannot be written)
};

const TRoute Routes[] = {
    {".jpg .jpeg .jpe", ftJPEG, true},
    {".jp2", ftJP2, true},
    {".j2k .jpc .j2c", ftJ2K, true},
    {".png", ftPNG, true},
    {".tif .tiff .fax .g3n .g3f", ftTIFF, true},
    {".pcx", ftPCX, true},
    {".gif", ftGIF, true},
    {".wmf", ftWMF, false},
    {".emf", ftEMF, false},
    {".bmp .dib .rle", ftBMP, true},
    {".cur", ftCUR, false},
    {".ico", ftICO, true},
    // ".win" is routed to Targa though the format table does not list it.
    {".tga .targa .vda .icb .vst .win .pix", ftTGA, true},
    {".pxm .ppm .pgm .pbm", ftPXM, true},
};

const TRoute* FindRoute(const std::string& extension)
{
    if (extension.empty()) return nullptr;
    for (const TRoute& r : Routes) {
        const std::string list = std::string(" ") + r.Extensions + " ";
        if (list.find(" " + extension + " ") != std::string::npos) return &r;
    }
    return nullptr;
}

// Fires DoFinishWork when a procedure ends, also by an exception.
struct TFinishGuard {
    TImageIO& IO;
    ~TFinishGuard() { IO.DoFinishWork(); }
};

}  // namespace

TImageIO::TImageIO() : FOwnBitmap(std::make_unique<TIEBitmap>()) {}

TImageIO::~TImageIO() = default;

void TImageIO::SetAttachedImage(TIEViewLink* view)
{
    FView = view;
    if (!view) FOwnBitmap = std::make_unique<TIEBitmap>();
}

TIEBitmap* TImageIO::IEBitmap() { return FView ? &FView->IEBitmap() : FOwnBitmap.get(); }

bool TImageIO::ImageSize(int& width, int& height) const
{
    if (!FView) return false;
    width = FView->IEBitmap().Width();
    height = FView->IEBitmap().Height();
    return true;
}

bool TImageIO::ViewResolution(int& dpiX, int& dpiY) const
{
    if (!FView) return false;
    FView->GetResolution(dpiX, dpiY);
    return true;
}

void TImageIO::DoFinishWork()
{
    if (OnProgress) OnProgress(this, 100);
    if (OnFinishWork) OnFinishWork();
}

TProgressRec TImageIO::Progress()
{
    TProgressRec progress;
    progress.OnProgress = OnProgress;
    progress.Sender = this;
    progress.Aborting = &Aborting;
    return progress;
}

void TImageIO::GiveUp()
{
    Aborting = true;
    DoFinishWork();
}

// --- Loading

void TImageIO::LoadFromFile(const std::string& fileName)
{
    if (fileName.empty()) return GiveUp();
    std::string head = fileName.substr(0, 7);
    for (char& c : head) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (head == "http://") return LoadFromURL(fileName);
    const std::string extension = IEFileExtension(fileName);
    if (const TRoute* route = FindRoute(extension)) return LoadFileAs(fileName, route->FileType);
    // Any other extension: only a table row with a reader of its own could take it, and the
    // built-in rows all route above.
    Params.FileName.clear();
    Params.FileType = ftUnknown;
    Params.ResetInfo();
    GiveUp();
}

void TImageIO::LoadFileAs(const std::string& fileName, TImageFileType type)
{
    Aborting = true;
    TFinishGuard finish{*this};
    Params.ResetInfo();
    TFileReadStream stream(fileName);
    LoadStreamAs(stream, type);
    Params.FileName = fileName;
}

// Steps shared by file and stream loads; the caller fires DoFinishWork.
void TImageIO::LoadStreamAs(TStream& stream, TImageFileType type)
{
    const TCodec* codec = FindCodec(type);
    TIEBitmap& bitmap = *IEBitmap();
    Aborting = false;
    TProgressRec progress = Progress();
    bitmap.FreeAlphaChannel();
    std::unique_ptr<TIEBitmap> mask;
    if (codec) codec->Read(*this, stream, progress, mask);
    else progress.Abort();  // a format without a reader here gives up, like a reader of bad data
    if (mask) bitmap.ReplaceAlphaChannel(std::move(mask));
    if (AutoAdjustDPI) AdjustDPI();
    Params.FileType = type;
    if (FView) {
        FView->SetResolution(Params.DpiX, Params.DpiY);
        FView->ImageChanged();
    }
}

void TImageIO::LoadFromStream(TStream& stream)
{
    Aborting = true;
    TFinishGuard finish{*this};
    Params.ResetInfo();
    const TImageFileType type = FindStreamFormat(stream);
    if (type == ftUnknown || !FindCodec(type)) return;
    // A stream header ("JFIF", "TIFF", "PCX2"... padded to 8 bytes, then the length) precedes
    // the data of streams saved with StreamHeaders.
    char header[8] = {};
    const int64_t start = stream.Position();
    if (stream.Read(header, 8) == 8 && header[4] == 0 && header[7] == 0 &&
        (std::string(header) == "JFIF" || std::string(header) == "TIFF" || std::string(header) == "PCX2" ||
         std::string(header) == "PCX"))
        stream.SetPosition(start + 12);
    else
        stream.SetPosition(start);
    LoadStreamAs(stream, type);
}

void TImageIO::LoadFromFileTIFF(const std::string& fileName) { LoadFileAs(fileName, ftTIFF); }
void TImageIO::LoadFromFileJpeg(const std::string& fileName) { LoadFileAs(fileName, ftJPEG); }
void TImageIO::LoadFromFilePNG(const std::string& fileName) { LoadFileAs(fileName, ftPNG); }
void TImageIO::LoadFromFileBMP(const std::string& fileName) { LoadFileAs(fileName, ftBMP); }
void TImageIO::LoadFromFileGIF(const std::string& fileName) { LoadFileAs(fileName, ftGIF); }
void TImageIO::LoadFromFilePCX(const std::string& fileName) { LoadFileAs(fileName, ftPCX); }
void TImageIO::LoadFromFilePXM(const std::string& fileName) { LoadFileAs(fileName, ftPXM); }

// Squares the pixels of an image whose two resolutions differ, stretching the shorter side.
void TImageIO::AdjustDPI()
{
    TIEBitmap& bitmap = *IEBitmap();
    const int dpiX = Params.DpiX, dpiY = Params.DpiY;
    if (dpiX == dpiY || dpiX <= 0 || dpiY <= 0 || bitmap.Empty()) return;
    int64_t width = bitmap.Width(), height = bitmap.Height();
    if (width > height) height = int64_t(std::trunc(double(height) / dpiY * dpiX));
    else width = int64_t(std::trunc(double(width) / dpiX * dpiY));
    // Hostile resolutions must not make the image grow past the pixel limit.
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX ||
        !IEImageBytes(width, height, 24, Params.MaxImageBytes))
        return;
    if (FilteredAdjustDPI) IEResampleFiltered(bitmap, int32_t(width), int32_t(height));
    else IEStretchNearest(bitmap, int32_t(width), int32_t(height));
    if (bitmap.Width() != Params.Width) Params.Width = bitmap.Width();
    if (bitmap.Height() != Params.Height) Params.Height = bitmap.Height();
    if (dpiX < dpiY) Params.DpiX = dpiY;
    else Params.DpiY = dpiX;
}

// --- Saving

void TImageIO::SaveToFile(const std::string& fileName)
{
    const TRoute* route = FindRoute(IEFileExtension(fileName));
    if (route && route->Save) return SaveFileAs(fileName, route->FileType);
    // Unknown extensions and read-only formats: nothing is written.
    Aborting = true;
}

void TImageIO::SaveFileAs(const std::string& fileName, TImageFileType type)
{
    Aborting = true;
    TFinishGuard finish{*this};
    const TCodec* codec = FindCodec(type);
    if (!codec) return;  // a format without a writer here: no file is created
    TIEBitmap& bitmap = *IEBitmap();
    if (bitmap.PixelFormat() != ipf24RGB && bitmap.PixelFormat() != ipf1Bit) bitmap.ConvertTo(ipf24RGB);
    TAtomicFileWriteStream stream(fileName);
    Aborting = false;
    TProgressRec progress = Progress();
    try {
        codec->Write(*this, stream, progress);
    } catch (...) {
        Aborting = true;
        throw;
    }
    // The old file is replaced only by a complete one.
    if (!Aborting && !stream.Commit()) Aborting = true;
}

void TImageIO::SaveToFileTIFF(const std::string& fileName) { SaveFileAs(fileName, ftTIFF); }
void TImageIO::SaveToFileJpeg(const std::string& fileName) { SaveFileAs(fileName, ftJPEG); }
void TImageIO::SaveToFilePNG(const std::string& fileName) { SaveFileAs(fileName, ftPNG); }
void TImageIO::SaveToFileBMP(const std::string& fileName) { SaveFileAs(fileName, ftBMP); }
void TImageIO::SaveToFileGIF(const std::string& fileName) { SaveFileAs(fileName, ftGIF); }
void TImageIO::SaveToFilePCX(const std::string& fileName) { SaveFileAs(fileName, ftPCX); }
void TImageIO::SaveToFilePXM(const std::string& fileName) { SaveFileAs(fileName, ftPXM); }
