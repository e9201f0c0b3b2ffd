#include "settings/ProfileSyntax.h"

#include "settings/IniLines.h"
#include "settings/IniNames.h"

#include <algorithm>

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";

// Tab and the line breaks are text; DEL is too, QSettings writes it as it
// is.
bool IsControlByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 && c != '\t' && c != '\r' && c != '\n';
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView Trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && IsBlank(text.back())) text.chop(1);
    while (!text.isEmpty() && IsBlank(text.front())) text = text.sliced(1);
    return text;
}

// A line of nothing but blanks and byte-order marks (UTF-8 or UTF-16, as
// editors leave them when joining files): the reader passes it over, and
// nothing is lost with it.
bool HoldsNoText(QByteArrayView line)
{
    static const QByteArrayView marks[] = {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    while (!line.isEmpty()) {
        if (IsBlank(line.front())) {
            line = line.sliced(1);
            continue;
        }
        const auto mark =
            std::find_if(std::begin(marks), std::end(marks), [&](QByteArrayView m) { return line.startsWith(m); });
        if (mark == std::end(marks)) return false;
        line = line.sliced(mark->size());
    }
    return true;
}

// The closing bracket of a value; one a backslash takes is text.
bool EndsWithBracket(QByteArrayView value)
{
    if (!value.endsWith(')')) return false;
    qsizetype backslashes = 0;
    while (backslashes + 1 < value.size() && value[value.size() - 2 - backslashes] == '\\') ++backslashes;
    return backslashes % 2 == 0;
}

// A value in QSettings' notation of a type ("@ByteArray(...)") ends with
// its bracket; one that does not was cut short (QSettings would take it
// for text). Its quotes, when it has them, are not the value's.
bool IsTypedValueCutShort(QByteArrayView value)
{
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) value = value.sliced(1, value.size() - 2);
    static const char* const types[] = {"@ByteArray(", "@Variant(", "@String(", "@DateTime(",
                                        "@Rect(",      "@Size(",    "@Point(",  "@Invalid("};
    for (const char* type : types)
        if (value.startsWith(type)) return !EndsWithBracket(value);
    return false;
}

// A section line's fault, or empty with `group` set to its entries'.
QString SectionFault(QByteArrayView line, QString& group)
{
    const qsizetype bracket = line.indexOf(']');
    if (bracket < 0) return QStringLiteral("no section");
    // The reader takes nothing after the bracket.
    if (!Trimmed(line.sliced(bracket + 1)).isEmpty()) return QStringLiteral("text after the section name");
    const std::optional<QString> named = IniSectionGroup(line.sliced(1, bracket - 1));
    if (!named) return QStringLiteral("a section name that is no UTF-8");
    group = *named;
    return QString();
}

// The reason the line is no sound line, or empty when it is one. `group`
// is the current section's, and a section line sets it.
QString LineFault(QByteArrayView text, const IniLine& line, QString& group)
{
    if (line.quoteLeftOpen) return QStringLiteral("a quote left open");
    if (line.holdsLineBreak) return QStringLiteral("lines run together by a quote or a backslash");
    if (line.endsInBackslash) return QStringLiteral("a backslash before the end");
    if (text.startsWith('[')) return SectionFault(text, group);
    // A comment to the Windows program; to the reader a line it passes
    // over, or an entry under a key no one asks for.
    if (text.startsWith('#')) return QString();
    if (line.equals < 0) return HoldsNoText(text) ? QString() : QStringLiteral("neither a section nor an entry");
    const std::optional<QString> key = IniUnescapedName(text.first(line.equals).trimmed());
    if (!key) return QStringLiteral("a key that is no UTF-8");
    if (!IsReachableIniKey(group + *key)) return QStringLiteral("an entry under no key the program asks for");
    if (IsTypedValueCutShort(Trimmed(text.sliced(line.equals + 1)))) return QStringLiteral("a value cut short");
    return QString();
}

// The number of the line, as an editor counts lines, that holds `at`.
int LineNumber(QByteArrayView text, qsizetype at)
{
    int number = 1;
    for (qsizetype i = 0; i < at; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++number;
    return number;
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
    const QByteArrayView text = QByteArrayView(bytes).sliced(bytes.startsWith(kUtf8Bom) ? 3 : 0);
    if (text.isEmpty()) return true;
    if (text.size() > kLargestProfile) return Fail(why, QStringLiteral("too large for a profile"));
    if (std::any_of(text.begin(), text.end(), IsControlByte)) return Fail(why, QStringLiteral("control bytes"));
    QString group;
    for (const IniLine& line : SplitIniLines(text)) {
        const QString fault = LineFault(text.sliced(line.start, line.size), line, group);
        if (!fault.isEmpty())
            return Fail(why, QStringLiteral("line %1: %2").arg(LineNumber(text, line.start)).arg(fault));
    }
    return true;
}
