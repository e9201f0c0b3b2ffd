#include "grading/CXlsReader.h"

#include "geometry/NumberText.h"
#include "platform/CCompoundFile.h"
#include "platform/CodePage.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace {

// Record types of the workbook stream.
enum : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kFilePass = 0x002F,
    kContinue = 0x003C,
    kCodePage = 0x0042,
    kBoundSheet = 0x0085,
    kMulRk = 0x00BD,
    kRString = 0x00D6,
    kSst = 0x00FC,
    kLabelSst = 0x00FD,
    kNumber = 0x0203,
    kLabel = 0x0204,
    kBoolErr = 0x0205,
    kString = 0x0207,
    kRk = 0x027E,
    kBof = 0x0809,
};

constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kBiff5 = 0x0500;
constexpr std::uint16_t kGlobalsSubstream = 0x0005;
constexpr std::uint16_t kWorksheetSubstream = 0x0010;

struct DamagedError {};

std::uint16_t U16(std::string_view d, std::size_t at)
{
    if (at + 2 > d.size()) throw DamagedError();
    return std::uint16_t(std::uint8_t(d[at]) | std::uint8_t(d[at + 1]) << 8);
}

std::uint32_t U32(std::string_view d, std::size_t at)
{
    if (at + 4 > d.size()) throw DamagedError();
    return std::uint32_t(U16(d, at)) | std::uint32_t(U16(d, at + 2)) << 16;
}

double F64(std::string_view d, std::size_t at)
{
    if (at + 8 > d.size()) throw DamagedError();
    double value;
    std::memcpy(&value, d.data() + at, 8);
    return value;
}

double RkValue(std::uint32_t rk)
{
    double value;
    if (rk & 2) {
        value = double(std::int32_t(rk) >> 2);
    } else {
        const std::uint64_t bits = std::uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, 8);
    }
    return (rk & 1) ? value / 100.0 : value;
}

struct Record {
    std::uint16_t type = 0;
    std::string_view data;
    std::size_t offset = 0; // of the record header in the stream
};

// Walks the records of the workbook stream from a given offset.
class RecordCursor {
public:
    RecordCursor(std::string_view stream, std::size_t at) : m_stream(stream), m_pos(at) {}

    bool Next(Record& record)
    {
        if (m_pos + 4 > m_stream.size()) return false;
        record.offset = m_pos;
        record.type = U16(m_stream, m_pos);
        const std::size_t length = U16(m_stream, m_pos + 2);
        if (m_pos + 4 + length > m_stream.size()) throw DamagedError();
        record.data = m_stream.substr(m_pos + 4, length);
        m_pos += 4 + length;
        return true;
    }
    // The next record's type without moving, 0 at the end.
    std::uint16_t PeekType() const
    {
        return m_pos + 4 <= m_stream.size() ? U16(m_stream, m_pos) : 0;
    }

private:
    std::string_view m_stream;
    std::size_t m_pos;
};

// A record and its CONTINUE records read as one: plain fields run on across
// the joins, but where the characters of a string run on, the next part
// starts with a fresh option byte that says whether they are one byte or two.
class ContinuedReader {
public:
    void Add(std::string_view part) { m_parts.push_back(part); }

    std::uint8_t U8()
    {
        Settle();
        return std::uint8_t(m_parts[m_part][m_pos++]);
    }
    // Low byte first: each read is its own statement, since the order in
    // which the operands of one expression are read is unspecified.
    std::uint16_t U16v()
    {
        const std::uint16_t low = U8();
        return std::uint16_t(low | U8() << 8);
    }
    std::uint32_t U32v()
    {
        const std::uint32_t low = U16v();
        return low | std::uint32_t(U16v()) << 16;
    }
    void Skip(std::size_t n)
    {
        while (n > 0) {
            Settle();
            const std::size_t take = std::min(n, m_parts[m_part].size() - m_pos);
            m_pos += take;
            n -= take;
        }
    }
    bool AtEnd()
    {
        while (m_part < m_parts.size() && m_pos >= m_parts[m_part].size()) {
            ++m_part;
            m_pos = 0;
        }
        return m_part >= m_parts.size();
    }

