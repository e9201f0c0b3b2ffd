#include "settings/IniNames.h"

#include <QStringDecoder>

#include <algorithm>
#include <utility>

namespace {

// The character that "%XX" (or "%UXXXX") at `at` stands for, and the
// length of the escape; a length of 0 when the "%" stands for itself.
std::pair<QChar, qsizetype> PercentEscape(const QString& text, qsizetype at)
{
    const bool wide = at + 1 < text.size() && text[at + 1] == QLatin1Char('U');
    const qsizetype digits = wide ? 4 : 2;
    const qsizetype first = at + (wide ? 2 : 1);
    if (first + digits > text.size()) return {QChar(), 0};
    bool ok = false;
    const ushort code = QStringView(text).sliced(first, digits).toUShort(&ok, 16);
    if (!ok) return {QChar(), 0};
    return {QChar(code), first + digits - at};
}

} // namespace

std::optional<QString> IniUnescapedName(QByteArrayView name)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(name);
    if (utf8.hasError()) return std::nullopt;
    QString result;
    result.reserve(text.size());
    for (qsizetype at = 0; at < text.size();) {
        const QChar c = text[at];
        if (c == QLatin1Char('\\')) {
            result += QLatin1Char('/');
            ++at;
            continue;
        }
        const auto [escaped, length] = c == QLatin1Char('%') ? PercentEscape(text, at) : std::pair<QChar, qsizetype>();
        result += length > 0 ? escaped : c;
        at += std::max<qsizetype>(length, 1);
    }
    return result;
}

std::optional<QString> IniSectionGroup(QByteArrayView name)
{
    const QByteArrayView trimmed = name.trimmed();
    if (trimmed.compare("general", Qt::CaseInsensitive) == 0) return QString();
    if (trimmed.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(trimmed.sliced(1)) + QLatin1Char('/');
    const std::optional<QString> group = IniUnescapedName(trimmed);
    return group ? std::optional<QString>(*group + QLatin1Char('/')) : std::nullopt;
}

bool IsReachableIniKey(const QString& key)
{
    const QLatin1Char slash('/');
    return !key.isEmpty() && !key.startsWith(slash) && !key.endsWith(slash) && !key.contains(QStringLiteral("//"));
}
