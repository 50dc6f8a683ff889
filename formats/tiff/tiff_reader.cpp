// TIFF reader: one page into a TIEBitmap. Damage policy: a page whose strips or tiles are
// missing, cut short or cannot be decompressed keeps the rows decoded so far and sets Aborting.
#include "formats/tiff/tiff.h"

#include "formats/core/checked_size.h"
#include "formats/core/iptc.h"
#include "formats/core/row_bits.h"
#include "formats/jpeg/jpeg.h"
#include "formats/tiff/ccitt_decoder.h"
#include "formats/tiff/packbits.h"
#include "formats/tiff/tiff_directory.h"
#include "formats/tiff/tiff_exif.h"
#include "formats/tiff/tiff_orientation.h"
#include "formats/tiff/tiff_pixels.h"
#include "formats/tiff/tiff_tags.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
uint8_t ReverseBits(uint8_t b) {
    b = uint8_t((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = uint8_t((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return uint8_t((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

// The reader state of one page.
struct TTIFFVars {
    uint32_t Width = 0, Height = 0;
    int Samples = 1, Bits = 1;
    uint32_t RowsPerStrip = 0;
    uint32_t TileWidth = 0, TileLength = 0;
    bool Tiled = false;
    int Photometric = 2, Planar = 1, Compression = 1;
    std::vector<uint32_t> Offsets, ByteCounts;
    std::vector<TRGB> Palette;
    int Predictor = 1;
    std::vector<uint8_t> JpegTables;
    uint32_t T4Options = 0;
    int FillOrder = 1;
    std::string Software;
    uint32_t JpegProc = 0, JpegOffset = 0, JpegLength = 0;
    int ExtraSamples = 0;
    int Orientation = 1;
    TTiffLzwDecompressor Lzw = nullptr;
};

// Decompresses the rows of one strip or tile.
class TRowSource {
public:
    TRowSource(const TTIFFVars& v, std::vector<uint8_t> data, size_t rowBytes, int pixels)
        : FV(v), FData(std::move(data)), FRowBytes(rowBytes), FRow(rowBytes + 8) {
        if (v.FillOrder == 2 && v.Compression >= 1 && v.Compression <= 4)
            for (auto& b : FData) b = ReverseBits(b);
        if (v.Compression >= 2 && v.Compression <= 4) {
            TCcittScheme scheme = v.Compression == 2 ? csHuffman : v.Compression == 3 ? csGroup3 : csGroup4;
            FCcitt = std::make_unique<TCcittDecoder>(FData.data(), FData.size(), pixels, scheme, v.T4Options & 1);
        } else if (v.Compression == 32773) {
            FPackBits = std::make_unique<TPackBitsDecoder>(FData.data(), FData.size());
        }
    }
    ~TRowSource() {
        if (FLzwState) FV.Lzw(nullptr, 0, 0, &FLzwState);
    }
    TRowSource(const TRowSource&) = delete;
    TRowSource& operator=(const TRowSource&) = delete;

    // The next row, or null when it cannot be had.
    uint8_t* Next() {
        switch (FV.Compression) {
        case 1:
            if (FPos + FRowBytes > FData.size()) return nullptr;
            std::memcpy(FRow.data(), FData.data() + FPos, FRowBytes);
            FPos += FRowBytes;
            return FRow.data();
        case 2: case 3: case 4:
            return FCcitt->DecodeRow(FRow.data()) ? FRow.data() : nullptr;
        case 5: {
            const uint8_t* row = FV.Lzw(FData.data(), FData.size(), int(FRowBytes), &FLzwState);
            if (!row) return nullptr;
            std::memcpy(FRow.data(), row, FRowBytes);
            return FRow.data();
        }
        case 32773:
            return FPackBits->DecodeRow(FRow.data(), FRowBytes) ? FRow.data() : nullptr;
        default:
            return nullptr;
        }
    }

private:
    const TTIFFVars& FV;
    std::vector<uint8_t> FData;
    size_t FRowBytes;
    std::vector<uint8_t> FRow;
    size_t FPos = 0;
    std::unique_ptr<TCcittDecoder> FCcitt;
    std::unique_ptr<TPackBitsDecoder> FPackBits;
    void* FLzwState = nullptr;
};

class TTiffReader {
public:
    TTiffReader(TStream& stream, TIOParamsVals& params, TProgressRec& progress, bool exifMode)
        : FStream(stream), FParams(params), FProgress(progress), FExifMode(exifMode), FFile(stream, 0) {}

    void Run(TIEBitmap& bitmap, int& pageCount, bool useStreamPosition, bool paramsOnly,
             std::unique_ptr<TIEBitmap>& mask);

private:
    bool Fail() { FProgress.Abort(); return false; }
    bool ReadTags(const TTiffDirectory& dir);
    void FillParams(const TTiffDirectory& dir);
    std::vector<uint8_t> ReadChunk(size_t index);
    bool DecodeStrips(TIEBitmap& bitmap, TIEBitmap* mask);
    bool DecodeTiles(TIEBitmap& bitmap, TIEBitmap* mask);
    bool DecodeJpegChunk(const std::vector<uint8_t>& data, TIEBitmap& bitmap, int x0, int y0);
    bool DecodeOldJpeg(TIEBitmap& bitmap);
    // Turns one decompressed chunky row into pixels.
    void PrepareRow(uint8_t* row, int pixels, uint8_t* dst, uint8_t* maskRow);
    size_t RowBytes(int pixels, bool plane) const {
        return size_t((int64_t(pixels) * (plane ? 1 : FV.Samples) * FV.Bits + 7) / 8);
    }
    void Progress(int64_t done, int64_t total) {
        if (total > 0) FProgress.Report(int(done * 100 / total));
    }

    TStream& FStream;
    TIOParamsVals& FParams;
    TProgressRec& FProgress;
    bool FExifMode;
    TTiffFile FFile;
    TTIFFVars FV;
    TTiffPixelLayout FLayout;
    std::vector<uint8_t> FUnpacked;
    int FRowsDone = 0;  // rows of a stripped page holding decoded pixels
};

bool TTiffReader::ReadTags(const TTiffDirectory& d) {
    FV.Width = d.Int(ttImageWidth, 0);
    FV.Height = d.Int(ttImageLength, 0);
    std::vector<uint32_t> bits = d.Ints(ttBitsPerSample);
    if (!bits.empty() && std::any_of(bits.begin(), bits.end(), [&](uint32_t b) { return b != bits[0]; })) return false;
    FV.Bits = bits.empty() ? 1 : int(std::min<uint32_t>(bits[0], 64));
    FV.Compression = int(d.Int(ttCompression, 1));
    FV.Photometric = int(d.Int(ttPhotometric, 2));
    FV.FillOrder = int(d.Int(ttFillOrder, 1));
    FV.Samples = int(std::min<uint32_t>(d.Int(ttSamplesPerPixel, 1), 64));
    FV.RowsPerStrip = d.Int(ttRowsPerStrip, FV.Height);
    if (FV.RowsPerStrip == 0 || FV.RowsPerStrip > FV.Height) FV.RowsPerStrip = FV.Height;
    FV.Planar = int(d.Int(ttPlanarConfig, 1));
    FV.T4Options = d.Int(ttT4Options, 0);
    FV.Predictor = int(d.Int(ttPredictor, 1));
    FV.Software = d.Ascii(ttSoftware);
    FV.ExtraSamples = int(d.Int(ttExtraSamples, 0));
    FV.Orientation = int(d.Int(ttOrientation, 1));
    FV.JpegTables = d.Bytes(ttJpegTables);
    FV.JpegProc = d.Int(ttJpegProc, 0);
    FV.JpegOffset = d.Int(ttJpegInterchangeFormat, 0);
    FV.JpegLength = d.Int(ttJpegInterchangeFormatLength, 0);
    FV.Tiled = d.Has(ttTileWidth) || d.Has(ttTileLength);
    if (FV.Tiled) {
        FV.TileWidth = d.Int(ttTileWidth, FV.Width);
        FV.TileLength = d.Int(ttTileLength, FV.Height);
        bool own = d.Has(ttTileOffsets);
        FV.Offsets = d.Ints(own ? ttTileOffsets : ttStripOffsets);
        FV.ByteCounts = d.Ints(own ? ttTileByteCounts : ttStripByteCounts);
    } else {
        FV.Offsets = d.Ints(ttStripOffsets);
        FV.ByteCounts = d.Ints(ttStripByteCounts);
    }
    if (FV.Bits <= 8 && d.Has(ttColorMap)) {
        const size_t n = size_t(1) << FV.Bits;
        std::vector<uint32_t> map = d.Ints(ttColorMap);
        FV.Palette.assign(n, TRGB{});
        for (size_t i = 0; i < n && 2 * n + i < map.size(); ++i)
            FV.Palette[i] = CreateRGB(uint8_t(map[i] >> 8), uint8_t(map[n + i] >> 8), uint8_t(map[2 * n + i] >> 8));
    }
    if (FV.Samples == 1 && FV.Bits == 1 && FV.Compression >= 1 && FV.Compression <= 4 && FV.Photometric == 2)
        FV.Photometric = 0;
    return true;
}

void TTiffReader::FillParams(const TTiffDirectory& d) {
    TIOParamsVals& p = FParams;
    p.Width = int(FV.Width);
    p.Height = int(FV.Height);
    p.BitsPerSample = FV.Bits;
    p.SamplesPerPixel = FV.Samples;
    switch (FV.Compression) {
    case 1: p.TiffCompression = 0; break;
    case 2: p.TiffCompression = 1; break;
    case 3: p.TiffCompression = FV.T4Options & 1 ? 3 : 2; break;
    case 4: case 5: case 6: case 7: p.TiffCompression = uint8_t(FV.Compression); break;
    case 32773: p.TiffCompression = 8; break;
    default: p.TiffCompression = 9; break;
    }
    if (FV.Photometric >= 0 && FV.Photometric <= 6) p.TiffPhotometric = uint8_t(FV.Photometric);
    else if (FV.Photometric == 8) p.TiffPhotometric = 7;
    p.TiffPlanarConfig = FV.Planar;
    const double factor = d.Int(ttResolutionUnit, 2) == 3 ? 2.54 : 1.0;
    auto scaled = [&](uint16_t tag) {
        double v = d.Rational(tag).value_or(0.0) * factor;
        return std::isfinite(v) && v >= 0 && v < 2e9 ? int(std::trunc(v)) : 0;
    };
    p.DpiX = scaled(ttXResolution);
    p.DpiY = scaled(ttYResolution);
    if (p.DpiX == 0) p.DpiX = IEDefaultDpi;
    if (p.DpiY == 0) p.DpiY = IEDefaultDpi;
    p.TiffXPos = scaled(ttXPosition);
    p.TiffYPos = scaled(ttYPosition);
    p.TiffDocumentName = d.Ascii(ttDocumentName);
    p.TiffImageDescription = d.Ascii(ttImageDescription);
    p.TiffPageName = d.Ascii(ttPageName);
    std::vector<uint32_t> page = d.Ints(ttPageNumber);
    p.TiffPageNumber = page.size() > 0 ? int(page[0]) : 0;
    p.TiffPageCount = page.size() > 1 ? int(page[1]) : 0;
    p.TiffOrientation = FV.Orientation;
    if (!FV.Palette.empty()) p.SetColorMap(FV.Palette.data(), int(FV.Palette.size()));
    std::vector<uint8_t> iptc = d.Bytes(ttIptc);
    p.IptcInfo = IEParseIptc(iptc.data(), iptc.size());
    if (!FExifMode) p.FileType = ftTIFF;
}

std::vector<uint8_t> TTiffReader::ReadChunk(size_t index) {
    std::vector<uint8_t> data;
    if (index >= FV.Offsets.size()) return data;
    uint32_t offset = FV.Offsets[index];
    int64_t avail = FFile.Available(offset);
    if (avail <= 0) return data;
    uint32_t count = index < FV.ByteCounts.size() ? FV.ByteCounts[index] : 0;
    int64_t n = count == 0 ? avail : std::min<int64_t>(count, avail);
    data.resize(size_t(n));
    if (!FFile.ReadAt(offset, data.data(), data.size())) data.clear();
    return data;
}

void TTiffReader::PrepareRow(uint8_t* row, int pixels, uint8_t* dst, uint8_t* maskRow) {
    const uint8_t* src = row;
    if (TiffNeedsUnpack(FLayout)) {
        TiffUnpackSamples(row, int64_t(pixels) * FV.Samples, FV.Bits, FUnpacked.data());
        src = FUnpacked.data();
    } else if (FV.Predictor == 2 && FV.Compression == 5 && FV.Planar == 1) {
        TiffUndoPredictor(row, pixels, FV.Samples, FV.Bits, FFile.BigEndian());
    }
    TiffConvertRow(FLayout, src, pixels, dst, maskRow);
}

bool TTiffReader::DecodeJpegChunk(const std::vector<uint8_t>& data, TIEBitmap& bitmap, int x0, int y0) {
    TMemoryStream strip(data.data(), data.size());
    TMemoryStream tables(FV.JpegTables.data(), FV.JpegTables.size());
    TIEBitmap part;
    TIOParamsVals partParams;
    bool aborting = false;
    TProgressRec sub;
    sub.Aborting = &aborting;
    const bool raw = FV.Photometric == 2;
    ReadJpeg(strip, FV.JpegTables.empty() ? nullptr : &tables, part, raw, false, sub, partParams);
    if (aborting || part.Empty()) return false;
    part.ConvertTo(ipf24RGB);
    const int w = std::min(part.Width(), bitmap.Width() - x0);
    for (int y = 0; y < part.Height() && y0 + y < bitmap.Height(); ++y) {
        const TRGB* src = reinterpret_cast<const TRGB*>(part.ScanLine(y));
        TRGB* dst = reinterpret_cast<TRGB*>(bitmap.ScanLine(y0 + y)) + x0;
        for (int x = 0; x < w; ++x) dst[x] = raw ? TRGB{src[x].r, src[x].g, src[x].b} : src[x];
    }
    return true;
}

bool TTiffReader::DecodeStrips(TIEBitmap& bitmap, TIEBitmap* mask) {
    const int width = int(FV.Width), height = int(FV.Height);
    const int rowsPerStrip = int(FV.RowsPerStrip);
    const size_t strips = (size_t(height) + size_t(rowsPerStrip) - 1) / size_t(rowsPerStrip);
    const bool planar = FV.Planar == 2 && FV.Samples > 1;
    const int planes = planar ? FV.Samples : 1;
    if (FV.Offsets.size() < strips * size_t(planes)) FProgress.Abort();  // decode what is there
    const size_t rowBytes = RowBytes(width, planar);
    const size_t sampleBytes = FV.Bits == 16 ? 2 : 1;
    std::vector<uint8_t> chunky(planar ? size_t(width) * size_t(planes) * sampleBytes + 8 : 0);
    std::vector<uint8_t> planeRow(planar ? size_t(width) * sampleBytes + 8 : 0);
    int y = 0;
    for (size_t s = 0; s < strips && y < height; ++s) {
        const int rows = std::min(rowsPerStrip, height - y);
        if (FV.Compression == 7) {
            if (!DecodeJpegChunk(ReadChunk(s), bitmap, 0, y)) return Fail();
            y += rows;
            FRowsDone = y;
            Progress(y, height);
            continue;
        }
        std::vector<std::unique_ptr<TRowSource>> sources;
        for (int p = 0; p < planes; ++p) {
            size_t index = s + size_t(p) * strips;
            if (index >= FV.Offsets.size()) return Fail();
            sources.push_back(std::make_unique<TRowSource>(FV, ReadChunk(index), rowBytes, width));
        }
        for (int r = 0; r < rows; ++r, ++y) {
            uint8_t* maskRow = mask ? mask->ScanLine(y) : nullptr;
            if (!planar) {
                uint8_t* row = sources[0]->Next();
                if (!row) return Fail();
                PrepareRow(row, width, bitmap.ScanLine(y), maskRow);
            } else {
                for (int p = 0; p < planes; ++p) {
                    uint8_t* row = sources[size_t(p)]->Next();
                    if (!row) return Fail();
                    const uint8_t* samples = row;
                    if (FV.Bits < 8) {
                        TiffUnpackSamples(row, width, FV.Bits, planeRow.data());
                        samples = planeRow.data();
                    } else if (FV.Predictor == 2 && FV.Compression == 5) {
                        TiffUndoPredictor(row, width, 1, FV.Bits, FFile.BigEndian());
                    }
                    for (int x = 0; x < width; ++x)
                        std::memcpy(&chunky[(size_t(x) * size_t(planes) + size_t(p)) * sampleBytes],
                                    samples + size_t(x) * sampleBytes, sampleBytes);
                }
                TiffConvertRow(FLayout, chunky.data(), width, bitmap.ScanLine(y), maskRow);
            }
            FRowsDone = y + 1;
            Progress(y + 1, height);
            if (FProgress.Aborted()) return false;
        }
    }
    return !FProgress.Aborted();
}

bool TTiffReader::DecodeTiles(TIEBitmap& bitmap, TIEBitmap* mask) {
    if (FV.Planar == 2 && FV.Samples > 1) return Fail();
    const int width = int(FV.Width), height = int(FV.Height);
    const int tw = int(FV.TileWidth), tl = int(FV.TileLength);
    if (tw <= 0 || tl <= 0 || tw > 65536 || tl > 65536) return Fail();
    const int across = (width + tw - 1) / tw, down = (height + tl - 1) / tl;
    const int64_t total = int64_t(across) * down;
    if (int64_t(FV.Offsets.size()) < total) FProgress.Abort();
    const size_t rowBytes = RowBytes(tw, false);
    const bool bilevel = bitmap.PixelFormat() == ipf1Bit;
    std::vector<uint8_t> pixels(bilevel ? size_t(tw + 7) / 8 + 8 : size_t(tw) * 3);
    std::vector<uint8_t> maskPixels(mask ? size_t(tw) : 0);
    int64_t done = 0;
    for (int ty = 0; ty < down; ++ty) {
        for (int tx = 0; tx < across; ++tx, ++done) {
            const size_t index = size_t(done);
            if (index >= FV.Offsets.size()) return Fail();
            const int x0 = tx * tw, y0 = ty * tl;
            const int visible = std::min(tw, width - x0);
            if (FV.Compression == 7) {
                if (!DecodeJpegChunk(ReadChunk(index), bitmap, x0, y0)) return Fail();
            } else {
                TRowSource source(FV, ReadChunk(index), rowBytes, tw);
                for (int r = 0; r < tl && y0 + r < height; ++r) {
                    uint8_t* row = source.Next();
                    if (!row) return Fail();
                    PrepareRow(row, tw, pixels.data(), mask ? maskPixels.data() : nullptr);
                    uint8_t* dst = bitmap.ScanLine(y0 + r);
                    if (bilevel) {
                        for (int x = 0; x < visible; ++x) {
                            if (IEGetBit(pixels.data(), x)) IESetBit(dst, x0 + x);
                            else IEClearBit(dst, x0 + x);
                        }
                    } else {
                        std::memcpy(dst + size_t(x0) * 3, pixels.data(), size_t(visible) * 3);
                    }
                    if (mask) std::memcpy(mask->ScanLine(y0 + r) + x0, maskPixels.data(), size_t(visible));
                }
            }
            Progress(done + 1, total);
            if (FProgress.Aborted()) return false;
        }
    }
    return !FProgress.Aborted();
}

bool TTiffReader::DecodeOldJpeg(TIEBitmap& bitmap) {
    int64_t avail = FFile.Available(FV.JpegOffset);
    if (FV.JpegOffset == 0 || avail <= 0) return Fail();
    int64_t n = FV.JpegLength == 0 || FV.JpegLength > avail ? avail : FV.JpegLength;
    std::vector<uint8_t> data(static_cast<size_t>(n));
    if (!FFile.ReadAt(FV.JpegOffset, data.data(), data.size())) return Fail();
    TMemoryStream jpeg(data.data(), data.size());
    TIOParamsVals jpegParams;
    ReadJpeg(jpeg, nullptr, bitmap, false, false, FProgress, jpegParams);
    return !FProgress.Aborted();
}

void TTiffReader::Run(TIEBitmap& bitmap, int& pageCount, bool useStreamPosition, bool paramsOnly,
                      std::unique_ptr<TIEBitmap>& mask) {
    pageCount = 0;
    FFile.SetBase(useStreamPosition ? FStream.Position() : 0);
    uint32_t first = 0;
    if (!FFile.ReadHeader(first) || first == 0) return (void)Fail();
    TTiffChain chain = WalkTiffChain(FFile, first, FParams.TiffImageIndex);
    pageCount = chain.PageCount;
    FParams.TiffImageCount = chain.PageCount;
    if (!chain.Found) return (void)Fail();
    TTiffDirectory dir(FFile, std::move(chain.Entries));
    if (!ReadTags(dir)) return (void)Fail();
    FillParams(dir);
    if (FExifMode) TiffReadExifBlock(FFile, dir, FParams.Exif);
    if (FV.Width == 0 || FV.Height == 0) return (void)Fail();
    if (paramsOnly) return;

    if (FV.Compression == 5) {
        FV.Lzw = FParams.TiffLzwDecompressor ? FParams.TiffLzwDecompressor : IEGlobalLzwSlots().TiffDecompressor;
        if (!FV.Lzw) return (void)Fail();
    }
    if (FV.Width > 0x7FFFFFF || FV.Height > 0x7FFFFFF) return (void)Fail();
    if (FV.Compression == 6 && FV.JpegProc < 2) {
        if (DecodeOldJpeg(bitmap) && FParams.TiffAdjustOrientation) TiffApplyOrientation(bitmap, FV.Orientation);
        return;
    }

    FLayout.Photometric = FV.Photometric;
    FLayout.Samples = FV.Samples;
    FLayout.Bits = FV.Bits;
    FLayout.BigEndian = FFile.BigEndian();
    FLayout.LookMolli = FV.Software.compare(0, 15, "Look@Molli v1.1") == 0;
    FLayout.Palette = FV.Palette.empty() ? nullptr : FV.Palette.data();
    FLayout.PaletteSize = int(FV.Palette.size());
    static constexpr int kCompressions[] = {1, 2, 3, 4, 5, 7, 32773};
    const bool jpeg = FV.Compression == 7;
    if (std::find(std::begin(kCompressions), std::end(kCompressions), FV.Compression) == std::end(kCompressions))
        return (void)Fail();
    if (!jpeg && !TiffLayoutSupported(FLayout)) return (void)Fail();
    if (FV.Compression >= 2 && FV.Compression <= 4 && !TiffIsBilevel(FLayout)) return (void)Fail();

    const TImagePixelFormat format = TiffIsBilevel(FLayout) && !jpeg ? ipf1Bit : ipf24RGB;
    if (!IEImageBytes(FV.Width, FV.Height, int(IEBitsPerPixel[format]), FParams.MaxImageBytes)) return (void)Fail();
    bitmap.Allocate(int(FV.Width), int(FV.Height), format);
    // Tiles may leave gaps; strips clear what they did not reach (below).
    if (FV.Tiled) bitmap.Fill(format == ipf1Bit ? 0xFF : 0x00);
    const int unpackWidth = int(FV.Tiled ? FV.TileWidth : FV.Width);
    if (TiffNeedsUnpack(FLayout)) FUnpacked.resize(size_t(unpackWidth) * size_t(FV.Samples) + 8);

    const bool wantMask = !FExifMode && ((FV.Samples == 4 && FV.ExtraSamples == 2) ||
                                         (FV.Samples == 2 && FV.Bits == 8) ||
                                         (FV.Samples == 4 && FV.Photometric == 2));
    if (wantMask) {
        mask = std::make_unique<TIEBitmap>();
        mask->Allocate(int(FV.Width), int(FV.Height), ipf8Gray);
        mask->Fill(255);
    }
    bool ok = FV.Tiled ? DecodeTiles(bitmap, mask.get()) : DecodeStrips(bitmap, mask.get());
    for (int y = FRowsDone; !FV.Tiled && y < int(FV.Height); ++y)
        std::memset(bitmap.ScanLine(y), format == ipf1Bit ? 0xFF : 0x00, size_t(bitmap.RowLen()));
    if (ok && FParams.TiffAdjustOrientation && FV.Orientation != 1) {
        TiffApplyOrientation(bitmap, FV.Orientation);
        if (mask) TiffApplyOrientation(*mask, FV.Orientation);
    }
}
}  // namespace

void ReadTiff(TIEBitmap& bitmap, TStream& stream, int& pageCount, bool exifMode, bool useStreamPosition,
              bool paramsOnly, std::unique_ptr<TIEBitmap>& mask, TProgressRec& progress, TIOParamsVals& params) {
    TTiffReader reader(stream, params, progress, exifMode);
    reader.Run(bitmap, pageCount, useStreamPosition, paramsOnly, mask);
}
