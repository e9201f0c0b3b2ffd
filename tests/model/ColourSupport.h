// Pixel checks of the painting tests: a COLORREF as the QRgb it paints,
// and colours compared channel by channel within a tolerance, the failure
// naming both.
#pragma once

#include "platform/Types.h"

#include <gtest/gtest.h>

#include <QColor>

#include <cstdlib>
#include <string>

inline QRgb Rgb(COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); }

inline std::string Describe(QRgb c)
{
    return "(" + std::to_string(qRed(c)) + ", " + std::to_string(qGreen(c)) + ", " + std::to_string(qBlue(c)) + ")";
}

inline ::testing::AssertionResult Near(QRgb actual, QRgb expected, int tolerance)
{
    if (std::abs(qRed(actual) - qRed(expected)) <= tolerance
        && std::abs(qGreen(actual) - qGreen(expected)) <= tolerance
        && std::abs(qBlue(actual) - qBlue(expected)) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
        << Describe(actual) << " is not within " << tolerance << " of " << Describe(expected);
}
