#include "library/HpglEncodedPolyline.h"

#include <cmath>
#include <cstdint>

namespace {

enum : unsigned char {
    kFlagSevenBit = '7',
    kFlagPen = ':',
    kFlagPenUp = '<',
    kFlagAbsolute = '=',
    kFlagFraction = '>',
};

// Fraction bits beyond this would only make every coordinate vanish.
constexpr int kMaxFractionBits = 52;
// Digits beyond these cannot change a 64-bit magnitude any further.
constexpr int kMaxDigits = 10;

struct Digit {
    int value = 0;
    bool last = false;
    bool valid = false;
};

Digit ReadDigit(unsigned char c, bool sevenBit)
{
    Digit d;
    if (sevenBit) {
        if (c >= 63 && c <= 94) d = {c - 63, false, true};
        else if (c >= 95 && c <= 126) d = {c - 95, true, true};
    } else {
        if (c >= 63 && c <= 126) d = {c - 63, false, true};
        else if (c >= 191 && c <= 254) d = {c - 191, true, true};
    }
    return d;
}

class Decoder {
public:
    explicit Decoder(const std::string& data) : m_data(data) {}

    std::vector<HpglEncodedStep> Run()
    {
        while (m_pos < m_data.size()) {
            const unsigned char c = static_cast<unsigned char>(m_data[m_pos]);
            // The flags lie outside both digit ranges but '7', which only
            // counts as the first character.
            if (c == kFlagSevenBit && m_pos == 0) {
                m_sevenBit = true;
                ++m_pos;
            } else if (c == kFlagPen) {
                ++m_pos;
                long long pen = 0;
                if (ReadNumber(pen)) m_steps.push_back({HpglEncodedStep::SelectPen, int(Clamp(pen)), {}, false, false});
            } else if (c == kFlagFraction) {
                ++m_pos;
                long long bits = 0;
                if (ReadNumber(bits)) m_fractionBits = int(bits < 0 ? 0 : bits > kMaxFractionBits ? kMaxFractionBits : bits);
            } else if (c == kFlagPenUp) {
                ++m_pos;
                m_penUp = true;
            } else if (c == kFlagAbsolute) {
                ++m_pos;
                m_absolute = true;
            } else if (ReadDigit(c, m_sevenBit).valid) {
                ReadPoint();
            } else {
                ++m_pos;
            }
        }
        return std::move(m_steps);
    }

private:
    static long long Clamp(long long v)
    {
        constexpr long long kLimit = 2147483647;
        return v > kLimit ? kLimit : v < -kLimit ? -kLimit : v;
    }

    // One number from the current position; false when the data ends
    // before its last digit.
    bool ReadNumber(long long& value)
    {
        const int base = m_sevenBit ? 32 : 64;
        std::uint64_t magnitude = 0;
        std::uint64_t weight = 1;
        int digits = 0;
        while (m_pos < m_data.size()) {
            const unsigned char c = static_cast<unsigned char>(m_data[m_pos]);
            const Digit d = ReadDigit(c, m_sevenBit);
            ++m_pos;
            if (!d.valid) continue;
            if (digits < kMaxDigits) {
                magnitude += std::uint64_t(d.value) * weight;
                weight *= std::uint64_t(base);
            }
            ++digits;
            if (d.last) {
                const long long half = static_cast<long long>(magnitude >> 1);
                value = (magnitude & 1) ? -half : half;
                return true;
            }
        }
        return false;
    }

    void ReadPoint()
    {
        long long x = 0, y = 0;
        if (!ReadNumber(x) || !ReadNumber(y)) return;
        const double divisor = std::ldexp(1.0, m_fractionBits);
        HpglEncodedStep step;
        step.kind = HpglEncodedStep::Move;
        step.point = CDoublePoint(double(x) / divisor, double(y) / divisor);
        step.absolute = m_absolute;
        step.penUp = m_penUp;
        m_steps.push_back(step);
        m_absolute = false;
        m_penUp = false;
    }

    const std::string& m_data;
    std::size_t m_pos = 0;
    bool m_sevenBit = false;
    bool m_penUp = false;
    bool m_absolute = false;
    int m_fractionBits = 0;
    std::vector<HpglEncodedStep> m_steps;
};

} // namespace

std::vector<HpglEncodedStep> DecodeHpglPolyline(const std::string& data)
{
    return Decoder(data).Run();
}

std::string EncodeHpglNumber(long long value, bool sevenBit)
{
    const unsigned base = sevenBit ? 32 : 64;
    std::uint64_t v = value < 0 ? (std::uint64_t(-(value + 1)) + 1) * 2 + 1 : std::uint64_t(value) * 2;
    std::string out;
    while (v >= base) {
        out.push_back(char(63 + v % base));
        v /= base;
    }
    out.push_back(char((sevenBit ? 95 : 191) + v));
    return out;
}
