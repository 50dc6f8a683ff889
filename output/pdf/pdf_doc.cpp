#include "output/pdf/pdf_doc.h"

#include "formats/core/ie_stream.h"
#include "output/pdf/pdf_errors.h"

namespace {

constexpr const char* Producer = "Numerak! 3.0";

}  // namespace

TPdfDoc::TPdfDoc() : FCanvas(*this) {}

TPdfDoc::~TPdfDoc() { ReleaseDocument(); }

void TPdfDoc::StartDocument() {
    ReleaseDocument();
    FXref = std::make_unique<TPdfXref>();
    FHeader = std::make_unique<TPdfHeader>();
    FTrailer = std::make_unique<TPdfTrailer>(FXref.get());
    FXObjectList = std::make_unique<TPdfArray>(FXref.get());

    auto catalog = std::make_unique<TPdfDictionary>(FXref.get());
    catalog->AddNameItem("Type", "Catalog");
    TPdfDictionary& catalogData = FXref->Register(std::move(catalog));
    FTrailer->Attributes().AddItem("Root", catalogData);
    FRoot = static_cast<TPdfCatalog*>(FObjectList.emplace_back(std::make_unique<TPdfCatalog>()).get());
    FRoot->SetData(&catalogData);

    if (UseOutlines) {
        auto outlines = std::make_unique<TPdfDictionary>(FXref.get());
        outlines->AddNameItem("Type", "Outlines");
        outlines->AddNumberItem("Count", 0);
        FOutlineRoot = &FXref->Register(std::move(outlines));
        catalogData.AddItem("Outlines", *FOutlineRoot);
    }

    auto info = std::make_unique<TPdfDictionary>(FXref.get());
    info->AddItem("Producer", std::make_unique<TPdfText>(Producer));
    TPdfDictionary& infoData = FXref->Register(std::move(info));
    FTrailer->Attributes().AddItem("Info", infoData);
    FInfo = static_cast<TPdfInfo*>(FObjectList.emplace_back(std::make_unique<TPdfInfo>()).get());
    FInfo->SetData(&infoData);
    FInfo->SetCreationDate();

    auto pages = std::make_unique<TPdfDictionary>(FXref.get());
    pages->AddNameItem("Type", "Pages");
    pages->AddItem("Kids", std::make_unique<TPdfArray>(FXref.get()));
    pages->AddNumberItem("Count", 0);
    FCurrentPages = &FXref->Register(std::move(pages));
    FRoot->SetPages(*FCurrentPages);

    FHasDoc = true;
}

void TPdfDoc::AddPage() {
    if (!FCurrentPages) throw EPdfInvalidOperation("AddPage --current pages null.");
    TPdfDictionary& page = FXref->Register(std::make_unique<TPdfDictionary>(FXref.get()));
    TPdfArray& kids = *FCurrentPages->PdfArrayByName("Kids");
    kids.AddItem(page);
    FCurrentPages->PdfNumberByName("Count")->Value = kids.ItemCount();

    page.AddNameItem("Type", "Page");
    page.AddItem("Parent", *FCurrentPages);
    auto mediaBox = std::make_unique<TPdfArray>(FXref.get());
    for (const int value : {0, 0, DefaultPageWidth(), DefaultPageHeight()})
        mediaBox->AddItem(std::make_unique<TPdfNumber>(value));
    page.AddItem("MediaBox", std::move(mediaBox));
    auto resources = std::make_unique<TPdfDictionary>(FXref.get());
    resources->AddItem("Font", std::make_unique<TPdfDictionary>(FXref.get()));
    resources->AddItem("XObject", std::make_unique<TPdfDictionary>(FXref.get()));
    auto procSet = std::make_unique<TPdfArray>(FXref.get());
    for (const char* name : {"PDF", "Text", "ImageC"}) procSet->AddItem(std::make_unique<TPdfName>(name));
    resources->AddItem("ProcSet", std::move(procSet));
    page.AddItem("Resources", std::move(resources));

    TPdfStream& contents = FXref->Register(std::make_unique<TPdfStream>(FXref.get()));
    page.AddItem("Contents", contents);
    FCanvas.AttachPage(page);
}

