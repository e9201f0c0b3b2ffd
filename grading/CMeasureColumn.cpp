#include "grading/CMeasureColumn.h"

CMeasureColumn::CMeasureColumn(int count) : m_values(std::size_t(count > 0 ? count : 0), 0.0) {}

void CMeasureColumn::SetValue(int i, double v)
{
    if (i >= 0 && i < GetCount()) m_values[std::size_t(i)] = v;
}

double CMeasureColumn::GetValue(int i) const
{
    return i >= 0 && i < GetCount() ? m_values[std::size_t(i)] : 0.0;
}
