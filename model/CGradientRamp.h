// The colours of a gradient along its position 0..1: a few colour stops
// with straight blends between them, blended either in the stored colour
// values or, with gamma correction, in linear light (gamma 2.2), which
// keeps the middle of a blend from looking too dark.
#pragma once

#include "platform/Types.h"

#include <QRgb>

#include <array>
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

    // The colour at the position, exactly as the stops say (no table).
    QRgb ColorAt(double position) const;
    // The same from a table of kTableSize entries, for painting pixels; a
    // NaN position gives the first colour.
    QRgb TableColorAt(double position) const;
    // As TableColorAt, premultiplied for painting.
    QRgb PremultipliedAt(double position) const;

    static constexpr int kTableSize = 4096;

    // The blend of two straight colours at t (0 gives a, 1 gives b).
    static QRgb Blend(QRgb a, QRgb b, double t, bool gammaCorrected);

private:
    int TableIndex(double position) const;

    std::vector<Stop> m_stops;
    bool m_gamma;
    std::vector<QRgb> m_table;
    std::vector<QRgb> m_premultiplied;
};

// A fill colour: the COLORREF's red, green and blue with the alpha's low
// byte.
QRgb FillColor(COLORREF color, int alpha);
// The mean of two colours per channel, halves rounded away from zero.
COLORREF MiddleColor(COLORREF a, COLORREF b);
