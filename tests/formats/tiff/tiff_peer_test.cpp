// Cross-checks with libtiff and ImageMagick: files they make decode to their pixels, and files
// we write pass tiffinfo and decode in them to the pixels we wrote.
#include "tiff_test_util.h"

#include "formats/tiff/tiff.h"

#include <gtest/gtest.h>

namespace {
struct TPeerCase {
    const char* Name;
    const char* Base;     // source image made by ImageMagick
    const char* Tiffcp;   // tiffcp options, or null to use the base image itself
    int Tolerance;
};

// Source images; "text" is a bilevel page of text, the others are small colour and grey images.
constexpr struct { const char* Name; const char* Command; } kBases[] = {
    {"text", "-size 301x97 xc:white -fill black -font DejaVu-Sans -pointsize 22 "
             "-draw \"text 6,30 'Numerak scans paper 0123'\" -draw \"text 4,75 'fax lines of text'\" "
             "-draw \"rectangle 250,5 296,92\" -monochrome -type Bilevel -depth 1"},
    {"rgb", "-size 67x41 gradient:red-blue -fill lime -draw \"circle 30,20 40,26\" -type TrueColor -depth 8"},
    {"grey", "-size 67x41 gradient:black-white -colorspace Gray -depth 8"},
    {"grey16", "-size 67x41 gradient:black-white -colorspace Gray -depth 16"},
    {"grey4", "-size 67x41 gradient:black-white -colorspace Gray -depth 4"},
    {"grey2", "-size 61x41 gradient:black-white -colorspace Gray -depth 2"},
    {"palette", "-size 67x41 gradient:red-blue -fill lime -draw \"circle 30,20 40,26\" -colors 16 -type Palette -depth 8"},
    {"cmyk", "-size 67x41 gradient:red-blue -fill lime -draw \"circle 30,20 40,26\" -colorspace CMYK -depth 8"},
    {"rgba", "-size 67x41 gradient:red-blue -alpha set -channel A -evaluate set 60% +channel -type TrueColorAlpha -depth 8"},
};

constexpr TPeerCase kCases[] = {
    {"bilevel_none", "text", "-c none", 0},
    {"bilevel_g3_1d", "text", "-c g3:1d", 0},
    {"bilevel_g3_1d_fill", "text", "-c g3:1d:fill", 0},
    {"bilevel_g3_2d", "text", "-c g3:2d", 0},
    {"bilevel_g3_2d_fill", "text", "-c g3:2d:fill", 0},
    {"bilevel_g4", "text", "-c g4", 0},
    {"bilevel_g4_lsb", "text", "-c g4 -f lsb2msb", 0},
    {"bilevel_g4_strips", "text", "-c g4 -r 10", 0},
    {"bilevel_g3_lsb", "text", "-c g3:2d -f lsb2msb", 0},
    {"bilevel_lzw", "text", "-c lzw", 0},
    {"bilevel_packbits", "text", "-c packbits", 0},
    {"bilevel_tiled", "text", "-c g4 -t -w 64 -l 32", 0},
    {"bilevel_bigendian", "text", "-c g4 -B", 0},
    {"rgb_none", "rgb", "-c none", 0},
    {"rgb_lzw", "rgb", "-c lzw", 0},
    {"rgb_lzw_predictor", "rgb", "-c lzw:2", 0},
    {"rgb_packbits", "rgb", "-c packbits", 0},
    {"rgb_strips", "rgb", "-c lzw:2 -r 3", 0},
    {"rgb_planar", "rgb", "-c lzw:2 -p separate", 0},
    {"rgb_planar_none", "rgb", "-c none -p separate -r 5", 0},
    {"rgb_tiled", "rgb", "-c lzw -t -w 16 -l 16", 0},
    {"rgb_bigendian", "rgb", "-c lzw:2 -B", 0},
    {"grey_none", "grey", "-c none", 0},
    {"grey_lzw_predictor", "grey", "-c lzw:2", 0},
    {"grey16_none", "grey16", "-c none", 1},
    {"grey16_bigendian", "grey16", "-c lzw:2 -B", 1},
    {"grey4_none", "grey4", "-c none", 0},
    {"grey2_packbits", "grey2", "-c packbits", 0},
    {"palette_lzw", "palette", "-c lzw", 0},
    {"cmyk_lzw", "cmyk", "-c lzw", 1},
    {"rgba_lzw", "rgba", "-c lzw:2", 1},
    {"multipage_page0", "rgb", nullptr, 0},
};

// One test over the whole table, so that the source images are made once.
TEST(TiffPeer, DecodesToLibtiffPixels) {
    if (!HaveTool("tiffcp") || !HaveTool("convert")) GTEST_SKIP() << "tiffcp or ImageMagick is not installed";
    TTempDir dir;
    for (const auto& b : kBases)
        ASSERT_TRUE(RunCommand("convert " + std::string(b.Command) + " -compress none '" +
                               dir.Path(std::string(b.Name) + ".tif") + "'"));
    for (const TPeerCase& c : kCases) {
        SCOPED_TRACE(c.Name);
        std::string file = dir.Path(std::string(c.Name) + ".tif");
        std::string base = dir.Path(std::string(c.Base) + ".tif");
        if (c.Tiffcp) {
            EXPECT_TRUE(RunCommand("tiffcp " + std::string(c.Tiffcp) + " '" + base + "' '" + file + "'"));
        } else {
            ASSERT_TRUE(RunCommand("tiffcp '" + base + "' '" + dir.Path("grey.tif") + "' '" + file + "'"));
        }
        TIEBitmap bitmap;
        TIOParamsVals params;
        TTiffReadResult r = ReadTiffBytes(ReadBytes(file), bitmap, params);
        EXPECT_FALSE(r.Aborted);
        TRgbImage peer = PeerDecode(file + "[0]");
        ASSERT_GT(peer.Width, 0);
        EXPECT_LE(MaxDifference(ToRgb(bitmap), peer), c.Tolerance);
        if (!c.Tiffcp) {
            EXPECT_EQ(r.Pages, 2);
        }
    }
}
}  // namespace
