// The program's TIFF LZW routines (most significant bit first, early code-width change).
#include "formats/tiff/tiff.h"

#include "formats/core/bit_reader.h"
#include "formats/core/bit_writer.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {
constexpr int kClear = 256;
constexpr int kEnd = 257;
constexpr int kFirstFree = 258;
constexpr int kMaxCodes = 4096;

struct TLzwDecodeState {
    TLzwDecodeState(const uint8_t* data, size_t size, int rowLen) : Bits(data, size), Out(size_t(rowLen) + kMaxCodes) {
        for (int i = 0; i < 256; ++i) {
            Suffix[i] = First[i] = uint8_t(i);
            Length[i] = 1;
        }
    }
    TBitReader Bits;
    uint16_t Prefix[kMaxCodes]{};
    uint16_t Length[kMaxCodes]{};
    uint8_t Suffix[kMaxCodes]{};
    uint8_t First[kMaxCodes]{};
    int NextCode = kFirstFree;
    int Width = 9;
    int Previous = -1;
    std::vector<uint8_t> Out;  // one row plus the longest string
    size_t Fill = 0;
    size_t HandedOut = 0;
    bool Ended = false;
    bool Failed = false;

    bool ReadCode(int& code) {
        if (Bits.BitsLeft() < size_t(Width)) return false;  // strip ends without an end code
        code = int(Bits.Get(Width));
        return true;
    }
    void Emit(int code) {
        size_t len = Length[code];
        uint8_t* p = Out.data() + Fill + len;
        for (int c = code;; c = Prefix[c]) {
            *--p = Suffix[c];
            if (c < 256) break;
        }
        Fill += len;
    }
    bool Add(int prefix, uint8_t byte) {
        if (NextCode >= kMaxCodes || Length[prefix] >= kMaxCodes - 1) return false;
        Prefix[NextCode] = uint16_t(prefix);
        Suffix[NextCode] = byte;
        First[NextCode] = First[prefix];
        Length[NextCode] = uint16_t(Length[prefix] + 1);
        ++NextCode;
        if (NextCode == 511) Width = 10;
        else if (NextCode == 1023) Width = 11;
        else if (NextCode == 2047) Width = 12;
        return true;
    }
    // Decodes one code; false at the end of the data or on an error (Failed).
    bool Step() {
        int code;
        if (!ReadCode(code)) return false;
        if (code == kClear) {
            NextCode = kFirstFree;
            Width = 9;
            if (!ReadCode(code) || code == kEnd) return false;
            if (code >= 256) return Fail();
            Emit(code);
            Previous = code;
            return true;
        }
        if (code == kEnd) return false;
        if (Previous < 0) {
            if (code >= 256) return Fail();
            Emit(code);
        } else if (code < NextCode && code != kClear && code != kEnd) {
            if (!Add(Previous, First[code])) return Fail();
            Emit(code);
        } else if (code == NextCode) {
            if (!Add(Previous, First[Previous])) return Fail();
            Emit(code);
        } else {
            return Fail();
        }
        Previous = code;
        return true;
    }
    bool Fail() { Failed = true; return false; }
};

constexpr size_t kHashSize = 1 << 14;

struct TLzwEncodeState {
    explicit TLzwEncodeState(TStream& stream) : Out(stream) { Reset(); }
    TBitWriter Out;
    int32_t Keys[kHashSize];
    uint16_t Codes[kHashSize];
    int NextCode = kFirstFree;
    int Width = 9;
    int Prefix = -1;

    void Reset() {
        std::memset(Keys, 0xFF, sizeof Keys);
        NextCode = kFirstFree;
        Width = 9;
    }
    void Grow() {
        ++NextCode;
        if (NextCode == 512) Width = 10;
        else if (NextCode == 1024) Width = 11;
        else if (NextCode == 2048) Width = 12;
    }
    void Put(int byte) {
        if (Prefix < 0) {
            Prefix = byte;
            return;
        }
        int32_t key = Prefix << 8 | byte;
        size_t h = (size_t(key) * 2654435761u) & (kHashSize - 1);
        for (; Keys[h] >= 0; h = (h + 1) & (kHashSize - 1)) {
            if (Keys[h] == key) {
                Prefix = Codes[h];
                return;
            }
        }
        Out.Put(uint32_t(Prefix), Width);
        Keys[h] = key;
        Codes[h] = uint16_t(NextCode);
        Grow();
        if (NextCode == kMaxCodes - 2) {
            Out.Put(kClear, Width);
            Reset();
        }
        Prefix = byte;
    }
};
}  // namespace

const uint8_t* TiffLzwDecode(const uint8_t* data, size_t size, int rowLen, void** state) {
    auto* s = static_cast<TLzwDecodeState*>(*state);
    if (!data) {
        delete s;
        *state = nullptr;
        return nullptr;
    }
    if (rowLen <= 0) return nullptr;
    if (!s) {
        s = new TLzwDecodeState(data, size, rowLen);
        *state = s;
    }
    if (s->HandedOut) {
        std::memmove(s->Out.data(), s->Out.data() + s->HandedOut, s->Fill - s->HandedOut);
        s->Fill -= s->HandedOut;
        s->HandedOut = 0;
    }
    if (s->Out.size() < size_t(rowLen) + kMaxCodes) s->Out.resize(size_t(rowLen) + kMaxCodes);
    while (s->Fill < size_t(rowLen) && !s->Ended) {
        if (!s->Step()) s->Ended = true;
    }
    if (s->Failed) return nullptr;
    if (s->Fill == 0) return nullptr;
    // A strip cut short still hands out its last row, completed with zeros.
    if (s->Fill < size_t(rowLen)) {
        std::memset(s->Out.data() + s->Fill, 0, size_t(rowLen) - s->Fill);
        s->Fill = size_t(rowLen);
    }
    s->HandedOut = size_t(rowLen);
    return s->Out.data();
}

bool TiffLzwEncode(const uint8_t* row, int rowLen, TStream& stream, void** state) {
    auto* s = static_cast<TLzwEncodeState*>(*state);
    if (!s) {
        s = new TLzwEncodeState(stream);
        *state = s;
        s->Out.Put(kClear, 9);
    }
    if (!row) {
        if (s->Prefix >= 0) {
            s->Out.Put(uint32_t(s->Prefix), s->Width);
            s->Grow();
        }
        s->Out.Put(kEnd, s->Width);
        bool ok = s->Out.Flush();
        delete s;
        *state = nullptr;
        return ok;
    }
    for (int i = 0; i < rowLen; ++i) s->Put(row[i]);
    return s->Out.Ok();
}