    // An XLUnicodeString's characters, after its count and option byte.
    std::u16string Chars(std::size_t count, bool wide)
    {
        std::u16string text;
        text.reserve(std::min<std::size_t>(count, 32768));
        while (text.size() < count) {
            if (m_pos >= m_parts[m_part].size()) {
                // The characters run on in the next part, behind a new
                // option byte.
                if (++m_part >= m_parts.size()) throw DamagedError();
                m_pos = 0;
                wide = (U8Here() & 1) != 0;
            }
            const std::string_view part = m_parts[m_part];
            const std::size_t width = wide ? 2 : 1;
            const std::size_t fit = (part.size() - m_pos) / width;
            if (fit == 0) throw DamagedError();
            const std::size_t take = std::min(count - text.size(), fit);
            for (std::size_t i = 0; i < take; ++i) {
                const std::size_t at = m_pos + i * width;
                char16_t c = char16_t(std::uint8_t(part[at]));
                if (wide) c = char16_t(c | std::uint8_t(part[at + 1]) << 8);
                text.push_back(c);
            }
            m_pos += take * width;
        }
        return text;
    }

    // A whole XLUnicodeRichExtendedString (shared strings, BIFF8 labels).
    std::u16string RichString()
    {
        const std::size_t count = U16v();
        const std::uint8_t options = U8();
        const std::size_t runs = (options & 0x08) ? U16v() : 0;
        const std::size_t extended = (options & 0x04) ? U32v() : 0;
        std::u16string text = Chars(count, (options & 0x01) != 0);
        Skip(runs * 4);
        Skip(extended);
        return text;
    }

private:
    void Settle()
    {
        while (m_part < m_parts.size() && m_pos >= m_parts[m_part].size()) {
            ++m_part;
            m_pos = 0;
        }
        if (m_part >= m_parts.size()) throw DamagedError();
    }
    std::uint8_t U8Here()
    {
        if (m_pos >= m_parts[m_part].size()) throw DamagedError();
        return std::uint8_t(m_parts[m_part][m_pos++]);
    }

    std::vector<std::string_view> m_parts;
    std::size_t m_part = 0;
    std::size_t m_pos = 0;
};

// The record's data followed by the CONTINUE records behind it.
ContinuedReader ReadContinued(const Record& first, RecordCursor& cursor)
{
    ContinuedReader reader;
    reader.Add(first.data);
    Record next;
    while (cursor.PeekType() == kContinue && cursor.Next(next)) reader.Add(next.data);
    return reader;
}

const char* CodePageName(int codePage)
{
    switch (codePage) {
    case 367: return "US-ASCII";
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000:
    case 32768: return "macintosh";
    default: return "windows-1252"; // 1252, 32769, and whatever is unknown
    }
}

// Byte strings of BIFF5 files are in the workbook's code page.
std::string BytesToGbk(std::string_view bytes, int codePage)
{
    if (codePage == 936) return std::string(bytes);
    QStringDecoder decoder(CodePageName(codePage));
    QString text;
    if (decoder.isValid())
        text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    else
        text = QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    return QStringToGbk(text);
}

struct Cell {
    int row;
    int column;
    std::string text;
};

// What the globals say about the workbook.
struct Globals {
    std::uint16_t version = 0;
    int codePage = 1252;
    std::vector<std::string> sharedStrings;
    std::size_t firstWorksheet = std::string::npos; // offset of its BOF
};

std::vector<std::string> ReadSharedStrings(const Record& sst, RecordCursor& cursor,
                                           std::size_t streamSize)
{
    ContinuedReader reader = ReadContinued(sst, cursor);
    reader.U32v(); // total references
    const std::size_t unique = reader.U32v();
    std::vector<std::string> strings;
    // Every string takes at least three bytes, so the count is bounded by
    // the stream whatever the record claims.
    strings.reserve(std::min(unique, streamSize / 3));
    for (std::size_t i = 0; i < unique && !reader.AtEnd(); ++i)
        strings.push_back(Utf16ToGbk(reader.RichString()));
    return strings;
}

Globals ReadGlobals(std::string_view stream)
{
    Globals globals;
    RecordCursor cursor(stream, 0);
    Record record;
    if (!cursor.Next(record) || record.type != kBof) throw CXlsReader::Error::UnsupportedVersion;
    globals.version = U16(record.data, 0);
    if (globals.version != kBiff8 && globals.version != kBiff5)
        throw CXlsReader::Error::UnsupportedVersion;
    if (U16(record.data, 2) != kGlobalsSubstream) throw CXlsReader::Error::UnsupportedVersion;
    if (globals.version == kBiff8) globals.codePage = 1200;

    while (cursor.Next(record)) {
        switch (record.type) {
        case kEof:
            return globals;
        case kFilePass:
            throw CXlsReader::Error::Encrypted;
        case kCodePage:
            globals.codePage = U16(record.data, 0);
            break;
        case kBoundSheet: {
            // Worksheets are sheet type 0; charts, macro and module sheets
            // are not among the worksheets.
            const std::uint32_t offset = U32(record.data, 0);
            const std::uint8_t type = std::uint8_t(record.data.size() > 5 ? record.data[5] : 0xFF);
            if (type == 0 && globals.firstWorksheet == std::string::npos) {
                if (offset >= stream.size()) throw DamagedError();
                globals.firstWorksheet = offset;
            }
            break;
        }
        case kSst:
            globals.sharedStrings = ReadSharedStrings(record, cursor, stream.size());
            break;
        default:
            break;
        }
    }
    throw DamagedError(); // no end of the globals
}

