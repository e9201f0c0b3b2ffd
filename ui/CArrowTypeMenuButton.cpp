#include "ui/CArrowTypeMenuButton.h"

#include "settings/CMessageHub.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace {

QIcon Sample(bool start, int kind)
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    CArrowTypeMenuButton::DrawArrowTypeSample(p, QRect(0, 0, 16, 15), start, kind);
    return QIcon(pixmap);
}

} // namespace

CArrowTypeMenuButton::CArrowTypeMenuButton(int commandId, QWidget* parent) : CPickerMenuButton(commandId, 2, parent)
{
    // This family's popup always shows its automatic entry.
    SetShowAutomatic(true);
    AddAutomaticEntry(0, QStringLiteral("自动"), Sample(IsStart(), 0));
    for (int kind = 0; kind < kKindCount; ++kind) AddCell(kind, Sample(IsStart(), kind), QSize(16, 15));
    RefreshIcon();
}

void CArrowTypeMenuButton::DrawArrowTypeSample(QPainter& p, const QRect& rect, bool start, int kind)
{
    p.save();
    p.translate(rect.topLeft());
    // Drawn as the end picture; the start picture is its mirror image.
    if (start) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const int tip = 15;
    const int barEnd = kind == 0 ? tip : (kind == 2 ? tip - 1 : tip - 5);
    p.drawRect(1, 6, barEnd - 1, 3);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (kind) {
    case 1:
        p.drawPolygon(QPolygonF({QPointF(tip + 0.5, 7.5), QPointF(tip - 6, 3), QPointF(tip - 6, 12)}));
        break;
    case 2:
        p.setPen(QPen(Qt::black, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(tip - 6, 2.5), QPointF(tip, 7.5), QPointF(tip - 6, 12.5)}));
        break;
    case 3:
        p.drawPolygon(QPolygonF({QPointF(tip + 0.5, 7.5), QPointF(tip - 8, 2), QPointF(tip - 5, 7.5),
                                 QPointF(tip - 8, 13)}));
        break;
    default:
        break;
    }
    p.restore();
}

void CArrowTypeMenuButton::SetArrowType(int kind, BOOL propagate)
{
    m_kind = kind;
    RefreshIcon();
    if (!propagate) return;
    for (CArrowTypeMenuButton* b : ButtonsOfCommand<CArrowTypeMenuButton>(GetCommandId()))
        if (b != this) b->SetArrowType(kind, FALSE);
}

void CArrowTypeMenuButton::Pick(qint64 value)
{
    const int kind = int(value);
    CMessageHub::Instance().SendArrowTypeChange(kind, GetCommandId());
    SetArrowType(kind, TRUE);
}

QIcon CArrowTypeMenuButton::ButtonIcon() const
{
    return Sample(IsStart(), m_kind);
}
