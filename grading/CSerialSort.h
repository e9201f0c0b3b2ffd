// The order of the persons in the personal-information tables: a bubble
// sort by a primary column and, where the primary texts are the same
// string, a secondary one.
//
// Two texts compare as numbers when both read as a nonzero number (atof),
// else as strings (byte by byte); so "170" and "170.0" are equal as
// numbers though different strings, and neither moves nor goes on to the
// secondary column. This is no strict order (with "0" among numbers it is
// not even transitive), so the rows are sorted exactly as a bubble sort
// sorts them: the exchanges are those of passes 1 .. n - 1 over the pairs
// j, j + 1, and a pass without an exchange ends the sort (the passes after
// it would find none either).
#pragma once

#include "grading/CTextRows.h"

#include <string>
#include <vector>

class CSerialSort {
public:
    // True when row a goes after row b. A column a row does not have reads
    // as an empty text.
    static bool IsGreater(const CTextRows::Row& a, const CTextRows::Row& b, int primary, int secondary,
                          bool useSecondary);
    // Sorts the rows ascending; returns the number of exchanges.
    static long long Sort(std::vector<CTextRows::Row>& rows, int primary, int secondary, bool useSecondary);
};
