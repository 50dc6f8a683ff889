#pragma once
// Test helpers around the peer tools: a temporary folder per test, running a command, reading
// and writing netpbm files, and codec calls with their own Aborting flag.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/progress.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder removed at the end of its scope.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    std::string Path(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

// True when every tool is on the PATH.
bool HaveTools(std::initializer_list<const char*> tools);
// Runs a shell command; true when it exits with 0. Its output goes to the test log.
bool RunCommand(const std::string& command);
// Runs a shell command and returns what it printed on stdout.
std::string RunOutput(const std::string& command);

std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// Decoded netpbm image: P5 (grey) or P6 (colour) with maxval 255, samples top row first.
struct TPnm {
    int Width = 0;
    int Height = 0;
    int Channels = 0;
    std::vector<uint8_t> Samples;
    bool Valid() const { return Channels != 0; }
};
TPnm ReadPnm(const std::string& path);
void WritePpm(const std::string& path, const TIEBitmap& bitmap);

// A width × height ipf24RGB picture with gradients and edges, the same for a given seed.
void MakeTestPicture(TIEBitmap& bitmap, int width, int height, int seed = 0);
// Largest difference between a 24-bit bitmap and an RGB or grey netpbm image, or -1 when the
// sizes differ.
int MaxDifference(const TIEBitmap& bitmap, const TPnm& pnm);

// A progress record with its own Aborting flag.
struct TTestProgress {
    bool Aborting = false;
    TProgressRec Rec;
    TTestProgress() { Rec.Aborting = &Aborting; }
};

// Accepts at most Limit bytes, then reports short writes.
class TLimitedStream : public TMemoryStream {
public:
    explicit TLimitedStream(int64_t limit) : FLimit(limit) {}
    int64_t Write(const void* buffer, int64_t count) override;

private:
    int64_t FLimit;
};
