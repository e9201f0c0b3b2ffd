#include "settings/IniLines.h"

namespace {

bool IsLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

// What the reader passes over before a line.
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || IsLineBreak(c);
}

qsizetype SkipSpace(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && IsSpace(text[at])) ++at;
    return at;
}

// Takes the byte after a backslash at `at` (already past the backslash).
qsizetype TakeEscaped(QByteArrayView text, qsizetype at, IniLine& line)
{
    if (at == text.size()) {
        line.endsInBackslash = true;
        return at;
    }
    const char taken = text[at++];
    if (!IsLineBreak(taken)) return at;
    line.holdsLineBreak = true;
    // CR LF and LF CR are one line break to the reader.
    if (at < text.size() && IsLineBreak(text[at]) && text[at] != taken) ++at;
    return at;
}

// Reads the line starting at `start` (past the blanks before it); returns
// where the reader goes on.
qsizetype ReadLine(QByteArrayView text, qsizetype start, IniLine& line)
{
    line.start = start;
    bool quoted = false;
    qsizetype at = start;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '\\') {
            at = TakeEscaped(text, at + 1, line);
            continue;
        }
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ';' && at == line.start) {
            // A comment: to its line break, quotes and all.
            while (at < text.size() && !IsLineBreak(text[at])) ++at;
            line.start = at = SkipSpace(text, at);
            continue;
        } else if (!quoted && (c == ';' || IsLineBreak(c))) {
            break;
        } else if (IsLineBreak(c)) {
            line.holdsLineBreak = true;
        } else if (c == '=' && !quoted && line.equals < 0) {
            line.equals = at - line.start;
        }
        ++at;
    }
    line.size = at - line.start;
    line.quoteLeftOpen = quoted;
    return at;
}

} // namespace

std::vector<IniLine> SplitIniLines(QByteArrayView text)
{
    std::vector<IniLine> lines;
    qsizetype at = 0;
    for (;;) {
        IniLine line;
        at = ReadLine(text, SkipSpace(text, at), line);
        if (line.size == 0) return lines;
        lines.push_back(line);
    }
}
