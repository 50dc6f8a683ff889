#include "formats/pcx/pcx.h"

#include <cstring>

void TPcxLineDecoder::DecodePcxLine(uint8_t* line, int n) {
    if (!FRunLength) {
        const size_t count = FSize - FAt < size_t(n) ? FSize - FAt : size_t(n);
        if (count > 0) std::memcpy(line, FData + FAt, count);
        FAt += count;
        return;
    }
    int out = 0;
    while (out < n) {
        if (FPending == 0) {
            if (FAt >= FSize) return;
            const uint8_t b = FData[FAt++];
            if (b < 192) {
                line[out++] = b;
                continue;
            }
            if (FAt >= FSize) return;
            FPending = b & 63;
            FPendingValue = FData[FAt++];
        }
        // A run never writes past the line; what is left goes to the next line.
        const int part = FPending < n - out ? FPending : n - out;
        std::memset(line + out, FPendingValue, size_t(part));
        out += part;
        FPending -= part;
    }
}

int EncodePcxLine(uint8_t* output, const uint8_t* input, int count, int stride, int first) {
    int produced = 0;
    const uint8_t* p = input + first;
    for (int i = 0; i < count;) {
        const uint8_t value = p[i * stride];
        int run = 1;
        while (run < 63 && i + run < count && p[(i + run) * stride] == value) ++run;
        if (run > 1 || value >= 192) output[produced++] = uint8_t(192 + run);
        output[produced++] = value;
        i += run;
    }
    if (count % 2) output[produced++] = 0;
    return produced;
}
