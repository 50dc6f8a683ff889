#pragma once
// The textual forms the writer uses: numbers of content operators, names, text strings, dates,
// and the one write helper every object goes through.

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

class TStream;

// A content-operator number: rounded half up (towards +infinity) to two decimals, at most 15 significant digits,
// no trailing zeros, always "." as decimal point whatever the locale (534 -> "534",
// 12.345 -> "12.35").
std::string PdfFloatToStr(double value);

// The general float-to-text form (15 significant digits, "." as decimal point).
std::string PdfRealToStr(double value);

// A name without its slash, with every byte outside "!".."~" and every delimiter written as
// "#" and two upper-case hex digits.
std::string PdfEscapeName(std::string_view name);

// A text string with its delimiters: a literal "(...)" string with "(", ")", "\" and the
// control characters CR, LF, TAB, BS, FF escaped; or, when the text holds multi-byte (UTF-8)
// characters, a hex string of UTF-16 code units after a byte-order mark and the language
// escape for "en".
std::string PdfEscapeText(std::string_view text);

// "D:yyyymmddhhnnss" for the given local time.
std::string PdfDateText(const std::tm& localTime);
// The same for the current local time.
std::string PdfCurrentDateText();

// Writes every byte or throws EWriteError.
void PdfWrite(TStream& stream, std::string_view text);
void PdfWrite(TStream& stream, const void* data, size_t size);
