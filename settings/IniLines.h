// How QSettings' INI reader cuts its text into lines, so that the
// profile's check judges the lines the reader takes, not the ones an
// editor shows. The reader ends a line at a CR or an LF (so CR alone,
// LF, CR LF and LF CR all end lines, and an empty line is passed over),
// but not within quotes nor after a backslash, which takes the byte after
// it (a CR LF or LF CR pair whole). Outside quotes a ";" ends the line
// too; a line that starts with ";" is a comment, passed over to its line
// break whatever it holds. Blanks and line breaks before a line are not
// the line's, its trailing blanks are. "#" starts no comment for the
// reader, and a byte-order mark past the file's start is text to it.
#pragma once

#include <QByteArrayView>

#include <vector>

struct IniLine {
    // Where the line starts in the text, and its length.
    qsizetype start = 0;
    qsizetype size = 0;
    // Of the first "=" outside quotes, from the line's start; -1 for none.
    qsizetype equals = -1;
    // A quote still open at the line's end.
    bool quoteLeftOpen = false;
    // A line break the reader took into the line, within quotes or after
    // a backslash: lines run together.
    bool holdsLineBreak = false;
    // A backslash as the text's last byte, with nothing left to take.
    bool endsInBackslash = false;
};

// The lines of `text` (after the file's byte-order mark) in order.
std::vector<IniLine> SplitIniLines(QByteArrayView text);