class SheetReader {
public:
    SheetReader(const Globals& globals, std::vector<Cell>& cells) : m_globals(globals), m_cells(cells) {}

    void Read(std::string_view stream)
    {
        RecordCursor cursor(stream, m_globals.firstWorksheet);
        Record record;
        if (!cursor.Next(record) || record.type != kBof) throw DamagedError();
        if (U16(record.data, 2) != kWorksheetSubstream) throw CXlsReader::Error::NoWorksheet;
        // Embedded charts bring their own BOF ... EOF inside the sheet.
        int depth = 0;
        while (cursor.Next(record)) {
            if (record.type == kBof) {
                ++depth;
                continue;
            }
            if (record.type == kEof) {
                if (depth-- == 0) return;
                continue;
            }
            if (depth == 0) TakeRecord(record, cursor);
        }
        throw DamagedError();
    }

private:
    bool Biff8() const { return m_globals.version == kBiff8; }

    void Add(std::string_view data, std::string text)
    {
        Add(U16(data, 0), U16(data, 2), std::move(text));
    }
    void Add(int row, int column, std::string text)
    {
        m_cells.push_back(Cell{row, column, std::move(text)});
    }

    void TakeRecord(const Record& record, RecordCursor& cursor)
    {
        const std::string_view d = record.data;
        switch (record.type) {
        case kNumber:
            Add(d, CXlsReader::NumberText(F64(d, 6)));
            break;
        case kRk:
            Add(d, CXlsReader::NumberText(RkValue(U32(d, 6))));
            break;
        case kMulRk: {
            const int row = U16(d, 0);
            const int first = U16(d, 2);
            if (d.size() < 6) throw DamagedError();
            const std::size_t count = (d.size() - 6) / 6;
            for (std::size_t i = 0; i < count; ++i)
                Add(row, first + int(i), CXlsReader::NumberText(RkValue(U32(d, 4 + i * 6 + 2))));
            break;
        }
        case kLabelSst: {
            const std::uint32_t index = U32(d, 6);
            if (index >= m_globals.sharedStrings.size()) throw DamagedError();
            Add(d, m_globals.sharedStrings[index]);
            break;
        }
        case kLabel:
        case kRString:
            Add(d, LabelText(record, cursor));
            break;
        case kBoolErr:
            Add(d, BoolErrText(U16(d, 6) & 0xFF, d.size() > 7 ? std::uint8_t(d[7]) : 0));
            break;
        case kFormula:
            TakeFormula(record, cursor);
            break;
        case kString:
            // The result of the text formula before it.
            if (m_pendingText) {
                m_pendingText = false;
                Add(m_pendingRow, m_pendingColumn, StringText(record, cursor));
            }
            break;
        default:
            break;
        }
    }

    static std::string BoolErrText(int value, int isError)
    {
        if (isError) return CXlsReader::ErrorCodeText(value);
        return value ? "TRUE" : "FALSE";
    }

    void TakeFormula(const Record& record, RecordCursor&)
    {
        const std::string_view d = record.data;
        const int row = U16(d, 0);
        const int column = U16(d, 2);
        if (d.size() < 14) throw DamagedError();
        m_pendingText = false;
        if (U16(d, 12) != 0xFFFF) {
            Add(row, column, CXlsReader::NumberText(F64(d, 6)));
            return;
        }
        switch (std::uint8_t(d[6])) {
        case 0: // a text, in the STRING record that follows
            m_pendingText = true;
            m_pendingRow = row;
            m_pendingColumn = column;
            break;
        case 1:
            Add(row, column, BoolErrText(std::uint8_t(d[8]), 0));
            break;
        case 2:
            Add(row, column, BoolErrText(std::uint8_t(d[8]), 1));
            break;
        default: // an empty text
            Add(row, column, std::string());
            break;
        }
    }

    std::string LabelText(const Record& record, RecordCursor& cursor)
    {
        const std::string_view d = record.data;
        if (!Biff8()) {
            const std::size_t length = U16(d, 6);
            if (8 + length > d.size()) throw DamagedError();
            return BytesToGbk(d.substr(8, length), m_globals.codePage);
        }
        if (d.size() < 6) throw DamagedError();
        Record body = record;
        body.data = d.substr(6);
        ContinuedReader reader = ReadContinued(body, cursor);
        return Utf16ToGbk(reader.RichString());
    }

