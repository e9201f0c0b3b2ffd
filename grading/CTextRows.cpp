#include "grading/CTextRows.h"

const std::string& CTextRows::Cell(int row, int column) const
{
    static const std::string empty;
    if (row < 0 || row >= RowCount() || column < 0) return empty;
    const Row& r = rows[std::size_t(row)];
    return std::size_t(column) < r.size() ? r[std::size_t(column)] : empty;
}

std::vector<int> CTextRows::ColumnsNamed(const std::string& name) const
{
    std::vector<int> out;
    for (std::size_t c = 0; c < header.size(); ++c)
        if (header[c] == name) out.push_back(int(c));
    return out;
}

int CTextRows::FirstColumnNamed(const std::string& name) const
{
    for (std::size_t c = 0; c < header.size(); ++c)
        if (header[c] == name) return int(c);
    return -1;
}

int CTextRows::LastColumnNamed(const std::string& name) const
{
    for (std::size_t c = header.size(); c-- > 0;)
        if (header[c] == name) return int(c);
    return -1;
}
