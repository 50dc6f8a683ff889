#include "formats/bmp/bmp.h"

#include "formats/bmp/bmp_rle.h"
#include "formats/core/checked_size.h"
#include "formats/core/row_bits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitFields = 3;

struct THeader {
    int64_t Width = 0, Height = 0;
    int BitCount = 0;
    uint32_t Compression = BiRgb;
    uint32_t ImageSize = 0;
    uint32_t Masks[3] = {0x7C00, 0x03E0, 0x001F};
};

// Pixels per metre to dots per inch, rounding half to even; 0 or less gives the default.
int DpiFromPpm(int32_t ppm)
{
    const int dpi = int(std::nearbyint(double(ppm) / 100.0 * 2.54));
    return dpi > 0 ? dpi : IEDefaultDpi;
}

// Length of the lowest run of set bits, and the shift that brings a field to 8 bits.
int MaskWidth(uint32_t mask)
{
    if (!mask) return 0;
    while (!(mask & 1)) mask >>= 1;
    int w = 0;
    while (mask & 1) { ++w; mask >>= 1; }
    return w;
}
uint32_t Shift(uint32_t v, int right) { return right >= 32 ? 0 : right >= 0 ? v >> right : right <= -32 ? 0 : v << -right; }

bool Supported(const THeader& h)
{
    switch (h.BitCount) {
    case 1: return h.Compression == BiRgb;
    case 4: return h.Compression == BiRgb || h.Compression == BiRle4;
    case 8: return h.Compression == BiRgb || h.Compression == BiRle8;
    case 16: case 24: case 32: return true;
    default: return false;
    }
}

class TBmpReader {
public:
    TBmpReader(TStream& s, TIEBitmap& b, TProgressRec& pr, TIOParamsVals& p) : S(s), B(b), Pr(pr), P(p) {}

    void Read(int64_t dataSize, bool paramsOnly)
    {
        const int64_t start = S.Position();
        uint8_t file[14];
        if (!S.ReadBuffer(file, 14) || file[0] != 'B' || file[1] != 'M') return Pr.Abort();
        const uint32_t fileSize = IEGetLE32(file + 2), pixelOffset = IEGetLE32(file + 10);
        if (fileSize != 0 && dataSize <= 0) dataSize = fileSize;

        uint8_t sizeField[4];
        if (!S.ReadBuffer(sizeField, 4)) return Pr.Abort();
        S.Seek(-4, soCurrent);
        const uint32_t headerSize = IEGetLE32(sizeField);
        P.FreeColorMap();
        THeader h;
        if (headerSize == 12) {
            if (!ReadCoreHeader(h)) return Pr.Abort();
        } else if (!ReadInfoHeader(h, headerSize)) {
            return Pr.Abort();
        }
        if (h.Compression == BiRle8 || h.Compression == BiRle4) P.BmpCompression = 1;
        else if (h.Compression == BiRgb || h.Compression == BiBitFields) P.BmpCompression = 0;

        if (pixelOffset != 0) S.SetPosition(start + pixelOffset);
        int64_t dataLength = dataSize > 0 ? dataSize - (S.Position() - start) : h.ImageSize;
        dataLength = std::clamp<int64_t>(dataLength > 0 ? dataLength : S.Remaining(), 0, S.Remaining());

        static const int Samples[][3] = {{1, 1, 1}, {4, 4, 1}, {8, 8, 1}, {16, 5, 3}, {24, 8, 3}, {32, 8, 3}};
        for (const auto& s : Samples)
            if (s[0] == h.BitCount) { P.BitsPerSample = s[1]; P.SamplesPerPixel = s[2]; }
        P.Width = int(h.Width);
        P.Height = int(std::abs(h.Height));
        if (paramsOnly) return;

        const bool topDown = h.Height < 0;
        const int64_t height = std::abs(h.Height);
        const TImagePixelFormat format = h.BitCount == 1 ? ipf1Bit : ipf24RGB;
        const int64_t stride = IERowLen(h.Width, uint32_t(h.BitCount));
        const bool compressed = h.Compression == BiRle8 || h.Compression == BiRle4;
        // Uncompressed rows must be in the stream (the last row's padding may be missing).
        const auto fileBytes = IECheckedMul(stride, height - 1);
        if (!Supported(h) || !IEImageBytes(h.Width, height, int(IEBitsPerPixel[format]), P.MaxImageBytes) ||
            h.Width > INT32_MAX || height > INT32_MAX ||
            (!compressed && (!fileBytes || *fileBytes + (h.Width * h.BitCount + 7) / 8 > S.Remaining())))
            return Pr.Abort();

        B.Allocate(int32_t(h.Width), int32_t(height), format);
        if (compressed) {
            B.Fill(0);  // pixels that the runs skip stay black
            std::vector<uint8_t> data(static_cast<size_t>(dataLength));
            data.resize(size_t(S.Read(data.data(), dataLength)));
            if (h.Compression == BiRle8) DecodeRle8(data.data(), data.size(), B, P.ColorMap, topDown, Pr);
            else DecodeRle4(data.data(), data.size(), B, P.ColorMap, topDown, Pr);
            return;
        }
        ReadRows(h, stride, topDown);
    }

private:
    bool ReadCoreHeader(THeader& h)
    {
        uint8_t core[12];
        if (!S.ReadBuffer(core, 12)) return false;
        P.BmpVersion = 2;
        h.Width = IEGetLE16(core + 4);
        h.Height = IEGetLE16(core + 6);
        h.BitCount = IEGetLE16(core + 10);
        P.DpiX = P.DpiY = IEDefaultDpi;
        if (h.BitCount <= 8) {
            const int count = 1 << h.BitCount;
            std::vector<uint8_t> entries(size_t(count) * 3);
            if (!S.ReadBuffer(entries.data(), int64_t(entries.size()))) return false;
            P.SetColorMap(reinterpret_cast<const TRGB*>(entries.data()), count);
        }
        return true;
    }

