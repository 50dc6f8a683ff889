// ReadPxm: P1 to P6 into ipf1Bit (bitmaps) or ipf24RGB (greymaps and pixmaps).

#include "formats/core/checked_size.h"
#include "formats/pxm/pxm.h"
#include "formats/pxm/pxm_token.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct TPxmHeader {
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
};

// Reads tokens until magic, width, height and (except for bitmaps) the maximum are known.
bool ReadHeader(TPxmByteSource& source, TPxmHeader& header, std::vector<std::string>& comments) {
    int filled = 0;  // 0 magic, 1 width, 2 height, 3 maximum
    for (;;) {
        const std::string token = source.Token();
        if (token.empty()) return false;
        if (token[0] == '#') {
            comments.push_back(token.substr(1));
            continue;
        }
        if (filled == 0) {
            header.magic = token;
            if (token == "P1" || token == "P4") header.maxValue = 1;
            filled = 1;
        } else if (filled == 1) {
            header.width = PxmTokenValue(token);
            if (header.width != 0) filled = 2;
        } else if (filled == 2) {
            header.height = PxmTokenValue(token);
            if (header.height != 0) filled = 3;
            if (filled == 3 && header.maxValue == 1) return true;
        } else {
            header.maxValue = PxmTokenValue(token);
            return true;
        }
    }
}

// trunc(value / maximum × 255), low 8 bits; integer arithmetic keeps exact multiples exact.
inline uint8_t Scale(int64_t value, int maxValue) { return uint8_t((value * 255 / maxValue) & 0xFF); }

class TPxmRasterReader {
public:
    TPxmRasterReader(TStream& stream, TPxmByteSource& source, TIEBitmap& bitmap, const TPxmHeader& header,
                     TProgressRec& progress)
        : FStream(stream), FSource(source), FBitmap(bitmap), FHeader(header), FProgress(progress),
          FFactor(100.0 / header.height) {}

    void Run() {
        switch (FHeader.magic[1]) {
            case '1': return ReadTextBits();
            case '2': return ReadTextSamples(1);
            case '3': return ReadTextSamples(3);
            case '4': return ReadRawBits();
            case '5': return ReadRawSamples(1);
            case '6': return ReadRawSamples(3);
        }
    }

private:
    void RowDone(int& count) {
        ++count;
        if (FProgress.OnProgress) FProgress.Report(int(std::trunc(count * FFactor)));
    }

    void ReadTextBits() {
        const int w = FHeader.width, h = FHeader.height;
        int count = 0;
        for (int y = 0; y < h; ++y) {
            uint8_t* row = FBitmap.ScanLine(y);
            for (int x = 0; x < w;) {
                const int b = FSource.Next();
                if (b < 0) return;
                if (b == '0') row[x >> 3] |= uint8_t(0x80 >> (x & 7)), ++x;
                else if (b == '1') row[x >> 3] &= uint8_t(~(0x80 >> (x & 7))), ++x;
            }
            if (y + 1 < h) RowDone(count);
        }
    }

    void ReadTextSamples(int samples) {
        const int w = FHeader.width, h = FHeader.height;
        int count = 0;
        for (int y = 0; y < h; ++y) {
            uint8_t* row = FBitmap.ScanLine(y);
            for (int x = 0; x < w; ++x) {
                uint8_t rgb[3];
                for (int s = 0; s < samples; ++s) {
                    const std::string token = FSource.Token();
                    if (token.empty()) return;
                    const int value = PxmTokenValue(token);
                    rgb[s] = Scale(value < 0 ? 0 : value, FHeader.maxValue);
                }
                if (samples == 1) rgb[1] = rgb[2] = rgb[0];
                row[3 * x] = rgb[2];
                row[3 * x + 1] = rgb[1];
                row[3 * x + 2] = rgb[0];
            }
            RowDone(count);
        }
    }

