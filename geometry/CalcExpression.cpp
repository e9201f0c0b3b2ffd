#include "geometry/CalcExpression.h"

#include "geometry/NumberText.h"
#include "geometry/TextMeasure.h"
#include "geometry/WorkUnits.h"

#include <cmath>
#include <vector>

namespace {

// Units per millimetre with which a mixed inch number is read and written
// back as decimal inches, and the decimals it keeps.
constexpr int kInchReadUpm = 1000;
constexpr int kInchDecimals = 10000;
// Denominator of the fraction shown beside an inch result.
constexpr int kResultFraction = 64;

void TakeDigits(const std::string& s, std::size_t& i, std::string& number)
{
    while (IsDigit(s[i])) number += s[i++];
}

// A number starting with a digit at `i` (the text ends with a sentinel).
bool ReadNumber(const std::string& s, std::size_t& i, int workUnit, double& value)
{
    std::string number;
    TakeDigits(s, i, number);
    if (s[i] == '.') {
        number += s[i++];
        TakeDigits(s, i, number);
    } else if (s[i] == '"' || s[i] == '\'') {
        if (workUnit != kWorkUnitInchFraction) return false;
        number += s[i++];
        if (!IsDigit(s[i])) return false;
        TakeDigits(s, i, number);
        if (s[i] != '/') return false;
        number += s[i++];
        if (!IsDigit(s[i])) return false;
        TakeDigits(s, i, number);
        const int length = ParseLength(number, kInchReadUpm, kWorkUnitInchFraction);
        number = FormatLength(length, kInchReadUpm, kWorkUnitInchDecimal, kInchDecimals);
    }
    value = LeadingNumber(number);
    return true;
}

// Priorities of the operators on the stack and arriving; higher binds
// first. Indexed by token kind (2-7).
constexpr int kInStack[8] = {0, 0, 5, 5, 9, 9, 2, 9};
constexpr int kIncoming[8] = {0, 0, 3, 3, 7, 7, 11, 2};

enum class Relation { Lower, Equal, Higher, None };

Relation Compare(int top, int incoming)
{
    // A closing parenthesis never stays on the stack; against an opening
    // one arriving it has no relation.
    if (top == CCalcToken::kClose && incoming == CCalcToken::kOpen) return Relation::None;
    if (kInStack[top] < kIncoming[incoming]) return Relation::Lower;
    if (kInStack[top] == kIncoming[incoming]) return Relation::Equal;
    return Relation::Higher;
}

bool IsSign(int kind) { return kind == CCalcToken::kPlus || kind == CCalcToken::kMinus; }

double Apply(int op, double a, double b)
{
    switch (op) {
    case CCalcToken::kPlus: return a + b;
    case CCalcToken::kMinus: return a - b;
    case CCalcToken::kTimes: return a * b;
    default: return a / b;
    }
}

// One step of reduction: the number on top, the operator below it and what
// lies below that become one number.
bool Reduce(std::vector<CCalcToken>& stack, std::size_t topOperator)
{
    const double right = stack.back().GetValue();
    const int op = stack[topOperator].GetKind();
    if (topOperator == 0) return false;
    const CCalcToken& below = stack[topOperator - 1];
    if (below.IsNumber()) {
        const double left = below.GetValue();
        stack.resize(topOperator - 1);
        stack.push_back(CCalcToken::Number(Apply(op, left, right)));
        return true;
    }
    if (below.GetKind() == CCalcToken::kOpen && IsSign(op)) {
        stack.resize(topOperator);
        stack.push_back(CCalcToken::Number(op == CCalcToken::kMinus ? -right : right));
        return true;
    }
    return false;
}

} // namespace

