#pragma once
// Buffered byte source for the portable pixmap header and text samples. Sync() puts the stream
// back right after the last byte consumed, where a raw raster starts.

#include "formats/core/ie_stream.h"

#include <string>

class TPxmByteSource {
public:
    explicit TPxmByteSource(TStream& stream) : FStream(stream), FStart(stream.Position()) {}
    // The next byte, or -1 at the end of the stream.
    int Next() {
        if (FAt == FEnd && !Fill()) return -1;
        return FBuffer[FAt++];
    }
    void Sync() { FStream.SetPosition(FStart + FConsumedBefore + FAt); }
    std::string Token();

private:
    bool Fill() {
        FConsumedBefore += FEnd;
        FAt = 0;
        const int64_t got = FStream.Read(FBuffer, sizeof FBuffer);
        FEnd = got > 0 ? got : 0;
        return FEnd > 0;
    }
    TStream& FStream;
    int64_t FStart;
    int64_t FConsumedBefore = 0;
    uint8_t FBuffer[16384];
    int64_t FAt = 0;
    int64_t FEnd = 0;
};

// Decimal value of a token, or -1 when it is not a number that fits an int.
int PxmTokenValue(const std::string& token);
