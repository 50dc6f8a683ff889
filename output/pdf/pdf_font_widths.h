#pragma once
// Glyph widths of the standard Type 1 fonts, used to measure text; they never reach the file.

#include <array>
#include <cstdint>

// Widths in 1/1000 em for the character codes 32 to 255.
using TPdfWidthTable = std::array<int16_t, 224>;

extern const TPdfWidthTable PdfHelveticaWidths;
extern const TPdfWidthTable PdfHelveticaBoldWidths;
extern const TPdfWidthTable PdfTimesRomanWidths;
extern const TPdfWidthTable PdfTimesBoldWidths;
extern const TPdfWidthTable PdfTimesItalicWidths;
extern const TPdfWidthTable PdfTimesBoldItalicWidths;
