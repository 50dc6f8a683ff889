#include <gtest/gtest.h>

#include "output/pdf/pdf_format.h"

TEST(PdfFormat, ContentNumbers) {
    const struct {
        double Value;
        const char* Text;
    } cases[] = {
        {534, "534"},         {12.345, "12.35"},  {0, "0"},         {33, "33"},
        {0.5, "0.5"},         {10.1, "10.1"},     {-734, "-734"},   {1234567.891, "1234567.89"},
        {0.004, "0"},         {0.005, "0.01"},    {99.999, "100"},  {-2.5, "-2.5"},
        {-0.125, "-0.12"},    {-0.126, "-0.13"},  {-0.001, "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(PdfFloatToStr(c.Value), c.Text) << c.Value;
}

TEST(PdfFormat, NamesEscapeDelimitersAndBytesOutsidePrintableAscii) {
    const struct {
        const char* Name;
        const char* Written;
    } cases[] = {
        {"a b", "a#20b"},         {"PRImage1", "PRImage1"},   {"x#y", "x#23y"},
        {"(/)", "#28#2F#29"},      {"<>[]{}%", "#3C#3E#5B#5D#7B#7D#25"},
        {"~!", "~!"},             {"a\x7F", "a#7F"},          {"\xE9t\xE9", "#E9t#E9"},
    };
    for (const auto& c : cases) EXPECT_EQ(PdfEscapeName(c.Name), c.Written) << c.Name;
}

TEST(PdfFormat, TextStrings) {
    const struct {
        const char* Text;
        const char* Written;
    } cases[] = {
        {"x(y)", "(x\\(y\\))"},
        {"a\\b", "(a\\\\b)"},
        {"\r\n\t\b\f", "(\\r\\n\\t\\b\\f)"},
        {"", "()"},
        {"Numerak! 3.0", "(Numerak! 3.0)"},
        // Multi-byte characters go out as UTF-16 after the byte-order mark and "en" escape.
        {"\xC3\xA9t\xC3\xA9", "<FEFF001B656E001B00E9007400E9>"},
        {"\xF0\x9F\x98\x80", "<FEFF001B656E001BD83DDE00>"},
        // Bytes that are not UTF-8 stay 8-bit text.
        {"\xE9t\xE9", "(\xE9t\xE9)"},
        {"\xC3(", "(\xC3\\()"},
    };
    for (const auto& c : cases) EXPECT_EQ(PdfEscapeText(c.Text), c.Written) << c.Text;
}

TEST(PdfFormat, DatesAreFourteenDigits) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 1;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    EXPECT_EQ(PdfDateText(time), "D:20261201090503");
    const std::string now = PdfCurrentDateText();
    ASSERT_EQ(now.size(), 16u);
    EXPECT_EQ(now.substr(0, 2), "D:");
    EXPECT_EQ(now.find_first_not_of("0123456789", 2), std::string::npos);
}
