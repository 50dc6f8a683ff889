#pragma once
// TIOParamsVals: the I/O parameter record that travels beside a bitmap. Readers store what they
// learned about a file, writers take from it how to encode, and it keeps its values from one
// operation to the next. Field names and defaults are the program's (see SetDefaultParams).

#include "formats/core/ie_bitmap.h"
#include "formats/core/lzw_slots.h"

#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Resolution that readers report for files without one: the usual logical screen resolution.
inline constexpr int IEDefaultDpi = 96;

enum TImageFileType : int32_t {
    ftUnknown = 0, ftTIFF, ftGIF, ftJPEG, ftPCX, ftBMP, ftICO, ftCUR, ftPNG, ftWMF, ftEMF, ftTGA,
    ftPXM, ftJP2, ftJ2K
};

// One APPn or COM marker of a JPEG file: its marker code (0xE0..0xEF, 0xFE) and payload.
struct TJpegMarker {
    uint8_t Marker = 0;
    std::vector<uint8_t> Data;
    friend bool operator==(const TJpegMarker&, const TJpegMarker&) = default;
};

// One IPTC record: record number, data set number and its bytes.
struct TIptcItem {
    int Record = 2;
    int DataSet = 0;
    std::string Data;
    friend bool operator==(const TIptcItem&, const TIptcItem&) = default;
};

// The EXIF values found in a JPEG APP1 block, keyed by the tag's name (for example
// "ExifMake", "ExifXResolution", "ExifExposureTime"). Rationals are stored as doubles.
struct TExifBlock {
    bool HasExif = false;
    std::shared_ptr<TIEBitmap> ExifThumbnail;  // shared so that Assign can copy the record
    std::map<std::string, std::string> Strings;
    std::map<std::string, int> Integers;
    std::map<std::string, double> Rationals;
    void Clear() { *this = TExifBlock(); }
};

class TIOParamsVals;

// What SetDefaultParams may read from the owning component: the attached image's size and the
// attached view's resolution. Either may be absent; the fields then keep their values.
class TIOParamsOwner {
public:
    virtual ~TIOParamsOwner() = default;
    virtual bool ImageSize(int& width, int& height) const = 0;
    virtual bool ViewResolution(int& dpiX, int& dpiY) const = 0;
};

// Every field of the record with its default; TIOParamsVals adds the operations. Kept apart so
// that defaults and copies come from one list.
struct TIOParamsFields {
    // Common
    int BitsPerSample = 8;
    int SamplesPerPixel = 3;
    int Width = 0;
    int Height = 0;
    int DpiX = 0;
    int DpiY = 0;
    TImageFileType FileType = ftUnknown;

    // TIFF
    uint8_t TiffCompression = 0;  // 0 none, 1 Huffman, 2 G3, 3 G3 2D, 4 G4, 5 LZW, 6 old JPEG, 7 JPEG, 8 PackBits
    int TiffImageIndex = 0;
    uint8_t TiffPhotometric = 2;  // 0 white is zero, 1 black is zero, 2 RGB, 3 palette, 4 mask, 5 CMYK, 6 YCbCr, 7 CIELab
    int TiffPlanarConfig = 1;
    int TiffXPos = 0;
    int TiffYPos = 0;
    std::string TiffDocumentName;
    std::string TiffImageDescription;
    std::string TiffPageName;
    int TiffPageNumber = 0;
    int TiffPageCount = 0;
    int TiffOrientation = 1;
    TTiffLzwDecompressor TiffLzwDecompressor = nullptr;
    TTiffLzwCompressor TiffLzwCompressor = nullptr;
    bool TiffAdjustOrientation = false;
    int TiffJpegQuality = 80;

    // GIF
    std::string GifVersion = "GIF89a";
    int GifImageIndex = 0;
    int GifXPos = 0;
    int GifYPos = 0;
    int GifDelayTime = 0;
    bool GifTransparent = false;
    TRGB GifTranspColor{};
    bool GifInterlaced = false;
    int GifWinWidth = 0;
    int GifWinHeight = 0;
    TRGB GifBackground{};
    int GifRatio = 0;
    std::vector<std::string> GifComments;
    TGifLzwDecompressor GifLzwDecompressor = nullptr;
    TGifLzwCompressor GifLzwCompressor = nullptr;

