#include "formats/bmp/bmp.h"

#include "formats/bmp/bmp_rle.h"
#include "formats/core/row_bits.h"
#include "formats/quantizer/quantizer.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

int32_t PpmFromDpi(int dpi) { return int32_t(std::nearbyint(double(dpi) / 2.54 * 100.0)); }

int Brightness(const TRGB& c) { return int(std::nearbyint((21.0 * c.r + 71.0 * c.g + 8.0 * c.b) / 100.0)); }

class TBmpWriter {
public:
    TBmpWriter(TStream& s, TIEBitmap& b, TIOParamsVals& p, TProgressRec& pr) : S(s), B(b), P(p), Pr(pr) {}

    void Write()
    {
        const int bits = P.BitsPerSample == 1 || P.BitsPerSample == 4 ? P.BitsPerSample : P.SamplesPerPixel == 1 ? 8 : 24;
        const bool core = P.BmpVersion == 2;
        const uint32_t headerSize = core ? 12 : P.BmpVersion == 3 ? 64 : 40;
        if (core && (B.Width() > 0xFFFF || B.Height() > 0xFFFF)) return Pr.Abort();  // no room in 16-bit fields
        const bool rle = !core && P.BmpCompression == 1 && (bits == 4 || bits == 8);
        const uint32_t compression = rle ? (bits == 4 ? 2 : 1) : 0;

        const int64_t start = S.Position();
        uint8_t file[14] = {'B', 'M'};
        uint8_t info[64] = {};
        IEPutLE32(info, headerSize);
        if (core) {
            IEPutLE16(info + 4, uint32_t(B.Width()));
            IEPutLE16(info + 6, uint32_t(B.Height()));
            IEPutLE16(info + 8, 1);
        } else {
            IEPutLE32(info + 4, uint32_t(B.Width()));
            IEPutLE32(info + 8, uint32_t(B.Height()));
            IEPutLE16(info + 12, 1);
            IEPutLE32(info + 16, compression);
            IEPutLE32(info + 24, uint32_t(PpmFromDpi(P.DpiX)));
            IEPutLE32(info + 28, uint32_t(PpmFromDpi(P.DpiY)));
            IEPutLE32(info + 32, bits <= 8 ? 1u << bits : 0);
            IEPutLE32(info + 36, 1u << bits);
        }
        if (!Put(file, 14) || !Put(info, headerSize)) return;

        int64_t pixelOffset = 0;
        if (bits == 4 || bits == 8) pixelOffset = WriteIndexed(bits, core, rle);
        else if (bits == 1) pixelOffset = WriteBlackWhite(core);
        else pixelOffset = WriteRgb();
        if (Pr.Aborted()) return;

        const int64_t end = S.Position();
        IEPutLE32(file + 2, uint32_t(end - start));
        IEPutLE32(file + 10, uint32_t(pixelOffset - start));
        if (core) {
            IEPutLE16(info + 10, uint32_t(bits));
        } else {
            IEPutLE16(info + 14, uint32_t(bits));
            IEPutLE32(info + 20, uint32_t(end - pixelOffset));
        }
        S.SetPosition(start);
        if (Put(file, 14) && Put(info, headerSize)) S.SetPosition(end);
    }

private:
    bool Put(const void* data, int64_t n)
    {
        if (S.WriteBuffer(data, n)) return true;
        Pr.Abort();
        return false;
    }

    bool BeforeRow(int64_t done)
    {
        Pr.Report(int(std::trunc(double(done) * (100.0 / double(B.Height())))));
        return !Pr.Aborted();
    }

    bool WritePalette(const std::vector<TRGB>& colors, bool core)
    {
        std::vector<uint8_t> bytes;
        for (const TRGB& c : colors) {
            bytes.insert(bytes.end(), {c.b, c.g, c.r});
            if (!core) bytes.push_back(0);
        }
        return Put(bytes.data(), int64_t(bytes.size()));
    }

    // Rows from the bottom one up, as the file stores them.
    template <typename RowBytes>
    void WriteRows(const TIEBitmap& source, RowBytes rowBytes)
    {
        for (int32_t i = 0; i < source.Height(); ++i) {
            if (!BeforeRow(i)) return;
            int64_t n = 0;
            const uint8_t* bytes = rowBytes(source.Height() - 1 - i, n);
            if (!Put(bytes, n)) return;
        }
    }

