#include "ui/CLocalEnterKeys.h"

#include <QDialog>
#include <QKeyEvent>

CLocalEnterKeys::CLocalEnterKeys(QDialog* dialog, std::initializer_list<QWidget*> fields)
    : QObject(dialog), m_dialog(dialog), m_fields(fields.begin(), fields.end())
{
    dialog->installEventFilter(this);
}

// The field has done its part and passed the key on; the dialog would
// press its default button with it.
bool CLocalEnterKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_dialog || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    const QWidget* focus = m_dialog->focusWidget();
    for (const QPointer<QWidget>& field : m_fields) {
        if (field && field.data() == focus) {
            event->accept();
            return true;
        }
    }
    return false;
}
