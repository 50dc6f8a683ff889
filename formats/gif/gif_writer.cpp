// WriteGif: writes the bitmap as a single-image GIF file.
//
// BitsPerSample chooses 2^bits colours (values above 8 are taken as 8). Colour images go
// through the colour reducer; 1-bit output keeps the two colours of a two-colour image, else it
// is black and white. Images larger than 65535 pixels on a side cannot be described and are
// refused before anything is written. A short write sets Aborting.

#include "formats/core/row_bits.h"
#include "formats/core/two_colour.h"
#include "formats/core/write_check_stream.h"
#include "formats/gif/gif.h"
#include "formats/quantizer/quantizer.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

constexpr int kMaxDimension = 65535;

// The first entry with the smallest sum of absolute channel differences.
int NearestEntry(const TRGB* palette, int count, const TRGB& c) {
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < count; ++i) {
        const int d = std::abs(palette[i].r - c.r) + std::abs(palette[i].g - c.g) + std::abs(palette[i].b - c.b);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

// The image as palette indexes, with its palette and a way to map further colours.
struct TIndexedImage {
    int width = 0, height = 0;
    std::vector<uint8_t> indexes;
    TRGB palette[256] = {};
    std::optional<TIEQuantizer> quantizer;

    int Map(const TRGB& c, int count) const { return quantizer ? quantizer->MapColor(c) : NearestEntry(palette, count, c); }
};

void IndexOneBit(const TIEBitmap& bitmap, TIndexedImage& image) {
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        uint8_t* out = image.indexes.data() + int64_t(y) * image.width;
        for (int x = 0; x < image.width; ++x) out[x] = IEGetBit(row, x);
    }
}

void PrepareOneBit(TIEBitmap& bitmap, TIndexedImage& image) {
    image.palette[0] = CreateRGB(0, 0, 0);
    image.palette[1] = CreateRGB(255, 255, 255);
    if (bitmap.PixelFormat() == ipf1Bit) return IndexOneBit(bitmap, image);
    TIEBitmap oneBit;
    if (!IEMakeTwoColourBitmap(bitmap, oneBit, image.palette)) {
        oneBit.Assign(bitmap);
        oneBit.ConvertTo(ipf1Bit);
    }
    IndexOneBit(oneBit, image);
}

void PrepareColour(TIEBitmap& bitmap, int colours, TIndexedImage& image) {
    TIEBitmap copy;
    TIEBitmap* source = &bitmap;
    if (bitmap.PixelFormat() != ipf24RGB) {
        copy.Assign(bitmap);
        copy.ConvertTo(ipf24RGB);
        source = &copy;
    }
    image.quantizer.emplace(*source, image.palette, colours, -1);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* p = source->ScanLine(y);
        uint8_t* out = image.indexes.data() + int64_t(y) * image.width;
        for (int x = 0; x < image.width; ++x, p += 3)
            out[x] = uint8_t(image.quantizer->MapColor(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16));
    }
}

void PutLE16(std::vector<uint8_t>& out, int v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

// Comment lines as sub-blocks; a line longer than a sub-block is split, an empty one dropped
// (a zero size would end the extension).
void PutComments(std::vector<uint8_t>& out, const std::vector<std::string>& comments) {
    out.insert(out.end(), {0x21, 0xFE});
    for (const std::string& line : comments) {
        for (size_t at = 0; at < line.size(); at += 255) {
            const size_t n = std::min<size_t>(255, line.size() - at);
            out.push_back(uint8_t(n));
            out.insert(out.end(), line.begin() + std::ptrdiff_t(at), line.begin() + std::ptrdiff_t(at + n));
        }
    }
    out.push_back(0);
}

}  // namespace

void WriteGif(TStream& target, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress) {
    progress.Report(0);
    TWriteCheckStream stream(target);
    const int bits = params.BitsPerSample < 1 ? 1 : params.BitsPerSample > 8 ? 8 : params.BitsPerSample;
    const int colours = 1 << bits;
    TIndexedImage image;
    image.width = bitmap.Width();
    image.height = bitmap.Height();
    if (bitmap.Empty() || image.width > kMaxDimension || image.height > kMaxDimension) {
        progress.Abort();
        return;
    }
    image.indexes.resize(size_t(int64_t(image.width) * image.height));
    if (bits == 1) PrepareOneBit(bitmap, image);
    else PrepareColour(bitmap, colours, image);

    progress.Report(30);
    if (progress.Aborted()) return;

    std::vector<uint8_t> head;
    const std::string version = params.GifVersion.size() >= 6 ? params.GifVersion.substr(0, 6) : "GIF89a";
    head.insert(head.end(), version.begin(), version.end());
    PutLE16(head, image.width);
    PutLE16(head, image.height);
    head.push_back(uint8_t(0x80 + (bits - 1) * 16 + (bits - 1)));
    head.push_back(uint8_t(image.Map(params.GifBackground, colours)));
    head.push_back(0);
    for (int i = 0; i < colours; ++i) head.insert(head.end(), {image.palette[i].r, image.palette[i].g, image.palette[i].b});
    // Graphic control: disposal 2 (restore to background), transparency flag.
    head.insert(head.end(), {0x21, 0xF9, 0x04, uint8_t(0x08 + (params.GifTransparent ? 1 : 0))});
    PutLE16(head, params.GifDelayTime);
    head.push_back(uint8_t(image.Map(params.GifTranspColor, colours)));
    head.push_back(0);
    head.push_back(0x2C);
    PutLE16(head, params.GifXPos);
    PutLE16(head, params.GifYPos);
    PutLE16(head, image.width);
    PutLE16(head, image.height);
    head.push_back(params.GifInterlaced ? 0x40 : 0);
    stream.Write(head.data(), int64_t(head.size()));

    progress.Report(70);
    if (progress.Aborted()) return;

    const TGifLzwCompressor encode = params.GifLzwCompressor ? params.GifLzwCompressor : IEGlobalLzwSlots().GifCompressor;
    if (!encode) {
        progress.Abort();
        return;
    }
    encode(stream, image.height, image.width, bits, image.indexes.data(), params.GifInterlaced);

    std::vector<uint8_t> tail;
    PutComments(tail, params.GifComments);
    tail.push_back(0x3B);
    stream.Write(tail.data(), int64_t(tail.size()));
    if (stream.Failed()) {
        progress.Abort();
        return;
    }
    progress.Report(100);
}
