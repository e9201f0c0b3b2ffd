#include "geometry/NumberText.h"

#include "geometry/TextMeasure.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

// The original runtime worked from this many significant digits.
constexpr int kSignificantDigits = 17;

// Adds one to the last digit of a run of decimal digits, carrying leftward;
// a carry out of the first digit prepends a "1".
void IncrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The digits of |value| x 10^decimals, rounded half up on the
// 17-significant-digit decimal form.
std::string ScaledDigits(double magnitude, int decimals)
{
    if (magnitude == 0.0) return "0";

    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                                   kSignificantDigits - 1);
    const std::string sci(buf, res.ptr);
    const std::size_t e = sci.find('e');
    std::string mantissa = sci.substr(0, 1) + sci.substr(2, e - 2);
    const int exponent = std::atoi(sci.c_str() + e + 1);

    // Digits kept: those whose place value is at least 10^-decimals.
    const long kept = long(exponent) + 1 + decimals;
    if (kept < 0) return "0";
    if (kept == 0) return mantissa[0] >= '5' ? "1" : "0";
    if (kept >= kSignificantDigits) return mantissa + std::string(std::size_t(kept - kSignificantDigits), '0');

    const bool roundUp = mantissa[std::size_t(kept)] >= '5';
    mantissa.resize(std::size_t(kept));
    if (roundUp) IncrementDigits(mantissa);
    return mantissa;
}

// strtod in the C locale, for the rare number out of double range.
double StrtodC(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtod_l(text.c_str(), nullptr, cLocale);
}

} // namespace

std::string Trimmed(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsCSpace(text[begin])) ++begin;
    while (end > begin && IsCSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

std::string FormatFixed(double value, int decimals)
{
    decimals = std::max(decimals, 0);
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return negative ? "-inf" : "inf";

    std::string digits = ScaledDigits(std::fabs(value), decimals);
    if (decimals > 0) {
        if (digits.size() <= std::size_t(decimals))
            digits.insert(0, std::size_t(decimals) + 1 - digits.size(), '0');
        digits.insert(digits.size() - std::size_t(decimals), 1, '.');
    }
    return negative ? "-" + digits : digits;
}

std::string FormatNumberText(double value)
{
    std::string text = FormatFixed(value, 2);
    TrimDecimalZeros(text);
    return text;
}

double LeadingNumber(const std::string& text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsCSpace(text[i])) ++i;

    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t mantissaDigits = 0;
    while (i < n && IsDigit(text[i])) { ++i; ++mantissaDigits; }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) { ++i; ++mantissaDigits; }
    }
    if (mantissaDigits == 0) return 0.0;

    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) ++j;
            i = j;
        }
    }

    double value = 0.0;
    const auto res = std::from_chars(text.data() + start, text.data() + i, value);
    if (res.ec == std::errc::result_out_of_range) value = StrtodC(text.substr(start, i - start));
    return negative ? -value : value;
}
