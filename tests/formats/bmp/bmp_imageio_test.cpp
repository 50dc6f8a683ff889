// The BMP codec through TImageIO: atomic saves and resolution adjustment.
#include "formats/imageio/image_io.h"
#include "temp_dir.h"

#include <filesystem>
#include <fstream>

namespace {

std::string ReadAll(const std::string& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(BmpImageIOTest, AbortedSaveLeavesTheOldFileAndNoPartialFile)
{
    TTempDir dir;
    const std::string target = dir.Write("page.bmp", "previous contents");
    TImageIO io;
    io.IEBitmap()->Allocate(64, 64, ipf24RGB);
    io.IEBitmap()->Fill(128);
    int finished = 0;
    io.OnFinishWork = [&] { ++finished; };
    io.OnProgress = [&](void*, int percent) {
        if (percent >= 50 && percent < 100) io.Aborting = true;
    };
    io.SaveToFile(target);
    EXPECT_TRUE(io.Aborting);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(ReadAll(target), "previous contents");
    EXPECT_EQ(dir.Count(), 1u);

    io.OnProgress = nullptr;
    io.SaveToFile(target);
    EXPECT_FALSE(io.Aborting);
    EXPECT_EQ(ReadAll(target).substr(0, 2), "BM");
    EXPECT_EQ(dir.Count(), 1u);
}

TEST(BmpImageIOTest, SaveIntoMissingFolderThrowsAfterFinishWork)
{
    TImageIO io;
    io.IEBitmap()->Allocate(2, 2, ipf24RGB);
    int finished = 0;
    io.OnFinishWork = [&] { ++finished; };
    EXPECT_THROW(io.SaveToFile("/nonexistent/folder/a.bmp"), EFCreateError);
    EXPECT_EQ(finished, 1);
}

TEST(BmpImageIOTest, AutoAdjustDPISquaresThePixels)
{
    TTempDir dir;
    struct Case { int width, height, dpiX, dpiY, newWidth, newHeight; bool filtered; };
    for (Case c : {Case{40, 20, 200, 100, 40, 40, false}, Case{20, 40, 200, 100, 10, 40, true},
                   Case{20, 40, 100, 100, 20, 40, false}}) {
        TImageIO writer;
        writer.IEBitmap()->Allocate(c.width, c.height, ipf24RGB);
        writer.IEBitmap()->Fill(200);
        writer.Params.DpiX = c.dpiX;
        writer.Params.DpiY = c.dpiY;
        const std::string file = dir / "dpi.bmp";
        writer.SaveToFile(file);
        ASSERT_FALSE(writer.Aborting);

        TImageIO io;
        io.AutoAdjustDPI = true;
        io.FilteredAdjustDPI = c.filtered;
        io.IEBitmap()->AlphaChannel();
        io.LoadFromFile(file);
        ASSERT_FALSE(io.Aborting);
        EXPECT_EQ(io.IEBitmap()->Width(), c.newWidth);
        EXPECT_EQ(io.IEBitmap()->Height(), c.newHeight);
        EXPECT_EQ(io.Params.Width, c.newWidth);
        EXPECT_EQ(io.Params.Height, c.newHeight);
        EXPECT_EQ(io.Params.DpiX, io.Params.DpiY);
        EXPECT_EQ(io.IEBitmap()->ScanLine(c.newHeight - 1)[0], 200);
        EXPECT_FALSE(io.IEBitmap()->HasAlphaChannel()) << "a load drops the previous alpha channel";
    }
}

TEST(BmpImageIOTest, LoadFromStreamRecognisesTheContent)
{
    TImageIO writer;
    writer.IEBitmap()->Allocate(3, 3, ipf24RGB);
    writer.IEBitmap()->Fill(9);
    TTempDir dir;
    writer.SaveToFile(dir / "s.bmp");
    const std::string bytes = ReadAll(dir / "s.bmp");
    TMemoryStream stream(bytes.data(), bytes.size());
    TImageIO io;
    io.LoadFromStream(stream);
    EXPECT_FALSE(io.Aborting);
    EXPECT_EQ(io.Params.FileType, ftBMP);
    EXPECT_EQ(io.IEBitmap()->Width(), 3);
    TMemoryStream junk("junk junk junk junk", 19);
    io.LoadFromStream(junk);
    EXPECT_TRUE(io.Aborting);
}
