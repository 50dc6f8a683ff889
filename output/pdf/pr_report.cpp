#include "output/pdf/pr_report.h"

#include "formats/core/ie_stream.h"
#include "output/pdf/pdf_errors.h"

TPReport::TPReport() : FCreationDate(std::chrono::system_clock::now()) {}

TPReport::~TPReport() = default;

void TPReport::CheckEditable(const char* setter) const {
    if (FDoc) throw EPdfInvalidOperation(std::string(setter) + " --invalid operation.");
}

void TPReport::SetAuthor(const std::string& value) { CheckEditable("SetAuthor"); FAuthor = value; }
void TPReport::SetCreationDate(TDateTime value) { CheckEditable("SetCreationDate"); FCreationDate = value; }
void TPReport::SetCreator(const std::string& value) { CheckEditable("SetCreator"); FCreator = value; }
void TPReport::SetKeywords(const std::string& value) { CheckEditable("SetKeyWords"); FKeywords = value; }
void TPReport::SetModDate(TDateTime value) { CheckEditable("SetModDate"); FModDate = value; }
void TPReport::SetSubject(const std::string& value) { CheckEditable("SetSubject"); FSubject = value; }
void TPReport::SetTitle(const std::string& value) { CheckEditable("SetTitle"); FTitle = value; }
void TPReport::SetPageLayout(TPdfPageLayout value) { CheckEditable("SetPageLayout"); FPageLayout = value; }
void TPReport::SetPageMode(TPdfPageMode value) { CheckEditable("SetPageMode"); FPageMode = value; }
void TPReport::SetNonFullScreenPageMode(TPdfPageMode value) {
    CheckEditable("SetNonFullScreenPageMode");
    FNonFullScreenPageMode = value;
}
void TPReport::SetUseOutlines(bool value) { CheckEditable("SetUseOutlines"); FUseOutlines = value; }
void TPReport::SetViewerPreference(TPdfViewerPreferences value) {
    CheckEditable("SetViewerPreference");
    FViewerPreference = value;
}

void TPReport::BeginReport() {
    FDoc.reset();
    FCanvas.PdfCanvas = nullptr;
    auto doc = std::make_unique<TPdfDoc>();
    doc->UseOutlines = FUseOutlines;
    doc->CompressionMethod = CompressionMethod;
    doc->StartDocument();

    TPdfCatalog& root = doc->GetRoot();
    root.SetPageMode(FPageMode);
    root.SetPageLayout(FPageLayout);
    if (FNonFullScreenPageMode != pmUseNone) root.SetNonFullScreenPageMode(FNonFullScreenPageMode);
    if (!FViewerPreference.Empty()) root.SetViewerPreference(FViewerPreference);

    TPdfInfo& info = doc->GetInfo();
    info.SetAuthor(FAuthor);
    info.SetCreationDate();
    info.SetCreator(FCreator);
    info.SetKeywords(FKeywords);
    info.SetModDate();
    info.SetSubject(FSubject);
    info.SetTitle(FTitle);

    FDoc = std::move(doc);
    FPageCount = 0;
}

void TPReport::PrintPage(TPRPage& page) {
    if (!FDoc) throw EInvalidOperation("document is null..");
    FDoc->AddPage();
    ++FPageCount;
    FCanvas.PdfCanvas = &FDoc->GetCanvas();
    FCanvas.PdfCanvas->SetPageHeight(page.Height());
    FCanvas.PdfCanvas->SetPageWidth(page.Width());
    if (page.OnPrintPage) page.OnPrintPage(page, FCanvas);
    page.Print(FCanvas);
}

void TPReport::EndReport() {
    if (!FDoc) throw EInvalidOperation("document is null..");
    std::unique_ptr<TPdfDoc> doc = std::move(FDoc);
    FCanvas.PdfCanvas = nullptr;
    TAtomicFileWriteStream file(FileName);
    doc->SaveToStream(file);
    if (!file.Commit()) throw EFCreateError("Cannot write file \"" + FileName + "\"");
}