    // JPEG
    uint8_t JpegColorSpace = 2;  // 0 RGB, 1 grey, 2 YCbCr, 3 CMYK, 4 YCbCrK
    int JpegQuality = 80;
    uint8_t JpegDctMethod = 0;   // 0 accurate integer, 1 fast integer, 2 floating point
    bool JpegOptimalHuffman = false;
    int JpegSmooth = 0;
    bool JpegProgressive = false;
    uint8_t JpegScale = 1;       // 0 automatic, 1 full, 2 half, 3 quarter, 4 eighth
    std::vector<TJpegMarker> JpegMarkers;
    int JpegScaleUsed = 1;
    int JpegWarningCount = 0;
    int JpegWarningCode = 0;
    int JpegOriginalWidth = 0;
    int JpegOriginalHeight = 0;

    // JPEG 2000, PCX, BMP, icon and cursor
    uint8_t J2kColorSpace = 1;
    double J2kRate = 1.0;
    uint8_t J2kProgression = 0;
    int PcxVersion = 5;
    uint8_t PcxCompression = 1;  // 0 none, 1 run-length
    uint8_t BmpVersion = 1;      // 0 other header, 1 Windows 40 bytes, 2 OS/2 12 bytes, 3 OS/2 64 bytes
    uint8_t BmpCompression = 0;  // 0 none, 1 run-length
    int IcoImageIndex = 0;
    TRGB IcoBackground = CreateRGB(255, 255, 255);
    int CurImageIndex = 0;
    int CurXHotSpot = 0;
    int CurYHotSpot = 0;
    TRGB CurBackground = CreateRGB(255, 255, 255);

    // PNG
    bool PngInterlaced = false;
    TRGB PngBackground{};
    uint8_t PngFilter = 0;       // 0 none, 1 sub, 2 Paeth; other values leave libpng's choice
    int PngCompression = 5;

    // Targa
    int TgaXPos = 0;
    int TgaYPos = 0;
    bool TgaCompressed = true;
    std::string TgaDescriptor;
    std::string TgaAuthor;
    double TgaDate = 0.0;        // days since 1899-12-30, as a date-time double; today after SetDefaultParams
    std::string TgaImageName;
    TRGB TgaBackground{};
    double TgaAspectRatio = 1.0;
    double TgaGamma = 2.2;
    bool TgaGrayLevel = false;

    // Metadata and trailing fields
    std::vector<TIptcItem> IptcInfo;
    bool IptcChanged = false;    // set by whoever edits IptcInfo; the JPEG saver then rewrites APP13
    std::vector<std::string> PxmComments;
    TExifBlock Exif;
    std::string FileName;
    std::vector<TRGB> ColorMap;
    int ColorMapCount = 0;
    int GifImageCount = 0;
    int TiffImageCount = 0;
    std::array<std::pair<int, int>, 16> IcoSizes{{{64, 64}}};
    std::array<int, 16> IcoBitCounts{8};

    // Largest pixel buffer a reader may allocate for this record.
    int64_t MaxImageBytes = int64_t(1) << 30;
};

class TIOParamsVals : public TIOParamsFields {
public:
    explicit TIOParamsVals(const TIOParamsOwner* owner = nullptr);
    TIOParamsVals(const TIOParamsVals&) = delete;
    TIOParamsVals& operator=(const TIOParamsVals&) = delete;

    void SetDefaultParams();
    void ResetInfo();
    void Assign(const TIOParamsVals& source);
    void AssignCompression(const TIOParamsVals& source);

    // Palette of the file last read.
    void SetColorMap(const TRGB* colors, int count);
    void FreeColorMap() { ColorMap.clear(); ColorMapCount = 0; }

private:
    // Defaults without asking the owner, which may still be under construction.
    void ApplyDefaults();
    const TIOParamsOwner* FOwner;
};
