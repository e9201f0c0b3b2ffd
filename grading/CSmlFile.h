// The grading result file (.sml): the graded-size table as an archive of
// the row count and the column count (32-bit, little-endian), then every
// cell text row by row as a length-prefixed GBK string. Nothing follows
// the last row; the program writes it and never reads it.
#pragma once

#include "grading/CTextRows.h"

#include <string>

class CSmlFile {
public:
    // The bytes of a table (its header is row 1). Rows shorter than the
    // header are written with empty texts to its width. They are saved as
    // every file of the program is, by SaveWholeFile.
    static std::string Bytes(const CTextRows& table);
};
