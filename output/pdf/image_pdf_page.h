#pragma once
// The page layout of the PDF command: a 600 × 800 page with margins of 32, a layout panel and
// an image item both aligned to the whole area (534 × 734 at 33, 33), the image shared and
// stretched, and the report that prints it. Used by the main window and by numerak-convert so
// that both write the same one-page file.

#include <string>

#include "output/pdf/pr_image.h"
#include "output/pdf/pr_report.h"

struct TImagePdfPage {
    TImagePdfPage();
    TImagePdfPage(const TImagePdfPage&) = delete;
    TImagePdfPage& operator=(const TImagePdfPage&) = delete;

    TPRPage PRPage1{"PRPage1"};
    TPRLayoutPanel& PRLayoutPanel1;
    TPRImage& PRImage1;
    TPReport PReport1;

    // BeginReport, PrintPage (PRPage1), EndReport into PReport1.FileName; throws what the
    // report layer throws.
    void WriteReport();
};

// Writes bitmap as the one-page PDF file fileName.
void WriteImagePdf(const TIEBitmap& bitmap, const std::string& fileName);
