#include <gtest/gtest.h>

#include <regex>

#include "output/pdf/pdf_bitmap_image.h"
#include "output/pdf/pdf_doc.h"
#include "output/pdf/pdf_errors.h"
#include "pdf_test_support.h"

using namespace std::string_literals;

namespace {

// The program's one-page file for a 100 × 50 image.
std::string ProgramFile(const TTempDir& dir) {
    TProgramPage layout;
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 100, 50);
    layout.Image->SetPicture(bitmap);
    TPReport report;
    report.FileName = dir.File("page.pdf");
    report.BeginReport();
    report.PrintPage(layout.Page);
    report.EndReport();
    return ReadFile(report.FileName);
}

}  // namespace

TEST(PdfDoc, ProgramPageFileLayout) {
    TTempDir dir;
    const std::string file = ProgramFile(dir);
    ExpectQpdfClean(dir.File("page.pdf"));

    ASSERT_EQ(file.substr(0, 12), "%PDF-1.2 \r\n1");
    const std::string objects[] = {
        "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n/PageMode /UseNone\r\n/PageLayout /SinglePage\r\n>>\r\nendobj\r\n",
        "3 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>\r\nendobj\r\n",
        "4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 600 800 ]\r\n/Resources <<\r\n/Font <<\r\n"
        "/F0 6 0 R\r\n>>\r\n/XObject <<\r\n/PRImage1 7 0 R\r\n>>\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n"
        "/Contents 5 0 R\r\n>>\r\nendobj\r\n",
        "5 0 obj\r\n<<\r\n/Length 48\r\n/Filter []\r\n>>\r\nstream\r\n"
        "/F0 10 Tf\nq\n534 0 0 734 33 33 cm\n/PRImage1 Do\nQ\n\nendstream\r\nendobj\r\n",
        "6 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding /WinAnsiEncoding\r\n/FirstChar 32\r\n"
        "/LastChar 255\r\n/BaseFont /Helvetica\r\n/Name /F0\r\n>>\r\nendobj\r\n",
        "7 0 obj\r\n<<\r\n/Length 15000\r\n/Filter []\r\n/Type /XObject\r\n/Subtype /Image\r\n/ColorSpace /DeviceRGB\r\n"
        "/Width 100\r\n/Height 50\r\n/BitsPerComponent 8\r\n/Name /PRImage1\r\n>>\r\nstream\r\n",
    };
    size_t previous = 0;
    for (const std::string& object : objects) {
        const size_t at = file.find(object);
        ASSERT_NE(at, std::string::npos) << object;
        EXPECT_GT(at, previous) << "out of order: " << object;
        previous = at;
    }
    const std::regex info(
        "2 0 obj\r\n<<\r\n/Producer \\(Numerak! 3.0\\)\r\n/Author \\(\\)\r\n/CreationDate \\(D:[0-9]{14}\\)\r\n"
        "/Creator \\(\\)\r\n/Keywords \\(\\)\r\n/Subject \\(\\)\r\n/Title \\(\\)\r\n/ModDate \\(D:[0-9]{14}\\)\r\n>>\r\n"
        "endobj\r\n3 0 obj");
    EXPECT_TRUE(std::regex_search(file, info));

    // The image data: the top row first, red then blue, in RGB order.
    const size_t data = file.find("stream\r\n", file.find("7 0 obj")) + 8;
    EXPECT_EQ(file.substr(data, 3), "\xFF\x00\x00"s);
    EXPECT_EQ(file.substr(data + 99 * 3, 3), "\x00\x00\xFF"s);
    EXPECT_EQ(file.substr(data + 49 * 300, 3), "\x00\xFF\x00"s);
    EXPECT_EQ(file.substr(data + 15000, 20), "\nendstream\r\nendobj\r\n");

    // Cross-reference section: eight 20-byte lines whose offsets point at the objects.
    const size_t xref = file.rfind("xref\r\n0 8\r\n");
    ASSERT_NE(xref, std::string::npos);
    const size_t lines = xref + 11;
    EXPECT_EQ(file.substr(lines, 20), "0000000000 65535 f\r\n");
    for (int i = 1; i < 8; ++i) {
        const std::string line = file.substr(lines + 20 * i, 20);
        ASSERT_TRUE(std::regex_match(line, std::regex("[0-9]{10} 00000 n\r\n"))) << line;
        const size_t offset = std::stoul(line.substr(0, 10));
        EXPECT_EQ(file.substr(offset, std::to_string(i).size() + 6), std::to_string(i) + " 0 obj");
    }
    EXPECT_EQ(file.substr(lines + 160), "trailer\r\n<<\r\n/Size 8\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\nstartxref\r\n" +
                                            std::to_string(xref) + "\r\n%%EOF\r\n");
}

