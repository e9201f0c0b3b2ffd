#include "geometry/LengthText.h"

#include "geometry/NumberText.h"
#include "geometry/WorkUnits.h"

#include <cmath>

namespace {

constexpr double kMmPerInch = 25.4;

std::string WithoutSpaces(const std::string& text)
{
    std::string out;
    for (char c : text)
        if (!IsCSpace(c)) out += c;
    return out;
}

// Counts the digits from `i` on and moves past them.
std::size_t SkipDigits(const std::string& s, std::size_t& i)
{
    const std::size_t from = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i - from;
}

void SkipSign(const std::string& s, std::size_t& i)
{
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
}

// A decimal number, as the C library reads one, and nothing else.
bool IsDecimalText(const std::string& s)
{
    std::size_t i = 0;
    SkipSign(s, i);
    std::size_t digits = SkipDigits(s, i);
    if (i < s.size() && s[i] == '.') {
        ++i;
        digits += SkipDigits(s, i);
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        SkipSign(s, i);
        if (SkipDigits(s, i) == 0) return false;
    }
    return i == s.size();
}

// A denominator of digits that is not zero, ending the text.
bool IsDenominatorText(const std::string& s, std::size_t i)
{
    const std::size_t from = i;
    if (SkipDigits(s, i) == 0 || i != s.size()) return false;
    for (std::size_t k = from; k < s.size(); ++k)
        if (s[k] != '0') return true;
    return false;
}

// Whole inches, a mark (inch mark, apostrophe or point) and a fraction or
// decimals, or a lone fraction, with an optional sign; blanks removed.
bool IsInchText(const std::string& s)
{
    std::size_t i = 0;
    SkipSign(s, i);
    const std::size_t whole = SkipDigits(s, i);
    if (i == s.size()) return whole > 0;
    if (s[i] == '/') return whole > 0 && IsDenominatorText(s, i + 1);
    if (s[i] != '"' && s[i] != '\'' && s[i] != '.') return false;
    ++i;
    const std::size_t part = SkipDigits(s, i);
    if (i == s.size()) return whole + part > 0;
    return s[i] == '/' && part > 0 && IsDenominatorText(s, i + 1);
}

} // namespace

int MaxTypedLength(int upm) { return kMaxTypedLengthMM * (upm > 0 ? upm : 1); }

LengthTextStatus ReadLengthText(const std::string& text, int upm, int unit, int& value)
{
    double millimetres = 0.0;
    switch (unit) {
    case kWorkUnitInchFraction: {
        const std::string s = WithoutSpaces(text);
        if (!IsInchText(s)) return LengthTextStatus::NotANumber;
        millimetres = ParseInchLength(s) * kMmPerInch;
        break;
    }
    case kWorkUnitInchDecimal:
    case kWorkUnitCentimetre:
    case kWorkUnitMillimetre: {
        const std::string s = Trimmed(text);
        if (!IsDecimalText(s)) return LengthTextStatus::NotANumber;
        const double factor = unit == kWorkUnitInchDecimal ? kMmPerInch
                              : unit == kWorkUnitCentimetre ? 10.0
                                                            : 1.0;
        millimetres = LeadingNumber(s) * factor;
        break;
    }
    default: return LengthTextStatus::NotANumber;
    }
    if (!std::isfinite(millimetres) || std::fabs(millimetres) > kMaxTypedLengthMM)
        return LengthTextStatus::TooLarge;
    value = ParseLength(text, upm, unit);
    return LengthTextStatus::Ok;
}
