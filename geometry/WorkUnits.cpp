#include "geometry/WorkUnits.h"

#include "geometry/Distance.h"
#include "geometry/NumberText.h"
#include "geometry/TextMeasure.h"

#include <cmath>

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kCmPerInch = 2.54;
constexpr double kMmPerCm = 10.0;

// Decimals printed for a decimal precision (parts per unit); -1 when the
// precision is not one the settings offer.
int DecimalsOfPrecision(int precision)
{
    switch (precision) {
    case 1: return 0;
    case 10: return 1;
    case 100: return 2;
    case 1000: return 3;
    case 10000: return 4;
    default: return -1;
    }
}

// Fixed point at the precision, then the trailing zeros and a bare point
// cut. A small negative length that rounds to nothing keeps its sign
// ("-0"), as the original runtime printed it; the fraction form has no
// sign without a fraction and reads "0".
std::string FormatDecimal(double amount, int precision)
{
    const int decimals = DecimalsOfPrecision(precision);
    if (decimals < 0) return {};
    std::string text = FormatFixed(amount, decimals);
    TrimDecimalZeros(text);
    return text;
}

// Whole inches, an inch mark and the fraction reduced to lowest terms:
// 1"1/2, -1/4, 3"3/4, 2, 0.
std::string FormatFraction(double inches, bool negative, int den)
{
    if (den < 1) den = 1;
    const double wholePart = negative ? std::ceil(inches) : std::floor(inches);
    long long whole = static_cast<long long>(wholePart);
    int num = int(std::floor(den * std::fabs(inches - wholePart) + 0.5));
    if (num == den) {
        whole += negative ? -1 : 1;
        num = 0;
    } else {
        const int divisor = Gcd(num, den);
        num /= divisor;
        den /= divisor;
    }

    std::string text;
    if (whole != 0) {
        text = std::to_string(whole);
        if (num != 0) text += '"';
    } else if (num == 0) {
        text = "0";
    } else if (negative) {
        text = "-";
    }
    if (num != 0) text += std::to_string(num) + "/" + std::to_string(den);
    return text;
}

// Starts the number buffer of a typed length with its sign: a minus stays in
// the buffer so that a bare fraction carries it, a plus is dropped. Returns
// where the digits begin; `text` is not empty.
std::size_t TakeSign(const std::string& text, std::string& buffer)
{
    if (text[0] == '-') {
        buffer = "-";
        return 1;
    }
    return text[0] == '+' ? 1 : 0;
}

std::string WithoutSpaces(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != ' ') out += c;
    return out;
}

// The denominator after a slash: one or more digits and nothing else; 0
// (which callers refuse) otherwise.
double Denominator(const std::string& text)
{
    if (text.empty()) return 0.0;
    for (const char c : text)
        if (!IsDigit(c)) return 0.0;
    return LeadingNumber(text);
}

double Quotient(double numerator, const std::string& denominatorText)
{
    const double den = Denominator(denominatorText);
    return den == 0.0 ? 0.0 : numerator / den;
}

// What follows the whole part of an inch text: decimal digits ("5" after
// 1" means 1.5) or a fraction num/den. The fraction takes the text's sign.
double WholeAndRest(double whole, const std::string& rest, bool negative)
{
    if (rest.empty()) return whole;
    std::string digits;
    double part = 0.0;
    bool fraction = false;
    for (std::size_t i = 0; i < rest.size() && !fraction; ++i) {
        const char c = rest[i];
        if (IsDigit(c)) {
            digits += c;
        } else if (c == '/') {
            const double den = Denominator(rest.substr(i + 1));
            if (den == 0.0) return 0.0;
            part = LeadingNumber(digits) / den;
            fraction = true;
        } else {
            return 0.0;
        }
    }
    if (!fraction) part = LeadingNumber("0." + digits);
    return negative ? whole - part : whole + part;
}

} // namespace

std::string FormatLength(long long value, int upm, int unit, int precision)
{
    switch (unit) {
    case kWorkUnitInchFraction:
    case kWorkUnitInchDecimal: return FormatInchLength(value, upm, unit, precision);
    case kWorkUnitCentimetre: return FormatCmLength(value, upm, precision);
    case kWorkUnitMillimetre: return FormatMmLength(value, upm, precision);
    default: return {};
    }
}

std::string FormatInchLength(long long value, int upm, int mode, int precision)
{
    if (upm <= 0) return {};
    const double inches = double(value) / upm / kMmPerInch;
    if (mode == kWorkUnitInchDecimal) return FormatDecimal(inches, precision);
    return FormatFraction(inches, value < 0, precision);
}

std::string FormatCmLength(long long value, int upm, int precision)
{
    if (upm <= 0) return {};
    return FormatDecimal(double(value) / upm / kMmPerCm, precision);
}

std::string FormatMmLength(long long value, int upm, int precision)
{
    if (upm <= 0) return {};
    return FormatDecimal(double(value) / upm, precision);
}

std::string UnitSuffix(int unit)
{
    switch (unit) {
    case kWorkUnitInchFraction:
    case kWorkUnitInchDecimal: return "in.";
    case kWorkUnitCentimetre: return "cm";
    case kWorkUnitMillimetre: return "mm";
    default: return {};
    }
}

int ParseLength(const std::string& text, int upm, int unit)
{
    switch (unit) {
    case kWorkUnitInchFraction:
    case kWorkUnitInchDecimal: return ParseInchText(text, upm, unit);
    case kWorkUnitCentimetre: return RoundToInt(upm * LeadingNumber(text) * kMmPerCm);
    case kWorkUnitMillimetre: return RoundToInt(upm * LeadingNumber(text));
    default: return 0;
    }
}

int ParseInchText(const std::string& text, int upm, int mode)
{
    const double inches = mode == kWorkUnitInchDecimal ? LeadingNumber(text) : ParseInchLength(text);
    return RoundToInt(inches * kCmPerInch * kMmPerCm * upm);
}

double ParseInchLength(const std::string& typed)
{
    const std::string text = WithoutSpaces(typed);
    if (text.empty()) return 0.0;

    std::string buffer;
    std::size_t i = TakeSign(text, buffer);
    const bool negative = !buffer.empty();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            buffer += c;
        } else if (c == '"' || c == '\'' || c == '.') {
            return WholeAndRest(LeadingNumber(buffer), text.substr(i + 1), negative);
        } else if (c == '/') {
            return Quotient(LeadingNumber(buffer), text.substr(i + 1));
        } else {
            return 0.0;
        }
    }
    return LeadingNumber(buffer);
}

double ParseFraction(const std::string& typed)
{
    const std::string text = WithoutSpaces(typed);
    if (text.empty()) return 0.0;

    std::string buffer;
    std::size_t i = TakeSign(text, buffer);
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c) || c == '.') {
            buffer += c;
        } else if (c == '/') {
            return Quotient(LeadingNumber(buffer), text.substr(i + 1));
        } else {
            return 0.0;
        }
    }
    return LeadingNumber(buffer);
}
