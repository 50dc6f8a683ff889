// TIFF writer: one little-endian page in a single strip, written new or linked into an
// existing little-endian file.
#include "formats/tiff/tiff.h"

#include "formats/core/bit_writer.h"
#include "formats/core/iptc.h"
#include "formats/core/row_bits.h"
#include "formats/jpeg/jpeg.h"
#include "formats/quantizer/quantizer.h"
#include "formats/tiff/ccitt_encoder.h"
#include "formats/tiff/packbits.h"
#include "formats/tiff/tiff_directory.h"
#include "formats/tiff/tiff_pixels.h"
#include "formats/tiff/tiff_tags.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
enum TOutputClass { ocBilevel, ocGrey, ocPalette, ocCmyk, ocLab, ocYCbCr, ocRgb };

// Tag number for each TiffCompression value.
constexpr uint16_t kCompressionTags[] = {1, 2, 3, 3, 4, 5, 1, 7, 32773};

class TTiffWriter {
public:
    TTiffWriter(TStream& stream, TProgressRec& progress, TIOParamsVals& params)
        : FStream(stream), FProgress(progress), FParams(params) {}
    int Run(bool append, TIEBitmap& bitmap);

private:
    bool Write(const void* p, size_t n) {
        if (FOk && n && !FStream.WriteBuffer(p, int64_t(n))) FOk = false;
        return FOk;
    }
    uint32_t Here() { return uint32_t(FStream.Position() - FStart); }
    void PadEven() { if (Here() & 1) Write("", 1); }
    // Adds an entry; values longer than 4 bytes go to the stream now, at an even position.
    void Entry(uint16_t tag, uint16_t type, uint32_t count, const std::vector<uint8_t>& value);
    void Short(uint16_t tag, std::vector<uint16_t> values);
    void Long(uint16_t tag, uint32_t value) { std::vector<uint8_t> v(4); IEPutLE32(v.data(), value); Entry(tag, tyLong, 1, v); }
    void Rational(uint16_t tag, uint32_t num, uint32_t den);
    void Ascii(uint16_t tag, const std::string& text);

    void PrepareBitmap(TIEBitmap& bitmap);
    void Normalise();
    bool WriteBilevel();
    bool WriteColour();
    bool WriteJpegData();
    bool WriteRows(const std::vector<uint8_t>& row, size_t rowBytes, bool last);
    void MakeColourRow(int y, std::vector<uint8_t>& row);

    TStream& FStream;
    TProgressRec& FProgress;
    TIOParamsVals& FParams;
    bool FOk = true;
    int64_t FStart = 0;
    std::vector<uint8_t> FEntries;
    uint16_t FEntryCount = 0;

    TIEBitmap* FSource = nullptr;
    TIEBitmap FWork;
    bool FQuantized = false;
    TRGB FPalette[256]{};
    int FPaletteSize = 0;
    std::unique_ptr<TIEQuantizer> FQuantizer;
    TOutputClass FClass = ocRgb;
    uint16_t FCompression = 1;
    int FBits = 8;
    bool FPredictor = false;
    TTiffLzwCompressor FLzw = nullptr;
    void* FLzwState = nullptr;
    std::vector<uint8_t> FPacked;
};

void TTiffWriter::Entry(uint16_t tag, uint16_t type, uint32_t count, const std::vector<uint8_t>& value) {
    uint8_t e[12]{};
    IEPutLE16(e, tag);
    IEPutLE16(e + 2, type);
    IEPutLE32(e + 4, count);
    if (value.size() <= 4) {
        std::memcpy(e + 8, value.data(), value.size());
    } else {
        PadEven();
        IEPutLE32(e + 8, Here());
        Write(value.data(), value.size());
    }
    FEntries.insert(FEntries.end(), e, e + 12);
    ++FEntryCount;
}

void TTiffWriter::Short(uint16_t tag, std::vector<uint16_t> values) {
    std::vector<uint8_t> v(values.size() * 2);
    for (size_t i = 0; i < values.size(); ++i) IEPutLE16(v.data() + 2 * i, values[i]);
    Entry(tag, tyShort, uint32_t(values.size()), v);
}

void TTiffWriter::Rational(uint16_t tag, uint32_t num, uint32_t den) {
    std::vector<uint8_t> v(8);
    IEPutLE32(v.data(), num);
    IEPutLE32(v.data() + 4, den);
    Entry(tag, tyRational, 1, v);
}

