// Lengths in the user's work unit: the text shown in value boxes, prompts,
// rulers and captions, and typed text read back into model units.
//
// Model lengths are ints; `upm` is the number of model units per millimetre
// (the page set's 100). The work unit and precision come from the settings:
//   unit 0  inches as fractions; precision is the denominator 1 ... 2048
//   unit 1  inches with decimals  } precision 1, 10, 100, 1000 or 10000
//   unit 2  centimetres           } parts per unit, i.e. 0 to 4 decimals
//   unit 3  millimetres           }
// Formatting and parsing never depend on the process locale.
#pragma once

#include <string>

enum WorkUnitCode : int {
    kWorkUnitInchFraction = 0,
    kWorkUnitInchDecimal = 1,
    kWorkUnitCentimetre = 2,
    kWorkUnitMillimetre = 3,
};

// The text of a length: decimals without trailing zeros ("12.3", "12"), or
// for inch fractions a whole part, an inch mark and a reduced fraction
// without spaces ("1\"1/2", "-1/4", "2", "0"). Empty text for an unknown
// unit, a decimal precision outside the list, or a upm that is not positive.
std::string FormatLength(long long value, int upm, int unit, int precision);
// Mode 1 decimal inches; any other mode inch fractions with denominator
// `precision` (a denominator below 1 is taken as 1, whole inches).
std::string FormatInchLength(long long value, int upm, int mode, int precision);
std::string FormatCmLength(long long value, int upm, int precision);
std::string FormatMmLength(long long value, int upm, int precision);

// "in." for units 0 and 1, "cm" for 2, "mm" for 3, else empty. Callers show
// it beside the number; it is never part of a formatted length.
std::string UnitSuffix(int unit);

// Model units of typed text: a decimal number for units 1, 2 and 3, an inch
// text for unit 0 (see ParseInchLength). Text that does not read as a
// number gives 0; so does an unknown unit.
int ParseLength(const std::string& text, int upm, int unit);
// Mode 1: the leading decimal number of the text in inches; any other mode:
// ParseInchLength. Result rounded inches x 2.54 x 10 x upm.
int ParseInchText(const std::string& text, int upm, int mode);
// Inches from a text such as 2, 1"1/2, 1'1/2, 1.5, 3/2, -1/2 or 1"5 (read as
// 1.5). Spaces are ignored, so "1 1/2" reads as 11/2. Anything else, a
// slash without a denominator and a zero denominator give 0.
double ParseInchLength(const std::string& text);
// A decimal number or numerator/denominator ("3/4", "-1/2", "1.5"), spaces
// ignored; anything else and a zero denominator give 0.
double ParseFraction(const std::string& text);
