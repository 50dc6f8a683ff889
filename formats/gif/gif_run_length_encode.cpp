// EncodeGifRunLength: the default GIF image-data encoder.
//
// It writes a valid LZW stream without a string table: single-pixel codes, and for runs of one
// colour the codes that any decoder's table is known to hold for repeated runs of that colour
// (the run-length technique published as miGIF). Clear codes are placed so that the decoder's
// table never fills and its code width stays in step with ours.

#include "formats/gif/gif.h"
#include "formats/gif/gif_row_order.h"

#include <cmath>
#include <cstdint>

namespace {

// LSB-first code packer writing sub-blocks of up to 255 bytes.
class TCodeWriter {
public:
    explicit TCodeWriter(TStream& stream) : FStream(stream) {}
    void Put(int code, int bits) {
        FBits |= uint64_t(code) << FBitCount;
        FBitCount += bits;
        while (FBitCount >= 8) {
            PutByte(uint8_t(FBits));
            FBits >>= 8;
            FBitCount -= 8;
        }
    }
    // Writes the last partial byte, the pending sub-block and the terminator.
    void Finish() {
        if (FBitCount > 0) PutByte(uint8_t(FBits));
        FBits = 0;
        FBitCount = 0;
        FlushBlock();
        const uint8_t terminator = 0;
        FStream.Write(&terminator, 1);
    }

private:
    void PutByte(uint8_t b) {
        FBlock[1 + FPending++] = b;
        if (FPending == 255) FlushBlock();
    }
    void FlushBlock() {
        if (FPending == 0) return;
        FBlock[0] = uint8_t(FPending);
        FStream.Write(FBlock, 1 + FPending);
        FPending = 0;
    }
    TStream& FStream;
    uint64_t FBits = 0;
    int FBitCount = 0;
    uint8_t FBlock[256];
    int FPending = 0;
};

class TRunLengthEncoder {
public:
    TRunLengthEncoder(TStream& stream, int m)
        : FOut(stream),
          FClear(1 << m),
          FEnd(FClear + 1),
          FRunBase(FClear + 2),
          FInitBits(m + 1),
          FBumpInit(FClear - 1),
          FClearInit(m + 1 <= 3 ? 9 : FClear - 2),
          FMaxCodes(4093 - FClear) {}

    void Begin() {
        Reset();
        Output(FClear);
    }
    void Pixel(int c) {
        if (FRunCount > 0 && c != FRunPixel) FlushRun();
        if (c == FRunPixel) {
            ++FRunCount;
        } else {
            FRunPixel = c;
            FRunCount = 1;
        }
    }
    void End() {
        if (FRunCount > 0) FlushRun();
        Output(FEnd);
        FOut.Finish();
    }

private:
    void Output(int code) { FOut.Put(code, FOutBits); }

    void Reset() {
        FOutBits = FInitBits;
        FOutBump = FBumpInit;
        FOutClear = FClearInit;
        FOutCount = 0;
        FTableMax = 0;
        FJustCleared = true;
    }
    void OutputClear() {
        Output(FClear);
        Reset();
    }

    void EmitPlain(int code) {
        FJustCleared = false;
        Output(code);
        ++FOutCount;
        if (FOutCount >= FOutBump) {
            ++FOutBits;
            FOutBump += 1 << (FOutBits - 1);
        }
        if (FOutCount >= FOutClear) OutputClear();
    }

    // Codes needed to send n pixels of one colour from a freshly cleared table.
    int64_t TriangleCost(int64_t n) const {
        int64_t cost = 0;
        const int64_t perRep = int64_t(FMaxCodes) * (FMaxCodes + 1) / 2;
        while (n > perRep) {
            cost += FMaxCodes;
            n -= perRep;
        }
        if (n > 0) {
            int64_t k = int64_t(std::sqrt(double(n)));
            while (k * (k + 1) >= 2 * n) --k;
            while (k * (k + 1) < 2 * n) ++k;
            cost += k;
        }
        return cost;
    }

    void RestoreOutClear() {
        FOutClear = FClearInit;
        if (FOutCount >= FOutClear) OutputClear();
    }

    void FlushFromClear(int64_t n) {
        FOutClear = FMaxCodes;
        FTablePixel = FRunPixel;
        int64_t k = 1;
        while (n > 0) {
            if (k == 1) {
                FTableMax = 1;
                EmitPlain(FRunPixel);
                --n;
            } else if (n >= k) {
                FTableMax = k;
                EmitPlain(int(FRunBase + k - 2));
                n -= k;
            } else if (n == 1) {
                ++FTableMax;
                EmitPlain(FRunPixel);
                n = 0;
            } else {
                ++FTableMax;
                EmitPlain(int(FRunBase + n - 2));
                n = 0;
            }
            k = FOutCount == 0 ? 1 : k + 1;
        }
        RestoreOutClear();
    }

    void FlushClearOrRepeat(int64_t n) {
        if (1 + TriangleCost(n) < n) {
            OutputClear();
            FlushFromClear(n);
            return;
        }
        for (; n > 0; --n) EmitPlain(FRunPixel);
    }

    void FlushWithTable(int64_t n) {
        int64_t reps = n / FTableMax;
        int64_t left = n % FTableMax;
        int64_t repLeft = left > 0 ? 1 : 0;
        if (FOutCount + reps + repLeft > FMaxCodes) {
            reps = FMaxCodes - FOutCount;
            left = n - reps * FTableMax;
            repLeft = 1 + TriangleCost(left);
        }
        if (1 + TriangleCost(n) < reps + repLeft) {
            OutputClear();
            FlushFromClear(n);
            return;
        }
        FOutClear = FMaxCodes;
        for (; reps > 0; --reps) EmitPlain(int(FRunBase + FTableMax - 2));
        if (left > 0) {
            if (FJustCleared) FlushFromClear(left);
            else if (left == 1) EmitPlain(FRunPixel);
            else EmitPlain(int(FRunBase + left - 2));
        }
        RestoreOutClear();
    }

    void FlushRun() {
        if (FRunCount == 1) EmitPlain(FRunPixel);
        else if (FJustCleared) FlushFromClear(FRunCount);
        else if (FTableMax < 2 || FTablePixel != FRunPixel) FlushClearOrRepeat(FRunCount);
        else FlushWithTable(FRunCount);
        FRunCount = 0;
    }

    TCodeWriter FOut;
    const int FClear, FEnd, FRunBase, FInitBits, FBumpInit, FClearInit, FMaxCodes;
    int FOutBits = 0;
    int FOutBump = 0;
    int FOutClear = 0;
    int FOutCount = 0;
    bool FJustCleared = true;
    int64_t FTableMax = 0;
    int FTablePixel = 0;
    int FRunPixel = 0;
    int64_t FRunCount = 0;
};

}  // namespace

void EncodeGifRunLength(TStream& stream, int height, int width, int bits, const uint8_t* pixels, bool interlaced) {
    const int m = bits < 2 ? 2 : bits;
    const uint8_t codeSize = uint8_t(m);
    stream.Write(&codeSize, 1);
    TRunLengthEncoder encoder(stream, m);
    encoder.Begin();
    for (TGifRowOrder order(height, interlaced); width > 0 && !order.Done(); order.Next()) {
        const uint8_t* row = pixels + int64_t(order.Row()) * width;
        for (int x = 0; x < width; ++x) encoder.Pixel(row[x]);
    }
    encoder.End();
}
