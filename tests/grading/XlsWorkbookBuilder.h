// A small writer of Excel 97-2003 workbooks (BIFF8 in a compound file) for
// the grading tests and benchmarks: one worksheet of numbers and texts,
// written record by record as a spreadsheet program writes them.
#pragma once

#include "platform/CCompoundFile.h"

#include <QString>

#include <cstdint>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

namespace xlsbuild {

// A cell: empty, a number or a text.
using Cell = std::variant<std::monostate, double, QString>;
using Sheet = std::vector<std::vector<Cell>>;

inline std::string U16(int v)
{
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF)};
}

inline std::string U32(std::uint32_t v)
{
    return U16(int(v & 0xFFFF)) + U16(int(v >> 16));
}

inline std::string Record(int type, const std::string& data)
{
    return U16(type) + U16(int(data.size())) + data;
}

inline std::string Bof(int kind)
{
    return Record(0x0809, U16(0x0600) + U16(kind) + std::string(12, '\0'));
}

// A BIFF8 string with 16-bit characters.
inline std::string Text16(const QString& text)
{
    std::string s = U16(int(text.size())) + std::string(1, '\1');
    for (QChar c : text) s += U16(c.unicode());
    return s;
}

inline std::string CellRecords(const Sheet& sheet)
{
    std::string out;
    for (std::size_t r = 0; r < sheet.size(); ++r) {
        for (std::size_t c = 0; c < sheet[r].size(); ++c) {
            const std::string at = U16(int(r)) + U16(int(c)) + U16(15);
            if (const double* number = std::get_if<double>(&sheet[r][c])) {
                std::string bytes(8, '\0');
                std::memcpy(bytes.data(), number, 8);
                out += Record(0x0203, at + bytes);
            } else if (const QString* text = std::get_if<QString>(&sheet[r][c])) {
                out += Record(0x0204, at + Text16(*text));
            }
        }
    }
    return out;
}

// The bytes of a workbook file with the sheet as its only worksheet.
inline std::string Workbook(const Sheet& sheet)
{
    const std::string eof = Record(0x000A, std::string());
    auto bound = [](std::uint32_t offset) {
        return Record(0x0085, U32(offset) + std::string(2, '\0') + std::string(1, '\1') + std::string(1, '\0') + "S");
    };
    const std::string head = Bof(0x0005) + Record(0x0042, U16(1200));
    const std::size_t globals = head.size() + bound(0).size() + eof.size();
    const std::string stream = head + bound(std::uint32_t(globals)) + eof + Bof(0x0010) + CellRecords(sheet) + eof;
    CCompoundEntry root;
    root.isStorage = true;
    CCompoundEntry entry;
    entry.name = "Workbook";
    entry.data = stream;
    root.children.push_back(entry);
    std::string bytes, why;
    CCompoundFile::Build(root, bytes, why);
    return bytes;
}

// A sheet of `persons` measured persons and `items` items: a name column
// and measurements of one decimal around a height of 160 and a chest of
// 84, so that grading by the first two measurements makes a few dozen
// sizes.
inline Sheet MeasuredPersons(int persons, int items)
{
    Sheet sheet(std::size_t(persons) + 1);
    sheet[0].push_back(QStringLiteral("姓名"));
    for (int i = 1; i < items; ++i) sheet[0].push_back(QStringLiteral("项目%1").arg(i));
    for (int p = 0; p < persons; ++p) {
        auto& row = sheet[std::size_t(p) + 1];
        row.push_back(QStringLiteral("人员%1").arg(p + 1));
        for (int i = 1; i < items; ++i) row.push_back(double(40 * i + (p * 7 + i * 13) % 300 / 10.0));
    }
    return sheet;
}

} // namespace xlsbuild
