#include "cli/convert/save_output.h"

#include "output/pdf/image_pdf_page.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsPdfName(const std::string& fileName)
{
    if (fileName.size() < 4) return false;
    std::string ext = fileName.substr(fileName.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".pdf";
}

}  // namespace

bool SaveOutput(TImageIO& io, const std::string& fileName, std::string& error)
{
    try {
        // The one-page file of the PDF command.
        if (IsPdfName(fileName)) {
            WriteImagePdf(*io.IEBitmap(), fileName);
            return true;
        }
        io.SaveToFile(fileName);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (io.Aborting) {
        error = "cannot write this format or the image";
        return false;
    }
    return true;
}
