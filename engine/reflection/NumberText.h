#pragma once
// Locale-free reading of the numbers in reflected values, in the forms "%d" and "%lf" accept:
// leading white space, an optional sign, then the longest numeric prefix ("12abc" is 12).

namespace quellor::number_text {

enum class Parsed { Number, NotANumber, OutOfRange };

// NotANumber when no digits follow; OutOfRange when the value does not fit a long long.
Parsed ParseInteger(const char* text, long long& out);
// NotANumber when no number follows; OutOfRange when it is outside the range of a double.
Parsed ParseReal(const char* text, double& out);

} // namespace quellor::number_text
