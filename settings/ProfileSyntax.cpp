#include "settings/ProfileSyntax.h"

#include <QByteArrayList>

namespace {

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

bool IsSoundLine(const QByteArray& line)
{
    const QByteArray text = Trimmed(line);
    if (text.isEmpty() || text.startsWith(';') || text.startsWith('#')) return true;
    if (text.startsWith('[')) return text.endsWith(']') && text.size() > 2;
    const qsizetype equals = text.indexOf('=');
    return equals > 0 && !Trimmed(text.left(equals)).isEmpty();
}

bool Fail(QString* why, const QString& what)
{
    if (why) *why = what;
    return false;
}

} // namespace

bool IsSoundProfile(const QByteArray& bytes, QString* why)
{
    if (bytes.isEmpty()) return true;
    if (bytes.size() > kLargestProfile) return Fail(why, QStringLiteral("too large for a profile"));
    for (char c : bytes)
        if (IsControlByte(c)) return Fail(why, QStringLiteral("control bytes"));
    if (!bytes.endsWith('\n')) return Fail(why, QStringLiteral("cut short within its last line"));
    int number = 0;
    for (QByteArray line : bytes.split('\n')) {
        ++number;
        if (line.endsWith('\r')) line.chop(1);
        // A carriage return is part of a line break only.
        if (line.contains('\r') || !IsSoundLine(line))
            return Fail(why, QStringLiteral("line %1 is neither a section nor an entry").arg(number));
    }
    return true;
}
