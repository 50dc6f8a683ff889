#pragma once
// libpng structures over TStream, owned for one call, with the program's error handlers.
#include "formats/core/ie_stream.h"
#include "formats/core/progress.h"

#include <png.h>
#include <stdexcept>

// Raised by the writer's error handler and when its structures cannot be created.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised by the reader's error handler after setting Aborting; the reader swallows it.
struct TPngReadAbort {};

struct TPngStreamLink {
    TStream* Stream = nullptr;
    const TProgressRec* Progress = nullptr;
};

// Read structure pulling from stream; Valid() is false when libpng could not create it.
class TPngReader {
public:
    TPngReader(TStream& stream, const TProgressRec& progress);
    ~TPngReader();
    TPngReader(const TPngReader&) = delete;
    TPngReader& operator=(const TPngReader&) = delete;
    bool Valid() const { return FPng && FInfo; }
    png_structp Png() const { return FPng; }
    png_infop Info() const { return FInfo; }

private:
    TPngStreamLink FLink;
    png_structp FPng = nullptr;
    png_infop FInfo = nullptr;
};

// Write structure pushing to stream (a short write sets Aborting); throws EInvalidGraphic when
// it cannot be created.
class TPngWriter {
public:
    TPngWriter(TStream& stream, const TProgressRec& progress);
    ~TPngWriter();
    TPngWriter(const TPngWriter&) = delete;
    TPngWriter& operator=(const TPngWriter&) = delete;
    png_structp Png() const { return FPng; }
    png_infop Info() const { return FInfo; }

private:
    TPngStreamLink FLink;
    png_structp FPng = nullptr;
    png_infop FInfo = nullptr;
};

// pixels per metre ↔ dots per inch, rounded to the nearest, ties to even.
int PngPixelsPerMetreToDpi(png_uint_32 pixelsPerMetre);
png_uint_32 PngDpiToPixelsPerMetre(int dpi);
