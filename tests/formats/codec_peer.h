#pragma once
// Helpers for codec tests that cross-check files with the peer tools (netpbm, ImageMagick,
// giflib): a temporary folder, running a tool, and pixels as plain RGB to compare.

#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace codec_peer {

// A folder removed with its content at the end of the test.
class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "numerak-codec-XXXXXX").string();
        FPath = mkdtemp(pattern.data());
    }
    ~TTempDir() { std::filesystem::remove_all(FPath); }
    std::string operator/(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

inline bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command; true when it exited with 0.
inline bool RunTool(const std::string& command) { return std::system((command + " 2>/dev/null").c_str()) == 0; }

inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Pixels as red, green, blue bytes, rows from the top.
struct TRgbImage {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    friend bool operator==(const TRgbImage&, const TRgbImage&) = default;
};

inline TRgbImage ToRgb(const TIEBitmap& bitmap) {
    TRgbImage image{bitmap.Width(), bitmap.Height(), {}};
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bitmap.PixelFormat() == ipf1Bit) {
                const uint8_t v = (row[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
                image.rgb.insert(image.rgb.end(), {v, v, v});
            } else {
                image.rgb.insert(image.rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
            }
        }
    }
    return image;
}

// A binary PPM with maximum 255 as the peers write it ("P6", width, height, 255, one blank).
inline TRgbImage ParsePpm(const std::vector<uint8_t>& bytes) {
    TRgbImage image;
    int maxval = 0, consumed = 0;
    const std::string head(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min<size_t>(bytes.size(), 64)));
    if (std::sscanf(head.c_str(), "P6 %d %d %d%n", &image.width, &image.height, &maxval, &consumed) != 3 || maxval != 255)
        return {};
    const size_t start = size_t(consumed) + 1, size = size_t(image.width) * size_t(image.height) * 3;
    if (bytes.size() < start + size) return {};
    image.rgb.assign(bytes.begin() + std::ptrdiff_t(start), bytes.begin() + std::ptrdiff_t(start + size));
    return image;
}

// Decodes a file with ImageMagick into RGB; empty when the tool failed.
inline TRgbImage PeerDecode(const TTempDir& dir, const std::string& file) {
    const std::string out = dir / "peer-decoded.ppm";
    if (!RunTool("convert '" + file + "' -strip -depth 8 +repage -alpha off ppm:'" + out + "'")) return {};
    return ParsePpm(ReadFile(out));
}

// Writes a raw PPM that the peer tools turn into the format under test.
inline void WritePpm(const std::string& path, const TRgbImage& image) {
    std::string head = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    std::vector<uint8_t> bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), image.rgb.begin(), image.rgb.end());
    WriteFile(path, bytes);
}

// A colourful test image whose every pixel differs from its neighbours.
inline TRgbImage Pattern(int w, int h) {
    TRgbImage image{w, h, {}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.rgb.insert(image.rgb.end(), {uint8_t(x * 9), uint8_t(y * 17 + x), uint8_t(x * y)});
    return image;
}

inline TMemoryStream StreamOf(const std::vector<uint8_t>& bytes) { return TMemoryStream(bytes.data(), bytes.size()); }

// A 24-bit bitmap filled by f(x, y) -> TRGB.
template <typename F>
void Fill24(TIEBitmap& bitmap, int width, int height, F f) {
    bitmap.Allocate(width, height, ipf24RGB);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const TRGB c = f(x, y);
            row[3 * x] = c.b;
            row[3 * x + 1] = c.g;
            row[3 * x + 2] = c.r;
        }
    }
}

inline std::string PeerSuite(const std::string& relative) { return std::string(NUMERAK_PEER_SUITES) + "/" + relative; }

}  // namespace codec_peer
