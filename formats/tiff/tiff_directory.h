#pragma once
// The header, the directory chain and typed access to the entries of one directory. Values
// are read on demand from the stream; a value that points outside the stream reads as absent
// (or as fewer values, for a list cut short).

#include "formats/core/ie_stream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TTiffEntry {
    uint16_t Tag = 0;
    uint16_t Type = 0;
    uint32_t Count = 0;
    uint8_t Value[4]{};  // as stored, in the file's byte order
};

class TTiffFile {
public:
    TTiffFile(TStream& stream, int64_t base) : FStream(stream), FBase(base) {}
    // Reads the 8-byte header; false when it is neither "II" nor "MM" or is cut short.
    bool ReadHeader(uint32_t& firstDirectory);
    void SetBase(int64_t base) { FBase = base; }
    bool BigEndian() const { return FBigEndian; }
    TStream& Stream() { return FStream; }
    int64_t Base() const { return FBase; }
    // Bytes between offset and the end of the stream.
    int64_t Available(uint32_t offset);
    bool ReadAt(uint32_t offset, void* buffer, size_t count);
    uint16_t U16(const uint8_t* p) const;
    uint32_t U32(const uint8_t* p) const;

private:
    TStream& FStream;
    int64_t FBase;
    bool FBigEndian = false;
};

class TTiffDirectory {
public:
    TTiffDirectory(TTiffFile& file, std::vector<TTiffEntry> entries) : FFile(file), FEntries(std::move(entries)) {}

    const TTiffEntry* Find(uint16_t tag) const;
    bool Has(uint16_t tag) const { return Find(tag) != nullptr; }
    // Integer values (BYTE, SHORT, LONG and their signed forms).
    std::vector<uint32_t> Ints(uint16_t tag) const;
    uint32_t Int(uint16_t tag, uint32_t fallback) const;
    // RATIONAL values; a zero denominator counts as 1.
    std::vector<double> Rationals(uint16_t tag) const;
    std::optional<double> Rational(uint16_t tag) const;
    // ASCII value up to its first zero.
    std::string Ascii(uint16_t tag) const;
    // The value's raw bytes (count × type size).
    std::vector<uint8_t> Bytes(uint16_t tag) const;
    // Where the value's bytes lie: in the entry itself or at an offset.
    bool ValueBytes(const TTiffEntry& e, std::vector<uint8_t>& out, size_t maxCount = SIZE_MAX) const;

private:
    TTiffFile& FFile;
    std::vector<TTiffEntry> FEntries;
};

// Walks the directory chain from firstDirectory, counting the pages, and loads the entries of
// page wanted. Any cycle ends the walk.
struct TTiffChain {
    int PageCount = 0;
    bool Found = false;
    uint32_t WantedOffset = 0;
    std::vector<TTiffEntry> Entries;
    std::vector<uint32_t> Offsets;  // of every directory in the chain
};
TTiffChain WalkTiffChain(TTiffFile& file, uint32_t firstDirectory, int wanted);
// Reads the entries of the directory at offset.
bool ReadTiffEntries(TTiffFile& file, uint32_t offset, std::vector<TTiffEntry>& entries);

// Byte size of one value of a field type (0 for unknown types).
int TiffTypeSize(uint16_t type);
