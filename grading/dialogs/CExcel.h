// The grading workflow's workbook reader as the view holds it: reads the
// first worksheet of an Excel 97-2003 workbook, makes its item names
// unique, leaves blank rows out, and runs the select-items dialog with the
// persons, which builds the body-measurement table. A file that cannot be
// read is named with the reason in a message, and nothing is built.
#pragma once

#include <QString>

class CVEKView;
class CMeasureSheet;

class CExcel {
public:
    explicit CExcel(CVEKView* owner) : m_owner(owner) {}

    // True once the select-items dialog has run (whatever the user chose
    // there); false when the file could not be read.
    bool ReadWorkbook(const QString& path);
    // The persons of a workbook file; false with the reason for the user.
    static bool ReadSheet(const QString& path, CMeasureSheet& sheet, QString& why);

private:
    CVEKView* m_owner;
};
