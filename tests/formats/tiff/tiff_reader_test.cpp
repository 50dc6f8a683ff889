// Reader and writer rules on hand-made files: byte order, the directory chain, interpretation
// of the tags, and the entries the writer makes.
#include "tiff_test_util.h"

#include "formats/core/lzw_slots.h"
#include "formats/core/progress.h"
#include "formats/core/row_bits.h"
#include "formats/tiff/tiff.h"
#include "formats/tiff/tiff_directory.h"
#include "formats/tiff/tiff_tags.h"

#include <gtest/gtest.h>

namespace {
// Builds a one-strip page: entries (tag, type, values), image data after the directory.
struct TEntrySpec {
    uint16_t Tag, Type;
    std::vector<uint32_t> Values;
    std::string Text;
};

class TTiffBuilder {
public:
    explicit TTiffBuilder(bool bigEndian) : FBig(bigEndian) {}
    std::vector<uint8_t> Build(std::vector<TEntrySpec> entries, const std::vector<uint8_t>& pixels,
                               bool selfLink = false) {
        std::vector<uint8_t> out = {uint8_t(FBig ? 'M' : 'I'), uint8_t(FBig ? 'M' : 'I')};
        Put16(out, 42);
        Put32(out, 8);
        const uint32_t dirSize = 2 + 12 * uint32_t(entries.size() + 1) + 4;
        std::vector<uint8_t> extra;
        const uint32_t extraStart = 8 + dirSize;
        std::vector<uint8_t> dir;
        Put16(dir, uint16_t(entries.size() + 1));
        auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, const std::vector<uint8_t>& value) {
            Put16(dir, tag);
            Put16(dir, type);
            Put32(dir, count);
            if (value.size() <= 4) {
                std::vector<uint8_t> v = value;
                v.resize(4, 0);
                dir.insert(dir.end(), v.begin(), v.end());
            } else {
                Put32(dir, extraStart + uint32_t(extra.size()));
                extra.insert(extra.end(), value.begin(), value.end());
            }
        };
        for (const auto& e : entries) {
            std::vector<uint8_t> v;
            if (e.Type == tyAscii) v.assign(e.Text.begin(), e.Text.end() + 1);
            for (uint32_t x : e.Values) e.Type == tyShort ? Put16(v, uint16_t(x)) : Put32(v, x);
            uint32_t count = e.Type == tyAscii ? uint32_t(v.size()) : e.Type == tyRational ? uint32_t(e.Values.size() / 2)
                                                                                         : uint32_t(e.Values.size());
            entry(e.Tag, e.Type, count, v);
        }
        // Strip offset last; the pixels follow the extra values.
        std::vector<uint8_t> offset;
        Put32(offset, extraStart + uint32_t(extra.size()));
        entry(ttStripOffsets, tyLong, 1, offset);
        Put32(dir, selfLink ? 8 : 0);
        out.insert(out.end(), dir.begin(), dir.end());
        out.insert(out.end(), extra.begin(), extra.end());
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }

private:
    void Put16(std::vector<uint8_t>& v, uint16_t x) {
        uint8_t b[2];
        FBig ? IEPutBE16(b, x) : IEPutLE16(b, x);
        v.insert(v.end(), b, b + 2);
    }
    void Put32(std::vector<uint8_t>& v, uint32_t x) {
        uint8_t b[4];
        FBig ? IEPutBE32(b, x) : IEPutLE32(b, x);
        v.insert(v.end(), b, b + 4);
    }
    bool FBig;
};

std::vector<TEntrySpec> GreyPage(uint32_t width, uint32_t height, int bits) {
    return {{ttImageWidth, tyShort, {width}, {}}, {ttImageLength, tyShort, {height}, {}},
            {ttBitsPerSample, tyShort, {uint32_t(bits)}, {}}, {ttPhotometric, tyShort, {1}, {}}};
}

