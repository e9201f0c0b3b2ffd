#include "settings/CWindowPlacement.h"

#include <QStringList>
#include <QVariant>

#include <cstdlib>

QString CWindowPlacement::ProfileKey()
{
    return QStringLiteral("Settings/WindowPos");
}

bool CWindowPlacement::Parse(const QString& text, CWindowPlacement* placement)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != 10) return false;
    int values[10];
    for (int i = 0; i < 10; ++i) {
        bool ok = false;
        values[i] = fields[i].trimmed().toInt(&ok);
        if (!ok || (i < 2 && values[i] < 0)) return false;
        if (i >= 2 && std::llabs(static_cast<long long>(values[i])) > kFarthestPixel) return false;
    }
    CWindowPlacement wp;
    wp.flags = UINT(values[0]);
    wp.showCmd = UINT(values[1]);
    wp.ptMinPosition = CPoint(values[2], values[3]);
    wp.ptMaxPosition = CPoint(values[4], values[5]);
    wp.rcNormalPosition = CRect(values[6], values[7], values[8], values[9]);
    // A window without area cannot be what was stored.
    if (wp.rcNormalPosition.IsRectEmpty()) return false;
    *placement = wp;
    return true;
}

bool CWindowPlacement::FromProfileValue(const QVariant& value, CWindowPlacement* placement)
{
    const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                                   : value.toString();
    return !text.isEmpty() && Parse(text, placement);
}

QString CWindowPlacement::Format() const
{
    return QString::asprintf("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showCmd, ptMinPosition.x, ptMinPosition.y,
                             ptMaxPosition.x, ptMaxPosition.y, rcNormalPosition.left, rcNormalPosition.top,
                             rcNormalPosition.right, rcNormalPosition.bottom);
}
