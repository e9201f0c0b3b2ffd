// Reading plotter text in the tests: the state it leaves and the drawing
// it builds.
#pragma once

#include "library/CHpglDrawing.h"
#include "library/CHpglReader.h"
#include "library/HpglState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

inline CHpglReader::Result ReadHpgl(const std::string& text, HpglState& state)
{
    return CHpglReader::ReadBytes(text.data(), text.size(), state);
}

// The state after reading, which must succeed.
inline HpglState Interpret(const std::string& text)
{
    HpglState state;
    EXPECT_EQ(ReadHpgl(text, state), CHpglReader::Result::Ok) << text;
    return state;
}

inline double DistanceTo(const CDoublePoint& a, const CDoublePoint& b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}
