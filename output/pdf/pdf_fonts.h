#pragma once
// Fonts of a document. The twelve standard fonts are Type 1 base fonts the viewer supplies;
// their widths serve only to measure text.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "output/pdf/pdf_font_widths.h"
#include "output/pdf/pdf_wrappers.h"

class TPdfXref;

class TPdfFont : public TPdfDictionaryWrapper {
public:
    explicit TPdfFont(std::string name) : FName(std::move(name)) {}
    // The name the font was asked for ("Arial"), not its base font.
    const std::string& Name() const { return FName; }
    // Advance width of a character code in 1/1000 em.
    virtual int GetCharWidth(uint8_t code) const = 0;

private:
    std::string FName;
};

// A Type 1 font whose widths come from the internal "Widths", "FirstChar", "LastChar" and
// "MissingWidth" items of its dictionary.
class TPdfType1Font : public TPdfFont {
public:
    using TPdfFont::TPdfFont;
    void SetData(TPdfDictionary* data) override;
    int GetCharWidth(uint8_t code) const override { return FWidths[code]; }

private:
    std::array<int16_t, 256> FWidths{};
};

// A standard font: its dictionary ("Type" /Font, "Subtype" /Type1, "Encoding" /WinAnsiEncoding,
// "FirstChar" 32, "LastChar" 255, "BaseFont", internal "Widths") is registered as the next
// object.
class TPdfStandardFont : public TPdfType1Font {
public:
    TPdfStandardFont(TPdfXref& xref, std::string name, std::string_view baseFont, const TPdfWidthTable& widths);
};

// Makes the standard font registered under name, or returns null for a name not registered.
std::unique_ptr<TPdfFont> PdfCreateStandardFont(TPdfXref& xref, std::string_view name);