TEST(TiffReader, BigEndianMatchesLittleEndianTwin) {
    const std::vector<uint8_t> pixels = {10, 20, 30, 40, 50, 60};
    TIEBitmap le, be;
    TIOParamsVals lp, bp;
    ASSERT_FALSE(ReadTiffBytes(TTiffBuilder(false).Build(GreyPage(3, 2, 8), pixels), le, lp).Aborted);
    ASSERT_FALSE(ReadTiffBytes(TTiffBuilder(true).Build(GreyPage(3, 2, 8), pixels), be, bp).Aborted);
    EXPECT_EQ(bp.Width, 3);
    EXPECT_EQ(bp.Height, 2);
    EXPECT_EQ(MaxDifference(ToRgb(le), ToRgb(be)), 0);
    EXPECT_EQ(ToRgb(be).Pixels[3 * 4], 50);
}

TEST(TiffReader, ChainCyclesEndTheWalk) {
    TIEBitmap bitmap;
    TIOParamsVals params;
    std::vector<uint8_t> self = TTiffBuilder(false).Build(GreyPage(1, 1, 8), {7}, /*selfLink=*/true);
    EXPECT_EQ(ReadTiffBytes(self, bitmap, params).Pages, 1);
    // A second directory pointing back at the first: two pages, then the walk stops.
    std::vector<uint8_t> loop = self;
    const uint32_t second = uint32_t(loop.size());
    loop.insert(loop.end(), {1, 0, 0, 1, 4, 0, 1, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0});
    IEPutLE32(loop.data() + 8 + 2 + 12 * 5, second);
    EXPECT_EQ(ReadTiffBytes(loop, bitmap, params).Pages, 2);
    params.TiffImageIndex = 2;
    EXPECT_TRUE(ReadTiffBytes(loop, bitmap, params).Aborted);
}

TEST(TiffReader, RejectsBrokenFiles) {
    TIEBitmap bitmap;
    const std::vector<uint8_t> good = TTiffBuilder(false).Build(GreyPage(2, 1, 8), {1, 2});
    std::vector<uint8_t> noMagic = good;
    noMagic[0] = 'X';
    std::vector<uint8_t> noDirectory = good;
    IEPutLE32(noDirectory.data() + 4, 0);
    std::vector<TEntrySpec> mixedBits = GreyPage(2, 1, 8);
    mixedBits[2].Values = {8, 4};
    std::vector<TEntrySpec> lzw = GreyPage(2, 1, 8);
    lzw.push_back({ttCompression, tyShort, {5}, {}});
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"magic", noMagic},
        {"first directory 0", noDirectory},
        {"differing bits", TTiffBuilder(false).Build(mixedBits, {1, 2})},
        {"width 0", TTiffBuilder(false).Build(GreyPage(0, 1, 8), {})},
        {"truncated", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
    };
    for (const auto& [name, bytes] : cases) {
        TIOParamsVals params;
        EXPECT_TRUE(ReadTiffBytes(bytes, bitmap, params).Aborted) << name;
    }
    // LZW without any decoding routine.
    TIOParamsVals params;
    params.TiffLzwDecompressor = nullptr;
    TMemoryStream stream;
    std::vector<uint8_t> bytes = TTiffBuilder(false).Build(lzw, {0x80, 0, 0, 0});
    TMemoryStream in(bytes.data(), bytes.size());
    bool aborted = false;
    TProgressRec progress;
    progress.Aborting = &aborted;
    int pages = 0;
    std::unique_ptr<TIEBitmap> mask;
    TTiffLzwDecompressor slot = IEGlobalLzwSlots().TiffDecompressor;
    IEGlobalLzwSlots().TiffDecompressor = nullptr;
    ReadTiff(bitmap, in, pages, false, false, false, mask, progress, params);
    IEGlobalLzwSlots().TiffDecompressor = slot;
    EXPECT_TRUE(aborted);
}

