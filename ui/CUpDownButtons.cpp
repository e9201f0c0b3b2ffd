#include "ui/CUpDownButtons.h"

#include <QToolButton>
#include <QVBoxLayout>

CUpDownButtons::CUpDownButtons(int id, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::number(id));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton** arrow : {&m_up, &m_down}) {
        const bool up = arrow == &m_up;
        *arrow = new QToolButton(this);
        (*arrow)->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        (*arrow)->setAutoRepeat(true);
        (*arrow)->setFixedSize(16, 11);
        connect(*arrow, &QToolButton::clicked, this, [this, up] { Q_EMIT Stepped(up ? 1 : -1); });
        layout->addWidget(*arrow);
    }
}
