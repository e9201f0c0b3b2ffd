// Small helpers of the grading tests: texts written in UTF-8 in the test
// and compared as the model's GBK bytes.
#pragma once

#include "grading/CTextRows.h"

#include "platform/CodePage.h"

#include <QString>

#include <initializer_list>
#include <string>
#include <vector>

inline std::string G(const char* utf8)
{
    return QStringToGbk(QString::fromUtf8(utf8));
}

inline CTextRows::Row GRow(std::initializer_list<const char*> texts)
{
    CTextRows::Row row;
    for (const char* t : texts) row.push_back(G(t));
    return row;
}

inline CTextRows GTable(std::initializer_list<const char*> header,
                        std::initializer_list<std::initializer_list<const char*>> rows)
{
    CTextRows table;
    table.header = GRow(header);
    for (const auto& r : rows) table.rows.push_back(GRow(r));
    return table;
}

// Bytes written as hex pairs with optional blanks between them.
inline std::string Hex(const char* text)
{
    std::string out;
    int nibbles = 0;
    unsigned value = 0;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        int v = -1;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        if (v < 0) continue;
        value = value * 16 + unsigned(v);
        if (++nibbles == 2) {
            out.push_back(char(value));
            nibbles = 0;
            value = 0;
        }
    }
    return out;
}
