// The calculator's arithmetic: an expression text is cut into tokens and
// evaluated by operator precedence over a work stack. * and / bind tighter
// than + and -, operators of one level group from the left, parentheses
// nest, and a sign is unary right after an opening parenthesis (the whole
// text counts as parenthesised, so "-5" is -5, but "2*-3" is refused). In
// the inch-fraction work unit a number may be a mixed inch length: whole
// inches, an inch mark (") or apostrophe, and a fraction ("5\"3/4" is 5.75).
#pragma once

#include "geometry/CCalcToken.h"

#include "platform/Types.h"

#include <string>

// The tokens of the text (white space at its ends ignored); FALSE at the
// first character that does not belong (a blank inside the text too).
BOOL TokenizeExpression(const std::string& text, int workUnit, CCalcTokenList& tokens);

// The value of the tokens; FALSE when they do not form an expression.
BOOL EvaluateTokens(const CCalcTokenList& tokens, double& result);

// Both, and FALSE as well for a result that is not a finite number (a
// division by zero, or a number too large for a double).
BOOL EvaluateExpression(const std::string& text, int workUnit, double& result);

// What the calculator shows and hands back for a result: `text` is
// "=" + the number ("%f" without trailing zeros) + the unit suffix, in the
// inch-fraction unit with the length in 64ths in parentheses before the
// suffix; `value` is the length in page units.
struct CCalcResult {
    std::string text;
    int value = 0;
};
CCalcResult CalculatorResult(double result, int upm, int workUnit);
