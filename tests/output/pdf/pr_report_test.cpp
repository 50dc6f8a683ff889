#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "formats/core/ie_stream.h"
#include "output/pdf/pdf_errors.h"
#include "pdf_test_support.h"

using namespace std::string_literals;

namespace {

bool Near(TRGB a, TRGB b) {
    return std::abs(a.r - b.r) < 16 && std::abs(a.g - b.g) < 16 && std::abs(a.b - b.b) < 16;
}

constexpr TRGB Red = CreateRGB(255, 0, 0), Green = CreateRGB(0, 255, 0), Blue = CreateRGB(0, 0, 255);
constexpr TRGB White = CreateRGB(255, 255, 255), Black = CreateRGB(0, 0, 0);

std::string WriteReport(TProgramPage& layout, const std::string& fileName, int pages = 1) {
    TPReport report;
    report.FileName = fileName;
    report.BeginReport();
    for (int i = 0; i < pages; ++i) report.PrintPage(layout.Page);
    report.EndReport();
    ExpectQpdfClean(fileName);
    return ReadFile(fileName);
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(PRPage, ChildrenAlignInsideBevelAndMargins) {
    TProgramPage layout;
    EXPECT_EQ(layout.Panel->BoundsRect(), (TRect{33, 33, 567, 767}));
    EXPECT_EQ(layout.Image->BoundsRect(), (TRect{0, 0, 534, 734}));

    TPRPage page("page");
    EXPECT_EQ(page.Width(), 596);
    EXPECT_EQ(page.Height(), 842);
    EXPECT_EQ(page.AlignRect(), (TRect{33, 33, 563, 809}));
    page.SetMargins(10, 20, 30, 40);
    auto& header = page.InsertControl(std::make_unique<TPRLayoutPanel>("header"));
    auto& body = page.InsertControl(std::make_unique<TPRLayoutPanel>("body"));
    body.SetAlign(alClient);
    header.SetBounds(0, 0, 50, 100);
    header.SetAlign(alTop);
    EXPECT_EQ(header.BoundsRect(), (TRect{11, 21, 565, 121}));
    EXPECT_EQ(body.BoundsRect(), (TRect{11, 121, 565, 801}));
    page.SetBounds(0, 0, 300, 400);  // resizing the page lays its children out again
    EXPECT_EQ(body.BoundsRect(), (TRect{11, 121, 269, 359}));
}

TEST(PRImage, StretchedImageFillsTheArea) {
    TTempDir dir;
    TProgramPage layout;
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 100, 50);
    layout.Image->SetPicture(bitmap);
    const std::string file = WriteReport(layout, dir.File("a.pdf"));
    EXPECT_NE(file.find("/Length 15000\r\n/Filter []\r\n/Type /XObject\r\n/Subtype /Image\r\n/ColorSpace /DeviceRGB\r\n"
                        "/Width 100\r\n/Height 50\r\n"),
              std::string::npos);
    EXPECT_NE(file.find("q\n534 0 0 734 33 33 cm\n/PRImage1 Do\nQ\n"), std::string::npos);

    const TRendering page = RenderPage(dir.File("a.pdf"));
    ASSERT_EQ(page.Width, 600);
    ASSERT_EQ(page.Height, 800);
    const struct {
        int X, Y;
        TRGB Colour;
    } samples[] = {
        {10, 10, White},   {590, 790, White}, {20, 400, White},  {580, 400, White}, {300, 20, White}, {300, 780, White},
        {36, 36, Red},     {290, 390, Red},   {36, 764, Green},  {290, 410, Green}, {564, 36, Blue},  {310, 764, Blue},
    };
    for (const auto& s : samples)
        EXPECT_TRUE(Near(page.Pixel(s.X, s.Y), s.Colour)) << s.X << "," << s.Y;
}

TEST(PRImage, OneBitImageIsIndexed) {
    TTempDir dir;
    TProgramPage layout;
    TIEBitmap bitmap;
    bitmap.Allocate(10, 4, ipf1Bit);
    bitmap.Fill(0);
    for (int y = 0; y < 4; ++y)
        for (int x = 5; x < 10; ++x) bitmap.ScanLine(y)[x >> 3] |= uint8_t(0x80 >> (x & 7));  // right half white
    layout.Image->SetPicture(bitmap);
    const std::string file = WriteReport(layout, dir.File("bw.pdf"));
    std::string palette = "<00 00 00 FF FF FF ";
    for (int i = 2; i < 256; ++i) palette += "00 00 00 ";
    palette += ">";
    EXPECT_NE(file.find("/Length 40\r\n/Filter []\r\n/Type /XObject\r\n/Subtype /Image\r\n/ColorSpace [/Indexed /DeviceRGB 255 " +
                        palette + " ]\r\n/Width 10\r\n/Height 4\r\n/BitsPerComponent 8\r\n"),
              std::string::npos);
    const size_t data = file.find("stream\r\n", file.find("/Width 10")) + 8;
    EXPECT_EQ(file.substr(data, 10), "\0\0\0\0\0\1\1\1\1\1"s);

    const TRendering page = RenderPage(dir.File("bw.pdf"));
    EXPECT_TRUE(Near(page.Pixel(100, 400), Black));
    EXPECT_TRUE(Near(page.Pixel(500, 400), White));
}

TEST(PRImage, PaletteAndGreyImagesAreIndexedWith256Entries) {
    TTempDir dir;
    TProgramPage layout;
    TIEBitmap bitmap;
    bitmap.Allocate(2, 1, ipf8Palette);
    for (int i = 0; i < 256; ++i) bitmap.Palette()[i] = CreateRGB(0, 0, 0);
    bitmap.Palette()[7] = CreateRGB(0x12, 0xAB, 0xFF);
    bitmap.ScanLine(0)[0] = 7;
    bitmap.ScanLine(0)[1] = 0;
    layout.Image->SetPicture(bitmap);
    std::string file = WriteReport(layout, dir.File("pal.pdf"));
    EXPECT_NE(file.find("[/Indexed /DeviceRGB 255 <00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 12 AB FF 00 "),
              std::string::npos);
    EXPECT_NE(file.find("/Length 2\r\n"), std::string::npos);

    bitmap.Allocate(3, 1, ipf8Gray);
    bitmap.ScanLine(0)[0] = 0x80;
    layout.Image->SetPicture(bitmap);
    file = WriteReport(layout, dir.File("grey.pdf"));
    EXPECT_NE(file.find("7E 7E 7E 7F 7F 7F 80 80 80 81 81 81"), std::string::npos);
}

TEST(PRReport, SamePagePrintedTwiceSharesOneImage) {
    TTempDir dir;
    TProgramPage layout;
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 8, 8);
    layout.Image->SetPicture(bitmap);
    const std::string file = WriteReport(layout, dir.File("two.pdf"), 2);
    EXPECT_EQ(Count(file, "/Subtype /Image"), 1u);
    EXPECT_EQ(Count(file, "/Type /Page\r\n"), 2u);
    EXPECT_NE(file.find("/Kids [4 0 R 8 0 R ]\r\n/Count 2"), std::string::npos);
    EXPECT_EQ(Count(file, "stream\r\n/F0 10 Tf\nq\n534 0 0 734 33 33 cm\n/PRImage1 Do\nQ\n\nendstream"), 2u);
    EXPECT_EQ(Count(file, "/PRImage1 7 0 R"), 2u);
    std::string pages;
    RunCommand("qpdf --show-npages '" + dir.File("two.pdf") + "'", pages);
    EXPECT_EQ(pages, "2\n");
}

