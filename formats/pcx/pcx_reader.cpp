// ReadPcx: one image of 1 to 8 bits in one plane, 1 bit in four planes, or three planes.

#include "formats/core/checked_size.h"
#include "formats/core/row_bits.h"
#include "formats/pcx/pcx.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

std::vector<TRGB> RgbEntries(const uint8_t* rgb, int count) {
    std::vector<TRGB> colours(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) colours[size_t(i)] = CreateRGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return colours;
}

inline void PutRGB(uint8_t* p, const TRGB& c) {
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
}

}  // namespace

void ReadPcx(TStream& stream, TIEBitmap& bitmap, TIOParamsVals& params, bool paramsOnly, TProgressRec& progress,
             int64_t streamSize) {
    uint8_t header[128];
    if (!stream.ReadBuffer(header, 128) || header[0] != 10 || header[3] > 8 || header[2] > 1) {
        progress.Abort();
        return;
    }
    const int bits = header[3], planes = header[65], bytesPerLine = IEGetLE16(header + 66);
    const int width = int(IEGetLE16(header + 8)) - IEGetLE16(header + 4) + 1;
    const int height = int(IEGetLE16(header + 10)) - IEGetLE16(header + 6) + 1;
    if (width <= 0 || height <= 0) {
        progress.Abort();
        return;
    }
    params.DpiX = IEGetLE16(header + 12);
    params.DpiY = IEGetLE16(header + 14);
    if (params.DpiX == 0 || params.DpiY == 0) params.DpiX = params.DpiY = IEDefaultDpi;

    uint8_t trailing[768] = {};
    if (planes == 1 && bits > 4) {
        const int64_t dataStart = stream.Position();
        if (streamSize - 768 >= dataStart) {
            stream.SetPosition(streamSize - 768);
            stream.Read(trailing, 768);
        }
        stream.SetPosition(dataStart);
    }
    const std::vector<TRGB> headerColours = RgbEntries(header + 16, 16);
    const std::vector<TRGB> trailingColours = RgbEntries(trailing, 256);

    params.BitsPerSample = bits;
    params.SamplesPerPixel = planes;
    params.Width = width;
    params.Height = height;
    params.PcxVersion = header[1];
    params.FreeColorMap();
    const bool sixteenPlanar = bits == 1 && planes == 4;
    if (bits == 8) {
        params.SetColorMap(trailingColours.data(), 256);
    } else if (sixteenPlanar) {
        params.SetColorMap(headerColours.data(), 16);
        params.BitsPerSample = 4;
        params.SamplesPerPixel = 1;
    } else if (bits < 8 && bits > 0) {
        params.SetColorMap(headerColours.data(), std::min(16, 1 << bits));
    }
    if (paramsOnly) return;

    const TImagePixelFormat format = bits == 1 && planes == 1 ? ipf1Bit : ipf24RGB;
    if (!IEImageBytes(width, height, int(IEBitsPerPixel[format]), params.MaxImageBytes)) {
        progress.Abort();
        return;
    }
    std::vector<uint8_t> data(size_t(std::max<int64_t>(stream.Remaining(), 0)));
    data.resize(size_t(std::max<int64_t>(stream.Read(data.data(), int64_t(data.size())), 0)));

    bitmap.Allocate(width, height, format);
    bitmap.Fill(0);
    TPcxLineDecoder decoder(data.data(), data.size(), header[2] == 1);
    // Room for the width even when the header's bytes per line is too small for it.
    const size_t lineSize = size_t(std::max(2 * bytesPerLine + 8, width + 8));
    std::vector<uint8_t> lines[4];
    for (auto& line : lines) line.assign(lineSize, 0);
    const double factor = 100.0 / height;
    TRGB low[16];
    for (int i = 0; i < 16; ++i) low[i] = headerColours[size_t(i)];

    for (int y = 0; y < height; ++y) {
        if (progress.OnProgress) progress.Report(int(std::trunc(y * factor)));
        if (progress.Aborted()) return;
        uint8_t* row = bitmap.ScanLine(y);
        if (planes == 1 && bits == 8) {
            decoder.DecodePcxLine(lines[0].data(), bytesPerLine);
            for (int x = 0; x < width; ++x) PutRGB(row + 3 * x, trailingColours[lines[0][size_t(x)]]);
        } else if (planes == 1 && (bits == 2 || bits == 4)) {
            decoder.DecodePcxLine(lines[0].data(), bytesPerLine);
            const int perByte = 8 / bits, mask = (1 << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bits * (x % perByte + 1);
                PutRGB(row + 3 * x, low[(lines[0][size_t(x / perByte)] >> shift) & mask]);
            }
        } else if (planes == 1 && bits == 1) {
            decoder.DecodePcxLine(lines[0].data(), bytesPerLine);
            std::memcpy(row, lines[0].data(), size_t((width + 7) / 8));
        } else if (planes == 3) {
            for (int p = 0; p < 3; ++p) decoder.DecodePcxLine(lines[p].data(), bytesPerLine);
            for (int x = 0; x < width; ++x)
                PutRGB(row + 3 * x, CreateRGB(lines[0][size_t(x)], lines[1][size_t(x)], lines[2][size_t(x)]));
        } else if (sixteenPlanar) {
            for (int p = 0; p < 4; ++p) decoder.DecodePcxLine(lines[p].data(), bytesPerLine);
            for (int x = 0; x < width; ++x) {
                int index = 0;
                for (int p = 0; p < 4; ++p) index |= IEGetBit(lines[p].data(), x) << p;
                PutRGB(row + 3 * x, low[index]);
            }
        }
    }
}
