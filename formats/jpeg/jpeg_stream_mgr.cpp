#include "formats/jpeg/jpeg_stream_mgr.h"

#include <jerror.h>

namespace {

TJpegStreamSource& SourceOf(j_decompress_ptr cinfo) { return *reinterpret_cast<TJpegStreamSource*>(cinfo->src); }

TJpegStreamDestination& DestinationOf(j_compress_ptr cinfo)
{
    return *reinterpret_cast<TJpegStreamDestination*>(cinfo->dest);
}

void InitSource(j_decompress_ptr cinfo) { SourceOf(cinfo).StartOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    TJpegStreamSource& src = SourceOf(cinfo);
    int64_t got = src.Stream->Read(src.Buffer.data(), static_cast<int64_t>(src.Buffer.size()));
    if (got <= 0) {
        if (src.StartOfFile && src.Aborting)
            *src.Aborting = true;
        else
            WARNMS(cinfo, JWRN_JPEG_EOF);
        // A fake end of image lets the library finish a truncated file on its own terms.
        src.Buffer[0] = 0xFF;
        src.Buffer[1] = JPEG_EOI;
        got = 2;
    }
    src.Pub.next_input_byte = src.Buffer.data();
    src.Pub.bytes_in_buffer = static_cast<size_t>(got);
    src.StartOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0)
        return;
    TJpegStreamSource& src = SourceOf(cinfo);
    auto left = static_cast<size_t>(count);
    if (left > src.Pub.bytes_in_buffer) {
        // Past the buffer: move the stream instead; the next byte wanted refills.
        src.Stream->Seek(static_cast<int64_t>(left - src.Pub.bytes_in_buffer), soCurrent);
        src.Pub.next_input_byte = src.Buffer.data();
        src.Pub.bytes_in_buffer = 0;
        return;
    }
    src.Pub.next_input_byte += left;
    src.Pub.bytes_in_buffer -= left;
}

void TermSource(j_decompress_ptr) {}

void InitDestination(j_compress_ptr cinfo)
{
    TJpegStreamDestination& dest = DestinationOf(cinfo);
    dest.Pub.next_output_byte = dest.Buffer.data();
    dest.Pub.free_in_buffer = dest.Buffer.size();
}

void WriteOut(TJpegStreamDestination& dest, size_t count)
{
    if (count == 0)
        return;
    if (!dest.Stream->WriteBuffer(dest.Buffer.data(), static_cast<int64_t>(count)) && dest.Aborting)
        *dest.Aborting = true;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    TJpegStreamDestination& dest = DestinationOf(cinfo);
    WriteOut(dest, dest.Buffer.size());
    InitDestination(cinfo);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    TJpegStreamDestination& dest = DestinationOf(cinfo);
    WriteOut(dest, dest.Buffer.size() - dest.Pub.free_in_buffer);
}

}  // namespace

void JpegAttachSource(j_decompress_ptr cinfo, TJpegStreamSource& source, TStream& stream, bool* aborting)
{
    source.Stream = &stream;
    source.Aborting = aborting;
    source.StartOfFile = true;
    source.Buffer.resize(IEJpegBufferSize);
    source.Pub.init_source = InitSource;
    source.Pub.fill_input_buffer = FillInputBuffer;
    source.Pub.skip_input_data = SkipInputData;
    source.Pub.resync_to_restart = jpeg_resync_to_restart;
    source.Pub.term_source = TermSource;
    source.Pub.next_input_byte = nullptr;
    source.Pub.bytes_in_buffer = 0;
    cinfo->src = &source.Pub;
}

void JpegAttachDestination(j_compress_ptr cinfo, TJpegStreamDestination& destination, TStream& stream,
                           bool* aborting)
{
    destination.Stream = &stream;
    destination.Aborting = aborting;
    destination.Buffer.resize(IEJpegBufferSize);
    destination.Pub.init_destination = InitDestination;
    destination.Pub.empty_output_buffer = EmptyOutputBuffer;
    destination.Pub.term_destination = TermDestination;
    cinfo->dest = &destination.Pub;
}
