#include "engine/reflection/NumberText.h"

#include <charconv>
#include <cstring>
#include <system_error>

namespace quellor::number_text {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips leading white space and one sign; returns where the digits start.
const char* SkipToDigits(const char* text, bool& negative)
{
    while (IsSpace(*text)) {
        ++text;
    }
    negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    return text;
}

} // namespace

Parsed ParseInteger(const char* text, long long& out)
{
    if (!text) {
        return Parsed::NotANumber;
    }
    bool negative = false;
    const char* digits = SkipToDigits(text, negative);
    const char* end = digits;
    while (*end >= '0' && *end <= '9') {
        ++end;
    }
    if (end == digits) {
        return Parsed::NotANumber;
    }
    // Read the magnitude as unsigned so that the most negative value still fits.
    unsigned long long magnitude = 0;
    auto [ptr, error] = std::from_chars(digits, end, magnitude);
    if (error != std::errc() || ptr != end) {
        return Parsed::OutOfRange;
    }
    constexpr unsigned long long kMaxPositive = 9223372036854775807ULL;
    if (negative) {
        if (magnitude > kMaxPositive + 1) {
            return Parsed::OutOfRange;
        }
        out = magnitude == kMaxPositive + 1 ? static_cast<long long>(-9223372036854775807LL - 1)
                                            : -static_cast<long long>(magnitude);
    } else {
        if (magnitude > kMaxPositive) {
            return Parsed::OutOfRange;
        }
        out = static_cast<long long>(magnitude);
    }
    return Parsed::Number;
}

Parsed ParseReal(const char* text, double& out)
{
    if (!text) {
        return Parsed::NotANumber;
    }
    bool negative = false;
    const char* start = SkipToDigits(text, negative);
    // from_chars takes no sign of its own here: "+-1" and "--1" are not numbers.
    if (*start == '+' || *start == '-') {
        return Parsed::NotANumber;
    }
    double value = 0;
    auto [ptr, error] = std::from_chars(start, start + std::strlen(start), value, std::chars_format::general);
    if (ptr == start) {
        return Parsed::NotANumber;
    }
    if (error != std::errc()) {
        return Parsed::OutOfRange;
    }
    out = negative ? -value : value;
    return Parsed::Number;
}

} // namespace quellor::number_text
