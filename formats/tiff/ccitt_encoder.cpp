#include "formats/tiff/ccitt_encoder.h"

#include "formats/tiff/ccitt_codes.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kSentinels = 4;

// First x >= pos whose bit differs from bit, or width.
int NextChange(const uint8_t* row, int pos, int width, int bit) {
    const uint8_t flip = bit ? 0xFF : 0x00;
    while (pos < width) {
        unsigned byte = unsigned(row[pos >> 3] ^ flip) & (0xFFu >> (pos & 7));
        if (byte) return std::min(width, (pos & ~7) + (__builtin_clz(byte) - 24));
        pos = (pos | 7) + 1;
    }
    return width;
}

void PutCode(TBitWriter& out, const TCcittCode& c) { out.Put(c.Code, c.Length); }

void PutMode(TBitWriter& out, TCcittMode mode) {
    for (const auto& m : CcittModeCodes)
        if (m.Mode == mode) return out.Put(m.Code, m.Length);
}
}  // namespace

size_t CcittFindChanges(const uint8_t* row, int width, int* changes) {
    size_t n = 0;
    int bit = 0;
    for (int x = NextChange(row, 0, width, bit); x < width; x = NextChange(row, x, width, bit)) {
        changes[n++] = x;
        bit ^= 1;
    }
    for (int i = 0; i < kSentinels + 1; ++i) changes[n + size_t(i)] = width;
    return n;
}

TCcittEncoder::TCcittEncoder(TBitWriter& out, int width, TCcittScheme scheme, bool twoDimensional)
    : FOut(out), FWidth(width), FScheme(scheme),
      FTwoDimensional(scheme == csGroup4 || (scheme == csGroup3 && twoDimensional)),
      FRef(size_t(width) + 2 + kSentinels, width), FCur(size_t(width) + 2 + kSentinels, width) {}

void TCcittEncoder::PutRun(int run, bool black) {
    const TCcittCode* codes = black ? CcittBlackCodes : CcittWhiteCodes;
    while (run >= 2560 + 64) {
        PutCode(FOut, CcittExtendedCodes[12]);
        run -= 2560;
    }
    if (run >= 64) {
        int makeup = run / 64 * 64;
        PutCode(FOut, makeup >= 1792 ? CcittExtendedCodes[(makeup - 1792) / 64] : codes[63 + makeup / 64]);
        run -= makeup;
    }
    PutCode(FOut, codes[run]);
}

void TCcittEncoder::EncodeOneDimensional() {
    int a = 0;
    bool black = false;
    for (size_t i = 0; i <= FCurCount; ++i) {
        int next = i < FCurCount ? FCur[i] : FWidth;
        PutRun(next - a, black);
        a = next;
        black = !black;
    }
}

void TCcittEncoder::EncodeTwoDimensional() {
    int a0 = -1;
    int colour = 0;
    size_t ia = 0, ib = 0;
    while (a0 < FWidth) {
        while (FCur[ia] <= a0) ++ia;
        int a1 = FCur[ia];
        while (FRef[ib] <= a0) ++ib;
        size_t b1i = ib + ((ib & 1) != size_t(colour));
        int b1 = FRef[b1i], b2 = FRef[b1i + 1];
        if (b2 < a1) {
            PutMode(FOut, cmPass);
            a0 = b2;
        } else if (std::abs(a1 - b1) <= 3) {
            static constexpr TCcittMode kVertical[] = {cmVL3, cmVL2, cmVL1, cmV0, cmVR1, cmVR2, cmVR3};
            PutMode(FOut, kVertical[a1 - b1 + 3]);
            a0 = a1;
            colour ^= 1;
        } else {
            int a2 = FCur[ia + 1];
            PutMode(FOut, cmHorizontal);
            PutRun(a1 - std::max(a0, 0), colour);
            PutRun(a2 - a1, !colour);
            a0 = a2;
        }
    }
}

void TCcittEncoder::EncodeRow(const uint8_t* row) {
    FCurCount = CcittFindChanges(row, FWidth, FCur.data());
    bool twoD = FTwoDimensional && !(FScheme == csGroup3 && FFirstRow);
    if (FScheme == csGroup3) {
        FOut.Put(CcittEol, CcittEolLength);
        if (FTwoDimensional) FOut.Put(twoD ? 0 : 1, 1);
    }
    if (twoD) EncodeTwoDimensional();
    else EncodeOneDimensional();
    if (FScheme == csHuffman) FOut.PadToByte();
    std::swap(FRef, FCur);
    FFirstRow = false;
}

void TCcittEncoder::Finish() {
    if (FScheme == csGroup4) {
        FOut.Put(CcittEol, CcittEolLength);
        FOut.Put(CcittEol, CcittEolLength);
    } else if (FScheme == csGroup3 && FTwoDimensional) {
        FOut.Put(CcittEol, CcittEolLength);
    }
    FOut.PadToByte();
}
