#include "grading/CMeasureSheet.h"

#include "grading/GradingTexts.h"
#include "platform/CodePage.h"

#include <QString>

#include <set>

namespace {

bool IsBlank(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string ColumnName(int number)
{
    return QStringToGbk(QStringLiteral("列%1").arg(number));
}

} // namespace

CMeasureSheet CMeasureSheet::FromCells(const std::vector<std::vector<std::string>>& cells)
{
    CMeasureSheet sheet;
    if (cells.empty()) return sheet;
    sheet.m_table.header = UniqueNames(cells.front());
    const std::size_t width = sheet.m_table.header.size();
    sheet.m_table.rows.reserve(cells.size() - 1);
    for (std::size_t r = 1; r < cells.size(); ++r) {
        if (IsBlankRow(cells[r])) {
            ++sheet.m_skippedBlankRows;
            continue;
        }
        CTextRows::Row row = cells[r];
        row.resize(width);
        sheet.m_table.rows.push_back(std::move(row));
    }
    return sheet;
}

std::vector<std::string> CMeasureSheet::UniqueNames(const std::vector<std::string>& names)
{
    // A column keeps the name it has unless an earlier column has it; the
    // names given instead stay clear of every name found in the row.
    std::set<std::string> taken(names.begin(), names.end());
    std::set<std::string> used;
    std::vector<std::string> out;
    out.reserve(names.size());
    for (std::size_t c = 0; c < names.size(); ++c) {
        std::string name = IsBlank(names[c]) ? ColumnName(int(c) + 1) : names[c];
        if (used.count(name) || (IsBlank(names[c]) && taken.count(name))) {
            int n = 2;
            while (used.count(NumberedName(name, n)) || taken.count(NumberedName(name, n))) ++n;
            name = NumberedName(name, n);
        }
        used.insert(name);
        out.push_back(name);
    }
    return out;
}

bool CMeasureSheet::IsBlankRow(const std::vector<std::string>& row)
{
    for (const std::string& cell : row)
        if (!IsBlank(cell)) return false;
    return true;
}
