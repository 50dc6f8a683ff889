#include "formats/tiff/tiff_directory.h"

#include "formats/core/row_bits.h"
#include "formats/tiff/tiff_tags.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace {
// Beyond this many pages the walk stops; it bounds the work on a hostile chain.
constexpr int kMaxPages = 65535;
}

int TiffTypeSize(uint16_t type) {
    static constexpr int kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < std::size(kSizes) ? kSizes[type] : 0;
}

bool TTiffFile::ReadHeader(uint32_t& firstDirectory) {
    uint8_t h[8];
    FStream.SetPosition(FBase);
    if (!FStream.ReadBuffer(h, 8)) return false;
    if (h[0] == 'I' && h[1] == 'I') FBigEndian = false;
    else if (h[0] == 'M' && h[1] == 'M') FBigEndian = true;
    else return false;
    firstDirectory = U32(h + 4);
    return true;
}

int64_t TTiffFile::Available(uint32_t offset) { return FStream.Size() - (FBase + int64_t(offset)); }

bool TTiffFile::ReadAt(uint32_t offset, void* buffer, size_t count) {
    if (Available(offset) < int64_t(count)) return false;
    FStream.SetPosition(FBase + int64_t(offset));
    return FStream.ReadBuffer(buffer, int64_t(count));
}

uint16_t TTiffFile::U16(const uint8_t* p) const { return FBigEndian ? IEGetBE16(p) : IEGetLE16(p); }
uint32_t TTiffFile::U32(const uint8_t* p) const { return FBigEndian ? IEGetBE32(p) : IEGetLE32(p); }

bool ReadTiffEntries(TTiffFile& file, uint32_t offset, std::vector<TTiffEntry>& entries) {
    uint8_t countBytes[2];
    if (!file.ReadAt(offset, countBytes, 2)) return false;
    uint16_t count = file.U16(countBytes);
    std::vector<uint8_t> raw(size_t(count) * 12);
    // A directory cut short keeps the entries that are there.
    int64_t avail = std::max<int64_t>(0, file.Available(offset + 2));
    size_t whole = std::min<size_t>(count, size_t(avail / 12));
    if (whole && !file.ReadAt(offset + 2, raw.data(), whole * 12)) return false;
    entries.clear();
    entries.reserve(whole);
    for (size_t i = 0; i < whole; ++i) {
        const uint8_t* p = raw.data() + i * 12;
        TTiffEntry e;
        e.Tag = file.U16(p);
        e.Type = file.U16(p + 2);
        e.Count = file.U32(p + 4);
        std::memcpy(e.Value, p + 8, 4);
        entries.push_back(e);
    }
    return true;
}

TTiffChain WalkTiffChain(TTiffFile& file, uint32_t firstDirectory, int wanted) {
    TTiffChain chain;
    std::unordered_set<uint32_t> seen;
    uint32_t offset = firstDirectory;
    while (offset != 0 && chain.PageCount < kMaxPages && seen.insert(offset).second) {
        uint8_t countBytes[2];
        if (!file.ReadAt(offset, countBytes, 2)) break;  // the stream ends here: not a page
        uint16_t count = file.U16(countBytes);
        if (chain.PageCount == wanted) {
            chain.Found = ReadTiffEntries(file, offset, chain.Entries);
            chain.WantedOffset = offset;
        }
        chain.Offsets.push_back(offset);
        ++chain.PageCount;
        uint8_t next[4];
        offset = file.ReadAt(offset + 2 + uint32_t(count) * 12, next, 4) ? file.U32(next) : 0;
    }
    return chain;
}

const TTiffEntry* TTiffDirectory::Find(uint16_t tag) const {
    for (const auto& e : FEntries)
        if (e.Tag == tag) return &e;
    return nullptr;
}

bool TTiffDirectory::ValueBytes(const TTiffEntry& e, std::vector<uint8_t>& out, size_t maxCount) const {
    int size = TiffTypeSize(e.Type);
    if (size == 0) return false;
    size_t count = std::min<size_t>(e.Count, maxCount);
    uint64_t total = uint64_t(e.Count) * uint64_t(size);
    if (total <= 4) {
        out.assign(e.Value, e.Value + count * size_t(size));
        return true;
    }
    uint32_t offset = FFile.U32(e.Value);
    int64_t avail = FFile.Available(offset);
    if (avail <= 0) return false;
    count = std::min<size_t>(count, size_t(avail / size));
    out.resize(count * size_t(size));
    return count == 0 || FFile.ReadAt(offset, out.data(), out.size());
}

std::vector<uint32_t> TTiffDirectory::Ints(uint16_t tag) const {
    std::vector<uint32_t> values;
    const TTiffEntry* e = Find(tag);
    std::vector<uint8_t> raw;
    if (!e || !ValueBytes(*e, raw)) return values;
    int size = TiffTypeSize(e->Type);
    size_t n = raw.size() / size_t(size);
    values.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = raw.data() + i * size_t(size);
        switch (e->Type) {
        case tyByte: case tyUndefined: values.push_back(p[0]); break;
        case tySByte: values.push_back(uint32_t(int32_t(int8_t(p[0])))); break;
        case tyShort: values.push_back(FFile.U16(p)); break;
        case tySShort: values.push_back(uint32_t(int32_t(int16_t(FFile.U16(p))))); break;
        case tyLong: case tySLong: values.push_back(FFile.U32(p)); break;
        default: return {};
        }
    }
    return values;
}

uint32_t TTiffDirectory::Int(uint16_t tag, uint32_t fallback) const {
    std::vector<uint32_t> v = Ints(tag);
    return v.empty() ? fallback : v[0];
}

std::vector<double> TTiffDirectory::Rationals(uint16_t tag) const {
    std::vector<double> values;
    const TTiffEntry* e = Find(tag);
    std::vector<uint8_t> raw;
    if (!e || !ValueBytes(*e, raw)) return values;
    if (e->Type == tyRational || e->Type == tySRational) {
        for (size_t i = 0; i + 8 <= raw.size(); i += 8) {
            uint32_t num = FFile.U32(raw.data() + i), den = FFile.U32(raw.data() + i + 4);
            if (den == 0) den = 1;
            values.push_back(e->Type == tyRational ? double(num) / double(den)
                                                   : double(int32_t(num)) / double(int32_t(den)));
        }
        return values;
    }
    for (uint32_t v : Ints(tag)) values.push_back(double(v));
    return values;
}

std::optional<double> TTiffDirectory::Rational(uint16_t tag) const {
    std::vector<double> v = Rationals(tag);
    if (v.empty()) return std::nullopt;
    return v[0];
}

std::string TTiffDirectory::Ascii(uint16_t tag) const {
    const TTiffEntry* e = Find(tag);
    std::vector<uint8_t> raw;
    if (!e || !ValueBytes(*e, raw)) return {};
    std::string s(raw.begin(), raw.end());
    if (size_t zero = s.find('\0'); zero != std::string::npos) s.resize(zero);
    return s;
}

std::vector<uint8_t> TTiffDirectory::Bytes(uint16_t tag) const {
    const TTiffEntry* e = Find(tag);
    std::vector<uint8_t> raw;
    if (!e || !ValueBytes(*e, raw)) return {};
    return raw;
}
