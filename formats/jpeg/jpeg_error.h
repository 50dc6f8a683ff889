#pragma once
// The replaced libjpeg error manager: library errors become EIEJpegException (and set the
// caller's Aborting flag); corrupt-data warnings are counted, nothing is ever printed.
#include <cstdio>
#include <jpeglib.h>
#include <string>

struct TJpegErrorRecord {
    jpeg_error_mgr Pub;            // first, so the library's pointer is ours
    bool* Aborting = nullptr;
    int LastWarningCode = 0;
};

// Installs the handlers into record and returns the library's view of it.
jpeg_error_mgr* JpegInitErrorRecord(TJpegErrorRecord& record, bool* aborting);

// The library's message text for code with "?" in place of every placeholder; code 0 is
// "Bogus message code ?", codes beyond the table "Corrupted".
std::string JpegMessageText(const jpeg_error_mgr& err, int code);
