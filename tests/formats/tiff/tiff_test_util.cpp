#include "tiff_test_util.h"

#include "formats/core/progress.h"
#include "formats/tiff/tiff.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

TTempDir::TTempDir() {
    char templ[] = "/tmp/numerak-tiff-XXXXXX";
    FPath = mkdtemp(templ);
}
TTempDir::~TTempDir() { std::system(("rm -rf '" + FPath + "'").c_str()); }

bool HaveTool(const std::string& name) { return RunCommand("command -v " + name + " >/dev/null 2>&1"); }
bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string RunOutput(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

std::vector<uint8_t> ReadBytes(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    std::ofstream out(fileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TRgbImage PeerDecode(const std::string& fileName) {
    std::string ppm = RunOutput("convert '" + fileName + "' -depth 8 ppm:- 2>/dev/null");
    TRgbImage img;
    std::istringstream in(ppm);
    std::string magic;
    int max = 0;
    in >> magic >> img.Width >> img.Height >> max;
    in.get();
    if (magic != "P6" || max != 255) return {};
    img.Pixels.resize(size_t(img.Width) * size_t(img.Height) * 3);
    in.read(reinterpret_cast<char*>(img.Pixels.data()), std::streamsize(img.Pixels.size()));
    return img;
}

TRgbImage ToRgb(const TIEBitmap& bitmap) {
    TRgbImage img;
    img.Width = bitmap.Width();
    img.Height = bitmap.Height();
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bitmap.PixelFormat() == ipf1Bit) {
                uint8_t v = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
                img.Pixels.insert(img.Pixels.end(), {v, v, v});
            } else {
                const uint8_t* p = row + 3 * x;
                img.Pixels.insert(img.Pixels.end(), {p[2], p[1], p[0]});
            }
        }
    }
    return img;
}

int MaxDifference(const TRgbImage& a, const TRgbImage& b) {
    if (a.Width != b.Width || a.Height != b.Height || a.Pixels.size() != b.Pixels.size()) return -1;
    int worst = 0;
    for (size_t i = 0; i < a.Pixels.size(); ++i) worst = std::max(worst, std::abs(a.Pixels[i] - b.Pixels[i]));
    return worst;
}

TTiffReadResult ReadTiffBytes(const std::vector<uint8_t>& bytes, TIEBitmap& bitmap, TIOParamsVals& params,
                              bool paramsOnly) {
    TTiffReadResult r;
    TMemoryStream stream(bytes.data(), bytes.size());
    TProgressRec progress;
    progress.Aborting = &r.Aborted;
    if (!params.TiffLzwDecompressor) params.TiffLzwDecompressor = TiffLzwDecode;
    ReadTiff(bitmap, stream, r.Pages, false, false, paramsOnly, r.Mask, progress, params);
    return r;
}

std::vector<uint8_t> WriteTiffBytes(TIEBitmap& bitmap, TIOParamsVals& params) {
    TMemoryStream stream;
    bool aborted = false;
    TProgressRec progress;
    progress.Aborting = &aborted;
    WriteTiff(stream, false, bitmap, progress, params);
    if (aborted) return {};
    return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}
