#pragma once
// Helpers of the TIFF tests: peer tools in a temporary folder, files in and out of memory,
// decoding through our reader and comparing with a peer's decoding.

#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"

#include <memory>
#include <string>
#include <vector>

// A temporary folder removed with its contents at the end of the test.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    std::string Path(const std::string& name) const { return FPath + "/" + name; }

private:
    std::string FPath;
};

bool HaveTool(const std::string& name);
// Runs a shell command; true when it exits with 0.
bool RunCommand(const std::string& command);
std::string RunOutput(const std::string& command);
std::vector<uint8_t> ReadBytes(const std::string& fileName);
void WriteBytes(const std::string& fileName, const std::vector<uint8_t>& bytes);

// Pixels as 8-bit RGB triples, row by row.
struct TRgbImage {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;
};
// ImageMagick's decoding of a file (page index in brackets when given).
TRgbImage PeerDecode(const std::string& fileName);
TRgbImage ToRgb(const TIEBitmap& bitmap);
// Largest channel difference, or -1 when the sizes differ.
int MaxDifference(const TRgbImage& a, const TRgbImage& b);

struct TTiffReadResult {
    bool Aborted = false;
    int Pages = 0;
    std::unique_ptr<TIEBitmap> Mask;
};
TTiffReadResult ReadTiffBytes(const std::vector<uint8_t>& bytes, TIEBitmap& bitmap, TIOParamsVals& params,
                              bool paramsOnly = false);
// Writes through our writer; empty on failure.
std::vector<uint8_t> WriteTiffBytes(TIEBitmap& bitmap, TIOParamsVals& params);
