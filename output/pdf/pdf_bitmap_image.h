#pragma once
// Image creators turn a bitmap into an uncompressed PDF image stream. They are found by class
// name, as the report layer asks for them.

#include <memory>
#include <string_view>

#include "output/pdf/pdf_objects.h"

class TIEBitmap;

class TPdfImageCreator {
public:
    virtual ~TPdfImageCreator() = default;
    // A new image stream; the caller owns it. Throws EPdfInvalidImageFormat.
    virtual std::unique_ptr<TPdfImage> CreateImage(const TIEBitmap& graphic) = 0;
};

// 1- and 8-bit images become 8-bit indexed images over a 256-entry RGB palette (black and
// white for 1-bit, a grey ramp for grey); every other format becomes 24-bit DeviceRGB. Rows
// are written top row first. The alpha channel is not used.
class TPdfBitmapImage : public TPdfImageCreator {
public:
    std::unique_ptr<TPdfImage> CreateImage(const TIEBitmap& graphic) override;
};

// The creator registered under className ("Pdf-Bitmap"), or null.
std::unique_ptr<TPdfImageCreator> PdfFindImageCreator(std::string_view className);

// The image made by the creator registered under creatorName; EPdfError
// "AddImage --InvalidImageClassName:<name>" when there is none.
std::unique_ptr<TPdfImage> MakePdfImage(const TIEBitmap& graphic, std::string_view creatorName);
