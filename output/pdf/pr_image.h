#pragma once
// An image item: prints its picture as a PDF image object drawn into the item's rectangle.

#include <random>

#include "formats/core/ie_bitmap.h"
#include "output/pdf/pr_controls.h"

class TPRImage : public TPRItem {
public:
    explicit TPRImage(std::string name) : TPRItem(std::move(name)) {}

    // The picture is a copy of the bitmap it was given.
    const TIEBitmap& Picture() const { return FPicture; }
    void SetPicture(const TIEBitmap& bitmap) { FPicture.Assign(bitmap); }
    void ClearPicture() { FPicture.FreeImage(); }

    // Shared: one image object per document under the item's name, reused by later pages.
    // Not shared: a new image object on every print, named after the item and a free number.
    bool SharedImage = true;
    // Stretched to the item's rectangle, or drawn at one unit per pixel from its top-left
    // corner and clipped to the rectangle.
    bool Stretch = true;

    // Does nothing for an empty picture.
    void PrintTo(TPRCanvas& canvas, const TRect& rect) override;

private:
    std::string FreeImageName(const class TPdfDoc& doc);

    TIEBitmap FPicture;
    std::minstd_rand FRandom{std::random_device{}()};
};
