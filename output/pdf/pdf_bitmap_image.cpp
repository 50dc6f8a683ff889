#include "output/pdf/pdf_bitmap_image.h"

#include <array>
#include <cstring>

#include "formats/core/ie_bitmap.h"
#include "formats/core/row_bits.h"
#include "output/pdf/pdf_errors.h"

namespace {

using TPalette = std::array<TRGB, 256>;

// The 256-entry palette of an image written as 8-bit indexes.
TPalette IndexedPalette(const TIEBitmap& graphic) {
    TPalette palette{};  // entries the image does not have stay black
    switch (graphic.PixelFormat()) {
    case ipf1Bit:
        palette[1] = CreateRGB(255, 255, 255);
        break;
    case ipf8Gray:
        for (int i = 0; i < 256; ++i) palette[i] = CreateRGB(uint8_t(i), uint8_t(i), uint8_t(i));
        break;
    default:
        if (!graphic.Palette()) throw EPdfInvalidImageFormat("failed to get Palette..");
        std::memcpy(palette.data(), graphic.Palette(), sizeof palette);
    }
    return palette;
}

// "[/Indexed /DeviceRGB 255 <RR GG BB ...>]" as the writer spells it.
std::unique_ptr<TPdfArray> IndexedColorSpace(const TPalette& palette) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text = "<";
    text.reserve(2 + palette.size() * 9);
    for (const TRGB& entry : palette)
        for (const uint8_t component : {entry.r, entry.g, entry.b}) {
            text += Hex[component >> 4];
            text += Hex[component & 0xF];
            text += ' ';
        }
    text += '>';
    auto space = std::make_unique<TPdfArray>();
    space->AddItem(std::make_unique<TPdfName>("Indexed"));
    space->AddItem(std::make_unique<TPdfName>("DeviceRGB"));
    space->AddItem(std::make_unique<TPdfNumber>(255));
    space->AddItem(std::make_unique<TPdfBinary>(std::move(text)));
    return space;
}

void AppendIndexRows(const TIEBitmap& graphic, std::vector<uint8_t>& data) {
    const size_t width = size_t(graphic.Width());
    for (int32_t y = 0; y < graphic.Height(); ++y) {
        const uint8_t* row = graphic.ScanLine(y);
        uint8_t* out = data.data() + size_t(y) * width;
        if (graphic.PixelFormat() == ipf1Bit)
            for (size_t x = 0; x < width; ++x) out[x] = IEGetBit(row, int64_t(x));
        else
            std::memcpy(out, row, width);
    }
}

void AppendRGBRows(const TIEBitmap& graphic, std::vector<uint8_t>& data) {
    const size_t width = size_t(graphic.Width());
    for (int32_t y = 0; y < graphic.Height(); ++y) {
        const uint8_t* row = graphic.ScanLine(y);
        uint8_t* out = data.data() + size_t(y) * width * 3;
        if (graphic.PixelFormat() == ipf16Gray) {
            for (size_t x = 0; x < width; ++x, out += 3) out[0] = out[1] = out[2] = uint8_t(IEGetWord(row, int64_t(x)) >> 8);
        } else {
            for (size_t x = 0; x < width; ++x, row += 3, out += 3) {
                out[0] = row[2];
                out[1] = row[1];
                out[2] = row[0];
            }
        }
    }
}

}  // namespace

std::unique_ptr<TPdfImage> TPdfBitmapImage::CreateImage(const TIEBitmap& graphic) {
    auto image = std::make_unique<TPdfImage>();
    TPdfDictionary& attributes = image->Attributes();
    attributes.AddNameItem("Type", "XObject");
    attributes.AddNameItem("Subtype", "Image");

    const TImagePixelFormat format = graphic.PixelFormat();
    const bool indexed = format == ipf1Bit || format == ipf8Palette || format == ipf8Gray;
    const size_t bytesPerPixel = indexed ? 1 : 3;
    std::vector<uint8_t>& data = image->Stream();
    data.resize(size_t(graphic.Width()) * size_t(graphic.Height()) * bytesPerPixel);
    if (indexed) {
        const TPalette palette = IndexedPalette(graphic);
        AppendIndexRows(graphic, data);
        attributes.AddItem("ColorSpace", IndexedColorSpace(palette));
    } else {
        AppendRGBRows(graphic, data);
        attributes.AddNameItem("ColorSpace", "DeviceRGB");
    }
    attributes.AddNumberItem("Width", graphic.Width());
    attributes.AddNumberItem("Height", graphic.Height());
    attributes.AddNumberItem("BitsPerComponent", 8);
    return image;
}

std::unique_ptr<TPdfImageCreator> PdfFindImageCreator(std::string_view className) {
    struct TCreatorEntry {
        std::string_view Name;
        std::unique_ptr<TPdfImageCreator> (*Make)();
    };
    static constexpr TCreatorEntry Creators[] = {
        {"Pdf-Bitmap", [] { return std::unique_ptr<TPdfImageCreator>(std::make_unique<TPdfBitmapImage>()); }},
    };
    for (const TCreatorEntry& entry : Creators)
        if (entry.Name == className) return entry.Make();
    return nullptr;
}

std::unique_ptr<TPdfImage> MakePdfImage(const TIEBitmap& graphic, std::string_view creatorName) {
    std::unique_ptr<TPdfImageCreator> creator = PdfFindImageCreator(creatorName);
    if (!creator) throw EPdfError("AddImage --InvalidImageClassName:" + std::string(creatorName));
    return creator->CreateImage(graphic);
}
