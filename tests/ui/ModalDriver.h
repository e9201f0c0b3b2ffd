// Answers the modal windows a test step opens, as a user would: message
// boxes are read and closed, every other modal dialog goes to the next
// handler the test queued. A dialog nobody handles is rejected after a
// while, so a test fails instead of hanging.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>
#include <vector>

class ModalDriver : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;

    ModalDriver()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::Poll);
        m_timer.start(5);
    }

    void Then(Handler handler) { m_handlers.push_back(std::move(handler)); }
    bool Idle() const { return m_handlers.empty(); }

    std::vector<QString> messages;
    int unexpected = 0;

private:
    bool Handled(QWidget* w) const
    {
        for (const QPointer<QWidget>& p : m_handled)
            if (p == w) return true;
        return false;
    }

    void Poll()
    {
        QWidget* top = QApplication::activeModalWidget();
        if (!top || Handled(top)) {
            m_waiting.invalidate();
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(top)) {
            m_handled.push_back(top);
            messages.push_back(box->text());
            box->done(QMessageBox::Ok);
            return;
        }
        if (m_handlers.empty()) {
            if (!m_waiting.isValid()) m_waiting.start();
            if (m_waiting.elapsed() > 3000) {
                ++unexpected;
                m_handled.push_back(top);
                if (auto* dialog = qobject_cast<QDialog*>(top)) dialog->reject();
            }
            return;
        }
        m_handled.push_back(top);
        Handler handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        // Nested dialogs the handler opens go to the handlers after it.
        handler(top);
    }

    QTimer m_timer;
    QElapsedTimer m_waiting;
    std::deque<Handler> m_handlers;
    std::vector<QPointer<QWidget>> m_handled;
};
