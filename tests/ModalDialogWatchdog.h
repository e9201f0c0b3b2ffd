// Fails the running test when a modal window stays open with nobody to
// answer it, naming the window by its title and text, and then rejects it,
// so that a test meeting a dialog it did not expect fails within seconds
// instead of waiting for a click until the run's time limit.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <string>

class ModalDialogWatchdog : public QObject {
public:
    // How long a dialog may wait for its answer.
    static constexpr int kLimitMs = 5000;

    ModalDialogWatchdog();

    // The window's class, title and the texts it shows.
    static std::string Describe(QWidget* window);

protected:
    // A watched window that hides has been answered.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Tick();
    void Watch(QWidget* window);

    QTimer m_timer;
    QPointer<QWidget> m_watched;
    // Ticks, not a clock: while the event loop is busy no tick comes, so a
    // dialog whose answer is being worked out slowly (a sanitizer build)
    // is not taken for one nobody answers.
    int m_ticks = 0;
};
