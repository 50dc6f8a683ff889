#pragma once
// Builders of small BMP streams and helpers to read pixels back.
#include "formats/bmp/bmp.h"
#include "formats/core/row_bits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct TBmpSpec {
    uint32_t HeaderSize = 40;
    int32_t Width = 2, Height = 2;
    int BitCount = 24;
    uint32_t Compression = 0;
    uint32_t ColorsUsed = 0;
    int32_t Ppm = 0;
    std::vector<TRGB> Palette;        // written in the header's entry size
    std::vector<uint32_t> Masks;      // after the palette (or inside a long header)
    std::vector<uint8_t> Pixels;      // as stored in the file
};

inline void Put16(std::vector<uint8_t>& v, uint32_t x) { v.push_back(uint8_t(x)); v.push_back(uint8_t(x >> 8)); }
inline void Put32(std::vector<uint8_t>& v, uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i))); }

inline std::vector<uint8_t> MakeBmp(const TBmpSpec& s)
{
    std::vector<uint8_t> info;
    Put32(info, s.HeaderSize);
    if (s.HeaderSize == 12) {
        Put16(info, uint32_t(s.Width)); Put16(info, uint32_t(s.Height)); Put16(info, 1); Put16(info, uint32_t(s.BitCount));
    } else {
        Put32(info, uint32_t(s.Width)); Put32(info, uint32_t(s.Height)); Put16(info, 1); Put16(info, uint32_t(s.BitCount));
        Put32(info, s.Compression); Put32(info, uint32_t(s.Pixels.size())); Put32(info, uint32_t(s.Ppm));
        Put32(info, uint32_t(s.Ppm)); Put32(info, s.ColorsUsed); Put32(info, 0);
        if (s.HeaderSize > 40 && !s.Masks.empty() && s.HeaderSize != 64)
            for (uint32_t m : s.Masks) Put32(info, m);
        info.resize(s.HeaderSize, 0);
    }
    for (const TRGB& c : s.Palette) {
        info.insert(info.end(), {c.b, c.g, c.r});
        if (s.HeaderSize != 12) info.push_back(0);
    }
    if (s.HeaderSize <= 40)
        for (uint32_t m : s.Masks) Put32(info, m);
    std::vector<uint8_t> file = {'B', 'M'};
    Put32(file, uint32_t(14 + info.size() + s.Pixels.size()));
    Put32(file, 0);
    Put32(file, uint32_t(14 + info.size()));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.Pixels.begin(), s.Pixels.end());
    return file;
}

// Reads bytes; returns Aborting.
inline bool Decode(const std::vector<uint8_t>& bytes, TIEBitmap& bitmap, TIOParamsVals& params)
{
    TMemoryStream s(bytes.data(), bytes.size());
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    ReadBmp(s, bitmap, int64_t(bytes.size()), /*paramsOnly=*/false, progress, params);
    return aborting;
}

// Writes bitmap; returns the bytes (empty when the writer gave up).
inline std::vector<uint8_t> Encode(TIEBitmap& bitmap, TIOParamsVals& params)
{
    TMemoryStream s;
    bool aborting = false;
    TProgressRec progress;
    progress.Aborting = &aborting;
    WriteBmp(s, bitmap, params, progress);
    return aborting ? std::vector<uint8_t>() : s.Bytes();
}

inline TRGB Pixel(const TIEBitmap& b, int x, int y) { return reinterpret_cast<const TRGB*>(b.ScanLine(y))[x]; }
inline void SetPixel(TIEBitmap& b, int x, int y, TRGB c) { reinterpret_cast<TRGB*>(b.ScanLine(y))[x] = c; }
inline uint32_t LE32(const std::vector<uint8_t>& v, size_t at) { return IEGetLE32(v.data() + at); }
inline uint16_t LE16(const std::vector<uint8_t>& v, size_t at) { return IEGetLE16(v.data() + at); }

constexpr TRGB kBlack = CreateRGB(0, 0, 0), kWhite = CreateRGB(255, 255, 255);
constexpr TRGB kRed = CreateRGB(255, 0, 0);
