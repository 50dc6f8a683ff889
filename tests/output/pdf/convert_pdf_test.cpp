#include <gtest/gtest.h>

#include "pdf_test_support.h"

namespace {

const std::string Convert = std::string(NUMERAK_BINARY_DIR) + "/cli/convert/numerak-convert";

}  // namespace

TEST(ConvertToPdf, WritesTheOnePageFileOfThePdfCommand) {
    TTempDir dir;
    std::string output;
    // A 1000 × 500 landscape image: no question is asked, it is stretched to the page's area.
    ASSERT_EQ(RunCommand("ppmmake rgb:00/00/ff 1000 500 > '" + dir.File("wide.ppm") + "'", output), 0) << output;
    ASSERT_EQ(RunCommand("'" + Convert + "' '" + dir.File("wide.ppm") + "' '" + dir.File("wide.PDF") + "'", output), 0)
        << output;
    ExpectQpdfClean(dir.File("wide.PDF"));
    const std::string file = ReadFile(dir.File("wide.PDF"));
    EXPECT_NE(file.find("/MediaBox [0 0 600 800 ]"), std::string::npos);
    EXPECT_NE(file.find("stream\r\n/F0 10 Tf\nq\n534 0 0 734 33 33 cm\n/PRImage1 Do\nQ\n\nendstream"), std::string::npos);
    EXPECT_NE(file.find("/Length 1500000\r\n"), std::string::npos);
    EXPECT_NE(file.find("/Width 1000\r\n/Height 500\r\n"), std::string::npos);
    const TRendering page = RenderPage(dir.File("wide.PDF"));
    EXPECT_EQ(page.Pixel(300, 400), CreateRGB(0, 0, 255));
    EXPECT_EQ(page.Pixel(10, 400), CreateRGB(255, 255, 255));
}

TEST(ConvertToPdf, UnreadableInputWritesNothing) {
    TTempDir dir;
    WriteFile(dir.File("bad.ppm"), "P6\n9999999 9999999\n255\n");
    WriteFile(dir.File("out.pdf"), "old");
    std::string output;
    EXPECT_EQ(RunCommand("'" + Convert + "' '" + dir.File("bad.ppm") + "' '" + dir.File("out.pdf") + "'", output), 1);
    EXPECT_EQ(ReadFile(dir.File("out.pdf")), "old");
}
