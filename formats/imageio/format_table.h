#pragma once
// The process-wide format table: one row per file type, in the program's order. It names the
// formats for dialogs and descriptions, maps extensions to types and marks what can be read and
// written.

#include "formats/core/io_params.h"

#include <string>
#include <vector>

struct TFileFormatInfo {
    TImageFileType FileType;
    std::string FullName;
    std::string Extensions;  // upper case, separated by ";"
    bool Readable;
    bool Writable;
};

// Built once, in table order.
const std::vector<TFileFormatInfo>& IEFileFormats();
// Row of an extension given with or without its dot, in any case; null when none.
const TFileFormatInfo* IEFindFormatByExtension(std::string extension);
const TFileFormatInfo* IEFindFormatByType(TImageFileType type);
// GIF reads and writes exist only while the program-wide GIF LZW routines are installed.
bool IECanRead(const TFileFormatInfo& row);
bool IECanWrite(const TFileFormatInfo& row);
// First extension of the row, e.g. "TIF".
std::string IEFirstExtension(const TFileFormatInfo& row);
// Extension of a file name from its last dot, lower-cased, with the dot (".jpg"); empty if none.
std::string IEFileExtension(const std::string& fileName);
