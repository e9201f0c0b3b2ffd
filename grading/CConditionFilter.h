// The condition index and the special-body judgement over the persons of
// the body-measurement table, in memory:
// - condition: keep only the persons whose text in column A equals a given
//   text (an empty text keeps everybody);
// - special bodies: for columns X and Y a person is of normal shape while
//   lower <= X - Y <= upper (atof of the texts); the others are set apart.
//   With X and Y the same column, or upper <= lower, nobody is set apart.
// A is the first column of that name, X and Y the last.
#pragma once

#include "grading/CTextRows.h"

#include <string>
#include <vector>

struct CConditionIndex {
    bool conditionOn = false;
    std::string item; // A
    std::string text;
    bool specialOn = false;
    std::string minuend;    // X
    std::string subtrahend; // Y
    double lower = 0;
    double upper = 0;
};

class CConditionFilter {
public:
    enum class Error { None, ItemMissing };

    // `kept` gets the header and the persons that stay, `special` the
    // persons set apart (their texts as they stand). On an error nothing
    // is filtered and `item` names the item no column has.
    static Error Apply(const CTextRows& body, const CConditionIndex& index, CTextRows& kept,
                       std::vector<CTextRows::Row>& special, std::string* item = nullptr);
};