    bool ReadInfoHeader(THeader& h, uint32_t headerSize)
    {
        uint8_t info[64] = {};
        if (!S.ReadBuffer(info, std::min<int64_t>(headerSize, 64))) return false;
        if (headerSize > 64) S.Seek(int64_t(headerSize) - 64, soCurrent);
        P.BmpVersion = headerSize == 40 ? 1 : headerSize == 64 ? 3 : 0;
        h.Width = int32_t(IEGetLE32(info + 4));
        h.Height = int32_t(IEGetLE32(info + 8));
        h.BitCount = IEGetLE16(info + 14);
        h.Compression = IEGetLE32(info + 16);
        h.ImageSize = IEGetLE32(info + 20);
        P.DpiX = DpiFromPpm(int32_t(IEGetLE32(info + 24)));
        P.DpiY = DpiFromPpm(int32_t(IEGetLE32(info + 28)));
        if (h.Width <= 0 || h.Height == 0 || h.Height == INT32_MIN) return false;
        uint32_t used = IEGetLE32(info + 32);
        if (used > 256) used = 0;
        if (used == 0 && h.BitCount <= 8) used = 1u << h.BitCount;
        if (used) {
            std::vector<uint8_t> entries(size_t(used) * 4);
            if (!S.ReadBuffer(entries.data(), int64_t(entries.size()))) return false;
            std::vector<TRGB> colors(used);
            for (uint32_t i = 0; i < used; ++i) colors[i] = TRGB{entries[i * 4], entries[i * 4 + 1], entries[i * 4 + 2]};
            P.SetColorMap(colors.data(), int(used));
        }
        if (h.Compression == BiBitFields) {
            // Headers from 52 bytes on carry the masks themselves (not the OS/2 64-byte form).
            if (headerSize >= 52 && headerSize != 64) {
                for (int i = 0; i < 3; ++i) h.Masks[i] = IEGetLE32(info + 40 + 4 * i);
            } else {
                uint8_t masks[12];
                if (!S.ReadBuffer(masks, 12)) return false;
                for (int i = 0; i < 3; ++i) h.Masks[i] = IEGetLE32(masks + 4 * i);
            }
        }
        return true;
    }