    int64_t WriteIndexed(int bits, bool core, bool rle)
    {
        TIEBitmap copy;
        const TIEBitmap* source = &B;
        if (B.PixelFormat() != ipf24RGB) {
            copy.Assign(B);
            copy.ConvertTo(ipf24RGB);
            source = &copy;
        }
        const int count = 1 << bits;
        std::vector<TRGB> palette(static_cast<size_t>(count));
        TIEQuantizer quantizer(const_cast<TIEBitmap&>(*source), palette.data(), count);
        P.SetColorMap(palette.data(), count);
        if (!WritePalette(palette, core)) return 0;
        const int64_t pixelOffset = S.Position();
        const int32_t width = source->Width();
        std::vector<uint8_t> indexes(static_cast<size_t>(width));
        std::vector<uint8_t> out(rle ? size_t(width) * 10 + 2 : size_t(IERowLen(width, uint32_t(bits))));
        WriteRows(*source, [&](int32_t y, int64_t& n) {
            const TRGB* row = reinterpret_cast<const TRGB*>(source->ScanLine(y));
            for (int32_t x = 0; x < width; ++x) indexes[size_t(x)] = uint8_t(quantizer.MapColor(row[x]));
            if (rle) {
                n = bits == 8 ? EncodeRle8Row(indexes.data(), width, out.data()) : EncodeRle4Row(indexes.data(), width, out.data());
                return out.data();
            }
            std::fill(out.begin(), out.end(), 0);
            if (bits == 8) std::memcpy(out.data(), indexes.data(), size_t(width));
            else
                for (int32_t x = 0; x < width; ++x) out[size_t(x) / 2] |= uint8_t(x & 1 ? indexes[size_t(x)] : indexes[size_t(x)] << 4);
            n = int64_t(out.size());
            return out.data();
        });
        if (rle && !Pr.Aborted()) Put("\x00\x01", 2);
        return pixelOffset;
    }

    int64_t WriteBlackWhite(bool core)
    {
        std::vector<TRGB> table = {CreateRGB(0, 0, 0), CreateRGB(255, 255, 255)};
        TIEBitmap bw;
        const TIEBitmap* source = &B;
        if (B.PixelFormat() != ipf1Bit) {
            source = &bw;
            if (!TwoColours(bw, table)) {
                // The caller's image stays as it is: convert a copy.
                bw.Assign(B);
                bw.ConvertTo(ipf1Bit);
                table = {CreateRGB(0, 0, 0), CreateRGB(255, 255, 255)};
            }
        }
        P.SetColorMap(table.data(), 2);
        if (!WritePalette(table, core)) return 0;
        const int64_t pixelOffset = S.Position();
        WriteRows(*source, [&](int32_t y, int64_t& n) {
            n = source->RowLen();
            return source->ScanLine(y);
        });
        return pixelOffset;
    }

    // An image of exactly two colours becomes bits over a table of its own colours, the darker
    // one first.
    bool TwoColours(TIEBitmap& bw, std::vector<TRGB>& table)
    {
        TRGB first{}, second{};
        int found = 0;
        for (int32_t y = 0; y < B.Height(); ++y) {
            const TRGB* row = reinterpret_cast<const TRGB*>(B.ScanLine(y));
            for (int32_t x = 0; x < B.Width(); ++x) {
                if (found == 0) { first = row[x]; found = 1; }
                else if (!(row[x] == first)) {
                    if (found == 1) { second = row[x]; found = 2; }
                    else if (!(row[x] == second)) return false;
                }
            }
        }
        if (found != 2) return false;
        const bool invert = Brightness(second) < Brightness(first);
        bw.Allocate(B.Width(), B.Height(), ipf1Bit);
        for (int32_t y = 0; y < B.Height(); ++y) {
            const TRGB* row = reinterpret_cast<const TRGB*>(B.ScanLine(y));
            uint8_t* out = bw.ScanLine(y);
            std::memset(out, 0, size_t(bw.RowLen()));
            for (int32_t x = 0; x < B.Width(); ++x)
                if ((row[x] == first) == invert) IESetBit(out, x);
        }
        table = invert ? std::vector<TRGB>{second, first} : std::vector<TRGB>{first, second};
        return true;
    }

    int64_t WriteRgb()
    {
        TIEBitmap copy;
        const TIEBitmap* source = &B;
        if (B.PixelFormat() != ipf24RGB) {
            copy.Assign(B);
            copy.ConvertTo(ipf24RGB);
            source = &copy;
        }
        const int64_t pixelOffset = S.Position();
        WriteRows(*source, [&](int32_t y, int64_t& n) {
            n = source->RowLen();
            return source->ScanLine(y);
        });
        return pixelOffset;
    }

    TStream& S;
    TIEBitmap& B;
    TIOParamsVals& P;
    TProgressRec& Pr;
};

}  // namespace

void WriteBmp(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress)
{
    if (bitmap.Empty()) return progress.Abort();
    TBmpWriter(stream, bitmap, params, progress).Write();
}
