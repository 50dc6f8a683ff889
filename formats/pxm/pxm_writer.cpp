// WritePxm: P4, P5 or P6 chosen from the bitmap and BitsPerSample × SamplesPerPixel.

#include "formats/core/write_check_stream.h"
#include "formats/pxm/pxm.h"

#include <cmath>
#include <string>
#include <vector>

void WritePxm(TStream& target, TIEBitmap& bitmap, TIOParamsVals& params, TProgressRec& progress) {
    if (bitmap.Empty()) {
        progress.Abort();
        return;
    }
    TWriteCheckStream stream(target);
    const bool bits = (params.BitsPerSample == 1 && params.SamplesPerPixel == 1) || bitmap.PixelFormat() == ipf1Bit;
    const bool grey = !bits && params.BitsPerSample == 8 && params.SamplesPerPixel == 1;

    // Work on a copy when the bitmap is not in the form the kind needs.
    TIEBitmap copy;
    const TIEBitmap* source = &bitmap;
    const TImagePixelFormat needed = bits ? ipf1Bit : ipf24RGB;
    if (bitmap.PixelFormat() != needed) {
        copy.Assign(bitmap);
        copy.ConvertTo(needed);
        source = &copy;
    }

    std::string header = bits ? "P4 " : grey ? "P5 " : "P6 ";
    for (const std::string& line : params.PxmComments) header += "\n# " + line + "\n";
    header += std::to_string(source->Width()) + " " + std::to_string(source->Height());
    if (!bits) header += " 255";
    header += "\n";
    stream.Write(header.data(), int64_t(header.size()));

    const int w = source->Width(), h = source->Height();
    const int rowBytes = bits ? (w + 7) / 8 : grey ? w : 3 * w;
    std::vector<uint8_t> line(static_cast<size_t>(rowBytes));
    const double factor = 100.0 / h;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = source->ScanLine(y);
        if (bits) {
            for (int i = 0; i < rowBytes; ++i) line[size_t(i)] = uint8_t(~row[i]);
            if (w % 8) line[size_t(rowBytes - 1)] &= uint8_t(0xFF << (8 - w % 8));  // clean padding bits
        } else if (grey) {
            for (int x = 0; x < w; ++x) line[size_t(x)] = uint8_t(IELuminance(TRGB{row[3 * x], row[3 * x + 1], row[3 * x + 2]}));
        } else {
            for (int x = 0; x < w; ++x) {
                line[size_t(3 * x)] = row[3 * x + 2];
                line[size_t(3 * x + 1)] = row[3 * x + 1];
                line[size_t(3 * x + 2)] = row[3 * x];
            }
        }
        stream.Write(line.data(), rowBytes);
        if (progress.OnProgress) progress.Report(int(std::trunc((y + 1) * factor)));
    }
    if (stream.Failed()) progress.Abort();
}
