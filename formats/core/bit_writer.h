#pragma once
// Most-significant-bit-first writer into a stream, buffered, for the CCITT and LZW encoders.
// A short write makes the writer fail; every later call is ignored and Ok() stays false.

#include "formats/core/ie_stream.h"

#include <cstdint>
#include <vector>

class TBitWriter {
public:
    explicit TBitWriter(TStream& stream) : FStream(stream) { FBuffer.reserve(kChunk + 8); }

    // Appends the low n bits (0..32) of code.
    void Put(uint32_t code, int n) {
        if (n == 0) return;
        FBits |= (uint64_t(code) & ((uint64_t(1) << n) - 1)) << (64 - FCount - n);
        FCount += n;
        while (FCount >= 8) {
            FBuffer.push_back(uint8_t(FBits >> 56));
            FBits <<= 8;
            FCount -= 8;
        }
        if (FBuffer.size() >= kChunk) Drain();
    }
    // Completes the pending bits with zeros to a whole byte.
    void PadToByte() { if (FCount) Put(0, 8 - FCount); }
    // Pads and writes everything buffered.
    bool Flush() { PadToByte(); Drain(); return FOk; }
    bool Ok() const { return FOk; }
    int64_t BytesWritten() const { return FWritten + int64_t(FBuffer.size()); }

private:
    static constexpr size_t kChunk = 1 << 16;
    void Drain() {
        if (FOk && !FBuffer.empty())
            FOk = FStream.WriteBuffer(FBuffer.data(), int64_t(FBuffer.size()));
        FWritten += int64_t(FBuffer.size());
        FBuffer.clear();
    }

    TStream& FStream;
    std::vector<uint8_t> FBuffer;
    uint64_t FBits = 0;
    int FCount = 0;
    int64_t FWritten = 0;
    bool FOk = true;
};