// ASCII values carry their terminating zero; up to 4 bytes they sit in the entry, where
// every reader looks for them.
void TTiffWriter::Ascii(uint16_t tag, const std::string& text) {
    std::vector<uint8_t> v(text.begin(), text.end());
    v.push_back(0);
    Entry(tag, tyAscii, uint32_t(v.size()), v);
}

void TTiffWriter::PrepareBitmap(TIEBitmap& bitmap) {
    FSource = &bitmap;
    const bool bilevel = FParams.BitsPerSample == 1 && FParams.SamplesPerPixel == 1;
    if (!bilevel && bitmap.PixelFormat() != ipf24RGB) {
        FWork.Assign(bitmap);
        FWork.ConvertTo(ipf24RGB);
        FSource = &FWork;
    }
    if (bilevel && bitmap.PixelFormat() != ipf1Bit) {
        TIEBitmap rgb;
        const TIEBitmap* colour = &bitmap;
        if (bitmap.PixelFormat() != ipf24RGB) {
            rgb.Assign(bitmap);
            rgb.ConvertTo(ipf24RGB);
            colour = &rgb;
        }
        // At most two colours map straight to black and white, the darker one black.
        TRGB found[2];
        int distinct = 0;
        for (int y = 0; y < colour->Height() && distinct <= 2; ++y) {
            const TRGB* row = reinterpret_cast<const TRGB*>(colour->ScanLine(y));
            for (int x = 0; x < colour->Width() && distinct <= 2; ++x) {
                if ((distinct > 0 && row[x] == found[0]) || (distinct > 1 && row[x] == found[1])) continue;
                if (distinct < 2) found[distinct] = row[x];
                ++distinct;
            }
        }
        if (distinct <= 2) {
            auto lum = [](const TRGB& c) { return std::lround((c.r * 21 + c.g * 71 + c.b * 8) / 100.0); };
            const TRGB white = distinct == 2 && lum(found[1]) > lum(found[0]) ? found[1] : found[0];
            const bool single = distinct < 2;
            FWork.Allocate(colour->Width(), colour->Height(), ipf1Bit);
            for (int y = 0; y < colour->Height(); ++y) {
                const TRGB* src = reinterpret_cast<const TRGB*>(colour->ScanLine(y));
                uint8_t* dst = FWork.ScanLine(y);
                std::memset(dst, 0, size_t(FWork.RowLen()));
                for (int x = 0; x < colour->Width(); ++x)
                    if (src[x] == white && (!single || lum(white) >= 128)) IESetBit(dst, x);
            }
        } else {
            FWork.Assign(*colour);
            FWork.ConvertTo(ipf1Bit);
        }
        FSource = &FWork;
    }
    const int bits = FParams.BitsPerSample;
    if (FParams.SamplesPerPixel == 1 && ((bits >= 2 && bits <= 8) || bits == 16) && FSource->PixelFormat() == ipf24RGB) {
        FPaletteSize = std::min(1 << bits, 256);
        FQuantizer = std::make_unique<TIEQuantizer>(*FSource, FPalette, FPaletteSize);
        FQuantized = true;
        if (FParams.TiffCompression != 5 && FParams.TiffCompression != 8) FParams.TiffCompression = 0;
        if (FQuantizer->IsGrayScale()) {
            FParams.TiffPhotometric = 1;
        } else {
            FParams.TiffPhotometric = 3;
            if (bits == 16) FParams.BitsPerSample = 8;
        }
    }
}

void TTiffWriter::Normalise() {
    TIOParamsVals& p = FParams;
    if (p.TiffPhotometric == 3 && p.SamplesPerPixel > 1) p.TiffPhotometric = 2;
    if (p.BitsPerSample > 8 && p.SamplesPerPixel != 1) {
        p.SamplesPerPixel = 3;
        p.BitsPerSample = 8;
        p.TiffPhotometric = 2;
    }
    if ((p.TiffPhotometric == 0 || p.TiffPhotometric == 1) && p.SamplesPerPixel == 3 && p.BitsPerSample == 8)
        p.TiffPhotometric = 2;
    if (p.TiffPhotometric == 2 && p.SamplesPerPixel == 1 && p.BitsPerSample == 1) p.TiffPhotometric = 1;
    if (p.TiffPhotometric == 6 && p.TiffCompression != 7) p.TiffPhotometric = 2;

    if (FSource->PixelFormat() == ipf1Bit) FClass = ocBilevel;
    else if (FQuantized) FClass = p.TiffPhotometric == 3 ? ocPalette : ocGrey;
    else if (p.TiffCompression == 7) FClass = ocYCbCr;
    else if (p.TiffPhotometric == 5) FClass = ocCmyk;
    else if (p.TiffPhotometric == 7) FClass = ocLab;
    else FClass = ocRgb;
    if (FClass == ocCmyk) p.SamplesPerPixel = 4;
    FBits = FQuantized ? p.BitsPerSample : 8;

    FCompression = p.TiffCompression < std::size(kCompressionTags) ? kCompressionTags[p.TiffCompression] : 1;
    const bool ccitt = FCompression >= 2 && FCompression <= 4;
    if (ccitt && FClass != ocBilevel) FCompression = 1;
    if (FCompression == 7 && FClass == ocBilevel) FCompression = 1;
    if (FCompression == 5) {
        FLzw = p.TiffLzwCompressor ? p.TiffLzwCompressor : IEGlobalLzwSlots().TiffCompressor;
        if (!FLzw) FCompression = 1;
    }
    FPredictor = FCompression == 5 && FClass == ocRgb;
}