void TPdfDoc::SaveToStream(TStream& stream) {
    if (!FHasDoc) throw EPdfInvalidOperation("SaveToStream --there is no document to save.");
    FCanvas.Page();  // a document without a page cannot be saved
    FInfo->SetModDate();
    FRoot->Data()->RemoveItem("OpenAction");

    stream.SetPosition(0);
    FHeader->WriteToStream(stream);
    FXref->WriteObjects(stream);
    FTrailer->XrefAddress = stream.Position();
    FXref->WriteToStream(stream);
    FTrailer->Attributes().PdfNumberByName("Size")->Value = FXref->ItemCount();
    FTrailer->WriteToStream(stream);
}

void TPdfDoc::ReleaseDocument() {
    FCanvas.Detach();
    FRoot = nullptr;
    FInfo = nullptr;
    FCurrentPages = nullptr;
    FOutlineRoot = nullptr;
    FObjectList.clear();
    FFontList.clear();
    FXObjectList.reset();
    FTrailer.reset();
    FHeader.reset();
    FXref.reset();
    FHasDoc = false;
}

TPdfCanvas& TPdfDoc::GetCanvas() {
    if (!FHasDoc) throw EPdfInvalidOperation("GetCanvas --Document is null");
    return FCanvas;
}

TPdfInfo& TPdfDoc::GetInfo() {
    if (!FHasDoc) throw EPdfInvalidOperation("GetInfo --this method can not use this state..");
    return *FInfo;
}

TPdfCatalog& TPdfDoc::GetRoot() {
    if (!FHasDoc) throw EPdfInvalidOperation("GetRoot --this method can not use this state..");
    return *FRoot;
}

TPdfFont& TPdfDoc::GetFont(std::string_view name) {
    if (!FHasDoc) throw EPdfInvalidOperation("GetFont --document is null.");
    for (const auto& font : FFontList)
        if (font->Name() == name) return *font;
    return CreateFont(name);
}

TPdfFont& TPdfDoc::CreateFont(std::string_view name) {
    std::unique_ptr<TPdfFont> font = PdfCreateStandardFont(*FXref, name);
    if (!font) throw EPdfError("CreateFont --InvalidFontName:" + std::string(name));
    font->Data()->AddNameItem("Name", "F" + std::to_string(FFontList.size()));
    return *FFontList.emplace_back(std::move(font));
}

TPdfXObject& TPdfDoc::AddImageObject(std::string_view name, std::unique_ptr<TPdfObject> image) {
    if (!FHasDoc) throw EPdfInvalidOperation("AddImage --document is null.");
    if (GetXObject(name)) throw EPdfError("AddImage --the image named " + std::string(name) + " is already exists..");
    auto* stream = dynamic_cast<TPdfXObject*>(image.get());
    if (!stream || stream->Attributes().TypeOf() != "XObject" ||
        !stream->Attributes().PdfNameByName("Subtype") || stream->Attributes().PdfNameByName("Subtype")->Value != "Image")
        throw EPdfError("AddImage --the image is not valid TPdfImage..");
    FXref->AddObject(std::move(image));
    RegisterXObject(stream, name);
    return *stream;
}

void TPdfDoc::RegisterXObject(TPdfObject* object, std::string_view name) {
    if (!object) throw EPdfInvalidValue("RegisterXObject --AObject is null");
    auto* xobject = dynamic_cast<TPdfXObject*>(object);
    if (!xobject || xobject->Attributes().TypeOf() != "XObject") throw EPdfInvalidValue("RegisterXObject --not XObject");
    if (xobject->Attributes().ValueByName("Name")) return;
    if (GetXObject(name)) throw EPdfInvalidValue("RegisterXObject --dupulicate name: " + std::string(name));
    FXObjectList->AddItem(*xobject);
    xobject->Attributes().AddNameItem("Name", std::string(name));
}

TPdfXObject* TPdfDoc::GetXObject(std::string_view name) const {
    if (!FXObjectList) return nullptr;
    for (int i = 0; i < FXObjectList->ItemCount(); ++i) {
        auto* xobject = dynamic_cast<TPdfXObject*>(FXObjectList->Items(i));
        const TPdfName* itemName = xobject ? xobject->Attributes().PdfNameByName("Name") : nullptr;
        if (itemName && itemName->Value == name) return xobject;
    }
    return nullptr;
}