TEST(TiffReader, InterpretsTags) {
    // 16-bit grey: "Look@Molli v1.1" pages shift by 4 rather than 8.
    std::vector<TEntrySpec> grey16 = GreyPage(1, 1, 16);
    TIEBitmap bitmap;
    TIOParamsVals params;
    ASSERT_FALSE(ReadTiffBytes(TTiffBuilder(false).Build(grey16, {0x00, 0x08}), bitmap, params).Aborted);
    EXPECT_EQ(bitmap.ScanLine(0)[0], 8);
    grey16.push_back({ttSoftware, tyAscii, {}, "Look@Molli v1.1 scanner"});
    ASSERT_FALSE(ReadTiffBytes(TTiffBuilder(false).Build(grey16, {0x00, 0x08}), bitmap, params).Aborted);
    EXPECT_EQ(bitmap.ScanLine(0)[0], 128);

    // Resolution in centimetres, names, a short ASCII value held in the entry itself.
    std::vector<TEntrySpec> page = GreyPage(1, 1, 8);
    page.push_back({ttXResolution, tyRational, {11811, 100}, {}});
    page.push_back({ttResolutionUnit, tyShort, {3}, {}});
    page.push_back({ttDocumentName, tyAscii, {}, "ab"});
    page.push_back({ttPageNumber, tyShort, {2, 5}, {}});
    ASSERT_FALSE(ReadTiffBytes(TTiffBuilder(false).Build(page, {0}), bitmap, params).Aborted);
    EXPECT_EQ(params.DpiX, 299);
    EXPECT_EQ(params.TiffDocumentName, "ab");
    EXPECT_EQ(params.TiffPageNumber, 2);
    EXPECT_EQ(params.TiffPageCount, 5);

    // Bilevel white-is-zero, uncompressed: 0 bits are white.
    std::vector<TEntrySpec> bw = {{ttImageWidth, tyShort, {8}, {}}, {ttImageLength, tyShort, {1}, {}},
                                  {ttPhotometric, tyShort, {0}, {}}};
    ASSERT_FALSE(ReadTiffBytes(TTiffBuilder(false).Build(bw, {0x0F}), bitmap, params).Aborted);
    EXPECT_EQ(bitmap.PixelFormat(), ipf1Bit);
    EXPECT_EQ(bitmap.ScanLine(0)[0], 0xF0);  // ipf1Bit: 1 is white
}

TEST(TiffReader, OrientationTurnsThePageUpright) {
    // 2 × 1 grey page stored rotated: orientation 6 means the rows are the right-hand column.
    std::vector<TEntrySpec> page = GreyPage(2, 1, 8);
    page.push_back({ttOrientation, tyShort, {6}, {}});
    TIEBitmap bitmap;
    TIOParamsVals params;
    params.TiffAdjustOrientation = true;
    ASSERT_FALSE(ReadTiffBytes(TTiffBuilder(false).Build(page, {10, 200}), bitmap, params).Aborted);
    ASSERT_EQ(bitmap.Width(), 1);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.ScanLine(0)[0], 10);
    EXPECT_EQ(bitmap.ScanLine(1)[0], 200);
}

// The written entries, in file order, with typed access.
struct TWritten {
    std::vector<uint8_t> Bytes;
    std::unique_ptr<TMemoryStream> Stream;
    std::unique_ptr<TTiffFile> File;
    std::vector<TTiffEntry> Entries;
    std::unique_ptr<TTiffDirectory> Dir;
    explicit TWritten(std::vector<uint8_t> bytes) : Bytes(std::move(bytes)) {
        Stream = std::make_unique<TMemoryStream>(Bytes.data(), Bytes.size());
        File = std::make_unique<TTiffFile>(*Stream, 0);
        uint32_t first = 0;
        if (!File->ReadHeader(first)) return;
        TTiffChain chain = WalkTiffChain(*File, first, 0);
        Entries = chain.Entries;
        Dir = std::make_unique<TTiffDirectory>(*File, chain.Entries);
    }
    std::vector<uint16_t> Tags() const {
        std::vector<uint16_t> t;
        for (const auto& e : Entries) t.push_back(e.Tag);
        return t;
    }
};

