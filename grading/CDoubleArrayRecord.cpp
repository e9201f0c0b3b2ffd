#include "grading/CDoubleArrayRecord.h"

#include <algorithm>

CDoubleArrayRecord::CDoubleArrayRecord(int keyCount, int persons, int valueCount)
    : m_keys(std::size_t(std::max(keyCount, 0)), 0.0), m_persons(persons),
      m_values(std::size_t(std::max(valueCount, 0)), 0.0)
{
}

void CDoubleArrayRecord::SetKey(int i, double v)
{
    if (i >= 0 && i < GetKeyCount()) m_keys[std::size_t(i)] = v;
}

double CDoubleArrayRecord::GetKey(int i) const
{
    return i >= 0 && i < GetKeyCount() ? m_keys[std::size_t(i)] : 0.0;
}

void CDoubleArrayRecord::SetValue(int i, double v)
{
    if (i >= 0 && i < GetValueCount()) m_values[std::size_t(i)] = v;
}

double CDoubleArrayRecord::GetValue(int i) const
{
    return i >= 0 && i < GetValueCount() ? m_values[std::size_t(i)] : 0.0;
}

bool CDoubleArrayRecord::HasEqualKeys(const CDoubleArrayRecord& other) const
{
    if (other.m_keys.size() < m_keys.size()) return false;
    for (std::size_t k = 0; k < m_keys.size(); ++k)
        if (!(m_keys[k] == other.m_keys[k])) return false;
    return true;
}

bool CDoubleArrayRecord::IsFirstKeyGreater(const CDoubleArrayRecord& other) const
{
    return !m_keys.empty() && !other.m_keys.empty() && m_keys[0] > other.m_keys[0];
}

CDoubleArrayRecord& CDoubleArrayRecord::AddValues(const CDoubleArrayRecord& other)
{
    const std::size_t n = std::min(m_values.size(), other.m_values.size());
    for (std::size_t k = 0; k < n; ++k) m_values[k] += other.m_values[k];
    return *this;
}

void CDoubleArrayRecord::AverageValues()
{
    if (m_persons == 0) return;
    for (double& v : m_values) v /= double(m_persons);
}
