#include "output/pdf/image_pdf_page.h"

TImagePdfPage::TImagePdfPage()
    : PRLayoutPanel1(PRPage1.InsertControl(std::make_unique<TPRLayoutPanel>("PRLayoutPanel1"))),
      PRImage1(PRLayoutPanel1.InsertControl(std::make_unique<TPRImage>("PRImage1"))) {
    PRPage1.SetBounds(0, 0, 600, 800);
    PRPage1.SetMargins(32, 32, 32, 32);
    PRLayoutPanel1.SetAlign(alClient);
    PRImage1.SetAlign(alClient);
    PRImage1.SharedImage = true;
    PRImage1.Stretch = true;
    PReport1.SetUseOutlines(false);
    PReport1.SetViewerPreference({});
}

void TImagePdfPage::WriteReport() {
    PReport1.BeginReport();
    PReport1.PrintPage(PRPage1);
    PReport1.EndReport();
}

void WriteImagePdf(const TIEBitmap& bitmap, const std::string& fileName) {
    TImagePdfPage page;
    page.PRImage1.SetPicture(bitmap);
    page.PReport1.FileName = fileName;
    page.WriteReport();
}
