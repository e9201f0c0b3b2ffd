#include "app/CSheetTab.h"

#include "res/StringTable.h"

#include <QFontMetrics>

namespace {
constexpr int IDS_SHEET_CAPTION = 36003;
}

QString CSheetTab::GetCaption() const
{
    QString format = LoadResString(IDS_SHEET_CAPTION);
    if (format.isEmpty()) format = QStringLiteral("页面 %d");
    return QString(format).replace(QStringLiteral("%d"), QString::number(m_nNumber));
}

int CSheetTab::WidthFor(const QString& caption, const QFontMetrics& metrics)
{
    return metrics.horizontalAdvance(caption) + 16;
}

QPolygon CSheetTab::GetShape() const
{
    QPolygon shape;
    shape << QPoint(m_rect.left - 4, m_rect.top) << QPoint(m_rect.left + 4, m_rect.bottom)
          << QPoint(m_rect.right - 4, m_rect.bottom) << QPoint(m_rect.right + 4, m_rect.top);
    return shape;
}

bool CSheetTab::HitTest(const CPoint& point) const
{
    return GetShape().containsPoint(QPoint(point.x, point.y), Qt::OddEvenFill);
}
