// ReadGif: decodes the image GifImageIndex of a GIF file, counts the images and collects the
// comments of all of them.
//
// Tolerated damage: a truncated file ends like a trailer; palette indexes beyond the colour
// table read as black; a background or transparent index beyond the table gives black. A file
// with no colour table at all reads its indexes through a grey ramp. The bitmap is reshaped
// only after its image decoded; a selected image that is empty, too large, or whose data the
// decoder refuses sets Aborting and leaves the bitmap as it was.

#include "formats/core/checked_size.h"
#include "formats/core/row_bits.h"
#include "formats/gif/gif.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kImageSeparator = 0x2C;
constexpr uint8_t kTrailer = 0x3B;
constexpr uint8_t kGraphicControlLabel = 0xF9;
constexpr uint8_t kCommentLabel = 0xFE;

// Most pixels one byte of LZW data can yield: a 3-bit code standing for a 4095-pixel string.
constexpr int64_t kMaxPixelsPerDataByte = 8 * 4096 / 3 + 1;

struct TColourTable {
    bool present = false;
    int sizeCode = 0;  // the table has 2^(sizeCode + 1) entries
    std::vector<TRGB> colours;

    int Count() const { return 2 << sizeCode; }
    // Entry i, or black for an index beyond the table.
    TRGB At(int i) const { return i >= 0 && size_t(i) < colours.size() ? colours[size_t(i)] : TRGB{}; }
};

struct TGraphicControl {
    uint8_t packed = 0;
    int delay = 0;
    uint8_t transparentIndex = 0;
};

int ReadByte(TStream& stream) {
    uint8_t b;
    return stream.Read(&b, 1) == 1 ? b : -1;
}

// Reads a table of file-order red, green, blue entries into blue, green, red triples.
TColourTable ReadColourTable(TStream& stream, int sizeCode) {
    TColourTable table;
    table.present = true;
    table.sizeCode = sizeCode;
    uint8_t rgb[256 * 3] = {};
    stream.Read(rgb, table.Count() * 3);
    table.colours.resize(size_t(table.Count()));
    for (int i = 0; i < table.Count(); ++i) table.colours[size_t(i)] = CreateRGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return table;
}

void SkipSubBlocks(TStream& stream) {
    int size;
    while ((size = ReadByte(stream)) > 0) stream.Seek(size, soCurrent);
}

void ReadComments(TStream& stream, std::vector<std::string>& comments) {
    int size;
    uint8_t block[255];
    while ((size = ReadByte(stream)) > 0) {
        const int64_t got = stream.Read(block, size);
        const size_t len = strnlen(reinterpret_cast<const char*>(block), size_t(got > 0 ? got : 0));
        if (len > 0) comments.emplace_back(reinterpret_cast<const char*>(block), len);
        if (got < size) break;
    }
}

TGraphicControl ReadGraphicControl(TStream& stream) {
    TGraphicControl control;
    const int size = ReadByte(stream);
    uint8_t data[255] = {};
    if (size > 0) stream.Read(data, size);
    control.packed = data[0];
    control.delay = IEGetLE16(data + 1);
    control.transparentIndex = data[3];
    SkipSubBlocks(stream);
    return control;
}

// Fills the bitmap (and the mask) from the decoded indexes.
void StoreImage(const std::vector<uint8_t>& indexes, int width, int height, const TColourTable& table,
                const TGraphicControl& control, bool transparent, bool noMask, std::unique_ptr<TIEBitmap>& mask,
                TIEBitmap& bitmap) {
    TRGB lookup[256];
    for (int i = 0; i < 256; ++i) lookup[i] = table.At(i);
    const TRGB black = CreateRGB(0, 0, 0), white = CreateRGB(255, 255, 255);
    const bool blackAndWhite = table.Count() == 2 && table.colours[0] == black && table.colours[1] == white;

    bitmap.Allocate(width, height, blackAndWhite ? ipf1Bit : ipf24RGB);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = indexes.data() + int64_t(y) * width;
        uint8_t* row = bitmap.ScanLine(y);
        if (blackAndWhite) {
            std::memset(row, 0, size_t(bitmap.RowLen()));
            for (int x = 0; x < width; ++x)
                if (in[x] == 1) IESetBit(row, x);
        } else {
            for (int x = 0; x < width; ++x, row += 3) {
                const TRGB c = lookup[in[x]];
                row[0] = c.b;
                row[1] = c.g;
                row[2] = c.r;
            }
        }
    }
    if (noMask) return;
    if (!mask) mask = std::make_unique<TIEBitmap>();
    mask->IsAlphaChannel = true;
    mask->Allocate(width, height, ipf8Gray);
    mask->Fill(255);
    if (!transparent) return;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = indexes.data() + int64_t(y) * width;
        uint8_t* row = mask->ScanLine(y);
        for (int x = 0; x < width; ++x)
            if (in[x] == control.transparentIndex) row[x] = 0;
    }
}

// A table with no colours of its own: indexes read as an even grey ramp.
TColourTable GreyRamp(int sizeCode) {
    TColourTable table;
    table.sizeCode = sizeCode;
    const int count = table.Count();
    table.colours.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        const auto v = uint8_t(i * 255 / (count - 1));
        table.colours[size_t(i)] = CreateRGB(v, v, v);
    }
    return table;
}

class TGifReader {
public:
    TGifReader(TStream& stream, TIEBitmap& bitmap, bool noMask, std::unique_ptr<TIEBitmap>& mask, bool paramsOnly,
               TProgressRec& progress, TIOParamsVals& params)
        : FStream(stream), FBitmap(bitmap), FNoMask(noMask), FMask(mask), FParamsOnly(paramsOnly),
          FProgress(progress), FParams(params) {}

