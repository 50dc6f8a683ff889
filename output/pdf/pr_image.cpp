#include "output/pdf/pr_image.h"

#include "output/pdf/pdf_bitmap_image.h"
#include "output/pdf/pdf_doc.h"
#include "output/pdf/pr_report.h"

std::string TPRImage::FreeImageName(const TPdfDoc& doc) {
    int number = std::uniform_int_distribution<int>(0, 65533)(FRandom);
    std::string name = Name + std::to_string(number);
    for (int tries = 1; tries < 65535 && doc.GetXObject(name); ++tries) {
        number = number >= 65535 ? 0 : number + 1;
        name = Name + std::to_string(number);
    }
    return name;
}

void TPRImage::PrintTo(TPRCanvas& canvas, const TRect& rect) {
    if (FPicture.Empty() || !canvas.PdfCanvas) return;
    TPdfCanvas& pdf = *canvas.PdfCanvas;
    TPdfDoc& doc = pdf.Doc();

    std::string name;
    if (SharedImage) {
        name = Name;
        if (!doc.GetXObject(name)) doc.AddImageObject(name, MakePdfImage(FPicture, "Pdf-Bitmap"));
    } else {
        name = FreeImageName(doc);
        doc.AddImageObject(name, MakePdfImage(FPicture, "Pdf-Bitmap"));
    }

    const int pageHeight = pdf.PageHeight();
    if (Stretch)
        pdf.DrawXObject(rect.Left, pageHeight - rect.Bottom, Width(), Height(), name);
    else
        pdf.DrawXObjectEx(rect.Left, pageHeight - rect.Top - FPicture.Height(), FPicture.Width(), FPicture.Height(),
                          rect.Left, pageHeight - rect.Bottom, Width(), Height(), name);
}