TEST(PRImage, UnsharedImagesGetFreshNumberedNames) {
    TTempDir dir;
    TProgramPage layout;
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 8, 8);
    layout.Image->SetPicture(bitmap);
    layout.Image->SharedImage = false;
    const std::string file = WriteReport(layout, dir.File("unshared.pdf"), 2);
    EXPECT_EQ(Count(file, "/Subtype /Image"), 2u);
    std::smatch first, second;
    ASSERT_TRUE(std::regex_search(file, first, std::regex("/Name /PRImage1([0-9]+)\r\n")));
    const std::string rest = first.suffix();
    ASSERT_TRUE(std::regex_search(rest, second, std::regex("/Name /PRImage1([0-9]+)\r\n")));
    EXPECT_NE(first[1], second[1]);
    EXPECT_LT(std::stoi(first[1]), 65535);
}

TEST(PRImage, UnstretchedImageIsDrawnPixelForPixelAndClipped) {
    TTempDir dir;
    TProgramPage layout;
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 100, 50);
    layout.Image->SetPicture(bitmap);
    layout.Image->Stretch = false;
    const std::string file = WriteReport(layout, dir.File("clip.pdf"));
    EXPECT_NE(file.find("q\n33 33 534 734 re\nW\nn\n100 0 0 50 33 717 cm\n/PRImage1 Do\nQ\n"), std::string::npos);
    const TRendering page = RenderPage(dir.File("clip.pdf"));
    EXPECT_TRUE(Near(page.Pixel(40, 40), Red));
    EXPECT_TRUE(Near(page.Pixel(40, 78), Green));
    EXPECT_TRUE(Near(page.Pixel(128, 40), Blue));
    EXPECT_TRUE(Near(page.Pixel(140, 40), White));
    EXPECT_TRUE(Near(page.Pixel(40, 90), White));
}

TEST(PRReport, EmptyPictureAndUnprintableItemsDrawNothing) {
    TTempDir dir;
    TProgramPage layout;
    std::string file = WriteReport(layout, dir.File("empty.pdf"));
    EXPECT_NE(file.find("stream\r\n/F0 10 Tf\n\nendstream"), std::string::npos);
    TIEBitmap bitmap;
    FillQuadrants(bitmap, 4, 4);
    layout.Image->SetPicture(bitmap);
    layout.Image->Printable = false;
    file = WriteReport(layout, dir.File("unprintable.pdf"));
    EXPECT_EQ(file.find("/Subtype /Image"), std::string::npos);
}

