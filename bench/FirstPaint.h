// The start as the user sees it end: the main window on the screen with
// its first page painted. The benchmarks of the start share it.
#pragma once

#include "shell/CMainFrame.h"

#include <QApplication>
#include <QEvent>

#include <memory>

// Notes the first paint of the editing view while it lives.
class FirstPaint : public QObject {
public:
    FirstPaint() { qApp->installEventFilter(this); }
    ~FirstPaint() override { qApp->removeEventFilter(this); }

    // Builds the main window with a new document (the settings read, the
    // bars, rulers and view built), shows it and returns once it is painted.
    static std::unique_ptr<CMainFrame> ShowMainWindow()
    {
        FirstPaint watch;
        auto frame = std::make_unique<CMainFrame>();
        frame->NewDocument();
        frame->show();
        while (!watch.m_painted) QApplication::processEvents(QEventLoop::AllEvents, 10);
        return frame;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == QStringLiteral("vekView")) m_painted = true;
        return false;
    }

private:
    bool m_painted = false;
};
