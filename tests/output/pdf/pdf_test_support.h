#pragma once
// Helpers of the PDF tests: the program's page layout, bitmaps, temporary folders and the peer
// tools (qpdf, pdftoppm).

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "formats/core/ie_bitmap.h"
#include "output/pdf/image_pdf_page.h"

class TPdfDoc;

// The page the PDF command prints, with short names for the tests.
struct TProgramPage {
    TImagePdfPage Pdf;
    TPRPage& Page = Pdf.PRPage1;
    TPRLayoutPanel* Panel = &Pdf.PRLayoutPanel1;
    TPRImage* Image = &Pdf.PRImage1;
};

// A 24-bit image whose left half is red on top and green below, and whose right half is blue.
void FillQuadrants(TIEBitmap& bitmap, int width, int height);

// A fresh folder removed at destruction.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    std::string File(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// Runs a shell command; returns its exit status and puts stdout and stderr into output.
int RunCommand(const std::string& command, std::string& output);
// qpdf --check finds no error and no warning.
void ExpectQpdfClean(const std::string& path);

struct TRendering {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgb;
    TRGB Pixel(int x, int y) const;
};
// The first page rendered by pdftoppm at 72 dpi (one pixel per PDF unit).
TRendering RenderPage(const std::string& path);

// The bytes SaveToStream writes.
std::string SaveToString(TPdfDoc& doc);

// Expects fn to throw E with exactly this message.
template <class E>
void ExpectThrowMessage(const std::function<void()>& fn, const std::string& message) {
    try {
        fn();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const E& error) {
        EXPECT_EQ(error.what(), message);
    } catch (const std::exception& error) {
        ADD_FAILURE() << "wrong exception type: " << error.what();
    }
}
