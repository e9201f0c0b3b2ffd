#include "ui/CBarComboBox.h"

#include "ui/ToolbarFocus.h"

#include <QFocusEvent>
#include <QSignalBlocker>

CBarComboBox::CBarComboBox(QWidget* parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void CBarComboBox::SelectQuietly(int index)
{
    const QSignalBlocker block(this);
    setCurrentIndex(index);
}

int CBarComboBox::FindData(qint64 data) const
{
    for (int i = 0; i < count(); ++i)
        if (itemData(i).toLongLong() == data) return i;
    return -1;
}

void CBarComboBox::hidePopup()
{
    QComboBox::hidePopup();
    FocusEditingView(this);
}

void CBarComboBox::focusInEvent(QFocusEvent* event)
{
    QComboBox::focusInEvent(event);
    ToolbarControlFocusIn(this);
}

void CBarComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // Opening the list moves the focus into it; that is no leaving.
    if (event->reason() == Qt::PopupFocusReason) return;
    OnFocusLost();
    ToolbarControlFocusOut(this);
}
