#include "settings/ProfileSyntax.h"

#include <QByteArrayList>

#include <algorithm>

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

bool IsControlByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b < 0x20 && c != '\t' && c != '\r' && c != '\n') || b == 0x7F;
}

QByteArray Trimmed(QByteArray line)
{
    // Only blanks and tabs: other bytes of the line are the text's own.
    while (!line.isEmpty() && (line.back() == ' ' || line.back() == '\t')) line.chop(1);
    qsizetype start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    return line.mid(start);
}

// How the settings reader splits a line: a quote opens and closes a quoted
// text, in which ";" and "=" are text and a line break does not end the
// line; a backslash takes the byte after it as text, a line break too;
// outside quotes ";" starts a comment.
struct LineScan {
    bool quoteLeftOpen = false;
    bool endsInBackslash = false;
    // Of the first "=" outside quotes and before any comment; -1 for none.
    qsizetype equals = -1;
    // Where the comment starts, or the length of the line without one.
    qsizetype end = 0;
};

LineScan Scan(const QByteArray& text)
{
    LineScan scan;
    bool quoted = false;
    for (; scan.end < text.size(); ++scan.end) {
        const char c = text[scan.end];
        if (c == '\\') {
            if (++scan.end == text.size()) scan.endsInBackslash = true;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ';') {
            break;
        } else if (!quoted && c == '=' && scan.equals < 0) {
            scan.equals = scan.end;
        }
    }
    scan.end = std::min(scan.end, text.size());
    scan.quoteLeftOpen = quoted;
    return scan;
}

// A value in QSettings' own notation of a type ("@ByteArray(...)") ends
// with its bracket; one that does not was cut short (QSettings would take
// it for text). Its quotes, when it has them, are not the value's.
bool IsTypedValueCutShort(QByteArray value)
{
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) value = value.mid(1, value.size() - 2);
    static const char* const types[] = {"@ByteArray(", "@Variant(", "@String(", "@DateTime(",
                                        "@Rect(",      "@Size(",    "@Point(",  "@Invalid("};
    for (const char* type : types)
        if (value.startsWith(type)) return !value.endsWith(')');
    return false;
}

// The reason the line is no sound line, or empty when it is one.
QString LineFault(const QByteArray& line)
{
    const QByteArray text = Trimmed(line);
    // The reader skips a comment to its end, quotes and all.
    if (text.isEmpty() || text.startsWith(';')) return QString();
    const LineScan scan = Scan(text);
    // Either would make the reader take the next line as part of this one.
    if (scan.quoteLeftOpen) return QStringLiteral("a quote left open");
    if (scan.endsInBackslash) return QStringLiteral("a backslash before the line break");
    if (text.startsWith('#')) return QString();
    if (text.startsWith('[')) return text.endsWith(']') && text.size() > 2 ? QString() : QStringLiteral("no section");
    if (scan.equals <= 0 || Trimmed(text.left(scan.equals)).isEmpty())
        return QStringLiteral("neither a section nor an entry");
    if (IsTypedValueCutShort(Trimmed(text.mid(scan.equals + 1, scan.end - scan.equals - 1))))
        return QStringLiteral("a value cut short");
    return QString();
}

bool Fail(QString* why, const QString& what)
{
    if (why) *why = what;
    return false;
}

} // namespace

bool IsSoundProfile(const QByteArray& bytes, QString* why)
{
    // Editors leave a byte-order mark before UTF-8 text; the reader skips it.
    const QByteArray text = bytes.startsWith(kUtf8Bom) ? bytes.mid(3) : bytes;
    if (text.isEmpty()) return true;
    if (text.size() > kLargestProfile) return Fail(why, QStringLiteral("too large for a profile"));
    for (char c : text)
        if (IsControlByte(c)) return Fail(why, QStringLiteral("control bytes"));
    int number = 0;
    for (QByteArray line : text.split('\n')) {
        ++number;
        if (line.endsWith('\r')) line.chop(1);
        // A carriage return is part of a line break only.
        const QString fault = line.contains('\r') ? QStringLiteral("a carriage return within it") : LineFault(line);
        if (!fault.isEmpty()) return Fail(why, QStringLiteral("line %1: %2").arg(number).arg(fault));
    }
    return true;
}
