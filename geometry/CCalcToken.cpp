#include "geometry/CCalcToken.h"

CCalcToken CCalcToken::Operator(int kind)
{
    CCalcToken token;
    token.SetOperator(kind);
    return token;
}

CCalcToken CCalcToken::Number(double value)
{
    CCalcToken token;
    token.SetNumber(value);
    return token;
}

void CCalcToken::SetOperator(int kind)
{
    m_kind = kind >= kPlus && kind <= kClose ? kind : kInvalid;
}

void CCalcToken::SetNumber(double value)
{
    m_kind = kNumber;
    m_value = value;
}

void CCalcToken::CopyFrom(const CCalcToken& other)
{
    m_kind = other.m_kind;
    if (other.m_kind == kNumber) m_value = other.m_value;
}