bool TTiffWriter::WriteRows(const std::vector<uint8_t>& row, size_t rowBytes, bool last) {
    if (FCompression == 5) {
        if (!FLzw(row.data(), int(rowBytes), FStream, &FLzwState)) FOk = false;
        if (last && !FLzw(nullptr, 0, FStream, &FLzwState)) FOk = false;
        return FOk;
    }
    if (FCompression == 32773) {
        FPacked.clear();
        PackBitsEncodeRow(row.data(), rowBytes, FPacked);
        return Write(FPacked.data(), FPacked.size());
    }
    return Write(row.data(), rowBytes);
}

bool TTiffWriter::WriteBilevel() {
    const int w = FSource->Width(), h = FSource->Height();
    const size_t rowBytes = size_t(w + 7) / 8;
    std::vector<uint8_t> row(rowBytes + 8);
    if (FCompression >= 2 && FCompression <= 4) {
        TBitWriter bits(FStream);
        TCcittScheme scheme = FCompression == 2 ? csHuffman : FCompression == 3 ? csGroup3 : csGroup4;
        TCcittEncoder encoder(bits, w, scheme, FParams.TiffCompression == 3);
        for (int y = 0; y < h && bits.Ok(); ++y) {
            FProgress.Report(int(int64_t(y) * 100 / h));
            if (FProgress.Aborted()) return false;
            const uint8_t* src = FSource->ScanLine(y);
            for (size_t i = 0; i < rowBytes; ++i) row[i] = uint8_t(~src[i]);  // white is zero
            encoder.EncodeRow(row.data());
        }
        encoder.Finish();
        FOk = bits.Flush() && FOk;
        return FOk;
    }
    for (int y = 0; y < h && FOk; ++y) {
        FProgress.Report(int(int64_t(y) * 100 / h));
        if (FProgress.Aborted()) return false;
        std::memcpy(row.data(), FSource->ScanLine(y), rowBytes);
        if (w & 7) row[rowBytes - 1] &= uint8_t(0xFF << (8 - (w & 7)));
        WriteRows(row, rowBytes, y == h - 1);
    }
    return FOk;
}

void TTiffWriter::MakeColourRow(int y, std::vector<uint8_t>& row) {
    const int w = FSource->Width();
    const TRGB* src = reinterpret_cast<const TRGB*>(FSource->ScanLine(y));
    uint8_t* out = row.data();
    switch (FClass) {
    case ocCmyk:
        for (int x = 0; x < w; ++x, out += 4) {
            int m = std::max({src[x].r, src[x].g, src[x].b});
            if (m == 0) m = 1;
            out[0] = uint8_t(255 - src[x].r * 255 / m);
            out[1] = uint8_t(255 - src[x].g * 255 / m);
            out[2] = uint8_t(255 - src[x].b * 255 / m);
            out[3] = uint8_t(255 - (m == 1 && !src[x].r && !src[x].g && !src[x].b ? 0 : m));
        }
        break;
    case ocLab:
        for (int x = 0; x < w; ++x, out += 3) TiffRgbToLab(src[x], out);
        break;
    case ocGrey:
    case ocPalette: {
        std::memset(out, 0, row.size());
        const int max = (1 << FBits) - 1;
        for (int x = 0; x < w; ++x) {
            int index = FQuantizer->MapColor(src[x]);
            int v = FClass == ocPalette ? index : (FPalette[index].r * std::min(max, 255) + 127) / 255;
            if (FBits == 16) IEPutLE16(out + 2 * x, uint32_t(FPalette[index].r) * 257);
            else if (FBits == 8) out[x] = uint8_t(v);
            else {
                int64_t bit = int64_t(x) * FBits;
                out[bit >> 3] |= uint8_t(v << (8 - FBits - (bit & 7)));
            }
        }
        break;
    }
    default:
        for (int x = 0; x < w; ++x, out += 3) {
            out[0] = src[x].r;
            out[1] = src[x].g;
            out[2] = src[x].b;
        }
        break;
    }
}

