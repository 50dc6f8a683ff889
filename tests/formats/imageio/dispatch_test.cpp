#include "formats/imageio/format_table.h"
#include "formats/imageio/image_io.h"
#include "formats/imageio/lzw_install.h"
#include "temp_dir.h"

TEST(DispatchTest, LoadRoutesByExtensionWhateverTheContent)
{
    TTempDir dir;
    struct Case { const char* name; TImageFileType type; };
    for (Case c : {Case{"a.jpe", ftJPEG}, Case{"a.JPG", ftJPEG}, Case{"a.G3N", ftTIFF}, Case{"a.fax", ftTIFF},
                   Case{"a.win", ftTGA}, Case{"a.pix", ftTGA}, Case{"a.dib", ftBMP}, Case{"a.rle", ftBMP},
                   Case{"a.pgm", ftPXM}, Case{"a.pcx", ftPCX}, Case{"a.gif", ftGIF}, Case{"a.png", ftPNG},
                   Case{"a.cur", ftCUR}, Case{"a.emf", ftEMF}, Case{"a.j2c", ftJ2K}}) {
        const std::string file = dir.Write(c.name, "not an image at all");
        TImageIO io;
        int finished = 0;
        io.OnFinishWork = [&] { ++finished; };
        io.LoadFromFile(file);
        EXPECT_EQ(io.Params.FileType, c.type) << c.name;
        EXPECT_EQ(io.Params.FileName, file) << c.name;
        EXPECT_TRUE(io.Aborting) << c.name;
        EXPECT_EQ(finished, 1) << c.name;
    }
}

TEST(DispatchTest, UnknownExtensionAndEmptyNameAbortWithoutException)
{
    TTempDir dir;
    TImageIO io;
    io.Params.FileName = "old.bmp";
    io.Params.FileType = ftBMP;
    int finished = 0;
    io.OnFinishWork = [&] { ++finished; };
    io.LoadFromFile(dir.Write("a.xyz", "BM"));
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(io.Params.FileType, ftUnknown);
    EXPECT_TRUE(io.Params.FileName.empty());
    io.Aborting = false;
    io.LoadFromFile("");
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(finished, 2);
}

TEST(DispatchTest, MissingFileThrowsAfterFinishWork)
{
    TImageIO io;
    int finished = 0;
    io.OnFinishWork = [&] { ++finished; };
    EXPECT_THROW(io.LoadFromFile("/nonexistent/x.bmp"), EFOpenError);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(io.Aborting);
}

TEST(DispatchTest, SavingFormatsWithoutWriterCreatesNoFile)
{
    TTempDir dir;
    TImageIO io;
    io.IEBitmap()->Allocate(4, 4, ipf24RGB);
    for (const char* name : {"a.wmf", "a.emf", "a.cur", "a.xyz", "a.ico", "a.tga", "a.win", "a.jp2", "noext"}) {
        io.Aborting = false;
        io.SaveToFile(dir / name);
        EXPECT_TRUE(io.Aborting) << name;
    }
    EXPECT_EQ(dir.Count(), 0u);
}

TEST(DispatchTest, FormatTableOrderAndGifCapability)
{
    const auto& table = IEFileFormats();
    ASSERT_EQ(table.size(), 14u);
    for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].FileType, TImageFileType(i + 1));
    EXPECT_EQ(IEFindFormatByExtension(".Tiff")->FileType, ftTIFF);
    EXPECT_EQ(IEFindFormatByExtension("pix")->FileType, ftTGA);
    EXPECT_EQ(IEFindFormatByExtension("win"), nullptr);
    EXPECT_FALSE(IECanWrite(*IEFindFormatByType(ftCUR)));

    const TIELzwSlots saved = IEGlobalLzwSlots();
    IEGlobalLzwSlots() = TIELzwSlots();
    EXPECT_FALSE(IECanRead(*IEFindFormatByType(ftGIF)));
    IEInstallProgramLzwRoutines();
    EXPECT_TRUE(IECanRead(*IEFindFormatByType(ftGIF)));
    EXPECT_TRUE(IECanWrite(*IEFindFormatByType(ftGIF)));
    EXPECT_NE(IEGlobalLzwSlots().TiffDecompressor, nullptr);
    EXPECT_NE(IEGlobalLzwSlots().TiffCompressor, nullptr);
    IEGlobalLzwSlots() = saved;
}

TEST(DispatchTest, DefaultsFollowTheAttachedView)
{
    struct TView : TIEViewLink {
        TIEBitmap Bitmap;
        TIEBitmap& IEBitmap() override { return Bitmap; }
        void GetResolution(int& x, int& y) const override { x = 150; y = 75; }
        void SetResolution(int, int) override {}
        TRGB ViewBackground() const override { return {}; }
        void SetViewBackground(TRGB) override {}
        void ImageChanged() override {}
    } view;
    view.Bitmap.Allocate(30, 20, ipf24RGB);
    TImageIO io;
    io.Params.SetDefaultParams();
    EXPECT_EQ(io.Params.Width, 0);
    io.SetAttachedImage(&view);
    EXPECT_EQ(io.IEBitmap(), &view.Bitmap);
    io.Params.SetDefaultParams();
    EXPECT_EQ(io.Params.Width, 30);
    EXPECT_EQ(io.Params.DpiY, 75);
    io.SetAttachedImage(nullptr);
    EXPECT_NE(io.IEBitmap(), &view.Bitmap);
    EXPECT_TRUE(io.IEBitmap()->Empty());
}
