#include "pdf_test_support.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>

#include "formats/core/ie_stream.h"
#include "output/pdf/pdf_doc.h"

namespace {

// A comma decimal separator for the C++ streams when the locale itself is not installed.
struct TCommaNumpunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

// Switches the whole process to the locale named by NUMERAK_TEST_LOCALE.
class TLocaleEnvironment : public testing::Environment {
public:
    void SetUp() override {
        const char* name = std::getenv("NUMERAK_TEST_LOCALE");
        if (!name) return;
        if (std::setlocale(LC_ALL, name)) {
            std::locale::global(std::locale(name));
        } else {
            std::locale::global(std::locale(std::locale::classic(), new TCommaNumpunct));
            std::printf("locale %s not installed; using a comma numpunct facet\n", name);
        }
        char probe[16];
        std::snprintf(probe, sizeof probe, "%g", 1.5);
        std::ostringstream stream;
        stream.imbue(std::locale());
        stream << 1.5;
        std::printf("running under %s: printf gives %s, streams give %s\n", name, probe, stream.str().c_str());
    }
};

const auto* const LocaleEnvironment = testing::AddGlobalTestEnvironment(new TLocaleEnvironment);

}  // namespace

void FillQuadrants(TIEBitmap& bitmap, int width, int height) {
    bitmap.Allocate(width, height, ipf24RGB);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<TRGB*>(bitmap.ScanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = x >= width / 2 ? CreateRGB(0, 0, 255) : y < height / 2 ? CreateRGB(255, 0, 0) : CreateRGB(0, 255, 0);
    }
}

TTempDir::TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "numerak-pdf-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

int RunCommand(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return -1;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ExpectQpdfClean(const std::string& path) {
    std::string output;
    const int status = RunCommand("qpdf --check '" + path + "'", output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("No syntax or stream encoding errors found"), std::string::npos) << output;
}

TRGB TRendering::Pixel(int x, int y) const {
    const size_t at = (size_t(y) * Width + x) * 3;
    if (at + 3 > Rgb.size()) return CreateRGB(1, 2, 3);  // outside: matches no colour of the tests
    return CreateRGB(Rgb[at], Rgb[at + 1], Rgb[at + 2]);
}

TRendering RenderPage(const std::string& path) {
    TRendering rendering;
    std::string output;
    const std::string base = path + ".render";
    if (RunCommand("pdftoppm -r 72 -singlefile '" + path + "' '" + base + "'", output) != 0) {
        ADD_FAILURE() << "pdftoppm failed: " << output;
        return rendering;
    }
    std::ifstream in(base + ".ppm", std::ios::binary);
    in.imbue(std::locale::classic());  // the header's numbers, whatever the test locale groups
    std::string magic;
    int maxValue = 0;
    in >> magic >> rendering.Width >> rendering.Height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) {
        ADD_FAILURE() << "unexpected pdftoppm output";
        return rendering;
    }
    rendering.Rgb.resize(size_t(rendering.Width) * rendering.Height * 3);
    in.read(reinterpret_cast<char*>(rendering.Rgb.data()), std::streamsize(rendering.Rgb.size()));
    return rendering;
}

std::string SaveToString(TPdfDoc& doc) {
    TMemoryStream stream;
    doc.SaveToStream(stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), size_t(stream.Size()));
}
