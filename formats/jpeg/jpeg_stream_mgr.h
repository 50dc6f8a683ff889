#pragma once
// libjpeg source and destination managers over TStream, with 64 KiB buffers.
//
// Source: at the end of the stream the library is handed an end-of-image marker, so a truncated
// file decodes with its missing part grey and one more warning counted; when the stream gives
// no byte at all, Aborting is set.
// Destination: the buffer goes to the stream whenever full and once at the end; a short
// write sets Aborting.
#include "formats/core/ie_stream.h"

#include <cstdio>
#include <jpeglib.h>
#include <vector>

inline constexpr size_t IEJpegBufferSize = 64 * 1024;

struct TJpegStreamSource {
    jpeg_source_mgr Pub;  // first, so the library's pointer is ours
    TStream* Stream = nullptr;
    bool* Aborting = nullptr;
    bool StartOfFile = true;
    std::vector<JOCTET> Buffer;
};

struct TJpegStreamDestination {
    jpeg_destination_mgr Pub;
    TStream* Stream = nullptr;
    bool* Aborting = nullptr;
    std::vector<JOCTET> Buffer;
};

// Points the decompressor at source, which reads stream from its current position.
void JpegAttachSource(j_decompress_ptr cinfo, TJpegStreamSource& source, TStream& stream, bool* aborting);
void JpegAttachDestination(j_compress_ptr cinfo, TJpegStreamDestination& destination, TStream& stream,
                           bool* aborting);
