#pragma once
// Most-significant-bit-first reader over a byte buffer, for the CCITT and LZW decoders. It never
// reads past the buffer: bits beyond the end read as zero, and AtEnd() tells when the real bits
// are used up.

#include <cstddef>
#include <cstdint>

class TBitReader {
public:
    TBitReader(const uint8_t* data, size_t size) : FData(data), FSize(size) { Refill(); }

    // The next n bits (1..32) without consuming them.
    uint32_t Peek(int n) {
        if (FCount < n) Refill();
        return uint32_t(FBits >> (64 - n));
    }
    void Skip(int n) {
        if (FCount < n) Refill();
        FBits <<= n;
        FCount -= n;
        FConsumed += size_t(n);
    }
    uint32_t Get(int n) { uint32_t v = Peek(n); Skip(n); return v; }
    void AlignToByte() { if (int rest = int(FConsumed & 7)) Skip(8 - rest); }
    bool AtEnd() const { return FConsumed >= FSize * 8; }
    size_t BitsLeft() const { return AtEnd() ? 0 : FSize * 8 - FConsumed; }

private:
    void Refill() {
        while (FCount <= 56) {
            if (FPos < FSize) FBits |= uint64_t(FData[FPos]) << (56 - FCount);
            ++FPos;  // past the end: zero bits
            FCount += 8;
        }
    }

    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
    size_t FConsumed = 0;
    uint64_t FBits = 0;  // left-aligned
    int FCount = 0;
};