    // Reports before each row and stops once aborted; false means stop.
    bool BeforeRow(int64_t done, int64_t height)
    {
        Pr.Report(int(std::trunc(double(done) * (100.0 / double(height)))));
        return !Pr.Aborted();
    }

    // The last row may lack its padding: whatever is missing reads as zeros.
    void ReadRow(uint8_t* out, int64_t stride)
    {
        const int64_t n = S.Read(out, stride);
        if (n < stride) std::memset(out + n, 0, size_t(stride - n));
    }

    TRGB PaletteColor(unsigned index) const { return index < P.ColorMap.size() ? P.ColorMap[index] : TRGB{}; }

    void ReadRows(const THeader& h, int64_t stride, bool topDown)
    {
        const int32_t width = B.Width(), height = B.Height();
        auto rowOf = [&](int32_t fileRow) { return topDown ? fileRow : height - 1 - fileRow; };
        std::vector<uint8_t> row;
        if (h.BitCount == 8) {
            // The whole block at once; the size check above bounds it by the stream.
            row.assign(size_t(stride) * size_t(height), 0);
            S.Read(row.data(), int64_t(row.size()));
        } else if (h.BitCount != 1 && h.BitCount != 24) {
            row.resize(size_t(stride));
        }
        const int rw = MaskWidth(h.Masks[0]), gw = MaskWidth(h.Masks[1]), bw = MaskWidth(h.Masks[2]);
        for (int32_t i = 0; i < height; ++i) {
            if (!BeforeRow(i, height)) return;
            uint8_t* out = B.ScanLine(rowOf(i));
            TRGB* rgb = reinterpret_cast<TRGB*>(out);
            switch (h.BitCount) {
            case 1:
            case 24:
                // Same stride in the file and the bitmap: straight into the row.
                ReadRow(out, stride);
                break;
            case 4:
                ReadRow(row.data(), stride);
                for (int32_t x = 0; x < width; ++x) rgb[x] = PaletteColor(IEGetNibble(row.data(), x));
                break;
            case 8: {
                const uint8_t* in = row.data() + size_t(i) * size_t(stride);
                for (int32_t x = 0; x < width; ++x) rgb[x] = PaletteColor(in[x]);
                break;
            }
            case 16:
                ReadRow(row.data(), stride);
                for (int32_t x = 0; x < width; ++x) {
                    const uint32_t v = IEGetLE16(row.data() + 2 * x);
                    rgb[x].r = uint8_t(Shift(v & h.Masks[0], rw + gw + bw - 8));
                    rgb[x].g = uint8_t(Shift(v & h.Masks[1], gw + bw - 8));
                    rgb[x].b = uint8_t(Shift((v & 0xFF) & (h.Masks[2] & 0xFF), bw - 8) & 0xFF);
                }
                break;
            case 32:
                ReadRow(row.data(), stride);
                for (int32_t x = 0; x < width; ++x) rgb[x] = TRGB{row[4 * x], row[4 * x + 1], row[4 * x + 2]};
                break;
            }
        }
        // A (white, black) palette stores white as 0: flip so that a set bit is white.
        if (h.BitCount == 1 && P.ColorMapCount == 2 && P.ColorMap[0] == CreateRGB(255, 255, 255) &&
            P.ColorMap[1] == CreateRGB(0, 0, 0)) {
            for (int32_t y = 0; y < height; ++y) {
                uint8_t* out = B.ScanLine(y);
                for (int32_t k = 0; k < B.RowLen(); ++k) out[k] = uint8_t(~out[k]);
            }
        }
    }

    TStream& S;
    TIEBitmap& B;
    TProgressRec& Pr;
    TIOParamsVals& P;
};

}  // namespace

void ReadBmp(TStream& stream, TIEBitmap& bitmap, int64_t dataSize, bool paramsOnly, TProgressRec& progress,
             TIOParamsVals& params)
{
    TBmpReader(stream, bitmap, progress, params).Read(dataSize, paramsOnly);
}
