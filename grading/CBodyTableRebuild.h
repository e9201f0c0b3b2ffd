// The body-measurement table laid out again after the condition index:
// the tables and their four texts leave the pages that hold them (nothing
// else on those pages is touched, and only pages left empty go), the
// persons that stay are written from the first of those pages on, and the
// special bodies follow on pages of their own (on the first page itself
// when nobody stayed).
#pragma once

#include "grading/CResultStyle.h"
#include "grading/CTextRows.h"

#include <vector>

class CPage;
class CPageSet;

class CBodyTableRebuild {
public:
    struct Pages {
        std::vector<int> body;
        std::vector<int> special;
    };

    // False (and nothing changed) when no page holds the body-measurement
    // table or the pages have no room for the layout.
    static bool Apply(CPageSet& pageSet, const CResultStyle& style, const CTextRows& kept,
                      const std::vector<CTextRows::Row>& special, Pages* pages = nullptr);

    // Takes a grading table and its title, unit caption, unit name and page
    // label off the page (and deletes them); true when the page held one.
    static bool RemoveTable(CPage& page, const std::string& title);
};
