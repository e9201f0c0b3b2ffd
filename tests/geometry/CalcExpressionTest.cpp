#include "geometry/CalcExpression.h"

#include "geometry/WorkUnits.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kCm = kWorkUnitCentimetre;
constexpr int kInch = kWorkUnitInchFraction;

struct Case {
    std::string text;
    int unit;
    bool valid;
    double value;
};

} // namespace

TEST(EvaluateExpression, CasesTable)
{
    const Case cases[] = {
        // Precedence and grouping.
        {"1+2*3", kCm, true, 7},
        {"(1+2)*3", kCm, true, 9},
        {"8/4/2", kCm, true, 1},
        {"7-2-1", kCm, true, 4},
        {"2*(3+4)", kCm, true, 14},
        {"2*(3+4)*(1+1)", kCm, true, 28},
        {"10/(4-2)", kCm, true, 5},
        {"((2))", kCm, true, 2},
        {"  7 ", kCm, true, 7},
        // Signs are unary only right after an opening parenthesis.
        {"-5", kCm, true, -5},
        {"(-5)", kCm, true, -5},
        {"+5", kCm, true, 5},
        {"3-(-2)", kCm, true, 5},
        {"-(2+3)", kCm, true, -5},
        {"2*-3", kCm, false, 0},
        {"2+-3", kCm, false, 0},
        // Unbalanced or empty parentheses, numbers side by side.
        {"()", kCm, false, 0},
        {"(5", kCm, false, 0},
        {"5)", kCm, false, 0},
        {"2(3)", kCm, false, 0},
        {"(2)(3)", kCm, false, 0},
        {"", kCm, false, 0},
        {"   ", kCm, false, 0},
        {"+", kCm, false, 0},
        {"1+", kCm, false, 0},
        // Numbers.
        {"12.", kCm, true, 12},
        {".5", kCm, true, 0.5},
        {"0.25*4", kCm, true, 1},
        {".", kCm, false, 0},
        {"1 + 2", kCm, false, 0},
        {"1e400", kCm, false, 0},
        {"3x", kCm, false, 0},
        // Results that are no number are refused, not shown as 0.
        {"1/0", kCm, false, 0},
        {"-1/0", kCm, false, 0},
        {"0/0", kCm, false, 0},
        {std::string(401, '9'), kCm, false, 0},
        {"1" + std::string(300, '0') + "*" + "1" + std::string(300, '0'), kCm, false, 0},
        // Mixed inch numbers, only in the inch-fraction unit.
        {"5\"3/4", kInch, true, 5.75},
        {"5'3/4", kInch, true, 5.75},
        {"5\"3/4+1/4", kInch, true, 5.75 + 0.25},
        {"2*1\"1/2", kInch, true, 3},
        {"5\"3/4", kCm, false, 0},
        {"5\"3/4", kWorkUnitInchDecimal, false, 0},
        {"5\"3", kInch, false, 0},
        {"5\"", kInch, false, 0},
        {"5\"/4", kInch, false, 0},
        {"5\"3/", kInch, false, 0},
    };
    for (const Case& c : cases) {
        double result = -12345.0;
        const BOOL ok = EvaluateExpression(c.text, c.unit, result);
        EXPECT_EQ(ok != 0, c.valid) << c.text;
        if (c.valid)
            EXPECT_DOUBLE_EQ(result, c.value) << c.text;
        else
            EXPECT_EQ(result, -12345.0) << c.text << ": the result is left alone";
    }
}

TEST(EvaluateExpression, TokensOfAnExpression)
{
    CCalcTokenList tokens;
    ASSERT_TRUE(TokenizeExpression("(12.5-.5)/3", kCm, tokens));
    const CCalcTokenList expected{
        CCalcToken::Operator(CCalcToken::kOpen),  CCalcToken::Number(12.5),
        CCalcToken::Operator(CCalcToken::kMinus), CCalcToken::Number(0.5),
        CCalcToken::Operator(CCalcToken::kClose), CCalcToken::Operator(CCalcToken::kDivide),
        CCalcToken::Number(3)};
    EXPECT_TRUE(tokens == expected);

    // Evaluating a list that holds an invalid token fails.
    CCalcTokenList bad{CCalcToken::Number(1), CCalcToken::Operator(9), CCalcToken::Number(2)};
    double result = 0;
    EXPECT_FALSE(EvaluateTokens(bad, result));
}

TEST(CalcToken, KindsAndCopies)
{
    EXPECT_EQ(CCalcToken::Operator(CCalcToken::kTimes).GetKind(), CCalcToken::kTimes);
    EXPECT_EQ(CCalcToken::Operator(CCalcToken::kNumber).GetKind(), CCalcToken::kInvalid);
    EXPECT_EQ(CCalcToken::Operator(8).GetKind(), CCalcToken::kInvalid);
    CCalcToken token = CCalcToken::Number(4.5);
    token.CopyFrom(CCalcToken::Operator(CCalcToken::kPlus));
    EXPECT_EQ(token.GetKind(), CCalcToken::kPlus);
    EXPECT_EQ(token.GetValue(), 4.5) << "an operator leaves the value";
    token.CopyFrom(CCalcToken::Number(2.0));
    EXPECT_EQ(token.GetValue(), 2.0);
}

TEST(CalculatorResult, TextAndLengthInTheWorkUnit)
{
    struct ResultCase {
        double result;
        int unit;
        const char* text;
        int value;
    };
    const ResultCase cases[] = {
        {12.5, kCm, "=12.5cm", 12500},
        {7, kWorkUnitMillimetre, "=7mm", 700},
        {1.0 / 3, kCm, "=0.333333cm", 333},
        {-2, kCm, "=-2cm", -2000},
        {1.5, kWorkUnitInchDecimal, "=1.5in.", 3810},
        {5.75, kInch, "=5.75(5\"3/4)in.", 14605},
        {0.5, kInch, "=0.5(1/2)in.", 1270},
    };
    for (const ResultCase& c : cases) {
        const CCalcResult r = CalculatorResult(c.result, 100, c.unit);
        EXPECT_EQ(r.text, c.text) << c.result;
        EXPECT_EQ(r.value, c.value) << c.result;
    }
}
