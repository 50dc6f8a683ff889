#include "formats/core/checked_size.h"

#include <limits>

std::optional<int64_t> IECheckedMul(int64_t a, int64_t b)
{
    if (a < 0 || b < 0) return std::nullopt;
    if (a != 0 && b > std::numeric_limits<int64_t>::max() / a) return std::nullopt;
    return a * b;
}

std::optional<int64_t> IEImageBytes(int64_t width, int64_t height, int bitsPerPixel, int64_t maxBytes)
{
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0) return std::nullopt;
    auto bits = IECheckedMul(width, bitsPerPixel);
    if (!bits || *bits > std::numeric_limits<int64_t>::max() - 31) return std::nullopt;
    int64_t rowLen = (*bits + 31) / 32 * 4;
    auto total = IECheckedMul(rowLen, height);
    if (!total || *total > maxBytes) return std::nullopt;
    return total;
}
