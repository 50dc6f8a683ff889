#pragma once
// IPTC items as TIFF and JPEG files store them, and the Photoshop APP13 block around them.
#include "formats/core/io_params.h"

#include <cstdint>
#include <vector>

// The record-version dataset 2:0, then every item except 2:0 (0x1C, record, dataset, length in
// 2 bytes below 0x8000 else 0x80 0x04 and 4 bytes, data), all big-endian; no padding.
std::vector<uint8_t> IptcSerializeItems(const std::vector<TIptcItem>& items);
// Items from the first 0x1C byte until a byte that is not 0x1C or an item running past the end.
std::vector<TIptcItem> IptcParseItems(const uint8_t* data, size_t size);

// "Photoshop 3.0", resource 0x0404 holding the serialized items, padded to an even size.
std::vector<uint8_t> IptcMakeApp13(const std::vector<TIptcItem>& items);
// The items of an APP13 payload: those of its 0x0404 resource, or of the whole payload when
// it is not laid out as Photoshop resources.
std::vector<TIptcItem> IptcParseApp13(const std::vector<uint8_t>& payload);
