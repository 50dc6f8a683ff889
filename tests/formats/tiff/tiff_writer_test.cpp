// What we write: every compression passes tiffinfo and decodes in libtiff (through
// ImageMagick) to the pixels we wrote; the entries follow the normalising rules.
#include "tiff_test_util.h"

#include "formats/core/lzw_slots.h"
#include "formats/tiff/tiff.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
// A text-like bilevel page: strokes of several widths, a frame and isolated dots.
void MakeTextPage(TIEBitmap& bitmap, int w, int h) {
    bitmap.Allocate(w, h, ipf1Bit);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            bool black = (y / 9 % 3 == 1 && (x * 7 + y * 3) % 23 < 5 + (x / 40) % 7) || x < 2 || y == h - 1 ||
                         ((x * x + y * 5) % 97 == 0);
            if (black) row[x >> 3] &= uint8_t(~(0x80 >> (x & 7)));
            else row[x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
    }
}

void MakeColourImage(TIEBitmap& bitmap, int w, int h, bool grey) {
    bitmap.Allocate(w, h, ipf24RGB);
    for (int y = 0; y < h; ++y) {
        TRGB* row = reinterpret_cast<TRGB*>(bitmap.ScanLine(y));
        for (int x = 0; x < w; ++x) {
            uint8_t r = uint8_t(x * 255 / (w - 1)), g = uint8_t(y * 255 / (h - 1)), b = uint8_t((x + y) * 3);
            row[x] = grey ? CreateRGB(r, r, r) : CreateRGB(r, g, b);
        }
    }
}

struct TWriteCase {
    const char* Name;
    int Compression, Bits, Samples, Photometric;
    bool Bilevel, Grey;
    int Tolerance;         // of our reading of the file against the image we wrote; -1: not compared
    int PeerTolerance;     // of the peer's reading against ours
    uint16_t ExpectedTag;  // compression tag written
};

constexpr TWriteCase kWriteCases[] = {
    {"bilevel_none", 0, 1, 1, 2, true, false, 0, 0, 1},
    {"bilevel_huffman", 1, 1, 1, 2, true, false, 0, 0, 2},
    {"bilevel_g3_1d", 2, 1, 1, 2, true, false, 0, 0, 3},
    {"bilevel_g3_2d", 3, 1, 1, 2, true, false, 0, 0, 3},
    {"bilevel_g4", 4, 1, 1, 2, true, false, 0, 0, 4},
    {"bilevel_lzw", 5, 1, 1, 2, true, false, 0, 0, 5},
    {"bilevel_packbits", 8, 1, 1, 2, true, false, 0, 0, 32773},
    {"rgb_none", 0, 8, 3, 2, false, false, 0, 0, 1},
    {"rgb_lzw", 5, 8, 3, 2, false, false, 0, 0, 5},
    {"rgb_packbits", 8, 8, 3, 2, false, false, 0, 0, 32773},
    {"rgb_ccitt_request", 4, 8, 3, 2, false, false, 0, 0, 1},
    {"cmyk_lzw", 5, 8, 4, 5, false, false, 2, 1, 5},
    {"lab", 0, 8, 3, 7, false, false, 20, 12, 1},
    {"grey8", 0, 8, 1, 1, false, true, 1, 0, 1},
    {"grey4_lzw", 5, 4, 1, 1, false, true, 25, 0, 5},
    {"grey16_packbits", 8, 16, 1, 1, false, true, 1, 0, 32773},
    {"palette8_lzw", 5, 8, 1, 2, false, false, -1, 0, 5},
    {"palette4", 0, 4, 1, 2, false, false, -1, 0, 1},
};

TEST(TiffWriter, EveryCompressionReadsBackInLibtiff) {
    if (!HaveTool("tiffinfo") || !HaveTool("convert")) GTEST_SKIP() << "libtiff-tools or ImageMagick is not installed";
    IEGlobalLzwSlots().TiffCompressor = TiffLzwEncode;
    TTempDir dir;
    for (const TWriteCase& c : kWriteCases) {
        SCOPED_TRACE(c.Name);
        TIEBitmap image;
        if (c.Bilevel) MakeTextPage(image, 1001, 67);
        else MakeColourImage(image, 75, 33, c.Grey);
        TIOParamsVals params;
        params.TiffCompression = uint8_t(c.Compression);
        params.BitsPerSample = c.Bits;
        params.SamplesPerPixel = c.Samples;
        params.TiffPhotometric = uint8_t(c.Photometric);
        params.DpiX = params.DpiY = 300;
        std::vector<uint8_t> bytes = WriteTiffBytes(image, params);
        ASSERT_FALSE(bytes.empty());
        const std::string file = dir.Path(std::string(c.Name) + ".tif");
        WriteBytes(file, bytes);
        std::string info = RunOutput("tiffinfo -D '" + file + "' 2>&1; echo status=$?");
        EXPECT_NE(info.find("status=0"), std::string::npos) << info;
        EXPECT_EQ(info.find("rror"), std::string::npos) << info;
        EXPECT_EQ(RunOutput("tiffdump '" + file + "' | grep -c 'Compression (259) SHORT (3) 1<" +
                            std::to_string(c.ExpectedTag) + ">'"), "1\n");

        TRgbImage peer = PeerDecode(file);
        TIEBitmap back;
        TIOParamsVals readParams;
        EXPECT_FALSE(ReadTiffBytes(bytes, back, readParams).Aborted);
        EXPECT_LE(MaxDifference(peer, ToRgb(back)), c.PeerTolerance);
        if (c.Tolerance >= 0) {
            EXPECT_LE(MaxDifference(ToRgb(back), ToRgb(image)), c.Tolerance);
        }
    }
    IEGlobalLzwSlots().TiffCompressor = nullptr;
}
}  // namespace
