// Numbers printed and read the way the original Windows runtime did, in the
// C locale whatever locale the process runs under (a decimal comma must
// never reach a value box, a file or a comparison).
#pragma once

#include <string>

// printf("%.Nf") as the original runtime printed it: the value is taken to
// 17 significant digits, and that decimal form is rounded half away from
// zero, so exact binary halves go up: 0.25 with one decimal gives "0.3",
// 0.125 with two gives "0.13" (glibc prints "0.2" and "0.12"). A negative
// value keeps its sign even when it rounds to zero ("-0.00"). Negative
// decimals count as 0; infinities and NaN print as "inf", "-inf", "nan".
std::string FormatFixed(double value, int decimals);

// The number text shown and compared across the program: "%.2f", then the
// trailing zeros after the point and a bare point cut ("165.50" -> "165.5",
// "170.00" -> "170", "-0.00" -> "-0").
std::string FormatNumberText(double value);

// The C locale's digits and white space (space, tab, line feed, vertical
// tab, form feed, carriage return), whatever locale the process runs
// under: no byte of a GBK character is either.
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
// The text without that white space at both ends.
std::string Trimmed(const std::string& text);

// atof of the original runtime in the C locale: the leading number of the
// text (optional white space, optional sign, digits with an optional point
// and an optional exponent); reading stops at the first character that does
// not fit, and a text without such a number gives 0. No hexadecimal, "inf"
// or "nan" forms. Out of range gives +-HUGE_VAL.
double LeadingNumber(const std::string& text);
