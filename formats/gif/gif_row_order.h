#pragma once
// The order in which GIF image data visits the rows: top to bottom, or the four interlace
// passes (every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1).

#include <cstdint>

class TGifRowOrder {
public:
    TGifRowOrder(int height, bool interlaced) : FHeight(height), FInterlaced(interlaced) { SkipEmptyPasses(); }

    // The current row, or a value at or beyond the height once every row was visited.
    int Row() const { return FRow; }
    bool Done() const { return FRow >= FHeight; }

    void Next() {
        if (!FInterlaced) { ++FRow; return; }
        FRow += kPasses[FPass].step;
        SkipEmptyPasses();
    }

private:
    struct TPass { int start, step; };
    static constexpr TPass kPasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

    // A pass whose first row lies beyond the last row has no rows.
    void SkipEmptyPasses() {
        while (FInterlaced && FRow >= FHeight && FPass < 3) FRow = kPasses[++FPass].start;
    }

    int FHeight;
    bool FInterlaced;
    int FPass = 0;
    int FRow = 0;
};
