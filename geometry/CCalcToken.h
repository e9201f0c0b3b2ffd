// One token of a calculator expression: a number or one of the operators
// + - * / ( ). A token of any other kind is invalid.
#pragma once

#include "platform/CList.h"

class CCalcToken {
public:
    enum Kind {
        kInvalid = 0,
        kNumber = 1,
        kPlus = 2,
        kMinus = 3,
        kTimes = 4,
        kDivide = 5,
        kOpen = 6,
        kClose = 7,
    };

    CCalcToken() = default;
    // An operator token; a kind that is no operator gives an invalid token.
    static CCalcToken Operator(int kind);
    static CCalcToken Number(double value);

    void SetOperator(int kind);
    void SetNumber(double value);
    // The kind, and the value when `other` is a number (an operator leaves
    // the value as it was).
    void CopyFrom(const CCalcToken& other);

    int GetKind() const { return m_kind; }
    double GetValue() const { return m_value; }
    bool IsNumber() const { return m_kind == kNumber; }
    bool IsOperator() const { return m_kind >= kPlus && m_kind <= kClose; }

    bool operator==(const CCalcToken& o) const
    {
        return m_kind == o.m_kind && (m_kind != kNumber || m_value == o.m_value);
    }

private:
    int m_kind = kInvalid;
    double m_value = 0.0;
};

using CCalcTokenList = CList<CCalcToken>;
