#pragma once
// Row and bit helpers shared by the codecs: single pixels of packed rows, and little- and
// big-endian integers in byte buffers.

#include <cstdint>
#include <cstring>

// Pixel x of a 1-bit row, leftmost pixel in the most significant bit.
inline bool IEGetBit(const uint8_t* row, int64_t x) { return (row[x >> 3] >> (7 - (x & 7))) & 1; }
inline void IESetBit(uint8_t* row, int64_t x) { row[x >> 3] |= uint8_t(0x80 >> (x & 7)); }
inline void IEClearBit(uint8_t* row, int64_t x) { row[x >> 3] &= uint8_t(~(0x80 >> (x & 7))); }

// Pixel x of a 4-bit row, left pixel in the high nibble.
inline uint8_t IEGetNibble(const uint8_t* row, int64_t x) { return x & 1 ? row[x >> 1] & 0x0F : row[x >> 1] >> 4; }

// Pixel x of a 16-bit row (native words, as ipf16Gray stores them).
inline uint16_t IEGetWord(const uint8_t* row, int64_t x) { uint16_t v; std::memcpy(&v, row + 2 * x, 2); return v; }
inline void IESetWord(uint8_t* row, int64_t x, uint16_t v) { std::memcpy(row + 2 * x, &v, 2); }

inline uint16_t IEGetLE16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t IEGetLE32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
inline uint16_t IEGetBE16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
inline uint32_t IEGetBE32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]); }
inline void IEPutLE16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
inline void IEPutLE32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i)); }
inline void IEPutBE16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
inline void IEPutBE32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i)); }
