#include "ui/CToolbarEdit.h"

#include "ui/ToolbarFocus.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "geometry/WorkUnits.h"
#include "res/CommandIds.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace {

// The whole number at the start of the text; anything else gives 0.
int LeadingInteger(const QString& text)
{
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit()) break;
        value = value * 10 + c.digitValue();
        if (value > 100000000) break;
    }
    return value;
}

} // namespace

CToolbarEdit::CToolbarEdit(int commandId, QWidget* parent) : QLineEdit(parent), m_commandId(commandId)
{
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QLineEdit::textEdited, this, [this] { SendValue(); });
}

bool CToolbarEdit::IsAngle() const
{
    return m_commandId == ID_START_ARROW_ANGLE || m_commandId == ID_END_ARROW_ANGLE;
}

int CToolbarEdit::Value() const
{
    if (IsAngle()) return LeadingInteger(text());
    return ParseLength(text().toStdString(), 100, Settings().m_nWorkUnit);
}

int CToolbarEdit::SendValue()
{
    return CMessageHub::Instance().SendLineParamChange(m_commandId, Value());
}

void CToolbarEdit::SetValueText(const QString& text)
{
    const QSignalBlocker block(this);
    setText(text);
}

bool CToolbarEdit::IsAcceptedCharacter(QChar c)
{
    return c.isDigit() || c == QLatin1Char(' ') || c == QLatin1Char('"') || c == QLatin1Char('\'') ||
           c == QLatin1Char('.') || c == QLatin1Char('/');
}

void CToolbarEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        SendValue();
        ToolbarControlFocusOut(this);
        return;
    }
    // Characters outside the length and angle notation never reach the
    // text; editing and moving keys work as usual.
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier)) {
        for (QChar c : typed)
            if (!IsAcceptedCharacter(c)) return;
    }
    QLineEdit::keyPressEvent(event);
}

void CToolbarEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    ToolbarControlFocusIn(this);
}

void CToolbarEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason) return;
    SendValue();
    ToolbarControlFocusOut(this);
}
