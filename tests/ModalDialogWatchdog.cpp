#include "ModalDialogWatchdog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QStringList>

namespace {

constexpr int kTickMs = 250;

QString ShownTexts(QWidget* window)
{
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        QStringList texts{box->text()};
        if (!box->informativeText().isEmpty()) texts << box->informativeText();
        return texts.join(QStringLiteral(" / "));
    }
    QStringList texts;
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->isVisibleTo(window) && !label->text().isEmpty()) texts << label->text();
    return texts.join(QStringLiteral(" / "));
}

} // namespace

ModalDialogWatchdog::ModalDialogWatchdog()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalDialogWatchdog::Tick);
    m_timer.start(kTickMs);
}

std::string ModalDialogWatchdog::Describe(QWidget* window)
{
    return QStringLiteral("%1 \"%2\": \"%3\"")
        .arg(QString::fromLatin1(window->metaObject()->className()), window->windowTitle(), ShownTexts(window))
        .toStdString();
}

bool ModalDialogWatchdog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == m_watched) Watch(nullptr);
    return false;
}

void ModalDialogWatchdog::Watch(QWidget* window)
{
    if (m_watched) m_watched->removeEventFilter(this);
    m_watched = window;
    m_ticks = 0;
    if (window) window->installEventFilter(this);
}

void ModalDialogWatchdog::Tick()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != m_watched) {
        Watch(modal);
        return;
    }
    if (!modal || ++m_ticks * kTickMs < kLimitMs) return;
    ADD_FAILURE() << "A modal window waited " << kLimitMs / 1000 << " s for an answer nobody gave: "
                  << Describe(modal);
    Watch(nullptr);
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}
