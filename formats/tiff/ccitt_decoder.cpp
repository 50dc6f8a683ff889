#include "formats/tiff/ccitt_decoder.h"

#include "formats/tiff/ccitt_codes.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kSentinels = 4;
}

TCcittDecoder::TCcittDecoder(const uint8_t* data, size_t size, int width, TCcittScheme scheme, bool twoDimensional)
    : FBits(data, size), FWidth(width), FScheme(scheme),
      FTwoDimensional(scheme == csGroup4 || (scheme == csGroup3 && twoDimensional)),
      FRef(size_t(width) + 2 + kSentinels, width), FCur(size_t(width) + 2 + kSentinels, width) {}

void CcittSetBits(uint8_t* row, int from, int to) {
    if (from >= to) return;
    int firstByte = from >> 3, lastByte = (to - 1) >> 3;
    uint8_t headMask = uint8_t(0xFF >> (from & 7));
    uint8_t tailMask = uint8_t(0xFF << (7 - ((to - 1) & 7)));
    if (firstByte == lastByte) {
        row[firstByte] |= headMask & tailMask;
        return;
    }
    row[firstByte] |= headMask;
    if (lastByte > firstByte + 1) std::memset(row + firstByte + 1, 0xFF, size_t(lastByte - firstByte - 1));
    row[lastByte] |= tailMask;
}

// Records a colour change; a change at the position of the previous one cancels it (a run of
// length zero).
void TCcittDecoder::Push(int x) {
    if (x >= FWidth) return;
    if (FCurCount && FCur[FCurCount - 1] == x) --FCurCount;
    else FCur[FCurCount++] = x;
}

bool TCcittDecoder::DecodeRun(bool black, int& run) {
    const TCcittLookup& lookup = CcittDecodeLookup();
    const TCcittRunEntry* table = black ? lookup.Black : lookup.White;
    run = 0;
    for (;;) {
        const TCcittRunEntry& e = table[FBits.Peek(CcittRunLookupBits)];
        if (e.Length == 0 || FBits.BitsLeft() < e.Length) return false;
        FBits.Skip(e.Length);
        run += e.Run;
        if (e.Run < 64) return true;
        if (run > FWidth) return false;
    }
}

bool TCcittDecoder::DecodeOneDimensional() {
    int a = 0;
    bool black = false;
    while (a < FWidth) {
        int run;
        if (!DecodeRun(black, run)) return false;
        a += run;
        Push(a);
        black = !black;
    }
    return true;
}

bool TCcittDecoder::DecodeTwoDimensional() {
    const TCcittLookup& lookup = CcittDecodeLookup();
    int a0 = -1;
    int colour = 0;  // 0 white, 1 black
    size_t ib = 0;
    while (a0 < FWidth) {
        const TCcittModeEntry& m = lookup.Modes[FBits.Peek(CcittModeLookupBits)];
        if (m.Mode == cmInvalid || FBits.BitsLeft() < m.Length) return false;
        FBits.Skip(m.Length);
        // b1: first change on the reference row right of a0 towards the opposite colour.
        while (FRef[ib] <= a0) ++ib;
        size_t b1i = ib + ((ib & 1) != size_t(colour));
        int b1 = FRef[b1i];
        int b2 = FRef[b1i + 1];
        switch (m.Mode) {
        case cmPass:
            a0 = b2;
            break;
        case cmHorizontal: {
            int start = std::max(a0, 0);
            int run1, run2;
            if (!DecodeRun(colour, run1) || !DecodeRun(!colour, run2)) return false;
            int a1 = start + run1, a2 = a1 + run2;
            Push(std::min(a1, FWidth));
            Push(std::min(a2, FWidth));
            a0 = a2;
            break;
        }
        default: {
            static constexpr int kDelta[] = {0, 0, 0, 0, 1, 2, 3, -1, -2, -3};
            int a1 = b1 + kDelta[m.Mode];
            if (a1 < 0 || a1 < a0 || a1 > FWidth) return false;
            Push(a1);
            a0 = a1;
            colour ^= 1;
            break;
        }
        }
    }
    return true;
}

// Consumes an end-of-line code with any fill bits before it; false when none is next.
bool TCcittDecoder::SkipEol() {
    uint32_t next = FBits.Peek(CcittEolLength);
    if (next == CcittEol) {
        FBits.Skip(CcittEolLength);
        return true;
    }
    if (next != 0) return false;
    while (!FBits.AtEnd() && FBits.Peek(1) == 0) FBits.Skip(1);
    if (FBits.AtEnd()) return false;
    FBits.Skip(1);
    return true;
}

bool TCcittDecoder::DecodeRow(uint8_t* row) {
    if (FBits.AtEnd()) return false;
    bool twoD = FTwoDimensional;
    if (FScheme == csHuffman) {
        if (!FFirstRow) FBits.AlignToByte();
    } else if (FScheme == csGroup3) {
        bool eol = SkipEol();
        if (FTwoDimensional) {
            if (!eol) return false;
            twoD = FBits.Get(1) == 0;
        }
    }
    FFirstRow = false;
    FCurCount = 0;
    bool ok = twoD ? DecodeTwoDimensional() : DecodeOneDimensional();
    if (!ok) return false;

    std::memset(row, 0, size_t((FWidth + 7) / 8));
    for (size_t i = 0; i < FCurCount; i += 2)
        CcittSetBits(row, FCur[i], i + 1 < FCurCount ? FCur[i + 1] : FWidth);
    std::fill(FCur.begin() + std::ptrdiff_t(FCurCount), FCur.begin() + std::ptrdiff_t(FCurCount) + kSentinels, FWidth);
    std::swap(FRef, FCur);
    FRefCount = FCurCount;
    return true;
}
