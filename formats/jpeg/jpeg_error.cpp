#include "formats/jpeg/jpeg_error.h"

#include "formats/jpeg/jpeg.h"

#include <cstring>

namespace {

[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    auto* record = reinterpret_cast<TJpegErrorRecord*>(cinfo->err);
    if (record->Aborting)
        *record->Aborting = true;
    throw EIEJpegException(JpegMessageText(record->Pub, record->Pub.msg_code));
}

void EmitMessage(j_common_ptr cinfo, int level)
{
    auto* record = reinterpret_cast<TJpegErrorRecord*>(cinfo->err);
    if (level == -1) {
        record->Pub.num_warnings++;
        record->LastWarningCode = record->Pub.msg_code;
    }
}

void OutputMessage(j_common_ptr) {}

void FormatMessage(j_common_ptr, char* buffer) { buffer[0] = '\0'; }

void ResetErrorMgr(j_common_ptr cinfo)
{
    auto* record = reinterpret_cast<TJpegErrorRecord*>(cinfo->err);
    record->Pub.num_warnings = 0;
    record->Pub.msg_code = 0;
    record->LastWarningCode = 0;
}

// printf conversions of the message table: flags, width, precision and length before the letter.
std::string MaskPlaceholders(const char* text)
{
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        if (p[1] == '%') {
            out += '%';
            ++p;
            continue;
        }
        ++p;
        while (*p && std::strchr("-+ #0123456789.lhzjt", *p))
            ++p;
        out += '?';
        if (!*p)
            break;
    }
    return out;
}

}  // namespace

jpeg_error_mgr* JpegInitErrorRecord(TJpegErrorRecord& record, bool* aborting)
{
    jpeg_std_error(&record.Pub);
    record.Pub.error_exit = ErrorExit;
    record.Pub.emit_message = EmitMessage;
    record.Pub.output_message = OutputMessage;
    record.Pub.format_message = FormatMessage;
    record.Pub.reset_error_mgr = ResetErrorMgr;
    record.Aborting = aborting;
    record.LastWarningCode = 0;
    return &record.Pub;
}

std::string JpegMessageText(const jpeg_error_mgr& err, int code)
{
    if (code < 0 || code > err.last_jpeg_message || !err.jpeg_message_table || !err.jpeg_message_table[code])
        return "Corrupted";
    return MaskPlaceholders(err.jpeg_message_table[code]);
}