BOOL TokenizeExpression(const std::string& text, int workUnit, CCalcTokenList& tokens)
{
    tokens.RemoveAll();
    const std::string trimmed = Trimmed(text);
    const std::string s = trimmed + "#";
    std::size_t i = 0;
    while (i < trimmed.size()) {
        const char c = s[i];
        if (IsDigit(c)) {
            double value = 0.0;
            if (!ReadNumber(s, i, workUnit, value)) return FALSE;
            tokens.AddTail(CCalcToken::Number(value));
            continue;
        }
        if (c == '.') {
            if (!IsDigit(s[i + 1])) return FALSE;
            std::string number(1, '.');
            ++i;
            TakeDigits(s, i, number);
            tokens.AddTail(CCalcToken::Number(LeadingNumber(number)));
            continue;
        }
        const char* ops = "+-*/()";
        int kind = CCalcToken::kInvalid;
        for (int k = 0; ops[k]; ++k)
            if (c == ops[k]) kind = CCalcToken::kPlus + k;
        if (kind == CCalcToken::kInvalid) return FALSE;
        tokens.AddTail(CCalcToken::Operator(kind));
        ++i;
    }
    return TRUE;
}

BOOL EvaluateTokens(const CCalcTokenList& tokens, double& result)
{
    std::vector<CCalcToken> input;
    input.push_back(CCalcToken::Operator(CCalcToken::kOpen));
    for (const CCalcToken& t : tokens) input.push_back(t);
    input.push_back(CCalcToken::Operator(CCalcToken::kClose));

    std::vector<CCalcToken> stack{input.front()};
    for (std::size_t k = 1; k < input.size();) {
        const CCalcToken& token = input[k];
        if (token.IsNumber()) {
            stack.push_back(token);
            ++k;
            continue;
        }
        if (!token.IsOperator()) return FALSE;
        // The operator nearest the top, and the numbers above it.
        std::size_t count = 0;
        std::size_t top = stack.size();
        while (top > 0 && stack[top - 1].IsNumber()) {
            --top;
            ++count;
        }
        if (top == 0) return FALSE;
        const std::size_t topOperator = top - 1;
        const int topKind = stack[topOperator].GetKind();
        const int incoming = token.GetKind();
        switch (Compare(topKind, incoming)) {
        case Relation::Lower:
            // An opening parenthesis may follow any operator ("2*(3+4)"); a
            // sign right after one is unary.
            if (count == 1 || (count == 0 && incoming == CCalcToken::kOpen) ||
                (count == 0 && topKind == CCalcToken::kOpen && IsSign(incoming))) {
                stack.push_back(token);
                ++k;
                break;
            }
            return FALSE;
        case Relation::Equal:
            if (count != 1) return FALSE;
            stack.erase(stack.begin() + std::ptrdiff_t(topOperator));
            ++k;
            break;
        case Relation::Higher:
            // The incoming operator is read again after the reduction.
            if (count != 1 || !Reduce(stack, topOperator)) return FALSE;
            break;
        case Relation::None: return FALSE;
        }
    }
    if (stack.size() != 1 || !stack.front().IsNumber()) return FALSE;
    result = stack.front().GetValue();
    return TRUE;
}

BOOL EvaluateExpression(const std::string& text, int workUnit, double& result)
{
    CCalcTokenList tokens;
    double value = 0.0;
    if (!TokenizeExpression(text, workUnit, tokens) || !EvaluateTokens(tokens, value)) return FALSE;
    if (!std::isfinite(value)) return FALSE;
    result = value;
    return TRUE;
}

CCalcResult CalculatorResult(double result, int upm, int workUnit)
{
    std::string number = FormatFixed(result, 6);
    TrimDecimalZeros(number);
    // Both inch units read the number as decimal inches.
    const int readUnit = workUnit == kWorkUnitInchFraction ? kWorkUnitInchDecimal : workUnit;
    CCalcResult out;
    out.value = ParseLength(number, upm, readUnit);
    std::string text = number;
    if (workUnit == kWorkUnitInchFraction)
        text += "(" + FormatLength(out.value, upm, kWorkUnitInchFraction, kResultFraction) + ")";
    out.text = "=" + text + UnitSuffix(workUnit);
    return out;
}