bool TTiffWriter::WriteColour() {
    const int w = FSource->Width(), h = FSource->Height();
    const int samples = FClass == ocCmyk ? 4 : (FClass == ocGrey || FClass == ocPalette) ? 1 : 3;
    const size_t rowBytes = size_t((int64_t(w) * samples * FBits + 7) / 8);
    std::vector<uint8_t> row(rowBytes + 8), diff(FPredictor ? rowBytes + 8 : 0);
    for (int y = 0; y < h && FOk; ++y) {
        FProgress.Report(int(int64_t(y) * 100 / h));
        if (FProgress.Aborted()) return false;
        MakeColourRow(y, row);
        if (FPredictor) {
            TiffApplyPredictor(row.data(), diff.data(), w, 3);
            WriteRows(diff, rowBytes, y == h - 1);
        } else {
            WriteRows(row, rowBytes, y == h - 1);
        }
    }
    return FOk;
}

bool TTiffWriter::WriteJpegData() {
    TMemoryStream jpeg;
    TIOParamsVals jpegParams;
    jpegParams.JpegQuality = FParams.TiffJpegQuality;
    try {
        WriteJpeg(jpeg, *FSource, jpegParams, FProgress);
    } catch (const EIEJpegException&) {
        FProgress.Abort();
        return false;
    }
    if (FProgress.Aborted()) return false;
    return Write(jpeg.Memory(), size_t(jpeg.Size()));
}

