// WritePcx: black and white, 16 or 256 colours in one plane, or true colour in three planes,
// chosen by BitsPerSample × SamplesPerPixel.

#include "formats/core/row_bits.h"
#include "formats/core/two_colour.h"
#include "formats/core/write_check_stream.h"
#include "formats/pcx/pcx.h"
#include "formats/quantizer/quantizer.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace {

enum TPcxKind { pkNone, pkBlackWhite, pk16, pk256, pkTrueColour };

struct TKindLayout {
    int bits, planes;
};
constexpr TKindLayout kLayouts[] = {{0, 0}, {1, 1}, {4, 1}, {8, 1}, {8, 3}};

TPcxKind KindOf(const TIOParamsVals& params) {
    if (params.BitsPerSample == 1) return pkBlackWhite;
    switch (params.BitsPerSample * params.SamplesPerPixel) {
        case 4: return pk16;
        case 8: return pk256;
        case 24: return pkTrueColour;
        default: return pkNone;
    }
}

// Bytes of one plane line before rounding up to an even count.
int CodedBytes(TPcxKind kind, int width) {
    switch (kind) {
        case pkBlackWhite: return (width + 7) / 8;
        case pk16: return (width + 1) / 2;
        case pk256:
        case pkTrueColour: return width;
        default: return 0;
    }
}

}  // namespace

void WritePcx(TStream& target, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress) {
    if (bitmap.Empty()) {
        progress.Abort();
        return;
    }
    TWriteCheckStream stream(target);
    const TPcxKind kind = KindOf(params);
    const bool runLength = params.PcxCompression != 0;
    const int width = bitmap.Width(), height = bitmap.Height();

    // The working image: 1-bit for black and white, else 24-bit; and its palette.
    TIEBitmap copy;
    TIEBitmap* source = &bitmap;
    TRGB palette[256] = {};
    std::optional<TIEQuantizer> quantizer;
    if (kind == pkBlackWhite) {
        palette[1] = CreateRGB(255, 255, 255);
        if (bitmap.PixelFormat() != ipf1Bit) {
            if (!IEMakeTwoColourBitmap(bitmap, copy, palette)) {
                copy.Assign(bitmap);
                copy.ConvertTo(ipf1Bit);
            }
            source = &copy;
        }
    } else if (kind != pkNone) {
        if (bitmap.PixelFormat() != ipf24RGB) {
            copy.Assign(bitmap);
            copy.ConvertTo(ipf24RGB);
            source = &copy;
        }
        if (kind == pk16 || kind == pk256) quantizer.emplace(*source, palette, kind == pk16 ? 16 : 256, -1);
    }

    const int coded = CodedBytes(kind, width);
    const int bytesPerLine = (coded + 1) & ~1;
    uint8_t header[128] = {};
    header[0] = 10;
    header[1] = uint8_t(params.PcxVersion);
    header[2] = runLength ? 1 : 0;
    header[3] = uint8_t(kLayouts[kind].bits);
    IEPutLE16(header + 8, uint32_t(width - 1));
    IEPutLE16(header + 10, uint32_t(height - 1));
    IEPutLE16(header + 12, uint32_t(params.DpiX));
    IEPutLE16(header + 14, uint32_t(params.DpiY));
    if (kind == pkBlackWhite || kind == pk16)
        for (int i = 0; i < (kind == pk16 ? 16 : 2); ++i) {
            header[16 + 3 * i] = palette[i].r;
            header[17 + 3 * i] = palette[i].g;
            header[18 + 3 * i] = palette[i].b;
        }
    header[65] = uint8_t(kLayouts[kind].planes);
    IEPutLE16(header + 66, uint32_t(bytesPerLine));
    IEPutLE16(header + 68, kind == pkTrueColour ? 0 : 1);
    stream.Write(header, 128);
    if (kind == pkNone) {
        if (stream.Failed()) progress.Abort();
        return;
    }

    std::vector<uint8_t> plane(size_t(bytesPerLine) + 1, 0), encoded(2 * size_t(bytesPerLine) + 2);
    const auto putPlane = [&](const uint8_t* bytes, int stride, int first) {
        if (runLength) {
            stream.Write(encoded.data(), EncodePcxLine(encoded.data(), bytes, coded, stride, first));
            return;
        }
        for (int i = 0; i < coded; ++i) plane[size_t(i)] = bytes[first + i * stride];
        plane[size_t(coded)] = 0;  // completes an odd line
        stream.Write(plane.data(), bytesPerLine);
    };
    std::vector<uint8_t> indexes(size_t(bytesPerLine) + 1, 0);
    const double factor = 100.0 / height;
    for (int y = 0; y < height; ++y) {
        if (progress.OnProgress) progress.Report(int(std::trunc(y * factor)));
        if (progress.Aborted()) return;
        const uint8_t* row = source->ScanLine(y);
        if (kind == pkBlackWhite) {
            putPlane(row, 1, 0);
        } else if (kind == pkTrueColour) {
            for (int p = 0; p < 3; ++p) putPlane(row, 3, 2 - p);  // red, green, blue planes
        } else {
            std::fill(indexes.begin(), indexes.end(), 0);
            for (int x = 0; x < width; ++x) {
                const uint8_t* px = row + 3 * x;
                const auto index = uint8_t(quantizer->MapColor(TRGB{px[0], px[1], px[2]}));
                if (kind == pk256) indexes[size_t(x)] = index;
                else indexes[size_t(x / 2)] |= uint8_t(x % 2 ? index : index << 4);
            }
            putPlane(indexes.data(), 1, 0);
        }
    }
    if (kind == pk256) {
        uint8_t tail[769];
        tail[0] = 12;
        for (int i = 0; i < 256; ++i) {
            tail[1 + 3 * i] = palette[i].r;
            tail[2 + 3 * i] = palette[i].g;
            tail[3 + 3 * i] = palette[i].b;
        }
        stream.Write(tail, 769);
    }
    if (stream.Failed()) progress.Abort();
}
