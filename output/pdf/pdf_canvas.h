#pragma once
// Draws on the current page of a document by appending content operators to the page's
// contents stream. The canvas belongs to its document object and outlives each document; it
// never owns the page.

#include <string>
#include <string_view>

class TPdfDoc;
class TPdfDictionary;
class TPdfFont;
class TPdfStream;

struct TPdfCanvasAttribute {
    TPdfFont* Font = nullptr;
    double FontSize = 0;
    double WordSpace = 0;
    double CharSpace = 0;
    int HorizontalScaling = 100;  // percent
    double Leading = 0;
};

class TPdfCanvas {
public:
    explicit TPdfCanvas(TPdfDoc& doc) : FDoc(doc) {}
    TPdfCanvas(const TPdfCanvas&) = delete;
    TPdfCanvas& operator=(const TPdfCanvas&) = delete;

    TPdfDoc& Doc() const { return FDoc; }
    // The current page; EPdfInvalidOperation "GetPage --the Page is nil" without one.
    TPdfDictionary& Page() const;
    bool HasPage() const { return FPage != nullptr; }
    const TPdfCanvasAttribute& Attribute() const { return FAttr; }
    // Suppresses every content operator (for measuring without drawing).
    bool IsVirtual = false;

    // Makes page current: the attributes of the page left are stored on it, those of the new
    // page restored, or reset to "Arial" 10 for a page never drawn on.
    void AttachPage(TPdfDictionary& page);
    // Forgets the page and font of a document that is being freed.
    void Detach();

    // Elements 2 and 3 of the page's "MediaBox".
    void SetPageWidth(int width);
    void SetPageHeight(int height);
    int PageWidth() const;
    int PageHeight() const;

    void SelectFont(std::string_view fontName, double size);
    // Draws the image object registered under name scaled to the rectangle; EPdfInvalidValue
    // when no image has that name.
    void DrawXObject(double x, double y, double width, double height, std::string_view name);
    // The same, clipped to a second rectangle.
    void DrawXObjectEx(double x, double y, double width, double height, double clipX, double clipY,
                       double clipWidth, double clipHeight, std::string_view name);

private:
    void WriteString(std::string_view text);
    void RegisterXObject(std::string_view name, const char* caller);
    void StoreAttributes();
    void RestoreAttributes();

    TPdfDoc& FDoc;
    TPdfDictionary* FPage = nullptr;
    TPdfStream* FContents = nullptr;
    TPdfCanvasAttribute FAttr;
};