    void Run(int& imageCount) {
        imageCount = 0;
        if (FProgress.Aborted()) return;
        FProgress.Report(0);
        if (!ReadScreen()) return;
        while (!FProgress.Aborted()) {
            const int b = ReadByte(FStream);
            if (b < 0 || b == kTrailer) break;
            if (b == kExtensionIntroducer) ReadExtension(imageCount);
            else if (b == kImageSeparator) ReadImage(imageCount++);
        }
        FParams.GifImageCount = imageCount;
        if (!FProgress.Aborted()) FProgress.Report(100);
    }

private:
    bool ReadScreen() {
        uint8_t screen[13];
        if (!FStream.ReadBuffer(screen, 13) || std::memcmp(screen, "GIF", 3) != 0) {
            FProgress.Abort();
            return false;
        }
        FParams.GifVersion = std::string(reinterpret_cast<const char*>(screen), 6) + '\0';
        FParams.GifWinWidth = IEGetLE16(screen + 6);
        FParams.GifWinHeight = IEGetLE16(screen + 8);
        FParams.GifRatio = screen[12];
        FParams.DpiX = FParams.DpiY = IEDefaultDpi;
        FParams.SamplesPerPixel = 1;
        const uint8_t packed = screen[10];
        FGlobal.sizeCode = packed & 7;
        if (packed & 0x80) {
            FGlobal = ReadColourTable(FStream, packed & 7);
            FParams.GifBackground = FGlobal.At(screen[11]);
        }
        if (FStream.Remaining() == 0) {
            FProgress.Abort();
            return false;
        }
        return true;
    }

    void ReadExtension(int imageCount) {
        const int label = ReadByte(FStream);
        if (label == kGraphicControlLabel && imageCount == FParams.GifImageIndex) FControl = ReadGraphicControl(FStream);
        else if (label == kCommentLabel) ReadComments(FStream, FParams.GifComments);
        else if (label >= 0) SkipSubBlocks(FStream);
    }

    void ReadImage(int imageIndex) {
        uint8_t descriptor[9] = {};
        FStream.Read(descriptor, 9);
        const uint8_t packed = descriptor[8];
        TColourTable local;
        if (packed & 0x80) local = ReadColourTable(FStream, packed & 7);
        if (imageIndex == FParams.GifImageIndex) {
            DecodeSelected(descriptor, local);
        } else {
            FStream.Seek(1, soCurrent);  // minimum code size
            SkipSubBlocks(FStream);
        }
    }

    void DecodeSelected(const uint8_t* descriptor, const TColourTable& local) {
        FProgress.Report(30);
        if (FProgress.Aborted()) return;
        const TColourTable& used = local.present ? local : FGlobal;
        const int width = IEGetLE16(descriptor + 4), height = IEGetLE16(descriptor + 6);
        FParams.GifTranspColor = used.At(FControl.transparentIndex);
        FParams.GifXPos = IEGetLE16(descriptor);
        FParams.GifYPos = IEGetLE16(descriptor + 2);
        FParams.Width = width;
        FParams.Height = height;
        FParams.GifDelayTime = FControl.delay;
        FParams.GifTransparent = FControl.packed & 1;
        FParams.GifInterlaced = descriptor[8] & 0x40;

        std::vector<uint8_t> indexes;
        if (FParamsOnly) {
            FStream.Seek(1, soCurrent);
            SkipSubBlocks(FStream);
        } else if (!DecodeIndexes(width, height, indexes)) {
            FProgress.Abort();
            return;
        } else {
            FProgress.Report(70);
            if (FProgress.Aborted()) return;
        }

        const TColourTable table = used.present ? used : GreyRamp(used.sizeCode);
        FParams.SetColorMap(table.colours.data(), table.Count());
        FParams.BitsPerSample = table.sizeCode + 1;
        FParams.ColorMapCount = table.Count();
        if (!FParamsOnly)
            StoreImage(indexes, width, height, table, FControl, FParams.GifTransparent, FNoMask, FMask, FBitmap);
    }

    bool DecodeIndexes(int width, int height, std::vector<uint8_t>& indexes) {
        const auto pixels = IECheckedMul(width, height);
        const TGifLzwDecompressor decode =
            FParams.GifLzwDecompressor ? FParams.GifLzwDecompressor : IEGlobalLzwSlots().GifDecompressor;
        if (!decode || !pixels || *pixels == 0 || !IEImageBytes(width, height, 24, FParams.MaxImageBytes) ||
            *pixels > FStream.Remaining() * kMaxPixelsPerDataByte)
            return false;
        indexes.assign(size_t(*pixels), 0);
        const int64_t before = FStream.Position();
        decode(FStream, height, width, indexes.data(), FParams.GifInterlaced);
        return FStream.Position() != before;
    }

    TStream& FStream;
    TIEBitmap& FBitmap;
    bool FNoMask;
    std::unique_ptr<TIEBitmap>& FMask;
    bool FParamsOnly;
    TProgressRec& FProgress;
    TIOParamsVals& FParams;
    TColourTable FGlobal;
    TGraphicControl FControl;
};

}  // namespace

void ReadGif(TStream& stream, TIEBitmap& bitmap, int& imageCount, bool noMask, std::unique_ptr<TIEBitmap>& mask,
             bool paramsOnly, TProgressRec& progress, TIOParamsVals& params) {
    TGifReader(stream, bitmap, noMask, mask, paramsOnly, progress, params).Run(imageCount);
}
