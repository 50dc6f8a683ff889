#include "tests/formats/peer_tools/peer_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <unistd.h>

TTempDir::TTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "numerak-codec-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    FPath = pattern;
}

TTempDir::~TTempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
}

bool HaveTools(std::initializer_list<const char*> tools)
{
    for (const char* tool : tools) {
        if (std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) != 0)
            return false;
    }
    return true;
}

bool RunCommand(const std::string& command)
{
    const int status = std::system(command.c_str());
    if (status != 0)
        ADD_FAILURE() << "command failed (" << status << "): " << command;
    return status == 0;
}

std::string RunOutput(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    if (!pipe)
        return out;
    std::array<char, 4096> chunk;
    size_t n;
    while ((n = fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0)
        out.append(chunk.data(), n);
    return out;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {

// Next header number of a netpbm file, skipping white space and comments.
int PnmNumber(std::istream& in)
{
    int c;
    while ((c = in.peek()) != EOF && (std::isspace(c) || c == '#')) {
        if (c == '#')
            in.ignore(1 << 20, '\n');
        else
            in.get();
    }
    int value = -1;
    in >> value;
    return value;
}

}  // namespace

TPnm ReadPnm(const std::string& path)
{
    TPnm pnm;
    std::ifstream in(path, std::ios::binary);
    char p = 0, kind = 0;
    in.get(p).get(kind);
    if (p != 'P' || (kind != '5' && kind != '6'))
        return pnm;
    const int width = PnmNumber(in), height = PnmNumber(in), maxval = PnmNumber(in);
    in.get();
    if (width <= 0 || height <= 0 || maxval != 255)
        return pnm;
    const int channels = kind == '5' ? 1 : 3;
    pnm.Samples.resize(size_t(width) * height * channels);
    in.read(reinterpret_cast<char*>(pnm.Samples.data()), static_cast<std::streamsize>(pnm.Samples.size()));
    if (!in)
        return pnm;
    pnm.Width = width;
    pnm.Height = height;
    pnm.Channels = channels;
    return pnm;
}

void WritePpm(const std::string& path, const TIEBitmap& bitmap)
{
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << bitmap.Width() << ' ' << bitmap.Height() << "\n255\n";
    std::vector<char> row(size_t(bitmap.Width()) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* line = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            row[3 * x] = static_cast<char>(line[3 * x + 2]);
            row[3 * x + 1] = static_cast<char>(line[3 * x + 1]);
            row[3 * x + 2] = static_cast<char>(line[3 * x]);
        }
        out.write(row.data(), static_cast<std::streamsize>(row.size()));
    }
}

void MakeTestPicture(TIEBitmap& bitmap, int width, int height, int seed)
{
    bitmap.Allocate(width, height, ipf24RGB);
    std::mt19937 noise(static_cast<unsigned>(seed));
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const bool box = (x / 16 + y / 16) % 3 == 0;
            row[3 * x] = static_cast<uint8_t>(box ? 40 : x * 255 / std::max(1, width - 1));
            row[3 * x + 1] = static_cast<uint8_t>(y * 255 / std::max(1, height - 1));
            row[3 * x + 2] = static_cast<uint8_t>(box ? 220 : (x + y + noise() % 16) & 0xFF);
        }
    }
}

int MaxDifference(const TIEBitmap& bitmap, const TPnm& pnm)
{
    if (bitmap.PixelFormat() != ipf24RGB || bitmap.Width() != pnm.Width || bitmap.Height() != pnm.Height)
        return -1;
    int worst = 0;
    for (int y = 0; y < pnm.Height; ++y) {
        const uint8_t* row = bitmap.ScanLine(y);
        const uint8_t* ref = pnm.Samples.data() + size_t(y) * pnm.Width * pnm.Channels;
        for (int x = 0; x < pnm.Width; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int expected = pnm.Channels == 1 ? ref[x] : ref[3 * x + c];
                worst = std::max(worst, std::abs(row[3 * x + 2 - c] - expected));
            }
        }
    }
    return worst;
}

int64_t TLimitedStream::Write(const void* buffer, int64_t count)
{
    const int64_t room = std::max<int64_t>(0, FLimit - Size());
    return TMemoryStream::Write(buffer, std::min(count, room));
}
