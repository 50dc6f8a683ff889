#pragma once
// TPdfDoc builds one PDF document in memory and writes it as a PDF 1.2 file with a classic
// cross-reference table, uncompressed. The document owns every object through its
// cross-reference table; everything but the canvas is freed by ReleaseDocument.
//
// Throws EPdfInvalidOperation, EPdfInvalidValue and EPdfError with the writer's texts, and
// EWriteError when the output stream refuses bytes.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "output/pdf/pdf_canvas.h"
#include "output/pdf/pdf_fonts.h"
#include "output/pdf/pdf_objects.h"
#include "output/pdf/pdf_wrappers.h"
#include "output/pdf/pdf_xref.h"

class TStream;

enum TPdfCompressionMethod : uint8_t { cmNone };

class TPdfDoc {
public:
    TPdfDoc();
    ~TPdfDoc();
    TPdfDoc(const TPdfDoc&) = delete;
    TPdfDoc& operator=(const TPdfDoc&) = delete;

    // Discards any current document and builds the skeleton: catalog (1), information (2),
    // pages node (3).
    void StartDocument();
    // Appends a page of the default size with an empty contents stream and makes it current.
    void AddPage();
    // Writes the file from the start of stream. Needs a document with a current page.
    void SaveToStream(TStream& stream);
    void ReleaseDocument();

    bool HasDoc() const { return FHasDoc; }
    TPdfCanvas& GetCanvas();
    TPdfInfo& GetInfo();
    TPdfCatalog& GetRoot();
    // The font of that name, made on first use.
    TPdfFont& GetFont(std::string_view name);
    // Registers an image stream ("Type" /XObject, "Subtype" /Image) under a resource name.
    TPdfXObject& AddImageObject(std::string_view name, std::unique_ptr<TPdfObject> image);
    // Lists a registered XObject under name and records the name in its dictionary (nothing
    // happens when it already has one).
    void RegisterXObject(TPdfObject* object, std::string_view name);
    // The registered image with that resource name, or null.
    TPdfXObject* GetXObject(std::string_view name) const;
    TPdfXref& ObjectMgr() { return *FXref; }

    int DefaultPageWidth() const { return 596; }
    int DefaultPageHeight() const { return 842; }
    bool UseOutlines = false;
    TPdfCompressionMethod CompressionMethod = cmNone;

private:
    TPdfFont& CreateFont(std::string_view name);

    bool FHasDoc = false;
    TPdfCanvas FCanvas;
    std::unique_ptr<TPdfXref> FXref;
    std::unique_ptr<TPdfHeader> FHeader;
    std::unique_ptr<TPdfTrailer> FTrailer;
    std::unique_ptr<TPdfArray> FXObjectList;  // references to the image objects; never written
    std::vector<std::unique_ptr<TPdfFont>> FFontList;
    std::vector<std::unique_ptr<TPdfDictionaryWrapper>> FObjectList;  // catalog and info
    TPdfCatalog* FRoot = nullptr;
    TPdfInfo* FInfo = nullptr;
    TPdfDictionary* FCurrentPages = nullptr;
    TPdfDictionary* FOutlineRoot = nullptr;
};
