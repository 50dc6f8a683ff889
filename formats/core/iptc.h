#pragma once
// IPTC dataset encoding shared by the TIFF IPTC tag and the JPEG APP13 block: each item is
// 0x1C, record, dataset, length (2 bytes big-endian, or 0x80 0x04 and 4 bytes for 0x8000 and
// more), data.

#include "formats/core/io_params.h"

#include <cstdint>
#include <vector>

inline void IEAppendIptcItem(std::vector<uint8_t>& out, int record, int dataSet, const std::string& data) {
    out.push_back(0x1C);
    out.push_back(uint8_t(record));
    out.push_back(uint8_t(dataSet));
    uint32_t len = uint32_t(data.size());
    if (len < 0x8000) {
        out.push_back(uint8_t(len >> 8));
        out.push_back(uint8_t(len));
    } else {
        out.insert(out.end(), {0x80, 0x04, uint8_t(len >> 24), uint8_t(len >> 16), uint8_t(len >> 8), uint8_t(len)});
    }
    out.insert(out.end(), data.begin(), data.end());
}

// Parses datasets until the bytes end or something that is not a dataset starts; damaged
// trailing bytes are dropped.
inline std::vector<TIptcItem> IEParseIptc(const uint8_t* p, size_t size) {
    std::vector<TIptcItem> items;
    size_t i = 0;
    while (i + 5 <= size && p[i] == 0x1C) {
        TIptcItem item;
        item.Record = p[i + 1];
        item.DataSet = p[i + 2];
        size_t len = size_t(p[i + 3]) << 8 | p[i + 4];
        i += 5;
        if (len & 0x8000) {
            size_t lenBytes = len & 0x7FFF;
            if (lenBytes > 4 || i + lenBytes > size) break;
            len = 0;
            for (size_t k = 0; k < lenBytes; ++k) len = len << 8 | p[i + k];
            i += lenBytes;
        }
        if (len > size - i) break;
        item.Data.assign(reinterpret_cast<const char*>(p + i), len);
        i += len;
        items.push_back(std::move(item));
    }
    return items;
}
