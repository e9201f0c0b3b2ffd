#include "CVEKApp.h"

#include "platform/LogFont.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

namespace {

// The standard dialogs (files, printing, message-box buttons) speak the
// program's language: Qt's own Chinese catalogue, whatever the locale.
void InstallQtTranslation(QApplication& qapp)
{
    auto* translator = new QTranslator(&qapp);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vek"));
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    InstallFontSubstitutions();
    InstallQtTranslation(qapp);

    CVEKApp app;
    // The arguments Qt has not taken for itself, in the bytes given.
    if (!app.InitInstance(CVEKApp::ArgumentsFromArgv(argc, argv))) return 1;

    // For smoke tests: quit after the given number of milliseconds.
    const QByteArray quitAfter = qgetenv("VEK_QUIT_AFTER_MS");
    if (!quitAfter.isEmpty()) QTimer::singleShot(quitAfter.toInt(), &qapp, &QApplication::closeAllWindows);

    const int result = QApplication::exec();
    app.ExitInstance();
    return result;
}
