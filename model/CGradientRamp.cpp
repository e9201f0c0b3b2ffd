#include "model/CGradientRamp.h"

#include "geometry/Distance.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

constexpr double kGamma = 2.2;

// Linear light of a channel value.
const std::array<double, 256>& LinearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) t[std::size_t(i)] = std::pow(i / 255.0, kGamma);
        return t;
    }();
    return table;
}

// The linear light at which the channel value, rounded half up, changes
// from k - 1 to k: going back from linear light is a search here instead
// of a power per channel.
const std::array<double, 256>& ThresholdTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        t[0] = -1.0;
        for (int k = 1; k < 256; ++k) t[std::size_t(k)] = std::pow((k - 0.5) / 255.0, kGamma);
        return t;
    }();
    return table;
}

int FromLinear(double v)
{
    if (!(v > 0.0)) return 0;
    const auto& t = ThresholdTable();
    return int(std::upper_bound(t.begin(), t.end(), v) - t.begin()) - 1;
}

// Half away from zero, as RoundToInt, for the small values of a channel.
int RoundChannel(double v)
{
    const int r = v >= 0.0 ? int(v + 0.5) : int(v - 0.5);
    return std::clamp(r, 0, 255);
}

int BlendChannel(int a, int b, double t, bool gamma)
{
    if (!gamma) return RoundChannel(a + (b - a) * t);
    const auto& lin = LinearTable();
    const double la = lin[std::size_t(a)];
    const double lb = lin[std::size_t(b)];
    return FromLinear(la + (lb - la) * t);
}

}  // namespace

CGradientRamp::CGradientRamp(std::vector<Stop> stops, bool gammaCorrected)
    : m_stops(std::move(stops)),
      m_gamma(gammaCorrected),
      m_premultiplied(new std::atomic<QRgb>[kTableSize]),
      m_known(new std::atomic<std::uint8_t>[kTableSize]())
{
    double previous = 0.0;
    for (Stop& s : m_stops) {
        double p = std::isnan(s.position) ? previous : std::clamp(s.position, 0.0, 1.0);
        p = std::max(p, previous);
        s.position = p;
        previous = p;
    }
    if (m_stops.empty()) m_stops.push_back({0.0, qRgba(0, 0, 0, 0)});
}

void CGradientRamp::Learn(int index) const
{
    const QRgb color = qPremultiply(ColorAt(double(index) / (kTableSize - 1)));
    m_premultiplied[std::size_t(index)].store(color, std::memory_order_relaxed);
    m_known[std::size_t(index)].store(1, std::memory_order_release);
}

std::shared_ptr<const CGradientRamp> CGradientRamp::Shared(std::vector<Stop> stops, bool gammaCorrected)
{
    struct Entry {
        std::vector<Stop> stops;
        bool gamma;
        std::weak_ptr<const CGradientRamp> ramp;
    };
    static std::mutex mutex;
    static std::vector<Entry> entries;
    const std::lock_guard<std::mutex> lock(mutex);
    auto same = [&](const Entry& e) {
        if (e.gamma != gammaCorrected || e.stops.size() != stops.size()) return false;
        for (std::size_t i = 0; i < stops.size(); ++i) {
            // Bit for bit: a NaN position is the same stop as another NaN.
            if (std::memcmp(&e.stops[i].position, &stops[i].position, sizeof(double)) != 0) return false;
            if (e.stops[i].color != stops[i].color) return false;
        }
        return true;
    };
    for (const Entry& e : entries) {
        if (!same(e)) continue;
        if (std::shared_ptr<const CGradientRamp> ramp = e.ramp.lock()) return ramp;
    }
    // Ramps nobody holds any more make room first.
    entries.erase(std::remove_if(entries.begin(), entries.end(), [](const Entry& e) { return e.ramp.expired(); }),
                  entries.end());
    auto ramp = std::make_shared<const CGradientRamp>(stops, gammaCorrected);
    entries.push_back({std::move(stops), gammaCorrected, ramp});
    return ramp;
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

QRgb CGradientRamp::TableColorAt(double position) const
{
    return ColorAt(double(TableIndex(position)) / (kTableSize - 1));
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
