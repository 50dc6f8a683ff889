#include "formats/imageio/image_io.h"

#include <gtest/gtest.h>

TEST(DescriptionTest, NameExtensionAndSuffix)
{
    struct Case { std::function<void(TIOParamsVals&)> set; const char* text; };
    const Case cases[] = {
        {[](TIOParamsVals& p) { p.FileType = ftUnknown; }, ""},
        {[](TIOParamsVals& p) { p.FileType = ftTIFF; p.TiffCompression = 5; }, "TIFF Bitmap (TIF) LZW"},
        {[](TIOParamsVals& p) { p.FileType = ftTIFF; p.TiffCompression = 8; }, "TIFF Bitmap (TIF) PackBits RLE"},
        {[](TIOParamsVals& p) { p.FileType = ftJPEG; p.JpegColorSpace = 2; }, "JPEG Bitmap (JPG) YCbCr"},
        {[](TIOParamsVals& p) { p.FileType = ftJPEG; p.JpegColorSpace = 1; }, "JPEG Bitmap (JPG) Gray level"},
        {[](TIOParamsVals& p) { p.FileType = ftJPEG; p.JpegColorSpace = 0; }, "JPEG Bitmap (JPG)"},
        {[](TIOParamsVals& p) { p.FileType = ftGIF; p.GifInterlaced = true; }, "CompuServe Bitmap (GIF) Interlaced"},
        {[](TIOParamsVals& p) { p.FileType = ftPCX; p.PcxCompression = 0; }, "PaintBrush (PCX) Uncompressed"},
        {[](TIOParamsVals& p) { p.FileType = ftPCX; p.PcxCompression = 1; }, "PaintBrush (PCX)"},
        {[](TIOParamsVals& p) { p.FileType = ftBMP; p.BmpVersion = 1; }, "Windows Bitmap (BMP) ver.3"},
        {[](TIOParamsVals& p) { p.FileType = ftBMP; p.BmpVersion = 2; }, "Windows Bitmap (BMP) OS/2 v.1"},
        {[](TIOParamsVals& p) { p.FileType = ftPNG; p.PngInterlaced = false; }, "Portable Network Graphics (PNG)"},
        {[](TIOParamsVals& p) { p.FileType = ftTGA; p.TgaCompressed = false; }, "Targa Bitmap (TGA) Uncompressed"},
        {[](TIOParamsVals& p) { p.FileType = ftJ2K; p.J2kColorSpace = 1; }, "JPEG2000 Code Stream (J2K) RGB"},
        {[](TIOParamsVals& p) { p.FileType = ftPXM; }, "Portable Pixmap, GreyMap, BitMap (PXM)"},
    };
    for (const Case& c : cases) {
        TIOParamsVals p;
        c.set(p);
        EXPECT_EQ(GetFormatDescription(p), c.text);
    }
}
