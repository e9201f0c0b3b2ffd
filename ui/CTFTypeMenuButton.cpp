#include "ui/CTFTypeMenuButton.h"

#include "settings/CMessageHub.h"

#include <QPainter>
#include <QPixmap>

namespace {

QIcon Sample(int value)
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    CTFTypeMenuButton::DrawTFTypeSample(p, QRect(0, 0, 16, 15), value);
    return QIcon(pixmap);
}

} // namespace

CTFTypeMenuButton::CTFTypeMenuButton(int commandId, QWidget* parent) : CPickerMenuButton(commandId, 3, parent)
{
    AddAutomaticEntry(0, QStringLiteral("自动"), Sample(0));
    for (int value = 0; value < kValueCount; ++value) AddCell(value, Sample(value), QSize(16, 15));
    RefreshIcon();
}

void CTFTypeMenuButton::DrawTFTypeSample(QPainter& p, const QRect& rect, int value)
{
    p.save();
    p.translate(rect.topLeft());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(0, 0, 15, 14);
    if (value >= 0 && value < kValueCount) {
        const int row = value / 3;
        const int column = value % 3;
        const int top = row == 0 ? 2 : (row == 1 ? 5 : 8);
        const int lengths[3] = {10, 8, 5};
        for (int i = 0; i < 3; ++i) {
            const int length = lengths[i];
            const int left = column == 0 ? 2 : (column == 1 ? (16 - length) / 2 : 14 - length);
            p.drawLine(left, top + 2 * i, left + length - 1, top + 2 * i);
        }
    }
    p.restore();
}

void CTFTypeMenuButton::SetTFType(int value, BOOL propagate)
{
    m_value = value;
    RefreshIcon();
    if (!propagate) return;
    for (CTFTypeMenuButton* b : ButtonsOfCommand<CTFTypeMenuButton>(GetCommandId()))
        if (b != this) b->SetTFType(value, FALSE);
}

void CTFTypeMenuButton::Pick(qint64 value)
{
    const int alignment = int(value);
    CMessageHub::Instance().SendTextAlignmentChange(alignment);
    SetTFType(alignment, TRUE);
}

QIcon CTFTypeMenuButton::ButtonIcon() const
{
    return Sample(m_value);
}