TEST(PdfDoc, SettingTitleTwiceKeepsOneEntryPlacedLast) {
    TPdfDoc doc;
    doc.StartDocument();
    doc.AddPage();
    doc.GetInfo().SetTitle("first");
    doc.GetInfo().SetAuthor("someone");
    doc.GetInfo().SetTitle("second");
    const TPdfDictionary& info = *doc.GetInfo().Data();
    int titles = 0;
    for (int i = 0; i < info.ItemCount(); ++i) titles += info.Items(i).Key.Value == "Title";
    EXPECT_EQ(titles, 1);
    EXPECT_EQ(info.Items(info.ItemCount() - 1).Key.Value, "Title");
    EXPECT_EQ(info.PdfTextByName("Title")->Value, "second");
    // Saving sets ModDate, which then comes last.
    const std::string file = SaveToString(doc);
    EXPECT_TRUE(std::regex_search(file, std::regex("/Title \\(second\\)\r\n/ModDate \\(D:[0-9]{14}\\)\r\n>>")));
}

TEST(PdfDoc, CatalogSettersReplaceEntries) {
    TPdfDoc doc;
    doc.StartDocument();
    doc.AddPage();
    TPdfCatalog& root = doc.GetRoot();
    root.SetPageMode(pmFullScreen);
    root.SetPageLayout(plTwoColumnLeft);
    root.SetPageMode(pmUseThumbs);
    root.SetNonFullScreenPageMode(pmUseOutlines);
    root.SetViewerPreference({vpHideToolbar, vpCenterWindow});
    root.SetViewerPreference({vpFitWindow});
    const std::string file = SaveToString(doc);
    EXPECT_NE(file.find("/Type /Catalog\r\n/Pages 3 0 R\r\n/PageLayout /TwoColumnLeft\r\n/PageMode /UseThumbs\r\n"
                        "/ViewerPreferences <<\r\n/NonFullScreenPageMode /UseOutlines\r\n/FitWindow true\r\n>>\r\n>>"),
              std::string::npos)
        << file.substr(0, 300);
}

TEST(PdfDoc, CanvasKeepsPageAttributesAcrossPages) {
    TPdfDoc doc;
    doc.StartDocument();
    doc.AddPage();
    TPdfDictionary& first = doc.GetCanvas().Page();
    doc.GetCanvas().SelectFont("Times-Bold", 12.345);
    doc.GetCanvas().SelectFont("Times-Bold", 12.345);  // unchanged: nothing written
    doc.AddPage();
    EXPECT_EQ(doc.GetCanvas().Attribute().Font->Name(), "Arial");
    doc.GetCanvas().AttachPage(first);
    EXPECT_EQ(doc.GetCanvas().Attribute().Font->Name(), "Times-Bold");
    EXPECT_DOUBLE_EQ(doc.GetCanvas().Attribute().FontSize, 12.345);
    const std::string file = SaveToString(doc);
    EXPECT_NE(file.find("stream\r\n/F0 10 Tf\n/F1 12.35 Tf\n\nendstream"), std::string::npos);
    EXPECT_NE(file.find("/BaseFont /Times-Bold\r\n/Name /F1\r\n"), std::string::npos);
    EXPECT_EQ(file.find("_Font"), std::string::npos);  // internal items stay internal
    EXPECT_EQ(doc.GetFont("Arial").GetCharWidth('a'), 556);
    EXPECT_EQ(doc.GetFont("Times-Bold").GetCharWidth(' '), 250);
    EXPECT_EQ(doc.GetFont("FixedWidth").GetCharWidth(0xE9), 600);
}

TEST(PdfDoc, ClippedDrawing) {
    TPdfDoc doc;
    doc.StartDocument();
    doc.AddPage();
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 4, 4);
    doc.AddImageObject("Im", MakePdfImage(bitmap, "Pdf-Bitmap"));
    doc.GetCanvas().DrawXObjectEx(1, 2, 3, 4, 5, 6, 7, 8.5, "Im");
    const std::string file = SaveToString(doc);
    EXPECT_NE(file.find("/F0 10 Tf\nq\n5 6 7 8.5 re\nW\nn\n3 0 0 4 1 2 cm\n/Im Do\nQ\n\nendstream"), std::string::npos);
}

