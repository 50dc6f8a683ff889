#pragma once
// PackBits row coding.

#include <cstddef>
#include <cstdint>
#include <vector>

// Decodes rows from one strip; a run that crosses the end of a row is cut there.
class TPackBitsDecoder {
public:
    TPackBitsDecoder(const uint8_t* data, size_t size) : FData(data), FSize(size) {}
    // False when the data ends before the row is complete (the rest of the row is zero).
    bool DecodeRow(uint8_t* row, size_t rowLen);

private:
    const uint8_t* FData;
    size_t FSize;
    size_t FPos = 0;
};

// Appends the coded form of one row: runs of 4 to 128 equal bytes as (1 - length, value),
// everything else in literal blocks of at most 128 bytes.
void PackBitsEncodeRow(const uint8_t* row, size_t rowLen, std::vector<uint8_t>& out);
