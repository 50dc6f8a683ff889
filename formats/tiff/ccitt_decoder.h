#pragma once
// CCITT decoder for one strip or tile: modified Huffman (each row byte-aligned), Group 3 one- or
// two-dimensional (end-of-line codes and fill bits accepted) and Group 4. Rows come out packed,
// most significant bit first, with 1 for black (white is zero), the sense of the coded runs.

#include "formats/core/bit_reader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

enum TCcittScheme : uint8_t { csHuffman, csGroup3, csGroup4 };

class TCcittDecoder {
public:
    TCcittDecoder(const uint8_t* data, size_t size, int width, TCcittScheme scheme, bool twoDimensional);
    // Decodes the next row into ceil(width / 8) bytes. False on a coding error or when the data
    // ends first; the row is then unusable.
    bool DecodeRow(uint8_t* row);

private:
    bool DecodeRun(bool black, int& run);
    bool DecodeOneDimensional();
    bool DecodeTwoDimensional();
    bool SkipEol();
    void Push(int x);

    TBitReader FBits;
    int FWidth;
    TCcittScheme FScheme;
    bool FTwoDimensional;
    bool FFirstRow = true;
    std::vector<int> FRef;  // changing elements of the previous row, then sentinels
    std::vector<int> FCur;
    size_t FRefCount = 0;
    size_t FCurCount = 0;
};

// Fills bits [from, to) of a packed row with ones.
void CcittSetBits(uint8_t* row, int from, int to);