    std::string StringText(const Record& record, RecordCursor& cursor)
    {
        const std::string_view d = record.data;
        if (!Biff8()) {
            const std::size_t length = U16(d, 0);
            if (2 + length > d.size()) throw DamagedError();
            return BytesToGbk(d.substr(2, length), m_globals.codePage);
        }
        ContinuedReader reader = ReadContinued(record, cursor);
        return Utf16ToGbk(reader.RichString());
    }

    const Globals& m_globals;
    std::vector<Cell>& m_cells;
    bool m_pendingText = false;
    int m_pendingRow = 0;
    int m_pendingColumn = 0;
};

bool NameIs(const std::string& name, const char* wanted)
{
    const std::size_t n = std::strlen(wanted);
    if (name.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != wanted[i]) return false;
    return true;
}

const CCompoundEntry* WorkbookStream(const CCompoundEntry& root)
{
    for (const char* name : {"workbook", "book"})
        for (const CCompoundEntry& child : root.children)
            if (!child.isStorage && NameIs(child.name, name)) return &child;
    return nullptr;
}

CXlsReader::Error BuildRows(std::vector<Cell>& cells, CXlsReader::Rows& rows)
{
    if (cells.empty()) return CXlsReader::Error::None;
    int top = cells.front().row, bottom = top;
    int left = cells.front().column, right = left;
    for (const Cell& c : cells) {
        top = std::min(top, c.row);
        bottom = std::max(bottom, c.row);
        left = std::min(left, c.column);
        right = std::max(right, c.column);
    }
    const std::size_t height = std::size_t(bottom - top + 1);
    const std::size_t width = std::size_t(right - left + 1);
    if (height > std::size_t(CXlsReader::kMaxRows) || width > std::size_t(CXlsReader::kMaxColumns)
        || height * width > CXlsReader::kMaxCells)
        return CXlsReader::Error::TooLarge;
    rows.assign(height, std::vector<std::string>(width));
    // A later record for the same cell wins, as the spreadsheet reads it.
    for (Cell& c : cells) rows[std::size_t(c.row - top)][std::size_t(c.column - left)] = std::move(c.text);
    return CXlsReader::Error::None;
}

} // namespace

CXlsReader::Error CXlsReader::ReadFirstWorksheet(const std::string& fileBytes, Rows& rows)
{
    rows.clear();
    if (fileBytes.compare(0, 4, "PK\x03\x04", 4) == 0) return Error::IsXlsx;
    if (!CCompoundFile::HasSignature(fileBytes)) return Error::NotCompoundFile;
    CCompoundEntry root;
    std::string why;
    if (!CCompoundFile::Parse(fileBytes, root, why)) return Error::NotCompoundFile;
    const CCompoundEntry* workbook = WorkbookStream(root);
    if (!workbook) return Error::NoWorkbookStream;
    const std::string_view stream = workbook->data;

    try {
        const Globals globals = ReadGlobals(stream);
        if (globals.firstWorksheet == std::string::npos) return Error::NoWorksheet;
        std::vector<Cell> cells;
        SheetReader(globals, cells).Read(stream);
        return BuildRows(cells, rows);
    } catch (Error error) {
        return error;
    } catch (const DamagedError&) {
        rows.clear();
        return Error::Damaged;
    } catch (const std::out_of_range&) {
        // A length no check above caught: still only damage.
        rows.clear();
        return Error::Damaged;
    } catch (const std::bad_alloc&) {
        rows.clear();
        return Error::TooLarge;
    }
}

std::string CXlsReader::ErrorText(Error error)
{
    switch (error) {
    case Error::None: return std::string();
    case Error::NotCompoundFile: return "这不是Excel工作簿文件。";
    case Error::IsXlsx:
        return "这是Excel 2007以后的工作簿(.xlsx)。请在Excel中另存为“Excel 97-2003 工作簿(*.xls)”后再打开。";
    case Error::NoWorkbookStream: return "文件中没有工作簿数据。";
    case Error::UnsupportedVersion:
        return "不支持这个版本的Excel文件。请另存为“Excel 97-2003 工作簿(*.xls)”后再打开。";
    case Error::Encrypted: return "工作簿有密码保护，不能读取。";
    case Error::NoWorksheet: return "工作簿中没有工作表。";
    case Error::Damaged: return "工作簿已经损坏。";
    case Error::TooLarge: return "工作表太大，不能读取。";
    }
    return std::string();
}

std::string CXlsReader::NumberText(double value)
{
    return FormatNumberText(value);
}

std::string CXlsReader::ErrorCodeText(int code)
{
    switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    case 0x2A: return "#N/A";
    default: return "#N/A";
    }
}
