#include "CMainFrame.h"

#include "platform/LogFont.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vek"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    InstallFontSubstitutions();

    CMainFrame frame;
    frame.show();

    // For smoke tests: quit after the given number of milliseconds.
    const QByteArray quitAfter = qgetenv("VEK_QUIT_AFTER_MS");
    if (!quitAfter.isEmpty()) QTimer::singleShot(quitAfter.toInt(), &app, &QApplication::quit);
    return app.exec();
}
