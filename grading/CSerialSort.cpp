#include "grading/CSerialSort.h"

#include "geometry/NumberText.h"

#include <utility>

namespace {

const std::string& Text(const CTextRows::Row& row, int column)
{
    static const std::string empty;
    return column >= 0 && std::size_t(column) < row.size() ? row[std::size_t(column)] : empty;
}

// One column of a row as the comparison reads it.
struct SortText {
    const std::string* text;
    double number;
};

SortText Read(const CTextRows::Row& row, int column)
{
    const std::string& text = Text(row, column);
    return {&text, LeadingNumber(text)};
}

// Whether a's text goes after b's: by number when both read as a nonzero
// number, else by string.
bool TextGreater(const SortText& a, const SortText& b)
{
    if (a.number != 0 && b.number != 0) return a.number > b.number;
    return a.text->compare(*b.text) > 0;
}

// The secondary column decides only between the same primary strings.
bool Greater(const SortText& a1, const SortText& b1, const SortText& a2, const SortText& b2, bool useSecondary)
{
    if (TextGreater(a1, b1)) return true;
    return useSecondary && *a1.text == *b1.text && TextGreater(a2, b2);
}

} // namespace

bool CSerialSort::IsGreater(const CTextRows::Row& a, const CTextRows::Row& b, int primary, int secondary,
                            bool useSecondary)
{
    return Greater(Read(a, primary), Read(b, primary), Read(a, secondary), Read(b, secondary), useSecondary);
}

long long CSerialSort::Sort(std::vector<CTextRows::Row>& rows, int primary, int secondary, bool useSecondary)
{
    // The texts are read once; they travel with their rows.
    struct Entry {
        SortText primary, secondary;
        std::size_t row;
    };
    std::vector<Entry> entries;
    entries.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        entries.push_back({Read(rows[i], primary), Read(rows[i], secondary), i});

    long long exchanges = 0;
    const std::size_t n = entries.size();
    for (std::size_t pass = 1; pass < n; ++pass) {
        bool exchanged = false;
        for (std::size_t j = 0; j + pass < n; ++j) {
            const Entry& a = entries[j];
            const Entry& b = entries[j + 1];
            if (Greater(a.primary, b.primary, a.secondary, b.secondary, useSecondary)) {
                std::swap(entries[j], entries[j + 1]);
                exchanged = true;
                ++exchanges;
            }
        }
        if (!exchanged) break;
    }
    if (exchanges == 0) return 0;
    std::vector<CTextRows::Row> sorted;
    sorted.reserve(n);
    for (const Entry& e : entries) sorted.push_back(std::move(rows[e.row]));
    rows = std::move(sorted);
    return exchanges;
}