    void ReadRawBits() {
        FSource.Sync();
        const int bytes = (FHeader.width + 7) / 8;
        int count = 0;
        for (int y = 0; y < FHeader.height; ++y) {
            FStream.Read(FBitmap.ScanLine(y), bytes);
            RowDone(count);
        }
        // The file's 1 is black, the bitmap's 1 is white.
        for (int y = 0; y < FHeader.height; ++y) {
            uint8_t* row = FBitmap.ScanLine(y);
            for (int i = 0; i < bytes; ++i) row[i] = uint8_t(~row[i]);
        }
    }

    // Grey (1) or red, green, blue (3) samples of one or, above 255, two big-endian bytes.
    void ReadRawSamples(int samples) {
        FSource.Sync();
        const int w = FHeader.width, maxValue = FHeader.maxValue;
        const int sampleBytes = maxValue > 255 ? 2 : 1;
        const size_t rowBytes = size_t(w) * samples * sampleBytes;
        std::vector<uint8_t> line(rowBytes, 0);
        uint8_t lookup[256];
        for (int v = 0; v < 256; ++v) lookup[v] = maxValue == 255 ? uint8_t(v) : Scale(v, maxValue);
        int count = 0;
        for (int y = 0; y < FHeader.height; ++y) {
            const int64_t got = FStream.Read(line.data(), int64_t(rowBytes));
            if (got < int64_t(rowBytes)) std::memset(line.data() + (got > 0 ? got : 0), 0, rowBytes - size_t(got > 0 ? got : 0));
            uint8_t* row = FBitmap.ScanLine(y);
            for (int x = 0; x < w; ++x) {
                uint8_t rgb[3];
                for (int s = 0; s < samples; ++s) {
                    const size_t at = (size_t(x) * samples + s) * sampleBytes;
                    rgb[s] = sampleBytes == 2 ? Scale(line[at] << 8 | line[at + 1], maxValue) : lookup[line[at]];
                }
                if (samples == 1) rgb[1] = rgb[2] = rgb[0];
                row[3 * x] = rgb[2];
                row[3 * x + 1] = rgb[1];
                row[3 * x + 2] = rgb[0];
            }
            RowDone(count);
            if (got < int64_t(rowBytes)) break;
        }
    }

    TStream& FStream;
    TPxmByteSource& FSource;
    TIEBitmap& FBitmap;
    const TPxmHeader& FHeader;
    TProgressRec& FProgress;
    double FFactor;
};

}  // namespace

void ReadPxm(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool paramsOnly, TProgressRec& progress) {
    params.PxmComments.clear();
    TPxmByteSource source(stream);
    TPxmHeader header;
    if (!ReadHeader(source, header, params.PxmComments) || header.width <= 0 || header.height <= 0) {
        progress.Abort();
        return;
    }
    params.FreeColorMap();
    params.Width = header.width;
    params.Height = header.height;
    params.DpiX = params.DpiY = IEDefaultDpi;

    const std::string& m = header.magic;
    const bool known = m.size() == 2 && m[0] == 'P' && m[1] >= '1' && m[1] <= '6';
    const bool bits = known && (m[1] == '1' || m[1] == '4');
    const bool raw = known && m[1] >= '4';
    // Raw samples are one or two bytes; text samples may use any positive maximum.
    if (!known || header.maxValue <= 0 || (raw && header.maxValue > 65535)) {
        progress.Abort();
        return;
    }
    params.BitsPerSample = bits ? 1 : 8;
    params.SamplesPerPixel = m[1] == '3' || m[1] == '6' ? 3 : 1;
    if (paramsOnly) return;

    const TImagePixelFormat format = bits ? ipf1Bit : ipf24RGB;
    if (!IEImageBytes(header.width, header.height, int(IEBitsPerPixel[format]), params.MaxImageBytes)) {
        progress.Abort();
        return;
    }
    bitmap.Allocate(header.width, header.height, format);
    bitmap.Fill(bits ? (m[1] == '4' ? 0x00 : 0xFF) : 0x00);  // unread pixels: white bitmaps, black others
    TPxmRasterReader(stream, source, bitmap, header, progress).Run();
}
