#include "model/CGradientRamp.h"

#include "geometry/Distance.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kGamma = 2.2;

// Linear light of a channel value and back, through small tables so that
// painting many pixels costs no powers.
const std::array<double, 256>& LinearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) t[std::size_t(i)] = std::pow(i / 255.0, kGamma);
        return t;
    }();
    return table;
}

int FromLinear(double v)
{
    v = std::clamp(v, 0.0, 1.0);
    return std::clamp(RoundToInt(std::pow(v, 1.0 / kGamma) * 255.0), 0, 255);
}

int BlendChannel(int a, int b, double t, bool gamma)
{
    if (!gamma) return std::clamp(RoundToInt(a + (b - a) * t), 0, 255);
    const auto& lin = LinearTable();
    const double la = lin[std::size_t(a)];
    const double lb = lin[std::size_t(b)];
    return FromLinear(la + (lb - la) * t);
}

}  // namespace

CGradientRamp::CGradientRamp(std::vector<Stop> stops, bool gammaCorrected)
    : m_stops(std::move(stops)), m_gamma(gammaCorrected)
{
    double previous = 0.0;
    for (Stop& s : m_stops) {
        double p = std::isnan(s.position) ? previous : std::clamp(s.position, 0.0, 1.0);
        p = std::max(p, previous);
        s.position = p;
        previous = p;
    }
    if (m_stops.empty()) m_stops.push_back({0.0, qRgba(0, 0, 0, 0)});

    m_table.resize(kTableSize);
    m_premultiplied.resize(kTableSize);
    for (int i = 0; i < kTableSize; ++i) {
        const QRgb c = ColorAt(double(i) / (kTableSize - 1));
        m_table[std::size_t(i)] = c;
        m_premultiplied[std::size_t(i)] = qPremultiply(c);
    }
}

QRgb CGradientRamp::Blend(QRgb a, QRgb b, double t, bool gammaCorrected)
{
    return qRgba(BlendChannel(qRed(a), qRed(b), t, gammaCorrected),
                 BlendChannel(qGreen(a), qGreen(b), t, gammaCorrected),
                 BlendChannel(qBlue(a), qBlue(b), t, gammaCorrected),
                 BlendChannel(qAlpha(a), qAlpha(b), t, false));
}

QRgb CGradientRamp::ColorAt(double position) const
{
    if (std::isnan(position) || position <= m_stops.front().position) return m_stops.front().color;
    if (position >= m_stops.back().position) return m_stops.back().color;
    for (std::size_t i = 1; i < m_stops.size(); ++i) {
        const Stop& hi = m_stops[i];
        if (position > hi.position) continue;
        const Stop& lo = m_stops[i - 1];
        const double span = hi.position - lo.position;
        if (span <= 0.0) return hi.color;
        return Blend(lo.color, hi.color, (position - lo.position) / span, m_gamma);
    }
    return m_stops.back().color;
}

int CGradientRamp::TableIndex(double position) const
{
    if (!(position > 0.0)) return 0;
    if (position >= 1.0) return kTableSize - 1;
    return int(position * (kTableSize - 1) + 0.5);
}

QRgb CGradientRamp::TableColorAt(double position) const
{
    return m_table[std::size_t(TableIndex(position))];
}

QRgb CGradientRamp::PremultipliedAt(double position) const
{
    return m_premultiplied[std::size_t(TableIndex(position))];
}

QRgb FillColor(COLORREF color, int alpha)
{
    return qRgba(GetRValue(color), GetGValue(color), GetBValue(color), alpha & 0xFF);
}

COLORREF MiddleColor(COLORREF a, COLORREF b)
{
    auto mid = [](int x, int y) { return RoundToInt((x + y) / 2.0); };
    return RGB(mid(GetRValue(a), GetRValue(b)), mid(GetGValue(a), GetGValue(b)),
               mid(GetBValue(a), GetBValue(b)));
}
