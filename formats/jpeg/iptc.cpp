#include "formats/jpeg/iptc.h"

#include "formats/core/row_bits.h"

#include <cstring>

namespace {

constexpr char IEPhotoshopSignature[] = "Photoshop 3.0";  // with its zero byte: 14 bytes
constexpr uint16_t IEIptcResource = 0x0404;

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutItem(std::vector<uint8_t>& out, int record, int dataSet, const std::string& data)
{
    out.push_back(0x1C);
    out.push_back(static_cast<uint8_t>(record));
    out.push_back(static_cast<uint8_t>(dataSet));
    if (data.size() < 0x8000) {
        PutBigEndian(out, static_cast<uint32_t>(data.size()), 2);
    } else {
        out.push_back(0x80);
        out.push_back(0x04);
        PutBigEndian(out, static_cast<uint32_t>(data.size()), 4);
    }
    out.insert(out.end(), data.begin(), data.end());
}

}  // namespace

std::vector<uint8_t> IptcSerializeItems(const std::vector<TIptcItem>& items)
{
    std::vector<uint8_t> out;
    PutItem(out, 2, 0, std::string("\x00\x02", 2));
    for (const TIptcItem& item : items) {
        if (item.Record == 2 && item.DataSet == 0)
            continue;
        PutItem(out, item.Record, item.DataSet, item.Data);
    }
    return out;
}

std::vector<TIptcItem> IptcParseItems(const uint8_t* data, size_t size)
{
    std::vector<TIptcItem> items;
    size_t pos = 0;
    while (pos < size && data[pos] != 0x1C)
        ++pos;
    while (pos + 5 <= size && data[pos] == 0x1C) {
        TIptcItem item;
        item.Record = data[pos + 1];
        item.DataSet = data[pos + 2];
        size_t length = IEGetBE16(data + pos + 3);
        pos += 5;
        if (length & 0x8000) {
            if (pos + 4 > size)
                break;
            length = IEGetBE32(data + pos);
            pos += 4;
        }
        if (length > size - pos)
            break;
        item.Data.assign(reinterpret_cast<const char*>(data + pos), length);
        pos += length;
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<uint8_t> IptcMakeApp13(const std::vector<TIptcItem>& items)
{
    const std::vector<uint8_t> body = IptcSerializeItems(items);
    constexpr size_t header = sizeof IEPhotoshopSignature + 12;  // 8BIM, id, empty name, size
    std::vector<uint8_t> out(header + body.size() + body.size() % 2, 0);
    std::memcpy(out.data(), IEPhotoshopSignature, sizeof IEPhotoshopSignature);
    uint8_t* resource = out.data() + sizeof IEPhotoshopSignature;
    std::memcpy(resource, "8BIM", 4);
    IEPutBE16(resource + 4, IEIptcResource);
    IEPutBE32(resource + 8, static_cast<uint32_t>(body.size()));
    if (!body.empty())
        std::memcpy(out.data() + header, body.data(), body.size());
    return out;
}

std::vector<TIptcItem> IptcParseApp13(const std::vector<uint8_t>& payload)
{
    const uint8_t* p = payload.data();
    const size_t size = payload.size();
    size_t pos = sizeof IEPhotoshopSignature;
    if (size < pos || std::memcmp(p, IEPhotoshopSignature, pos) != 0)
        return IptcParseItems(p, size);
    // Walk the resources: the size bytes of a header may themselves hold 0x1C.
    while (pos + 12 <= size && std::memcmp(p + pos, "8BIM", 4) == 0) {
        const uint16_t id = static_cast<uint16_t>(IEGetBE16(p + pos + 4));
        size_t namePos = pos + 6;
        const size_t nameLength = p[namePos];
        size_t after = namePos + ((nameLength + 2) & ~size_t(1));  // Pascal string padded to even
        if (after + 4 > size)
            break;
        const size_t length = IEGetBE32(p + after);
        after += 4;
        if (length > size - after)
            break;
        if (id == IEIptcResource)
            return IptcParseItems(p + after, length);
        pos = after + length + (length & 1);
    }
    return {};
}
