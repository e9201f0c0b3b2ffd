// The encoded polyline data of HP-GL/2 (PE): numbers in base 64 (or base
// 32 in 7-bit mode), least significant digit first, the last digit marked
// by its own range, the sign in the lowest bit; flag characters for pen
// select, pen up, absolute coordinates and fraction bits.
#pragma once

#include "geometry/CDoublePoint.h"

#include <string>
#include <vector>

struct HpglEncodedStep {
    enum Kind { SelectPen, Move };
    Kind kind = Move;
    // SelectPen: the pen number.
    int pen = 0;
    // Move: the point (fraction bits applied), whether it is absolute, and
    // whether the pen is up for it.
    CDoublePoint point;
    bool absolute = false;
    bool penUp = false;
};

// Decodes the bytes between PE and its ';'. Bytes that are neither a flag
// nor a digit of the current base are skipped; a number cut off by the end
// of the data and an x without its y are dropped.
std::vector<HpglEncodedStep> DecodeHpglPolyline(const std::string& data);

// The encoding of one signed integer in 8-bit (base 64) or 7-bit (base 32)
// mode, for writers and tests.
std::string EncodeHpglNumber(long long value, bool sevenBit = false);