TEST(PRReport, EventsRunAroundThePrint) {
    TTempDir dir;
    TProgramPage layout;
    std::vector<std::string> calls;
    layout.Page.OnPrintPage = [&](TPRPage& page, TPRCanvas& canvas) {
        calls.push_back(page.Name);
        EXPECT_EQ(canvas.PdfCanvas->PageHeight(), 800);
    };
    layout.Panel->BeforePrint = [&](TPRPanel&, TPRCanvas&, const TRect& rect) {
        calls.push_back("before " + std::to_string(rect.Left) + "," + std::to_string(rect.Top));
    };
    layout.Panel->AfterPrint = [&](TPRPanel& panel, TPRCanvas&, const TRect&) { calls.push_back("after " + panel.Name); };
    WriteReport(layout, dir.File("events.pdf"));
    EXPECT_EQ(calls, (std::vector<std::string>{"PRPage1", "before 33,33", "after PRLayoutPanel1"}));
}

TEST(PRReport, PropertiesAreLockedWhileADocumentIsOpen) {
    TPReport report;
    report.BeginReport();
    const std::vector<std::pair<std::function<void()>, std::string>> setters = {
        {[&] { report.SetAuthor("a"); }, "SetAuthor --invalid operation."},
        {[&] { report.SetCreationDate({}); }, "SetCreationDate --invalid operation."},
        {[&] { report.SetCreator("a"); }, "SetCreator --invalid operation."},
        {[&] { report.SetKeywords("a"); }, "SetKeyWords --invalid operation."},
        {[&] { report.SetModDate({}); }, "SetModDate --invalid operation."},
        {[&] { report.SetSubject("a"); }, "SetSubject --invalid operation."},
        {[&] { report.SetTitle("a"); }, "SetTitle --invalid operation."},
        {[&] { report.SetPageLayout(plOneColumn); }, "SetPageLayout --invalid operation."},
        {[&] { report.SetPageMode(pmUseThumbs); }, "SetPageMode --invalid operation."},
        {[&] { report.SetNonFullScreenPageMode(pmUseThumbs); }, "SetNonFullScreenPageMode --invalid operation."},
        {[&] { report.SetUseOutlines(true); }, "SetUseOutlines --invalid operation."},
        {[&] { report.SetViewerPreference({vpFitWindow}); }, "SetViewerPreference --invalid operation."},
    };
    for (const auto& [set, message] : setters) ExpectThrowMessage<EPdfInvalidOperation>(set, message);
    EXPECT_EQ(report.Title(), "");
    report.FileName = "other.pdf";  // always allowed
    report.CompressionMethod = cmNone;
}

TEST(PRReport, DocumentPropertiesReachTheFile) {
    TTempDir dir;
    TProgramPage layout;
    TPReport report;
    report.FileName = dir.File("props.pdf");
    report.SetTitle("Facture (mars)");
    report.SetAuthor("Zoé");
    report.SetPageLayout(plOneColumn);
    report.SetPageMode(pmUseOutlines);
    report.SetUseOutlines(true);
    report.SetViewerPreference({vpHideMenubar});
    report.BeginReport();
    report.PrintPage(layout.Page);
    report.EndReport();
    ExpectQpdfClean(report.FileName);
    const std::string file = ReadFile(report.FileName);
    EXPECT_NE(file.find("/Title (Facture \\(mars\\))\r\n"), std::string::npos);
    EXPECT_NE(file.find("/Author <FEFF001B656E001B005A006F00E9>\r\n"), std::string::npos);
    EXPECT_NE(file.find("/Outlines 2 0 R\r\n/Pages 4 0 R\r\n/PageMode /UseOutlines\r\n/PageLayout /OneColumn\r\n"
                        "/ViewerPreferences <<\r\n/HideMenubar true\r\n>>"),
              std::string::npos);
    std::string info;
    RunCommand("pdfinfo '" + report.FileName + "'", info);
    EXPECT_NE(info.find("Facture (mars)"), std::string::npos) << info;
    EXPECT_NE(info.find("Numerak! 3.0"), std::string::npos) << info;
}

TEST(PRReport, FailuresLeaveTheOldFileAndFreeTheDocument) {
    TTempDir dir;
    TProgramPage layout;
    TPReport report;
    ExpectThrowMessage<EInvalidOperation>([&] { report.EndReport(); }, "document is null..");
    ExpectThrowMessage<EInvalidOperation>([&] { report.PrintPage(layout.Page); }, "document is null..");

    report.FileName = dir.File("keep.pdf");
    WriteFile(report.FileName, "old contents");
    report.BeginReport();  // no page printed: the save fails
    ExpectThrowMessage<EPdfInvalidOperation>([&] { report.EndReport(); }, "GetPage --the Page is nil");
    EXPECT_EQ(ReadFile(report.FileName), "old contents");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")), {}), 1);
    EXPECT_FALSE(report.HasDocument());
    EXPECT_NO_THROW(report.SetTitle("unlocked"));

    report.FileName = dir.File("missing/folder/out.pdf");
    report.BeginReport();
    report.PrintPage(layout.Page);
    EXPECT_THROW(report.EndReport(), EFCreateError);
    EXPECT_FALSE(report.HasDocument());
}