void MakeBilevel(TIEBitmap& b) {
    b.Allocate(20, 5, ipf1Bit);
    b.Fill(0xFF);
    b.ScanLine(2)[1] = 0x0F;
}

TEST(TiffWriterRules, Group4PageHasTheListedEntries) {
    TIEBitmap image;
    MakeBilevel(image);
    TIOParamsVals params;
    params.BitsPerSample = params.SamplesPerPixel = 1;
    params.TiffCompression = 4;
    TWritten w(WriteTiffBytes(image, params));
    ASSERT_TRUE(w.Dir);
    EXPECT_EQ(w.Tags(), (std::vector<uint16_t>{256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 286, 287, 296, 33723}));
    EXPECT_EQ(w.Dir->Int(ttCompression, 0), 4u);
    EXPECT_EQ(w.Dir->Int(ttPhotometric, 9), 0u);
    EXPECT_EQ(w.Dir->Int(ttSamplesPerPixel, 0), 1u);
    EXPECT_EQ(w.Dir->Int(ttBitsPerSample, 0), 1u);
    EXPECT_EQ(w.Dir->Ints(ttStripOffsets).size(), 1u);
    EXPECT_EQ(w.Dir->Int(ttResolutionUnit, 0), 2u);

    // Reading it back leaves the record asking for Group 4 again.
    TIEBitmap back;
    TIOParamsVals again;
    ASSERT_FALSE(ReadTiffBytes(w.Bytes, back, again).Aborted);
    EXPECT_EQ(MaxDifference(ToRgb(back), ToRgb(image)), 0);
    EXPECT_EQ(TWritten(WriteTiffBytes(back, again)).Dir->Int(ttCompression, 0), 4u);
}

TEST(TiffWriterRules, ParametersChooseTheLayout) {
    struct TCase {
        const char* Name;
        bool Bilevel;
        int Bits, Samples, Compression;
        uint32_t Tag, Photometric, FileSamples, FileBits;
    };
    const TCase cases[] = {
        {"bilevel with colour defaults", true, 8, 3, 0, 1, 2, 3, 8},
        {"bilevel scan", true, 1, 1, 0, 1, 1, 1, 1},
        {"colour asking for Group 4", false, 8, 3, 4, 1, 2, 3, 8},
        {"LZW without a routine", false, 8, 3, 5, 1, 2, 3, 8},
    };
    TTiffLzwCompressor slot = IEGlobalLzwSlots().TiffCompressor;
    IEGlobalLzwSlots().TiffCompressor = nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TIEBitmap image;
        if (c.Bilevel) MakeBilevel(image);
        else image.Allocate(4, 4, ipf24RGB), image.Fill(90);
        TIOParamsVals params;
        params.TiffLzwCompressor = nullptr;
        params.BitsPerSample = c.Bits;
        params.SamplesPerPixel = c.Samples;
        params.TiffCompression = uint8_t(c.Compression);
        TWritten w(WriteTiffBytes(image, params));
        ASSERT_TRUE(w.Dir);
        EXPECT_EQ(w.Dir->Int(ttCompression, 0), c.Tag);
        EXPECT_EQ(w.Dir->Int(ttPhotometric, 9), c.Photometric);
        EXPECT_EQ(w.Dir->Int(ttSamplesPerPixel, 0), c.FileSamples);
        EXPECT_EQ(w.Dir->Int(ttBitsPerSample, 0), c.FileBits);
        EXPECT_FALSE(w.Dir->Has(ttPredictor));
    }
    IEGlobalLzwSlots().TiffCompressor = slot;

    // With our encoder installed, LZW is LZW with horizontal differencing.
    TIEBitmap colour;
    colour.Allocate(4, 4, ipf24RGB);
    colour.Fill(90);
    TIOParamsVals params;
    params.TiffLzwCompressor = TiffLzwEncode;
    params.TiffCompression = 5;
    TWritten lzw(WriteTiffBytes(colour, params));
    EXPECT_EQ(lzw.Dir->Int(ttCompression, 0), 5u);
    EXPECT_EQ(lzw.Dir->Int(ttPredictor, 0), 2u);

    // One 8-bit sample: grey for a grey image, a palette with 768 values otherwise.
    TIOParamsVals greyParams;
    greyParams.SamplesPerPixel = 1;
    EXPECT_EQ(TWritten(WriteTiffBytes(colour, greyParams)).Dir->Int(ttPhotometric, 9), 1u);
    colour.ScanLine(0)[0] = 255;
    TIOParamsVals paletteParams;
    paletteParams.SamplesPerPixel = 1;
    paletteParams.TiffDocumentName = "ab";
    TWritten palette(WriteTiffBytes(colour, paletteParams));
    EXPECT_EQ(palette.Dir->Int(ttPhotometric, 9), 3u);
    EXPECT_EQ(palette.Dir->Ints(ttColorMap).size(), 768u);
    const TTiffEntry* name = palette.Dir->Find(ttDocumentName);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Count, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(name->Value), 3), std::string("ab", 3));  // in the entry
    EXPECT_EQ(palette.Dir->Ascii(ttDocumentName), "ab");
}

