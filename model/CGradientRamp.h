// The colours of a gradient along its position 0..1: a few colour stops
// with straight blends between them, blended either in the stored colour
// values or, with gamma correction, in linear light (gamma 2.2), which
// keeps the middle of a blend from looking too dark.
#pragma once

#include "platform/Types.h"

#include <QRgb>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class CGradientRamp {
public:
    struct Stop {
        double position;
        QRgb color;  // straight (not premultiplied) ARGB
    };

    // Positions are clamped into 0..1 and each raised to its predecessor,
    // so stops out of order blend as if they met there. Positions before
    // the first stop take its colour, after the last one the last colour.
    CGradientRamp(std::vector<Stop> stops, bool gammaCorrected);

    CGradientRamp(const CGradientRamp&) = delete;
    CGradientRamp& operator=(const CGradientRamp&) = delete;

    // One ramp for every fill with the same stops and blending, so that a
    // gradient's table is worked out once, not again for each element nor
    // at each new scale. The ramp lives while any fill holds it.
    static std::shared_ptr<const CGradientRamp> Shared(std::vector<Stop> stops, bool gammaCorrected);

    // The colour at the position, exactly as the stops say (no table).
    QRgb ColorAt(double position) const;
    // The same at the nearest of kTableSize evenly spaced positions, as
    // pixels are painted; a NaN position gives the first colour.
    QRgb TableColorAt(double position) const;
    // As TableColorAt, premultiplied for painting.
    QRgb PremultipliedAt(double position) const
    {
        const std::size_t i = std::size_t(TableIndex(position));
        if (!m_known[i].load(std::memory_order_acquire)) Learn(int(i));
        return m_premultiplied[i].load(std::memory_order_relaxed);
    }

    static constexpr int kTableSize = 4096;

    // The blend of two straight colours at t (0 gives a, 1 gives b).
    static QRgb Blend(QRgb a, QRgb b, double t, bool gammaCorrected);

private:
    static int TableIndex(double position)
    {
        if (!(position > 0.0)) return 0;
        if (position >= 1.0) return kTableSize - 1;
        return int(position * (kTableSize - 1) + 0.5);
    }
    // Table entries are worked out the first time a pixel needs them: a
    // small area uses only a few hundred of them. Fills are shaded on
    // several threads at once, which may learn an entry together: each
    // stores the same value.
    void Learn(int index) const;

    std::vector<Stop> m_stops;
    bool m_gamma;
    std::unique_ptr<std::atomic<QRgb>[]> m_premultiplied;
    std::unique_ptr<std::atomic<std::uint8_t>[]> m_known;
};

// A fill colour: the COLORREF's red, green and blue with the alpha's low
// byte.
QRgb FillColor(COLORREF color, int alpha);
// The mean of two colours per channel, halves rounded away from zero.
COLORREF MiddleColor(COLORREF a, COLORREF b);
