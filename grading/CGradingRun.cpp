#include "grading/CGradingRun.h"

#include "grading/GradingIds.h"
#include "grading/GradingTexts.h"

#include "geometry/Distance.h"
#include "geometry/NumberText.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// A measurement as it reads after its "%f" text.
double ThroughPrintf(double v)
{
    return LeadingNumber(PrintfF(v));
}

// Sizes in ascending order of their first key; groups without a number
// there go last, so the order stays a strict one whatever the keys.
bool FirstKeyLess(const CDoubleArrayRecord& a, const CDoubleArrayRecord& b)
{
    const double x = a.GetKey(0);
    const double y = b.GetKey(0);
    if (std::isnan(x)) return false;
    if (std::isnan(y)) return true;
    return x < y;
}

} // namespace

CGradingRun::Error CGradingRun::Check(const CTextRows& body, const std::vector<std::string>& basisNames,
                                      std::string* item)
{
    for (const std::string& name : basisNames) {
        const std::size_t found = body.ColumnsNamed(name).size();
        if (found == 1) continue;
        if (item) *item = name;
        return found == 0 ? Error::BasisMissing : Error::BasisRepeated;
    }
    if (body.rows.empty()) return Error::NoPersons;
    return Error::None;
}

bool CGradingRun::IsWholeInterval(double interval)
{
    const double i = std::fabs(interval);
    return std::isfinite(i) && i >= 1.0 && i <= double(INT_MAX) && i == std::floor(i);
}

double CGradingRun::GradeValue(double v, double base, double interval)
{
    double I = std::fabs(interval);
    if (!(I > 0) || !std::isfinite(I)) I = 1.0;
    const bool above = v - base >= 0;
    if (IsWholeInterval(I)) {
        const int i = RoundToInt(I);
        const int d = above ? RoundToInt(v - base) : RoundToInt(base - v);
        const int q = d / i;
        const int r = d % i;
        const int k = I / 2 >= double(r) ? q : q + 1;
        return above ? base + double(i) * k : base - double(i) * k;
    }
    const double d = std::fabs(v - base);
    const double q = std::floor(d / I);
    if (!std::isfinite(q)) return v;
    const double r = d - q * I;
    // A tie, up to the error of the division, goes toward the base.
    const double k = r > I / 2 + 1e-9 * I ? q + 1 : q;
    return above ? base + I * k : base - I * k;
}

CGradingRun::Error CGradingRun::Run(const CTextRows& body, const std::vector<CGradingBasis>& basis)
{
    m_columns.clear();
    m_groups.clear();
    std::vector<std::string> names;
    for (const CGradingBasis& b : basis) names.push_back(b.name);
    const Error error = Check(body, names);
    if (error != Error::None) return error;
    m_body = body;
    m_basis = basis;
    m_basisColumns.clear();
    for (const std::string& name : names) m_basisColumns.push_back(body.FirstColumnNamed(name));

    // The measurement columns, each value through its "%f" text.
    const int persons = body.RowCount();
    std::vector<CMeasureColumn> measures;
    measures.reserve(body.header.size());
    for (int c = 0; c < body.ColumnCount(); ++c) {
        CMeasureColumn column(persons);
        column.SetName(body.header[std::size_t(c)]);
        for (int p = 0; p < persons; ++p) column.SetValue(p, ThroughPrintf(LeadingNumber(body.Cell(p, c))));
        measures.push_back(std::move(column));
    }
    const std::string sizeSuffix = GbkResString(IDS_SIZE_SUFFIX);
    for (std::size_t j = 0; j < basis.size(); ++j) {
        CMeasureColumn key = measures[std::size_t(m_basisColumns[j])];
        key.SetName(basis[j].name + sizeSuffix);
        m_columns.push_back(std::move(key));
    }
    for (CMeasureColumn& column : measures) m_columns.push_back(std::move(column));

    // Each person joins the size of the first person whose graded values
    // are all the same; sizes stand in the order of their first person.
    const int n = int(basis.size());
    const int values = int(m_columns.size()) - n;
    for (int p = 0; p < persons; ++p) {
        CDoubleArrayRecord person(n, 1, values);
        for (int j = 0; j < n; ++j)
            person.SetKey(j, GradeValue(m_columns[std::size_t(j)].GetValue(p), basis[std::size_t(j)].base,
                                        basis[std::size_t(j)].interval));
        for (int k = 0; k < values; ++k) person.SetValue(k, m_columns[std::size_t(n + k)].GetValue(p));
        auto group = std::find_if(m_groups.begin(), m_groups.end(),
                                  [&](const CDoubleArrayRecord& g) { return g.HasEqualKeys(person); });
        if (group == m_groups.end()) {
            m_groups.push_back(std::move(person));
        } else {
            group->SetPersons(group->GetPersons() + 1);
            group->AddValues(person);
        }
    }
    for (CDoubleArrayRecord& g : m_groups) g.AverageValues();
    // What the bubble sort by the first key gives: equal first keys keep
    // their order.
    std::stable_sort(m_groups.begin(), m_groups.end(), FirstKeyLess);
    return Error::None;
}

