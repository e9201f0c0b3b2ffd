// The small up-down arrow pair that sits beside a number edit of a
// dialog: each press (held, it repeats) reports one step, +1 for the up
// arrow and -1 for the down arrow. What a step does is the dialog's.
#pragma once

#include <QWidget>

class QToolButton;

class CUpDownButtons : public QWidget {
    Q_OBJECT
public:
    // Named after its dialog control id.
    CUpDownButtons(int id, QWidget* parent = nullptr);

    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

Q_SIGNALS:
    void Stepped(int step);

private:
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
};
