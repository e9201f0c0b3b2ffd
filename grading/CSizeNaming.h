// Naming the sizes: by hand, a column "款式号型" goes in front of
// "人数分布" in the graded-size tables (and at the same place in the
// personal-information tables) for the user to type the style's size
// names into; automatically, every person gets the name of the size whose
// graded values equal the person's.
//
// A page counts as a graded-size or personal-information page by the
// first of the two titles found on it.
#pragma once

#include <string>
#include <vector>

class CPageSet;

class CSizeNaming {
public:
    // Something the manual naming left alone, and why.
    struct Note {
        enum Kind { AlreadyNamed, NoPersonsColumn, NothingToName } kind;
        int page; // 0-based; -1 for NothingToName
    };

    // Inserts the column; tables that already have one, and graded-size
    // tables without "人数分布", are left alone and noted. Returns true
    // when some table changed.
    static bool NameByHand(CPageSet& pageSet, std::vector<Note>& notes);

    // Writes into the "款式号型" column of every personal-information table
    // the name of the size whose graded values (the cells left of the
    // column) equal the person's, or an empty text. Returns true when some
    // cell changed.
    static bool NameAutomatically(CPageSet& pageSet);

    // The command's enabling rule: the last page holding the
    // personal-information title has a first table with "款式号型" in
    // row 1.
    static bool CanNameAutomatically(const CPageSet& pageSet);
};
