#include "formats/bmp/bmp_rle.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixels land through the cursor; everything outside the bitmap is dropped.
class TRleCursor {
public:
    TRleCursor(TIEBitmap& bitmap, const std::vector<TRGB>& palette, bool topDown)
        : FBitmap(bitmap), FPalette(palette), FTopDown(topDown) {}

    void Put(uint8_t index)
    {
        if (X < FBitmap.Width() && Y < FBitmap.Height()) {
            const int32_t row = FTopDown ? int32_t(Y) : FBitmap.Height() - 1 - int32_t(Y);
            TRGB* out = reinterpret_cast<TRGB*>(FBitmap.ScanLine(row));
            out[X] = index < FPalette.size() ? FPalette[index] : TRGB{};
        }
        ++X;
    }
    int64_t X = 0, Y = 0;

private:
    TIEBitmap& FBitmap;
    const std::vector<TRGB>& FPalette;
    bool FTopDown;
};

template <bool Nibbles>
void DecodeRle(const uint8_t* data, size_t size, TIEBitmap& bitmap, const std::vector<TRGB>& palette, bool topDown,
               const TProgressRec& progress)
{
    TRleCursor cursor(bitmap, palette, topDown);
    const int64_t width = bitmap.Width(), height = bitmap.Height();
    size_t i = 0;
    while (i + 1 < size) {
        const uint8_t c = data[i], v = data[i + 1];
        i += 2;
        if (c != 0) {
            // Runs beyond the row end are dropped at once rather than pixel by pixel.
            const int count = int(std::min<int64_t>(c, std::max<int64_t>(0, width - cursor.X)));
            for (int k = 0; k < count; ++k) cursor.Put(Nibbles ? (k & 1 ? v & 0x0F : v >> 4) : v);
            cursor.X += c - count;
            continue;
        }
        if (v == 0) {  // end of line
            cursor.X = 0;
            if (++cursor.Y >= height) return;
            progress.Report(int(std::trunc(double(cursor.Y) * (100.0 / double(height)))));
            if (progress.Aborted()) return;
        } else if (v == 1) {  // end of bitmap
            return;
        } else if (v == 2) {  // delta
            if (i + 1 >= size) return;
            cursor.X += data[i];
            cursor.Y += data[i + 1];
            i += 2;
        } else {  // absolute run of v pixels
            const size_t bytes = Nibbles ? (size_t(v) + 1) / 2 : v;
            if (i + bytes > size) return;
            for (int k = 0; k < v; ++k) {
                const uint8_t b = data[i + (Nibbles ? size_t(k) / 2 : size_t(k))];
                cursor.Put(Nibbles ? (k & 1 ? b & 0x0F : b >> 4) : b);
            }
            i += bytes + (bytes & 1);
        }
    }
}

template <bool Nibbles>
int FlushLiterals(const uint8_t* p, int& l, int i, uint8_t* out, int o)
{
    while (l < i) {
        const int k = std::min(i - l, 255);
        if (k == 1) {
            out[o++] = 0x01;
            out[o++] = Nibbles ? uint8_t(p[l] << 4) : p[l];
        } else if (k == 2) {
            if (Nibbles) {
                out[o++] = 0x02;
                out[o++] = uint8_t(p[l] << 4 | (p[l + 1] & 0x0F));
            } else {
                out[o++] = 0x01;
                out[o++] = p[l];
                out[o++] = 0x01;
                out[o++] = p[l + 1];
            }
        } else {
            out[o++] = 0x00;
            out[o++] = uint8_t(k);
            int bytes;
            if (Nibbles) {
                for (int m = 0; m < k / 2; ++m) out[o++] = uint8_t(p[l + 2 * m] << 4 | (p[l + 2 * m + 1] & 0x0F));
                if (k & 1) out[o++] = uint8_t(p[l + k - 1] << 4);
                bytes = (k + 1) / 2;
            } else {
                for (int m = 0; m < k; ++m) out[o++] = p[l + m];
                bytes = k;
            }
            if (bytes & 1) out[o++] = 0;
        }
        l += k;
    }
    return o;
}

template <bool Nibbles>
int EncodeRow(const uint8_t* p, int n, uint8_t* out)
{
    int o = 0, i = 0, l = 0;
    while (i < n) {
        if (i - l > 255) o = FlushLiterals<Nibbles>(p, l, i, out, o);
        if (i + 1 < n && p[i] == p[i + 1]) {
            o = FlushLiterals<Nibbles>(p, l, i, out, o);
            int j = i + 2;
            while (j < n && p[j] == p[i] && j - i < 255) ++j;
            out[o++] = uint8_t(j - i);
            out[o++] = Nibbles ? uint8_t(p[i] << 4 | (p[i] & 0x0F)) : p[i];
            l = i = j;
        } else {
            ++i;
        }
    }
    o = FlushLiterals<Nibbles>(p, l, n, out, o);
    out[o++] = 0x00;
    out[o++] = 0x00;
    return o;
}

}  // namespace

void DecodeRle8(const uint8_t* data, size_t size, TIEBitmap& bitmap, const std::vector<TRGB>& palette, bool topDown,
                const TProgressRec& progress)
{
    DecodeRle<false>(data, size, bitmap, palette, topDown, progress);
}

void DecodeRle4(const uint8_t* data, size_t size, TIEBitmap& bitmap, const std::vector<TRGB>& palette, bool topDown,
                const TProgressRec& progress)
{
    DecodeRle<true>(data, size, bitmap, palette, topDown, progress);
}

int EncodeRle8Row(const uint8_t* p, int n, uint8_t* out) { return EncodeRow<false>(p, n, out); }
int EncodeRle4Row(const uint8_t* p, int n, uint8_t* out) { return EncodeRow<true>(p, n, out); }