TEST(PdfDoc, Refusals) {
    TPdfDoc empty;
    TPdfDoc started;
    started.StartDocument();
    TPdfDoc drawn;
    drawn.StartDocument();
    drawn.AddPage();
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 2, 2);
    drawn.AddImageObject("Im", MakePdfImage(bitmap, "Pdf-Bitmap"));

    ExpectThrowMessage<EPdfInvalidOperation>([&] { empty.GetCanvas(); }, "GetCanvas --Document is null");
    ExpectThrowMessage<EPdfInvalidOperation>([&] { empty.GetInfo(); }, "GetInfo --this method can not use this state..");
    ExpectThrowMessage<EPdfInvalidOperation>([&] { empty.GetRoot(); }, "GetRoot --this method can not use this state..");
    ExpectThrowMessage<EPdfInvalidOperation>([&] { empty.GetFont("Arial"); }, "GetFont --document is null.");
    ExpectThrowMessage<EPdfInvalidOperation>([&] { empty.AddPage(); }, "AddPage --current pages null.");
    ExpectThrowMessage<EPdfInvalidOperation>([&] { SaveToString(empty); }, "SaveToStream --there is no document to save.");
    ExpectThrowMessage<EPdfInvalidOperation>([&] { SaveToString(started); }, "GetPage --the Page is nil");
    ExpectThrowMessage<EPdfError>([&] { drawn.GetFont("Comic"); }, "CreateFont --InvalidFontName:Comic");
    ExpectThrowMessage<EPdfInvalidValue>([&] { drawn.GetCanvas().DrawXObject(0, 0, 1, 1, "Nope"); },
                                         "DrawXObject --XObject not found: Nope");
    ExpectThrowMessage<EPdfInvalidValue>([&] { drawn.GetCanvas().DrawXObjectEx(0, 0, 1, 1, 0, 0, 1, 1, "Nope"); },
                                         "DrawXObjectEx --XObject not found: Nope");
    ExpectThrowMessage<EPdfError>([&] { drawn.AddImageObject("Im", MakePdfImage(bitmap, "Pdf-Bitmap")); },
                                  "AddImage --the image named Im is already exists..");
    ExpectThrowMessage<EPdfError>([&] { drawn.AddImageObject("Dict", std::make_unique<TPdfDictionary>()); },
                                  "AddImage --the image is not valid TPdfImage..");
    ExpectThrowMessage<EPdfError>([&] { drawn.AddImageObject("Plain", std::make_unique<TPdfImage>()); },
                                  "AddImage --the image is not valid TPdfImage..");
    ExpectThrowMessage<EPdfError>([&] { MakePdfImage(bitmap, "Pdf-Jpeg"); }, "AddImage --InvalidImageClassName:Pdf-Jpeg");
    ExpectThrowMessage<EPdfInvalidValue>([&] { drawn.RegisterXObject(nullptr, "X"); }, "RegisterXObject --AObject is null");
    TPdfDictionary dictionary;
    ExpectThrowMessage<EPdfInvalidValue>([&] { drawn.RegisterXObject(&dictionary, "X"); }, "RegisterXObject --not XObject");
    TPdfXObject& other = drawn.ObjectMgr().Register(std::make_unique<TPdfXObject>());
    other.Attributes().AddNameItem("Type", "XObject");
    ExpectThrowMessage<EPdfInvalidValue>([&] { drawn.RegisterXObject(&other, "Im"); }, "RegisterXObject --dupulicate name: Im");
    // The failed calls left the document whole.
    EXPECT_NO_THROW(SaveToString(drawn));
}

TEST(PdfDoc, ReleaseKeepsTheCanvasAndForgetsThePage) {
    TPdfDoc doc;
    doc.StartDocument();
    doc.AddPage();
    TPdfCanvas* canvas = &doc.GetCanvas();
    doc.StartDocument();
    EXPECT_EQ(&doc.GetCanvas(), canvas);
    EXPECT_FALSE(canvas->HasPage());
    doc.AddPage();
    const std::string file = SaveToString(doc);
    EXPECT_NE(file.find("xref\r\n0 7\r\n"), std::string::npos);
    EXPECT_NE(file.find("stream\r\n/F0 10 Tf\n\nendstream"), std::string::npos);
    doc.ReleaseDocument();
    EXPECT_FALSE(doc.HasDoc());
}
