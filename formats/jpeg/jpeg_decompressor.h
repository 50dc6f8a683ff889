#pragma once
// One libjpeg decompressor with the program's error record; destroyed with its owner.
#include "formats/jpeg/jpeg_error.h"
#include "formats/jpeg/jpeg_stream_mgr.h"

struct TJpegDecompressor {
    jpeg_decompress_struct Info{};
    TJpegErrorRecord Error;
    TJpegStreamSource Source;
    bool Created = false;

    explicit TJpegDecompressor(bool* aborting)
    {
        Info.err = JpegInitErrorRecord(Error, aborting);
        jpeg_create_decompress(&Info);
        Created = true;
    }
    ~TJpegDecompressor()
    {
        if (Created)
            jpeg_destroy_decompress(&Info);
    }
    TJpegDecompressor(const TJpegDecompressor&) = delete;
    TJpegDecompressor& operator=(const TJpegDecompressor&) = delete;
};
