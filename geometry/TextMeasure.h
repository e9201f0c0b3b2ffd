// Lines of a drawing text, measuring a text on a device context, and the
// clean-up of number texts.
//
// Texts are byte strings in the GBK code page. A line break is a CR or an
// LF; a CR or LF right after a break belongs to that break, so CR LF,
// LF CR, CR CR and LF LF are each one break. A break at the very end of a
// text opens no further line, and an empty text has no lines.
#pragma once

#include "platform/Types.h"

#include <string>

class CDC;

// Number of lines: the breaks, plus one when anything follows the last.
int CountTextLines(const std::string& text);

// Line n (from 0) without its break; empty for an empty line and when the
// text has n or fewer lines (or n is negative).
std::string GetTextLine(const std::string& text, int n);

// Size of the text in the font selected into dc, every character measured
// alone and the dc's character extra put between characters: cx is the
// widest line, cy the tallest character cell times the number of lines.
// lineCount receives CountTextLines(text).
CSize MeasureTextBlock(const CDC& dc, const std::string& text, int& lineCount);
// MeasureTextBlock without the line count.
CSize MeasureText(const CDC& dc, const std::string& text);

// The text without the CRs and LFs at its start, or at its end. A text of
// breaks only keeps its last byte (leading) or its first byte (trailing).
std::string TrimLeadingLineBreaks(const std::string& text);
std::string TrimTrailingLineBreaks(const std::string& text);

// Cuts the zeros after the decimal point of a printed number, then a point
// left at the end: "12.500" -> "12.5", "12.000" -> "12", "100." -> "100".
// A text without a point is left as it is. A negative value that rounded
// to zero keeps its sign: "-0.00" -> "-0".
void TrimDecimalZeros(std::string& text);
