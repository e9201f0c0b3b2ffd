// Reads the cells of a workbook's first worksheet from an Excel 97-2003
// (.xls) file, the way the grading workflow needs them: the used range,
// every cell as the text the user sees in the measurement table.
//
// The workbook stream ("Workbook" in BIFF8 files, "Book" in BIFF5/7 files)
// is read record by record from the compound file: the globals give the
// shared strings, the code page and where each sheet starts; the first
// worksheet in workbook order gives the cells. Formula cells give their
// stored results (numbers, texts, Booleans, errors), so nothing is
// recalculated and nothing comes back empty that the file holds.
//
// Texts come out in the model's GBK bytes whatever the workbook's code
// page; numbers as "%.2f" with the trailing zeros cut ("165.5", "170");
// Booleans as "TRUE" and "FALSE"; errors as the spreadsheet shows them
// ("#DIV/0!"). The used range is the smallest rectangle holding every cell
// that has a value; cells that carry only formatting do not count.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CXlsReader {
public:
    // Why a read failed.
    enum class Error {
        None,
        NotCompoundFile, // not a workbook at all (an .xlsx is a zip file)
        IsXlsx,          // an Office Open XML workbook
        NoWorkbookStream,
        UnsupportedVersion, // BIFF2-4 worksheets, or a stream that is no BIFF
        Encrypted,
        NoWorksheet,
        Damaged,
        TooLarge,
    };

    // Bounds of what is read: BIFF8's own sheet limits, and a cap on the
    // texts held in memory for one used range.
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;
    static constexpr std::size_t kMaxCells = 4u * 1024u * 1024u;

    // The used range of the first worksheet, row by row; every row has the
    // same number of texts, an empty cell an empty text. Empty when the
    // worksheet holds no value at all.
    using Rows = std::vector<std::vector<std::string>>;

    // Reads the workbook file's bytes. On failure `rows` is left empty and
    // the reason is returned.
    static Error ReadFirstWorksheet(const std::string& fileBytes, Rows& rows);

    // The text of a failure for the user, in the program's language.
    static std::string ErrorText(Error error);

    // The texts of one cell value, as the reader gives them.
    static std::string NumberText(double value);
    static std::string ErrorCodeText(int code);
};
