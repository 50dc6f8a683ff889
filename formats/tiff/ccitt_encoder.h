#pragma once
// CCITT encoder for one strip: modified Huffman (each row ends on a byte boundary), Group 3 one-
// dimensional (an end-of-line code before each row), Group 3 two-dimensional (end-of-line code
// and tag bit before each row, the first row coded one-dimensionally, the others against the
// row above, one more end-of-line code at the end) and Group 4 (every row against the row above,
// two end-of-line codes at the end). Rows go in packed, 1 bits black.

#include "formats/core/bit_writer.h"
#include "formats/tiff/ccitt_decoder.h"

#include <vector>

class TCcittEncoder {
public:
    TCcittEncoder(TBitWriter& out, int width, TCcittScheme scheme, bool twoDimensional);
    void EncodeRow(const uint8_t* row);
    // Writes the closing codes and pads to a whole byte.
    void Finish();

private:
    void PutRun(int run, bool black);
    void EncodeOneDimensional();
    void EncodeTwoDimensional();

    TBitWriter& FOut;
    int FWidth;
    TCcittScheme FScheme;
    bool FTwoDimensional;
    bool FFirstRow = true;
    std::vector<int> FRef;
    std::vector<int> FCur;
    size_t FCurCount = 0;
};

// Changing elements of a packed row (1 bits black), white first; the array receives the
// positions followed by sentinels equal to width and must hold width + 5 values.
size_t CcittFindChanges(const uint8_t* row, int width, int* changes);
