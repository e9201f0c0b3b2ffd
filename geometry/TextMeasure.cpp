#include "TextMeasure.h"

#include "NumberText.h"

#include "platform/CDC.h"

#include <algorithm>

namespace {

bool IsBreakByte(char c)
{
    return c == '\r' || c == '\n';
}

bool IsHighByte(char c)
{
    return (static_cast<unsigned char>(c) & 0x80) != 0;
}

// Index just past the break that starts at i: the break byte and one CR or
// LF right after it.
std::size_t SkipBreak(const std::string& text, std::size_t i)
{
    ++i;
    if (i < text.size() && IsBreakByte(text[i])) ++i;
    return i;
}

std::size_t FindBreak(const std::string& text, std::size_t from)
{
    return text.find_first_of("\r\n", from);
}

// Bytes of the character at i. A byte with bit 7 set starts a two-byte
// character, or a four-byte one when GB18030 digits follow it (characters
// outside GBK arrive that way from Unicode input). A line break is never
// swallowed as the second byte of a damaged pair, so measuring breaks lines
// exactly where CountTextLines does.
std::size_t CharLengthAt(const std::string& text, std::size_t i)
{
    if (!IsHighByte(text[i]) || i + 1 >= text.size() || IsBreakByte(text[i + 1])) return 1;
    if (IsDigit(text[i + 1]) && i + 3 < text.size() && IsHighByte(text[i + 2]) && IsDigit(text[i + 3]))
        return 4;
    return 2;
}

// Width and height of the line being measured, and of the block so far.
struct BlockMeasure {
    int extra = 0;
    int lineWidth = 0;
    int lineHeight = 0;
    bool lineHasChars = false;
    int widest = 0;
    int tallest = 0;
    int lines = 0;

    void AddChar(const CSize& size)
    {
        lineWidth += size.cx + extra;
        lineHeight = std::max(lineHeight, size.cy);
        lineHasChars = true;
    }

    // No spacing follows the last character of a line.
    void CloseLine()
    {
        if (lineHasChars) lineWidth = std::max(0, lineWidth - extra);
        widest = std::max(widest, lineWidth);
        tallest = std::max(tallest, lineHeight);
        lineWidth = lineHeight = 0;
        lineHasChars = false;
        ++lines;
    }
};

} // namespace

int CountTextLines(const std::string& text)
{
    int breaks = 0;
    bool tail = false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBreakByte(text[i])) {
            ++breaks;
            tail = false;
            i = SkipBreak(text, i);
        } else {
            tail = true;
            ++i;
        }
    }
    return breaks + (tail ? 1 : 0);
}

std::string GetTextLine(const std::string& text, int n)
{
    if (n < 0) return {};
    std::size_t pos = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t brk = FindBreak(text, pos);
        if (brk == std::string::npos) return {};
        pos = SkipBreak(text, brk);
    }
    if (pos >= text.size()) return {};
    const std::size_t end = FindBreak(text, pos);
    return text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

CSize MeasureTextBlock(const CDC& dc, const std::string& text, int& lineCount)
{
    BlockMeasure m;
    m.extra = dc.GetTextCharacterExtra();
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsBreakByte(text[i])) {
            m.CloseLine();
            i = SkipBreak(text, i);
            continue;
        }
        // Each character alone, so kerning between neighbours plays no part.
        const std::size_t len = CharLengthAt(text, i);
        m.AddChar(dc.GetTextExtent(text.substr(i, len)));
        i += len;
    }
    if (m.lineHasChars) m.CloseLine();
    lineCount = m.lines;
    return CSize(m.widest, m.tallest * m.lines);
}

CSize MeasureText(const CDC& dc, const std::string& text)
{
    int lines = 0;
    return MeasureTextBlock(dc, text, lines);
}

// A text of breaks only keeps one byte at the end where the search stops,
// as the texts written by the Windows program were trimmed.
std::string TrimLeadingLineBreaks(const std::string& text)
{
    if (text.empty()) return text;
    const std::size_t first = text.find_first_not_of("\r\n");
    return text.substr(first == std::string::npos ? text.size() - 1 : first);
}

std::string TrimTrailingLineBreaks(const std::string& text)
{
    if (text.empty()) return text;
    const std::size_t last = text.find_last_not_of("\r\n");
    return text.substr(0, last == std::string::npos ? 1 : last + 1);
}

void TrimDecimalZeros(std::string& text)
{
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return;
    text.erase(text.find_last_not_of('0') + 1); // the point itself stops the search
    if (text.size() == point + 1) text.erase(point);
}
