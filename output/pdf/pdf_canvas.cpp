#include "output/pdf/pdf_canvas.h"

#include "output/pdf/pdf_doc.h"
#include "output/pdf/pdf_errors.h"
#include "output/pdf/pdf_fonts.h"
#include "output/pdf/pdf_format.h"
#include "output/pdf/pdf_objects.h"

namespace {

TPdfDictionary& Resources(TPdfDictionary& page, std::string_view kind) {
    TPdfDictionary* resources = page.PdfDictionaryByName("Resources");
    TPdfDictionary* group = resources ? resources->PdfDictionaryByName(kind) : nullptr;
    if (!group) throw EPdfInvalidValue("GetResources --the page has no " + std::string(kind) + " resources");
    return *group;
}

TPdfNumber& MediaBoxItem(const TPdfDictionary& page, int index) {
    TPdfArray* mediaBox = page.PdfArrayByName("MediaBox");
    auto* item = mediaBox && index < mediaBox->ItemCount() ? dynamic_cast<TPdfNumber*>(mediaBox->Items(index)) : nullptr;
    if (!item) throw EPdfInvalidValue("MediaBox --invalid page size");
    return *item;
}

double InternalReal(const TPdfDictionary& page, std::string_view key, double fallback) {
    if (const auto* real = dynamic_cast<const TPdfReal*>(page.ValueByName(key))) return real->Value;
    return fallback;
}

}  // namespace

TPdfDictionary& TPdfCanvas::Page() const {
    if (!FPage) throw EPdfInvalidOperation("GetPage --the Page is nil");
    return *FPage;
}

void TPdfCanvas::AttachPage(TPdfDictionary& page) {
    if (FPage) StoreAttributes();
    FPage = &page;
    FContents = dynamic_cast<TPdfStream*>(page.ValueByName("Contents"));
    if (page.ValueByName("_Font")) {
        RestoreAttributes();
    } else {
        FAttr = TPdfCanvasAttribute{};
        SelectFont("Arial", 10);
    }
}

void TPdfCanvas::Detach() {
    FPage = nullptr;
    FContents = nullptr;
    FAttr = TPdfCanvasAttribute{};
}

void TPdfCanvas::StoreAttributes() {
    if (FAttr.Font) FPage->AddInternalItem("_Font", std::make_unique<TPdfName>(FAttr.Font->Name()));
    FPage->AddInternalItem("_Font_Size", std::make_unique<TPdfReal>(FAttr.FontSize));
    FPage->AddInternalItem("_Word_Space", std::make_unique<TPdfReal>(FAttr.WordSpace));
    FPage->AddInternalItem("_Char_Space", std::make_unique<TPdfReal>(FAttr.CharSpace));
    FPage->AddInternalItem("_HScalling", std::make_unique<TPdfNumber>(FAttr.HorizontalScaling));
    FPage->AddInternalItem("_Leading", std::make_unique<TPdfReal>(FAttr.Leading));
}

void TPdfCanvas::RestoreAttributes() {
    const auto* font = dynamic_cast<const TPdfName*>(FPage->ValueByName("_Font"));
    FAttr.Font = font ? &FDoc.GetFont(font->Value) : nullptr;
    FAttr.FontSize = InternalReal(*FPage, "_Font_Size", 10);
    FAttr.WordSpace = InternalReal(*FPage, "_Word_Space", 0);
    FAttr.CharSpace = InternalReal(*FPage, "_Char_Space", 0);
    const auto* scaling = dynamic_cast<const TPdfNumber*>(FPage->ValueByName("_HScalling"));
    FAttr.HorizontalScaling = scaling ? scaling->Value : 100;
    FAttr.Leading = InternalReal(*FPage, "_Leading", 0);
}

void TPdfCanvas::SetPageWidth(int width) { MediaBoxItem(Page(), 2).Value = width; }
void TPdfCanvas::SetPageHeight(int height) { MediaBoxItem(Page(), 3).Value = height; }
int TPdfCanvas::PageWidth() const { return MediaBoxItem(Page(), 2).Value; }
int TPdfCanvas::PageHeight() const { return MediaBoxItem(Page(), 3).Value; }

void TPdfCanvas::WriteString(std::string_view text) {
    if (FContents && !IsVirtual) FContents->Append(text);
}

void TPdfCanvas::SelectFont(std::string_view fontName, double size) {
    TPdfFont& font = FDoc.GetFont(fontName);
    if (FAttr.Font == &font && FAttr.FontSize == size) return;
    const TPdfName* resourceName = font.Data()->PdfNameByName("Name");
    const std::string name = resourceName ? resourceName->Value : font.Name();
    TPdfDictionary& fonts = Resources(Page(), "Font");
    if (!fonts.ValueByName(name)) fonts.AddItem(name, *font.Data());
    WriteString('/' + PdfEscapeName(name) + ' ' + PdfFloatToStr(size) + " Tf\n");
    FAttr.Font = &font;
    FAttr.FontSize = size;
}

void TPdfCanvas::RegisterXObject(std::string_view name, const char* caller) {
    TPdfXObject* image = FDoc.GetXObject(name);
    if (!image) throw EPdfInvalidValue(std::string(caller) + " --XObject not found: " + std::string(name));
    TPdfDictionary& xobjects = Resources(Page(), "XObject");
    if (!xobjects.ValueByName(name)) xobjects.AddItem(name, *image);
}

void TPdfCanvas::DrawXObject(double x, double y, double width, double height, std::string_view name) {
    RegisterXObject(name, "DrawXObject");
    WriteString("q\n" + PdfFloatToStr(width) + " 0 0 " + PdfFloatToStr(height) + ' ' + PdfFloatToStr(x) + ' ' +
                PdfFloatToStr(y) + " cm\n/" + PdfEscapeName(name) + " Do\nQ\n");
}

void TPdfCanvas::DrawXObjectEx(double x, double y, double width, double height, double clipX, double clipY,
                               double clipWidth, double clipHeight, std::string_view name) {
    RegisterXObject(name, "DrawXObjectEx");
    WriteString("q\n" + PdfFloatToStr(clipX) + ' ' + PdfFloatToStr(clipY) + ' ' + PdfFloatToStr(clipWidth) + ' ' +
                PdfFloatToStr(clipHeight) + " re\nW\nn\n" + PdfFloatToStr(width) + " 0 0 " + PdfFloatToStr(height) +
                ' ' + PdfFloatToStr(x) + ' ' + PdfFloatToStr(y) + " cm\n/" + PdfEscapeName(name) + " Do\nQ\n");
}
