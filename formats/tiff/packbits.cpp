#include "formats/tiff/packbits.h"

#include <algorithm>
#include <cstring>

bool TPackBitsDecoder::DecodeRow(uint8_t* row, size_t rowLen) {
    size_t done = 0;
    while (done < rowLen) {
        if (FPos >= FSize) {
            std::memset(row + done, 0, rowLen - done);
            return false;
        }
        int n = int8_t(FData[FPos++]);
        if (n >= 0) {
            size_t count = std::min({size_t(n) + 1, rowLen - done, FSize - FPos});
            std::memcpy(row + done, FData + FPos, count);
            done += count;
            FPos += size_t(n) + 1;
            if (FPos > FSize) FPos = FSize;
        } else if (n != -128) {
            if (FPos >= FSize) continue;
            size_t count = std::min(size_t(1 - n), rowLen - done);
            std::memset(row + done, FData[FPos++], count);
            done += count;
        }
    }
    return true;
}

void PackBitsEncodeRow(const uint8_t* row, size_t rowLen, std::vector<uint8_t>& out) {
    size_t literalStart = 0;
    auto flushLiteral = [&](size_t end) {
        while (literalStart < end) {
            size_t n = std::min<size_t>(128, end - literalStart);
            out.push_back(uint8_t(n - 1));
            out.insert(out.end(), row + literalStart, row + literalStart + n);
            literalStart += n;
        }
    };
    size_t i = 0;
    while (i < rowLen) {
        size_t run = 1;
        while (i + run < rowLen && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 4) {
            flushLiteral(i);
            out.push_back(uint8_t(1 - int(run)));
            out.push_back(row[i]);
            i += run;
            literalStart = i;
        } else {
            i += run;
        }
    }
    flushLiteral(rowLen);
}
