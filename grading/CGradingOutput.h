// The results of a grading run written into the document: the graded-size
// table on new pages at the end (the first of them becomes the current
// page), then one personal-information table per body-measurement page
// that was graded, each on a new page at the end with the body table's own
// rectangle, its persons' graded sizes in front of their measurements.
#pragma once

#include "grading/CResultStyle.h"

#include <vector>

class CGradingRun;
class CPageSet;

class CGradingOutput {
public:
    struct Pages {
        std::vector<int> graded;
        std::vector<int> personal;
    };

    // `bodyPages` are the pages the run's persons were read from, in
    // order. Nothing is written when the pages have no room for the
    // layout or the run graded nobody.
    static Pages Write(CPageSet& pageSet, const CResultStyle& style, const CGradingRun& run,
                       const std::vector<int>& bodyPages);
};
