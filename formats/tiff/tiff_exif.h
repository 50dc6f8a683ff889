#pragma once
// Fills the EXIF block of a parameter record from a page directory and its EXIF sub-directory.
// Keys are "Exif" followed by the tag's name; further values of a tag get "[i]" after it.

#include "formats/core/io_params.h"
#include "formats/tiff/tiff_directory.h"

void TiffReadExifBlock(TTiffFile& file, const TTiffDirectory& page, TExifBlock& exif);
