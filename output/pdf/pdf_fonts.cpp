#include "output/pdf/pdf_fonts.h"

#include <algorithm>

#include "output/pdf/pdf_xref.h"

namespace {

constexpr int FirstChar = 32;
constexpr int LastChar = 255;

struct TStandardFontEntry {
    std::string_view Name;
    std::string_view BaseFont;
    const TPdfWidthTable& Widths;
};

// Courier is fixed-pitch: every glyph is 600 units wide.
const TPdfWidthTable CourierWidths = [] {
    TPdfWidthTable widths;
    widths.fill(600);
    return widths;
}();

// The obliques share the widths of their upright faces.
const TStandardFontEntry StandardFonts[] = {
    {"FixedWidth", "Courier", CourierWidths},
    {"FixedWidth-Bold", "Courier-Bold", CourierWidths},
    {"FixedWidth-BoldItalic", "Courier-BoldOblique", CourierWidths},
    {"FixedWidth-Italic", "Courier-Oblique", CourierWidths},
    {"Arial", "Helvetica", PdfHelveticaWidths},
    {"Arial-Bold", "Helvetica-Bold", PdfHelveticaBoldWidths},
    {"Arial-BoldItalic", "Helvetica-BoldOblique", PdfHelveticaBoldWidths},
    {"Arial-Italic", "Helvetica-Oblique", PdfHelveticaWidths},
    {"Times-Roman", "Times-Roman", PdfTimesRomanWidths},
    {"Times-Bold", "Times-Bold", PdfTimesBoldWidths},
    {"Times-Italic", "Times-Italic", PdfTimesItalicWidths},
    {"Times-BoldItalic", "Times-BoldItalic", PdfTimesBoldItalicWidths},
};

}  // namespace

void TPdfType1Font::SetData(TPdfDictionary* data) {
    TPdfFont::SetData(data);
    const TPdfNumber* missing = data->PdfNumberByName("MissingWidth");
    FWidths.fill(static_cast<int16_t>(missing ? missing->Value : 0));
    const TPdfNumber* first = data->PdfNumberByName("FirstChar");
    const TPdfNumber* last = data->PdfNumberByName("LastChar");
    const TPdfArray* widths = data->PdfArrayByName("Widths");
    if (!first || !last || !widths) return;
    for (int code = std::max(first->Value, 0); code <= std::min(last->Value, 255); ++code) {
        const int index = code - first->Value;
        if (index >= widths->ItemCount()) break;
        if (const auto* width = dynamic_cast<const TPdfNumber*>(widths->Items(index)))
            FWidths[code] = static_cast<int16_t>(width->Value);
    }
}

TPdfStandardFont::TPdfStandardFont(TPdfXref& xref, std::string name, std::string_view baseFont,
                                   const TPdfWidthTable& widths)
    : TPdfType1Font(std::move(name)) {
    auto dictionary = std::make_unique<TPdfDictionary>(&xref);
    dictionary->AddNameItem("Type", "Font");
    dictionary->AddNameItem("Subtype", "Type1");
    dictionary->AddNameItem("Encoding", "WinAnsiEncoding");
    dictionary->AddNumberItem("FirstChar", FirstChar);
    dictionary->AddNumberItem("LastChar", LastChar);
    dictionary->AddNameItem("BaseFont", std::string(baseFont));
    auto widthArray = std::make_unique<TPdfArray>(&xref);
    for (const int16_t width : widths) widthArray->AddItem(std::make_unique<TPdfNumber>(width));
    dictionary->AddInternalItem("Widths", std::move(widthArray));
    SetData(&xref.Register(std::move(dictionary)));
}

std::unique_ptr<TPdfFont> PdfCreateStandardFont(TPdfXref& xref, std::string_view name) {
    for (const TStandardFontEntry& entry : StandardFonts)
        if (entry.Name == name)
            return std::make_unique<TPdfStandardFont>(xref, std::string(name), entry.BaseFont, entry.Widths);
    return nullptr;
}
