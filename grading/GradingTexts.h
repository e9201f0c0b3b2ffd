// The texts the grading workflow writes into its tables and its result
// file, printed the way the original runtime printed them ("%f" with six
// decimals, halves rounded away from zero) and then cut, not rounded.
#pragma once

#include <string>

// True when the whole text is a plain decimal number: an optional sign,
// digits, an optional point and digits, at least one digit, nothing else
// (no blanks, no exponent).
bool IsPlainDecimal(const std::string& text);

// A measurement as the body-measurement table shows it: a plain decimal
// number is cut one character after its point ("165.46" gives "165.4");
// any other text ("J.Smith", "2017.01.21") stays as it is.
std::string CutMeasurementText(const std::string& text);

// "%f" of the value.
std::string PrintfF(double value);

// A graded size: "%f" cut before the point (84.5 gives "84", -3.5 gives
// "-3"). A size graded with an interval that is no whole number lies on a
// fraction that tells sizes apart, so it keeps its decimals, trailing zeros
// cut ("162.5").
std::string SizeText(double key, bool wholeInterval);

// An average: "%f" cut one digit after the point (83.96 gives "83.9").
std::string AverageText(double value);

// The item name with a number appended, "胸围(2)": how a repeated name is
// told apart.
std::string NumberedName(const std::string& name, int n);

// A string of the string table as GBK bytes, as the model keeps texts.
std::string GbkResString(int id);
