// The row codecs on their own: PackBits, LZW and the CCITT coders, including damaged input.
#include "formats/core/bit_writer.h"
#include "formats/tiff/ccitt_decoder.h"
#include "formats/tiff/ccitt_encoder.h"
#include "formats/tiff/packbits.h"
#include "formats/tiff/tiff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {
std::vector<uint8_t> Rows(int rows, size_t rowLen, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> data(size_t(rows) * rowLen);
    for (size_t i = 0; i < data.size(); ++i) data[i] = (rng() % 5 == 0) ? uint8_t(rng()) : uint8_t(i / 37 % 4);
    return data;
}

TEST(PackBits, DecodesControlBytesAndRoundTrips) {
    // 2 literals, a run of 3, a skipped -128, a literal of 1.
    const uint8_t coded[] = {1, 'a', 'b', 0xFE, 'c', 0x80, 0, 'd'};
    TPackBitsDecoder dec(coded, sizeof coded);
    uint8_t row[6];
    ASSERT_TRUE(dec.DecodeRow(row, 6));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(row), 6), "abcccd");
    EXPECT_FALSE(dec.DecodeRow(row, 6));  // the data is used up

    for (size_t len : {1u, 3u, 127u, 128u, 129u, 300u}) {
        std::vector<uint8_t> src = Rows(1, len, unsigned(len));
        std::fill(src.begin(), src.begin() + std::ptrdiff_t(len / 2), 7);  // a long run
        std::vector<uint8_t> out;
        PackBitsEncodeRow(src.data(), len, out);
        TPackBitsDecoder back(out.data(), out.size());
        std::vector<uint8_t> decoded(len);
        ASSERT_TRUE(back.DecodeRow(decoded.data(), len));
        EXPECT_EQ(decoded, src) << len;
    }
}

TEST(TiffLzw, RoundTripsAndStaysInsideTheStrip) {
    const int rowLen = 997, rows = 300;  // enough codes for several table resets
    std::vector<uint8_t> src = Rows(rows, rowLen, 1);
    TMemoryStream coded;
    void* state = nullptr;
    for (int r = 0; r < rows; ++r) ASSERT_TRUE(TiffLzwEncode(src.data() + size_t(r) * rowLen, rowLen, coded, &state));
    ASSERT_TRUE(TiffLzwEncode(nullptr, 0, coded, &state));
    EXPECT_EQ(state, nullptr);

    std::vector<uint8_t> strip(coded.Memory(), coded.Memory() + coded.Size());
    for (int r = 0; r < rows; ++r) {
        const uint8_t* row = TiffLzwDecode(strip.data(), strip.size(), rowLen, &state);
        ASSERT_NE(row, nullptr) << r;
        ASSERT_EQ(0, std::memcmp(row, src.data() + size_t(r) * rowLen, rowLen)) << r;
    }
    EXPECT_EQ(TiffLzwDecode(strip.data(), strip.size(), rowLen, &state), nullptr);  // end code reached
    TiffLzwDecode(nullptr, 0, 0, &state);
    EXPECT_EQ(state, nullptr);

    // Cut in half, without an end code: decoding ends at the cut (the sanitizers see any overread).
    std::vector<uint8_t> half(strip.begin(), strip.begin() + std::ptrdiff_t(strip.size() / 2));
    int decoded = 0;
    while (TiffLzwDecode(half.data(), half.size(), rowLen, &state)) ++decoded;
    TiffLzwDecode(nullptr, 0, 0, &state);
    EXPECT_GT(decoded, 0);
    EXPECT_LT(decoded, rows);

    // A code beyond the table fails the row.
    const uint8_t bad[] = {0x80, 0x1F, 0xFF, 0xFF};  // clear, then code 511 with the table empty
    EXPECT_EQ(TiffLzwDecode(bad, sizeof bad, 4, &state), nullptr);
    TiffLzwDecode(nullptr, 0, 0, &state);
}

TEST(Ccitt, EverySchemeRoundTripsLongAndShortRuns) {
    const int width = 6007;  // runs beyond 2560 need repeated make-up codes
    const size_t rowBytes = (width + 7) / 8;
    std::vector<std::vector<uint8_t>> rows;
    for (int r = 0; r < 12; ++r) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < width; ++x) {
            bool black = (r % 4 == 1 && x > 100 && x < 2900) || (r % 3 == 0 && (x * 13 + r) % 41 < 3) || x == width - 1;
            if (black) row[size_t(x) >> 3] |= uint8_t(0x80 >> (x & 7));
        }
        rows.push_back(row);
    }
    struct { TCcittScheme Scheme; bool TwoD; } schemes[] = {
        {csHuffman, false}, {csGroup3, false}, {csGroup3, true}, {csGroup4, false}};
    for (const auto& s : schemes) {
        TMemoryStream coded;
        TBitWriter bits(coded);
        TCcittEncoder enc(bits, width, s.Scheme, s.TwoD);
        for (const auto& row : rows) enc.EncodeRow(row.data());
        enc.Finish();
        ASSERT_TRUE(bits.Flush());
        TCcittDecoder dec(coded.Memory(), size_t(coded.Size()), width, s.Scheme, s.TwoD);
        std::vector<uint8_t> out(rowBytes);
        for (size_t r = 0; r < rows.size(); ++r) {
            ASSERT_TRUE(dec.DecodeRow(out.data())) << int(s.Scheme) << " row " << r;
            EXPECT_EQ(out, rows[r]) << int(s.Scheme) << " row " << r;
        }
        // Garbage ends decoding instead of looping or overrunning.
        std::vector<uint8_t> noise = Rows(1, 64, 9);
        TCcittDecoder junk(noise.data(), noise.size(), width, s.Scheme, s.TwoD);
        int ok = 0;
        while (ok < 1000 && junk.DecodeRow(out.data())) ++ok;
        EXPECT_LT(ok, 1000);
    }
}
}  // namespace