// Accepts a few bytes, then fails every write.
class TShortStream : public TMemoryStream {
public:
    int64_t Write(const void* buffer, int64_t count) override {
        if (Size() + count > 100) return 0;
        return TMemoryStream::Write(buffer, count);
    }
};

TEST(TiffWriterRules, ShortWriteAborts) {
    TIEBitmap image;
    image.Allocate(64, 64, ipf24RGB);
    image.Fill(3);
    TIOParamsVals params;
    TShortStream stream;
    bool aborted = false;
    TProgressRec progress;
    progress.Aborting = &aborted;
    EXPECT_EQ(WriteTiff(stream, false, image, progress, params), 0);
    EXPECT_TRUE(aborted);
}

TEST(TiffWriterRules, AppendLinksAPageIn) {
    TIEBitmap first, second;
    MakeBilevel(first);
    second.Allocate(3, 2, ipf24RGB);
    second.Fill(200);
    TMemoryStream stream;
    bool aborted = false;
    TProgressRec progress;
    progress.Aborting = &aborted;
    TIOParamsVals params;
    params.BitsPerSample = params.SamplesPerPixel = 1;
    EXPECT_EQ(WriteTiff(stream, false, first, progress, params), 1);
    TIOParamsVals colour;
    colour.TiffImageIndex = 0;  // becomes the first page
    EXPECT_EQ(WriteTiff(stream, true, second, progress, colour), 2);
    ASSERT_FALSE(aborted);
    std::vector<uint8_t> bytes(stream.Memory(), stream.Memory() + stream.Size());
    TIEBitmap page;
    TIOParamsVals read;
    EXPECT_EQ(ReadTiffBytes(bytes, page, read).Pages, 2);
    EXPECT_EQ(page.Width(), 3);
    read.TiffImageIndex = 1;
    ASSERT_FALSE(ReadTiffBytes(bytes, page, read).Aborted);
    EXPECT_EQ(MaxDifference(ToRgb(page), ToRgb(first)), 0);

    // Big-endian files are not appended to.
    std::vector<uint8_t> big = TTiffBuilder(true).Build(GreyPage(1, 1, 8), {0});
    TMemoryStream bigStream(big.data(), big.size());
    aborted = false;
    EXPECT_EQ(WriteTiff(bigStream, true, second, progress, colour), 0);
    EXPECT_TRUE(aborted);
}
}  // namespace