int TTiffWriter::Run(bool append, TIEBitmap& bitmap) {
    if (bitmap.Empty()) { FProgress.Abort(); return 0; }
    // Appending: check the existing file and find where the new page links in.
    std::vector<uint32_t> chain;
    uint32_t firstDirectory = 0;
    append = append && FStream.Size() > 0;
    if (append) {
        TTiffFile file(FStream, 0);
        if (!file.ReadHeader(firstDirectory) || file.BigEndian()) { FProgress.Abort(); return 0; }
        chain = WalkTiffChain(file, firstDirectory, -1).Offsets;
        FStream.Seek(0, soEnd);
        FStart = 0;
        PadEven();
    } else {
        FStart = FStream.Position();
        const uint8_t placeholder[8]{};
        Write(placeholder, 8);
    }

    PrepareBitmap(bitmap);
    Normalise();
    const TIOParamsVals& p = FParams;
    const int w = FSource->Width(), h = FSource->Height();
    Long(ttImageWidth, uint32_t(w));
    Long(ttImageLength, uint32_t(h));
    switch (FClass) {
    case ocBilevel: Short(ttBitsPerSample, {1}); break;
    case ocGrey: case ocPalette: Short(ttBitsPerSample, {uint16_t(FBits)}); break;
    case ocCmyk: Short(ttBitsPerSample, {8, 8, 8, 8}); break;
    default: Short(ttBitsPerSample, {8, 8, 8}); break;
    }
    Short(ttCompression, {FCompression});
    uint16_t photometric = 2;
    switch (FClass) {
    case ocBilevel: photometric = FCompression >= 2 && FCompression <= 4 ? 0 : 1; break;
    case ocGrey: photometric = 1; break;
    case ocPalette: photometric = 3; break;
    case ocCmyk: photometric = 5; break;
    case ocYCbCr: photometric = 6; break;
    case ocLab: photometric = 8; break;
    case ocRgb: photometric = 2; break;
    }
    Short(ttPhotometric, {photometric});
    if (!p.TiffDocumentName.empty()) Ascii(ttDocumentName, p.TiffDocumentName);
    if (!p.TiffImageDescription.empty()) Ascii(ttImageDescription, p.TiffImageDescription);
    PadEven();
    const uint32_t dataStart = Here();
    Long(ttStripOffsets, dataStart);

    bool ok = FOk;
    if (ok) ok = FClass == ocBilevel ? WriteBilevel() : FCompression == 7 ? WriteJpegData() : WriteColour();
    if (FLzwState) FLzw(nullptr, 0, FStream, &FLzwState);
    if (!ok || !FOk || FProgress.Aborted()) {
        FProgress.Abort();
        return 0;
    }
    const uint32_t dataBytes = Here() - dataStart;

    Short(ttSamplesPerPixel, {uint16_t(FClass == ocCmyk ? 4 : FClass <= ocPalette ? 1 : 3)});
    Long(ttRowsPerStrip, uint32_t(h));
    Long(ttStripByteCounts, dataBytes);
    if (FPredictor) Short(ttPredictor, {2});
    Rational(ttXResolution, uint32_t(std::max(p.DpiX, 0)), 1);
    Rational(ttYResolution, uint32_t(std::max(p.DpiY, 0)), 1);
    if (!p.TiffPageName.empty()) Ascii(ttPageName, p.TiffPageName);
    Rational(ttXPosition, uint32_t(std::max(p.TiffXPos, 0)) * 10000u, 10000);
    Rational(ttYPosition, uint32_t(std::max(p.TiffYPos, 0)) * 10000u, 10000);
    if (FCompression == 3) Long(ttT4Options, p.TiffCompression == 3 ? 1 : 0);
    Short(ttResolutionUnit, {2});
    if (p.TiffPageNumber || p.TiffPageCount) Short(ttPageNumber, {uint16_t(p.TiffPageNumber), uint16_t(p.TiffPageCount)});
    std::vector<uint8_t> iptc = {0x1C, 0x02, 0x00, 0x00, 0x02, 0x00, 0x02};
    for (const auto& item : p.IptcInfo)
        if (!(item.Record == 2 && item.DataSet == 0)) IEAppendIptcItem(iptc, item.Record, item.DataSet, item.Data);
    while (iptc.size() % 4) iptc.push_back(0);
    Entry(ttIptc, tyLong, uint32_t(iptc.size() / 4), iptc);
    if (FClass == ocPalette) {
        const size_t n = size_t(1) << FBits;
        std::vector<uint16_t> map(3 * n, 0);
        for (size_t i = 0; i < n && i < size_t(FPaletteSize); ++i) {
            // × 257 rather than << 8, so that 255 stays full intensity in 16 bits.
            map[i] = uint16_t(FPalette[i].r * 257);
            map[n + i] = uint16_t(FPalette[i].g * 257);
            map[2 * n + i] = uint16_t(FPalette[i].b * 257);
        }
        Short(ttColorMap, map);
    }

    PadEven();
    const uint32_t directory = Here();
    uint32_t next = 0;
    int pages = 1;
    if (append) {
        const size_t index = size_t(std::clamp<int>(p.TiffImageIndex, 0, int(chain.size())));
        TTiffFile file(FStream, 0);
        (void)file.ReadHeader(firstDirectory);
        uint32_t linkAt = 4;
        if (index > 0) {
            uint8_t countBytes[2];
            file.ReadAt(chain[index - 1], countBytes, 2);
            linkAt = chain[index - 1] + 2 + 12u * file.U16(countBytes);
        }
        uint8_t old[4]{};
        if (index < chain.size()) file.ReadAt(linkAt, old, 4);
        next = index < chain.size() ? IEGetLE32(old) : 0;
        FStream.Seek(0, soEnd);
        pages = int(chain.size()) + 1;
        uint8_t link[4];
        IEPutLE32(link, directory);
        std::vector<uint8_t> dir(2 + FEntries.size() + 4);
        IEPutLE16(dir.data(), FEntryCount);
        std::memcpy(dir.data() + 2, FEntries.data(), FEntries.size());
        IEPutLE32(dir.data() + 2 + FEntries.size(), next);
        Write(dir.data(), dir.size());
        FStream.SetPosition(linkAt);
        Write(link, 4);
        FStream.Seek(0, soEnd);
    } else {
        std::vector<uint8_t> dir(2 + FEntries.size() + 4);
        IEPutLE16(dir.data(), FEntryCount);
        std::memcpy(dir.data() + 2, FEntries.data(), FEntries.size());
        IEPutLE32(dir.data() + 2 + FEntries.size(), next);
        Write(dir.data(), dir.size());
        const int64_t end = FStream.Position();
        uint8_t header[8] = {'I', 'I', 42, 0};
        IEPutLE32(header + 4, directory);
        FStream.SetPosition(FStart);
        Write(header, 8);
        FStream.SetPosition(end);
    }
    if (!FOk) {
        FProgress.Abort();
        return 0;
    }
    return pages;
}
}  // namespace

int WriteTiff(TStream& stream, bool append, TIEBitmap& bitmap, TProgressRec& progress, TIOParamsVals& params) {
    TTiffWriter writer(stream, progress, params);
    return writer.Run(append, bitmap);
}
