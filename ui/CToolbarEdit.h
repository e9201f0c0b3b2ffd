// A value box of the context tool bar standing for one command: the dash
// and gap lengths (ID_PARAM_1 to ID_PARAM_6) and the offset distance
// (ID_OFFSET_DISTANCE) in the work unit, the arrowhead angles
// (ID_START_ARROW_ANGLE, ID_END_ARROW_ANGLE) in whole degrees. Every
// accepted keystroke, Enter and leaving the box send the value to the view
// as "VEK_LINEPARAMCHANGE"; the view decides what it accepts.
#pragma once

#include <QLineEdit>

class CToolbarEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CToolbarEdit(int commandId, QWidget* parent = nullptr);

    int GetCommandId() const { return m_commandId; }
    // Whether the box holds an angle rather than a length.
    bool IsAngle() const;
    // The value of the text: page units for lengths, degrees for angles.
    int Value() const;
    // Sends the value; returns the view's answer (1 taken, 0 refused).
    int SendValue();
    // Shows a value without sending it.
    void SetValueText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    static bool IsAcceptedCharacter(QChar c);
    int m_commandId;
};
