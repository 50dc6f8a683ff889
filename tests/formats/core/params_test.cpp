#include "formats/core/io_params.h"

#include <gtest/gtest.h>

namespace {

struct TFakeOwner : TIOParamsOwner {
    bool HasImage = false, HasView = false;
    bool ImageSize(int& w, int& h) const override
    {
        if (HasImage) { w = 640; h = 480; }
        return HasImage;
    }
    bool ViewResolution(int& x, int& y) const override
    {
        if (HasView) { x = 96; y = 72; }
        return HasView;
    }
};

void FakeGifDecoder(TStream&, int, int, uint8_t*, bool) {}

}  // namespace

TEST(ParamsTest, DefaultsOfANewRecord)
{
    TIOParamsVals p;
    EXPECT_EQ(p.BitsPerSample, 8);
    EXPECT_EQ(p.SamplesPerPixel, 3);
    EXPECT_EQ(p.GifVersion, "GIF89a");
    EXPECT_EQ(p.JpegQuality, 80);
    EXPECT_EQ(p.BmpVersion, 1);
    EXPECT_EQ(p.IcoBackground, CreateRGB(255, 255, 255));
    EXPECT_EQ(p.IcoSizes[0], std::make_pair(64, 64));
    EXPECT_EQ(p.IcoSizes[1], std::make_pair(0, 0));
    EXPECT_EQ(p.IcoBitCounts[0], 8);
    EXPECT_EQ(p.IcoBitCounts[1], 0);
    EXPECT_GT(p.TgaDate, 45000.0);  // a date after 2023
}

TEST(ParamsTest, SetDefaultParamsTakesSizeAndResolutionOnlyFromOwner)
{
    TFakeOwner owner;
    TIOParamsVals p(&owner);
    p.Width = 11; p.Height = 12; p.DpiX = 13; p.DpiY = 14;
    p.JpegQuality = 5;
    p.FileName = "x.bmp";
    p.SetColorMap(std::vector<TRGB>(4).data(), 4);
    p.SetDefaultParams();
    EXPECT_EQ(p.Width, 11);
    EXPECT_EQ(p.DpiY, 14);
    EXPECT_EQ(p.JpegQuality, 80);
    EXPECT_TRUE(p.FileName.empty());
    EXPECT_EQ(p.ColorMapCount, 0);

    owner.HasImage = true;
    p.SetDefaultParams();
    EXPECT_EQ(p.Width, 640);
    EXPECT_EQ(p.Height, 480);
    EXPECT_EQ(p.DpiX, 13);
    owner.HasView = true;
    p.SetDefaultParams();
    EXPECT_EQ(p.DpiX, 96);
    EXPECT_EQ(p.DpiY, 72);
}

TEST(ParamsTest, DefaultsCopyTheProgramWideLzwSlotsOfThatMoment)
{
    TIOParamsVals before;
    IEGlobalLzwSlots().GifDecompressor = FakeGifDecoder;
    TIOParamsVals after;
    IEGlobalLzwSlots().GifDecompressor = nullptr;
    EXPECT_EQ(before.GifLzwDecompressor, nullptr);
    EXPECT_EQ(after.GifLzwDecompressor, FakeGifDecoder);
}

TEST(ParamsTest, ResetInfoClearsReadInformationOnly)
{
    TIOParamsVals p;
    p.IptcInfo.push_back({2, 5, "t"});
    p.JpegMarkers.push_back({0xFE, {1}});
    p.Exif.HasExif = true;
    p.GifComments = {"c"};
    p.TiffPageName = "p";
    p.TgaAuthor = "a";
    p.PxmComments = {"x"};
    p.TiffCompression = 5;
    p.JpegQuality = 40;
    p.ResetInfo();
    EXPECT_TRUE(p.IptcInfo.empty());
    EXPECT_TRUE(p.JpegMarkers.empty());
    EXPECT_FALSE(p.Exif.HasExif);
    EXPECT_TRUE(p.GifComments.empty());
    EXPECT_TRUE(p.TiffPageName.empty());
    EXPECT_TRUE(p.TgaAuthor.empty());
    EXPECT_TRUE(p.PxmComments.empty());
    EXPECT_EQ(p.TiffCompression, 5);
    EXPECT_EQ(p.JpegQuality, 40);
}

TEST(ParamsTest, AssignCopiesEverythingAssignCompressionOnlyEncoding)
{
    TIOParamsVals source;
    source.Width = 99;
    source.FileName = "a.tif";
    source.TiffCompression = 5;
    source.JpegProgressive = true;
    source.BmpCompression = 1;
    source.PngCompression = 9;
    source.GifInterlaced = true;
    source.TiffPageName = "page";
    source.SetColorMap(std::vector<TRGB>(3, CreateRGB(1, 2, 3)).data(), 3);

    TIOParamsVals full;
    full.Assign(source);
    EXPECT_EQ(full.Width, 99);
    EXPECT_EQ(full.FileName, "a.tif");
    EXPECT_EQ(full.ColorMapCount, 3);
    EXPECT_EQ(full.ColorMap[2], CreateRGB(1, 2, 3));
    EXPECT_EQ(full.TiffPageName, "page");

    TIOParamsVals encoding;
    encoding.AssignCompression(source);
    EXPECT_EQ(encoding.TiffCompression, 5);
    EXPECT_TRUE(encoding.JpegProgressive);
    EXPECT_EQ(encoding.BmpCompression, 1);
    EXPECT_EQ(encoding.PngCompression, 9);
    EXPECT_TRUE(encoding.GifInterlaced);
    EXPECT_EQ(encoding.Width, 0);
    EXPECT_TRUE(encoding.FileName.empty());
    EXPECT_TRUE(encoding.TiffPageName.empty());
    EXPECT_EQ(encoding.ColorMapCount, 0);
}
