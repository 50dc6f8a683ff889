#include "output/pdf/pdf_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "formats/core/ie_stream.h"
#include "output/pdf/pdf_errors.h"

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

void AppendHex(std::string& out, unsigned value, int digits) {
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += HexDigits[(value >> shift) & 0xF];
}

// The UTF-16 code units of text when it is valid UTF-8 holding at least one multi-byte
// character; nothing for plain 8-bit text.
std::optional<std::vector<uint16_t>> Utf8ToUtf16(std::string_view text) {
    std::vector<uint16_t> units;
    bool multiByte = false;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<uint8_t>(text[i]);
        int extra;
        uint32_t code;
        if (lead < 0x80) {
            extra = 0;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            code = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (i + extra >= text.size() && extra > 0) return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<uint8_t>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr uint32_t MinimumCode[] = {0, 0x80, 0x800, 0x10000};
        if (code < MinimumCode[extra] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return std::nullopt;
        if (extra > 0) multiByte = true;
        if (code >= 0x10000) {
            code -= 0x10000;
            units.push_back(static_cast<uint16_t>(0xD800 + (code >> 10)));
            units.push_back(static_cast<uint16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            units.push_back(static_cast<uint16_t>(code));
        }
        i += extra + 1;
    }
    if (!multiByte) return std::nullopt;
    return units;
}

std::string GeneralFloat(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string PdfFloatToStr(double value) {
    // Half up by floor: truncation would turn every negative whole number into its neighbour
    // (-734 into -733.99). Clamped so that no value makes the integer cast undefined.
    const double scaled = std::clamp(std::floor(value * 100 + 0.5), -9.0e17, 9.0e17);
    const auto hundredths = static_cast<int64_t>(scaled);
    return GeneralFloat(static_cast<double>(hundredths) / 100);
}

std::string PdfRealToStr(double value) { return GeneralFloat(value); }

std::string PdfEscapeName(std::string_view name) {
    static constexpr std::string_view Delimiters = "#%()/<>[]{}";
    std::string out;
    out.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x21 || byte > 0x7E || Delimiters.find(c) != std::string_view::npos) {
            out += '#';
            AppendHex(out, byte, 2);
        } else {
            out += c;
        }
    }
    return out;
}

std::string PdfEscapeText(std::string_view text) {
    std::string out;
    if (const auto units = Utf8ToUtf16(text)) {
        out = "<FEFF001B656E001B";
        for (const uint16_t unit : *units) AppendHex(out, unit, 4);
        out += '>';
        return out;
    }
    out.reserve(text.size() + 2);
    out += '(';
    for (const char c : text) {
        switch (c) {
        case '(': out += "\\("; break;
        case ')': out += "\\)"; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default: out += c;
        }
    }
    out += ')';
    return out;
}

std::string PdfDateText(const std::tm& localTime) {
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "D:%Y%m%d%H%M%S", &localTime);
    return buffer;
}

std::string PdfCurrentDateText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return PdfDateText(local);
}

void PdfWrite(TStream& stream, std::string_view text) { PdfWrite(stream, text.data(), text.size()); }

void PdfWrite(TStream& stream, const void* data, size_t size) {
    if (size > 0 && !stream.WriteBuffer(data, static_cast<int64_t>(size))) throw EWriteError();
}
