#pragma once
// What every fuzz target sets up: a parameter record with a small pixel limit (hostile sizes
// stay fast), the program's LZW routines, and a progress record with its abort flag.
#include "formats/core/ie_bitmap.h"
#include "formats/core/ie_stream.h"
#include "formats/core/io_params.h"
#include "formats/core/progress.h"
#include "formats/imageio/lzw_install.h"

struct TFuzzCase {
    TIEBitmap bitmap;
    TIOParamsVals params;
    bool aborting = false;
    TProgressRec progress;

    TFuzzCase()
    {
        IEInstallProgramLzwRoutines();
        params.SetDefaultParams();
        params.MaxImageBytes = int64_t(64) << 20;
        progress.Aborting = &aborting;
    }
    // Writers are exercised on what a reader decoded, when it is small enough to stay fast.
    bool WorthWriting() const
    {
        return !aborting && !bitmap.Empty() && int64_t(bitmap.Width()) * bitmap.Height() < 65536;
    }
};
