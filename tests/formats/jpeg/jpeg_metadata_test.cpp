// IPTC in APP13 and EXIF in APP1: read after a load, written back before a save.
#include "formats/jpeg/iptc.h"
#include "formats/jpeg/jpeg.h"
#include "formats/tiff/tiff.h"
#include "tests/formats/peer_tools/peer_tools.h"

#include <gtest/gtest.h>

namespace {

std::vector<uint8_t> Write(TIEBitmap& bitmap, TIOParamsVals& params)
{
    TMemoryStream stream;
    TTestProgress progress;
    FoldIptcIntoMarkers(params);
    WriteJpeg(stream, bitmap, params, progress.Rec);
    EXPECT_FALSE(progress.Aborting);
    return stream.Bytes();
}

bool Load(const std::vector<uint8_t>& bytes, TIEBitmap& bitmap, TIOParamsVals& params)
{
    TMemoryStream stream(bytes.data(), bytes.size());
    TTestProgress progress;
    ReadJpeg(stream, nullptr, bitmap, false, false, progress.Rec, params);
    DecodeJpegMetadata(params);
    return !progress.Aborting;
}

// A little-endian EXIF block: IFD0 with XResolution, YResolution and ResolutionUnit.
std::vector<uint8_t> ExifBlock(uint32_t xres, uint32_t yres, uint16_t unit)
{
    std::vector<uint8_t> b = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
    auto u16 = [&](uint32_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const uint32_t data = 8 + 2 + 3 * 12 + 4;  // rationals follow the directory
    u16(3);
    u16(282); u16(5); u32(1); u32(data);
    u16(283); u16(5); u32(1); u32(data + 8);
    u16(296); u16(3); u32(1); u32(unit);
    u32(0);
    u32(xres); u32(1);
    u32(yres); u32(1);
    return b;
}

// Whether the TIFF reader can parse an EXIF structure yet.
bool TiffReaderAvailable()
{
    const std::vector<uint8_t> block = ExifBlock(72, 72, 2);
    TMemoryStream stream(block.data() + 6, block.size() - 6);
    TIEBitmap bitmap;
    TIOParamsVals params;
    TTestProgress progress;
    std::unique_ptr<TIEBitmap> mask;
    int pages = 0;
    ReadTiff(bitmap, stream, pages, true, true, true, mask, progress.Rec, params);
    return !progress.Aborting;
}

// Replaces the unit and densities of the JFIF header that the library wrote.
void SetJfifDensity(std::vector<uint8_t>& bytes, uint8_t unit, uint16_t x, uint16_t y)
{
    const uint8_t jfif[] = {'J', 'F', 'I', 'F', 0};
    auto at = std::search(bytes.begin(), bytes.end(), std::begin(jfif), std::end(jfif));
    ASSERT_NE(at, bytes.end());
    at += 7;
    *at++ = unit;
    *at++ = uint8_t(x >> 8);
    *at++ = uint8_t(x);
    *at++ = uint8_t(y >> 8);
    *at = uint8_t(y);
}

}  // namespace

TEST(Iptc, ItemsSurviveASaveAndALoad)
{
    TIEBitmap picture;
    MakeTestPicture(picture, 16, 16);
    const std::vector<std::vector<TIptcItem>> cases = {
        {{2, 120, "Légende du document"}, {2, 25, "scan"}, {2, 25, "papier"}},
        {{2, 5, std::string(17, 'x')}},          // a block of 28 bytes: its size byte is 0x1C
        {{2, 120, std::string(40000, 'y')}},     // extended length
        {},
    };
    for (const auto& items : cases) {
        SCOPED_TRACE(items.size());
        TIOParamsVals params;
        params.IptcInfo = items;
        params.IptcChanged = true;
        params.JpegMarkers = {{0xFE, {'c'}}, {0xED, {'o', 'l', 'd'}}};
        TIEBitmap back;
        TIOParamsVals read;
        ASSERT_TRUE(Load(Write(picture, params), back, read));
        EXPECT_FALSE(read.IptcChanged);
        ASSERT_EQ(read.IptcInfo.size(), items.size() + 1);
        EXPECT_EQ(read.IptcInfo[0], (TIptcItem{2, 0, std::string("\0\2", 2)}));
        EXPECT_EQ(std::vector<TIptcItem>(read.IptcInfo.begin() + 1, read.IptcInfo.end()), items);
        ASSERT_EQ(read.JpegMarkers.size(), 2u);
        EXPECT_EQ(read.JpegMarkers[0].Marker, 0xFE);  // the block replaced the old one in place
        EXPECT_EQ(read.JpegMarkers[1].Data.size() % 2, 0u);
    }
}

TEST(Iptc, UnchangedItemsLeaveTheMarkerAlone)
{
    TIOParamsVals params;
    params.IptcInfo = {{2, 120, "new"}};
    params.JpegMarkers = {{0xED, {'o', 'l', 'd'}}};
    FoldIptcIntoMarkers(params);
    EXPECT_EQ(params.JpegMarkers[0].Data, (std::vector<uint8_t>{'o', 'l', 'd'}));
}

TEST(Iptc, ParsingStopsAtDamage)
{
    const std::vector<uint8_t> bare = {0, 0, 0x1C, 2, 120, 0, 2, 'h', 'i', 0x1C, 2, 25, 0, 9, 'x'};
    const std::vector<TIptcItem> items = IptcParseApp13(bare);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0], (TIptcItem{2, 120, "hi"}));
    const std::vector<uint8_t> hugeLength = {0x1C, 2, 120, 0x80, 4, 0xFF, 0xFF, 0xFF, 0xFF, 'a'};
    EXPECT_TRUE(IptcParseItems(hugeLength.data(), hugeLength.size()).empty());
}

TEST(Iptc, ImageMagickReadsOurBlock)
{
    if (!HaveTools({"identify"}))
        GTEST_SKIP() << "ImageMagick is needed";
    TIEBitmap picture;
    MakeTestPicture(picture, 16, 16);
    TIOParamsVals params;
    params.IptcInfo = {{2, 120, "Caption here"}};
    params.IptcChanged = true;
    TTempDir dir;
    WriteFileBytes(dir.Path("iptc.jpg"), Write(picture, params));
    EXPECT_EQ(RunOutput("identify -format '%[IPTC:2:120]' " + dir.Path("iptc.jpg")), "Caption here");
}

TEST(Exif, ResolutionFallsBackOnTheExifBlock)
{
    if (!TiffReaderAvailable())
        GTEST_SKIP() << "the TIFF reader cannot parse EXIF structures in this build";
    struct TCase {
        uint8_t JfifUnit;
        uint16_t JfifDensity;
        uint16_t ExifUnit;
        int Dpi;
    } cases[] = {{0, 1, 2, 72}, {0, 1, 3, 182}, {1, 300, 2, 300}};
    TIEBitmap picture;
    MakeTestPicture(picture, 16, 16);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Dpi);
        TIOParamsVals params;
        params.JpegMarkers = {{0xE1, ExifBlock(72, 72, c.ExifUnit)}};
        std::vector<uint8_t> bytes = Write(picture, params);
        SetJfifDensity(bytes, c.JfifUnit, c.JfifDensity, c.JfifDensity);
        TIEBitmap back;
        TIOParamsVals read;
        ASSERT_TRUE(Load(bytes, back, read));
        EXPECT_TRUE(read.Exif.HasExif);
        EXPECT_EQ(read.DpiX, c.Dpi);
        EXPECT_EQ(read.DpiY, c.Dpi);
    }
}
