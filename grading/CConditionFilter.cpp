#include "grading/CConditionFilter.h"

#include "geometry/NumberText.h"

namespace {

const std::string& Text(const CTextRows::Row& row, int column)
{
    static const std::string empty;
    return column >= 0 && std::size_t(column) < row.size() ? row[std::size_t(column)] : empty;
}

} // namespace

CConditionFilter::Error CConditionFilter::Apply(const CTextRows& body, const CConditionIndex& index,
                                                CTextRows& kept, std::vector<CTextRows::Row>& special,
                                                std::string* item)
{
    const int a = index.conditionOn ? body.FirstColumnNamed(index.item) : -1;
    const int x = index.specialOn ? body.LastColumnNamed(index.minuend) : -1;
    const int y = index.specialOn ? body.LastColumnNamed(index.subtrahend) : -1;
    const std::string* missing = nullptr;
    if (index.conditionOn && a < 0) missing = &index.item;
    else if (index.specialOn && x < 0) missing = &index.minuend;
    else if (index.specialOn && y < 0) missing = &index.subtrahend;
    if (missing) {
        if (item) *item = *missing;
        return Error::ItemMissing;
    }

    kept = CTextRows();
    kept.header = body.header;
    special.clear();
    const bool judge = index.specialOn && x != y && index.upper > index.lower;
    for (const CTextRows::Row& row : body.rows) {
        if (index.conditionOn && !index.text.empty() && Text(row, a) != index.text) continue;
        if (judge) {
            const double d = LeadingNumber(Text(row, x)) - LeadingNumber(Text(row, y));
            if (d < index.lower || d > index.upper) {
                special.push_back(row);
                continue;
            }
        }
        kept.rows.push_back(row);
    }
    return Error::None;
}
