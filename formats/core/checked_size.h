#pragma once
// One place for every width × height × bytes computation of the readers: sizes are computed in
// 64 bits, checked against overflow and against the pixel limit before anything is allocated.

#include <cstdint>
#include <optional>

// Largest pixel buffer a reader may allocate (1 GiB) unless the caller asks for another.
inline constexpr int64_t IEDefaultMaxImageBytes = int64_t(1) << 30;

// a × b, or nothing when it overflows or either is negative.
std::optional<int64_t> IECheckedMul(int64_t a, int64_t b);

// Byte size of a width × height image of bitsPerPixel with rows padded to 4 bytes, or nothing
// when the dimensions are not positive, overflow or exceed maxBytes.
std::optional<int64_t> IEImageBytes(int64_t width, int64_t height, int bitsPerPixel,
                                    int64_t maxBytes = IEDefaultMaxImageBytes);
