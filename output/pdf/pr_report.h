#pragma once
// TPReport opens a PDF document, prints page layouts into it and saves it under FileName. The
// document properties are refused (EPdfInvalidOperation) while a document is open; FileName
// and CompressionMethod can always be set.

#include <chrono>
#include <memory>
#include <string>

#include "output/pdf/pdf_doc.h"
#include "output/pdf/pr_controls.h"

class TPdfCanvas;

// What a page layout draws on while it prints.
class TPRCanvas {
public:
    TPdfCanvas* PdfCanvas = nullptr;
};

class TPReport {
public:
    using TDateTime = std::chrono::system_clock::time_point;

    TPReport();
    ~TPReport();

    std::string FileName = "default.pdf";
    TPdfCompressionMethod CompressionMethod = cmNone;

    const std::string& Author() const { return FAuthor; }
    TDateTime CreationDate() const { return FCreationDate; }
    const std::string& Creator() const { return FCreator; }
    const std::string& Keywords() const { return FKeywords; }
    TDateTime ModDate() const { return FModDate; }
    const std::string& Subject() const { return FSubject; }
    const std::string& Title() const { return FTitle; }
    TPdfPageLayout PageLayout() const { return FPageLayout; }
    TPdfPageMode PageMode() const { return FPageMode; }
    TPdfPageMode NonFullScreenPageMode() const { return FNonFullScreenPageMode; }
    bool UseOutlines() const { return FUseOutlines; }
    TPdfViewerPreferences ViewerPreference() const { return FViewerPreference; }

    void SetAuthor(const std::string& value);
    // The file always shows the time of writing; the two dates are kept for the caller.
    void SetCreationDate(TDateTime value);
    void SetCreator(const std::string& value);
    void SetKeywords(const std::string& value);
    void SetModDate(TDateTime value);
    void SetSubject(const std::string& value);
    void SetTitle(const std::string& value);
    void SetPageLayout(TPdfPageLayout value);
    void SetPageMode(TPdfPageMode value);
    void SetNonFullScreenPageMode(TPdfPageMode value);
    void SetUseOutlines(bool value);
    void SetViewerPreference(TPdfViewerPreferences value);

    // Starts a document, freeing one left open.
    void BeginReport();
    // Adds one PDF page and prints the layout into it. EInvalidOperation "document is null.."
    // without BeginReport.
    void PrintPage(TPRPage& page);
    // Writes FileName and frees the document. The file is replaced only when the whole
    // document was written; on failure the old file is untouched, no partial file remains and
    // the document is freed all the same.
    void EndReport();

    bool HasDocument() const { return FDoc != nullptr; }
    int PageCount() const { return FPageCount; }
    TPRCanvas& Canvas() { return FCanvas; }

private:
    void CheckEditable(const char* setter) const;

    std::unique_ptr<TPdfDoc> FDoc;
    TPRCanvas FCanvas;
    int FPageCount = 0;
    std::string FAuthor, FCreator, FKeywords, FSubject, FTitle;
    TDateTime FCreationDate, FModDate;
    TPdfPageLayout FPageLayout = plSinglePage;
    TPdfPageMode FPageMode = pmUseNone;
    TPdfPageMode FNonFullScreenPageMode = pmUseNone;
    bool FUseOutlines = false;
    TPdfViewerPreferences FViewerPreference;
};
