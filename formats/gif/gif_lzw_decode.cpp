// DecodeGifLzw: the default GIF image-data decoder.
//
// The whole compressed image is read into memory first, then decoded with a 4096-entry table
// on the stack. Failure is signalled by leaving the stream where it was: a minimum code size
// outside 2..11, a code beyond the next free code, or a clear code followed at once by the end
// code while data is left over. A full table is kept until the encoder sends a clear code, as
// the GIF format allows. Running out of data simply ends the image; pixels never written keep
// the buffer's content.

#include "formats/gif/gif.h"
#include "formats/gif/gif_row_order.h"

#include <cstring>
#include <vector>

namespace {

constexpr int kTableSize = 4096;
constexpr int kMaxCodeBits = 12;

// Image data sub-blocks joined into one array, followed by zero padding so that codes can be
// fetched eight bytes at a time.
std::vector<uint8_t> ReadSubBlocks(TStream& stream) {
    std::vector<uint8_t> data;
    uint8_t size = 0;
    while (stream.Read(&size, 1) == 1 && size != 0) {
        const size_t at = data.size();
        data.resize(at + size);
        const int64_t got = stream.Read(data.data() + at, size);
        data.resize(at + size_t(got > 0 ? got : 0));
        if (got < size) break;
    }
    return data;
}

// Least-significant-bit-first code reader over the joined data.
class TCodeReader {
public:
    explicit TCodeReader(std::vector<uint8_t>& data) : FData(data), FTotalBits(uint64_t(data.size()) * 8) {
        data.resize(data.size() + 8, 0);
    }
    // False when fewer than bits bits are left.
    bool Read(int bits, int& code) {
        if (FBitPos + uint64_t(bits) > FTotalBits) return false;
        uint64_t word;
        std::memcpy(&word, FData.data() + (FBitPos >> 3), 8);
        code = int((word >> (FBitPos & 7)) & ((1u << bits) - 1));
        FBitPos += uint64_t(bits);
        return true;
    }
    bool BytesLeft() const { return (FBitPos + 7) / 8 < FTotalBits / 8; }

private:
    const std::vector<uint8_t>& FData;
    uint64_t FTotalBits;
    uint64_t FBitPos = 0;
};

// Writes decoded strings into the pixel buffer in file row order, dropping what lies past the
// last row.
class TPixelSink {
public:
    TPixelSink(uint8_t* pixels, int width, int height, bool interlaced)
        : FPixels(pixels), FWidth(width), FOrder(height, interlaced) {
        if (width <= 0) FOrder = TGifRowOrder(0, false);
        StartRow();
    }
    // Room left in the current row; 0 once the image is complete.
    int64_t Room() const { return FEnd - FOut; }
    // Caller has written n (≤ Room()) bytes at Cursor().
    uint8_t* Cursor() { return FOut; }
    void Advance(int64_t n) {
        FOut += n;
        if (FOut == FEnd && FOut) { FOrder.Next(); StartRow(); }
    }
    void Put(const uint8_t* bytes, int64_t n) {
        while (n > 0 && Room() > 0) {
            const int64_t part = n < Room() ? n : Room();
            std::memcpy(FOut, bytes, size_t(part));
            bytes += part;
            n -= part;
            Advance(part);
        }
    }

private:
    void StartRow() {
        if (FOrder.Done()) { FOut = FEnd = nullptr; return; }
        FOut = FPixels + int64_t(FOrder.Row()) * FWidth;
        FEnd = FOut + FWidth;
    }
    uint8_t* FPixels;
    int FWidth;
    TGifRowOrder FOrder;
    uint8_t* FOut = nullptr;
    uint8_t* FEnd = nullptr;
};

struct TLzwTable {
    uint16_t prefix[kTableSize];
    uint16_t length[kTableSize];
    uint8_t suffix[kTableSize];
    uint8_t first[kTableSize];
};

// Outputs the string of code: straight into the row when it fits, else through a stack.
inline void EmitString(const TLzwTable& t, int code, TPixelSink& sink, uint8_t* stack) {
    const int len = t.length[code];
    uint8_t* out;
    const bool direct = sink.Room() >= len;
    out = direct ? sink.Cursor() : stack;
    for (int i = len - 1; i >= 0; --i) {
        out[i] = t.suffix[code];
        code = t.prefix[code];
    }
    if (direct) sink.Advance(len);
    else sink.Put(stack, len);
}

}  // namespace

void DecodeGifLzw(TStream& stream, int height, int width, uint8_t* pixels, bool interlaced) {
    const int64_t start = stream.Position();
    uint8_t minCodeSize = 0;
    if (stream.Read(&minCodeSize, 1) != 1 || minCodeSize < 2 || minCodeSize > kMaxCodeBits - 1) {
        stream.SetPosition(start);
        return;
    }
    std::vector<uint8_t> data = ReadSubBlocks(stream);
    if (data.empty()) return;

    const int m = minCodeSize;
    const int clearCode = 1 << m;
    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;

    TLzwTable table;
    for (int c = 0; c < clearCode; ++c) {
        table.prefix[c] = 0;
        table.length[c] = 1;
        table.suffix[c] = uint8_t(c);
        table.first[c] = uint8_t(c);
    }
    uint8_t stack[kTableSize];

    TCodeReader reader(data);
    TPixelSink sink(pixels, width, height, interlaced);
    int codeBits = m + 1;
    int limit = 1 << codeBits;
    int nextFree = firstFree;
    int prev = -1;
    int code = 0;
    const auto fail = [&] { stream.SetPosition(start); };

    while (reader.Read(codeBits, code)) {
        if (code == clearCode) {
            codeBits = m + 1;
            limit = 1 << codeBits;
            nextFree = firstFree;
            bool more = true;
            while ((more = reader.Read(codeBits, code)) && code == clearCode) {}
            if (!more) break;
            if (code == endCode) {
                if (reader.BytesLeft()) fail();
                return;
            }
            if (code >= firstFree) code = 0;
            EmitString(table, code, sink, stack);
            prev = code;
            continue;
        }
        if (code == endCode) return;
        if (code < nextFree) {
            EmitString(table, code, sink, stack);
            // A full table stays as it is until the encoder clears it (a deferred clear).
            if (prev >= 0 && nextFree < kTableSize) {
                table.prefix[nextFree] = uint16_t(prev);
                table.suffix[nextFree] = table.first[code];
                table.first[nextFree] = table.first[prev];
                table.length[nextFree] = uint16_t(table.length[prev] + 1);
                ++nextFree;
            }
        } else if (code == nextFree && prev >= 0) {
            table.prefix[nextFree] = uint16_t(prev);
            table.suffix[nextFree] = table.first[prev];
            table.first[nextFree] = table.first[prev];
            table.length[nextFree] = uint16_t(table.length[prev] + 1);
            ++nextFree;
            EmitString(table, code, sink, stack);
        } else {
            fail();
            return;
        }
        prev = code;
        if (nextFree >= limit && codeBits < kMaxCodeBits) {
            ++codeBits;
            limit <<= 1;
        }
    }
}