std::string CGradingRun::KeyText(int j, double key) const
{
    const double interval = j >= 0 && j < BasisCount() ? m_basis[std::size_t(j)].interval : 1.0;
    return SizeText(key, IsWholeInterval(interval));
}

CTextRows CGradingRun::GradedSizeTable() const
{
    CTextRows table;
    const int n = BasisCount();
    for (int j = 0; j < n; ++j) table.header.push_back(m_columns[std::size_t(j)].Name());
    table.header.push_back(GbkResString(IDS_PERSONS_COLUMN));
    for (std::size_t c = std::size_t(n); c < m_columns.size(); ++c) table.header.push_back(m_columns[c].Name());
    for (const CDoubleArrayRecord& g : m_groups) {
        CTextRows::Row row;
        for (int j = 0; j < n; ++j) row.push_back(KeyText(j, g.GetKey(j)));
        row.push_back(std::to_string(g.GetPersons()));
        for (int k = 0; k < g.GetValueCount(); ++k) row.push_back(AverageText(g.GetValue(k)));
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<bool> CGradingRun::ShownColumns() const
{
    const int n = BasisCount();
    const int values = int(m_columns.size()) - n;
    std::vector<bool> shown(std::size_t(n + 1), true);
    for (int k = 0; k < values; ++k) {
        bool allZero = !m_groups.empty();
        for (const CDoubleArrayRecord& g : m_groups) {
            if (AverageText(g.GetValue(k)) != "0.0") {
                allZero = false;
                break;
            }
        }
        shown.push_back(!allZero);
    }
    return shown;
}

CTextRows CGradingRun::KeepColumns(const CTextRows& table, const std::vector<bool>& shown)
{
    auto keep = [&](const CTextRows::Row& row) {
        CTextRows::Row out;
        for (std::size_t c = 0; c < row.size(); ++c)
            if (c >= shown.size() || shown[c]) out.push_back(row[c]);
        return out;
    };
    CTextRows out;
    out.header = keep(table.header);
    for (const CTextRows::Row& row : table.rows) out.rows.push_back(keep(row));
    return out;
}

CTextRows CGradingRun::ResultFileTable() const
{
    CTextRows table;
    const int n = BasisCount();
    table.header.push_back(std::string());
    table.header.push_back(GbkResString(IDS_PERSONS_COLUMN));
    for (std::size_t c = std::size_t(n); c < m_columns.size(); ++c) table.header.push_back(m_columns[c].Name());
    for (const CDoubleArrayRecord& g : m_groups) {
        CTextRows::Row row;
        std::string size;
        for (int j = 0; j < n; ++j) {
            if (j > 0) size += '/';
            size += KeyText(j, g.GetKey(j));
        }
        row.push_back(size);
        row.push_back(std::to_string(g.GetPersons()));
        for (int k = 0; k < g.GetValueCount(); ++k) row.push_back(AverageText(g.GetValue(k)));
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<CTextRows::Row> CGradingRun::PersonalRows() const
{
    std::vector<CTextRows::Row> out;
    out.reserve(std::size_t(PersonCount()));
    const int width = m_body.ColumnCount();
    for (int p = 0; p < PersonCount(); ++p) {
        CTextRows::Row row;
        row.reserve(m_basis.size() + std::size_t(width));
        for (std::size_t j = 0; j < m_basis.size(); ++j) {
            const double v = LeadingNumber(m_body.Cell(p, m_basisColumns[j]));
            row.push_back(KeyText(int(j), GradeValue(v, m_basis[j].base, m_basis[j].interval)));
        }
        for (int c = 0; c < width; ++c) row.push_back(m_body.Cell(p, c));
        out.push_back(std::move(row));
    }
    return out;
}
