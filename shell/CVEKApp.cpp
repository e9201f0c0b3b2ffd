#include "CVEKApp.h"

#include "CMainFrame.h"
#include "CSplashWnd.h"

#include "ApplicationIcon.h"
#include "platform/CodePage.h"
#include "platform/RegularFile.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

CVEKApp* g_app = nullptr;

const char* const kRecentSection = "Recent File List";
// "There is no file “%1”."
constexpr int kNoSuchFile = 36195;

} // namespace

const char* const CVEKApp::kDocTemplateString =
    "MorvaneVEK\n\nMorvaneVEK\nVEK Files(*.vek)\n.vek\nVEK.Document\nMorvaneVEK服装工艺单";

CVEKApp* TheApp()
{
    return g_app;
}

CVEKApp::CVEKApp()
{
    g_app = this;
}

CVEKApp::~CVEKApp()
{
    ReleaseMainFrame();
    if (g_app == this) g_app = nullptr;
}

QString CVEKApp::ProfilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("Vek.ini"));
}

bool CVEKApp::ProfileIsReadable()
{
    const QString path = ProfilePath();
    return IsRegularFile(path) || !QFileInfo(path).exists();
}

std::unique_ptr<QSettings> CVEKApp::OpenProfile()
{
    const QString path = ProfilePath();
    if (ProfileIsReadable() || QFileInfo(path).isDir())
        return std::make_unique<QSettings>(path, QSettings::IniFormat);
    // Reading a named pipe waits for a writer that may never come, and a
    // device may never end. A path beneath such a file can be neither read
    // nor made: the profile reads as empty and nothing is written over
    // what stands there. (A folder QSettings refuses by itself.)
    return std::make_unique<QSettings>(path + QLatin1Char('/') + QFileInfo(path).fileName(), QSettings::IniFormat);
}

QString CVEKApp::FileFromArguments(const QStringList& arguments)
{
    // Options of the Windows program ("/Embedding", "/dde") have no meaning
    // here, but an absolute path also starts with a slash.
    static const QRegularExpression windowsOption(QStringLiteral("^/[A-Za-z]+$"));
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a.isEmpty() || QFileInfo::exists(a)) return a;
        if (a.startsWith(QLatin1Char('-')) || windowsOption.match(a).hasMatch()) continue;
        return a;
    }
    return QString();
}

QStringList CVEKApp::ArgumentsFromArgv(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc && argv[i]; ++i) {
        const QByteArray bytes(argv[i]);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        arguments << (utf8.hasError() ? GbkToQString(bytes.toStdString()) : text);
    }
    return arguments;
}

bool CVEKApp::WantsSplash(const QStringList& arguments, const QString& platformName, bool timedRun)
{
    if (timedRun) return false;
    if (platformName == QLatin1String("offscreen") || platformName == QLatin1String("minimal")) return false;
    for (int i = 1; i < arguments.size(); ++i) {
        QString option = arguments[i];
        if (!option.startsWith(QLatin1Char('/')) && !option.startsWith(QLatin1Char('-'))) continue;
        while (option.startsWith(QLatin1Char('/')) || option.startsWith(QLatin1Char('-'))) option.remove(0, 1);
        if (option.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0 ||
            option.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

bool CVEKApp::InitInstance(const QStringList& arguments)
{
    // Every window of the program shows its icon.
    QApplication::setWindowIcon(ApplicationIcon());
    // A second instance starts normally; the flag only tells it apart.
    const QString lockPath =
        QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation)).filePath(QStringLiteral("vek-instance.lock"));
    m_instanceLock = std::make_unique<QLockFile>(lockPath);
    m_instanceLock->setStaleLockTime(0);
    m_firstInstance = m_instanceLock->tryLock(0);

    // Up before the main window is built; it goes by itself after its time.
    CSplashWnd::EnableSplashScreen(
        WantsSplash(arguments, QGuiApplication::platformName(), qEnvironmentVariableIsSet("VEK_QUIT_AFTER_MS")));
    CSplashWnd::ShowSplashScreen(nullptr);

    m_mainFrame = std::make_unique<CMainFrame>();
    const QString file = FileFromArguments(arguments);
    if (!file.isEmpty()) {
        // A name that names no file is told as such, not taken for a
        // request of an empty document.
        if (!QFileInfo::exists(file)) {
            QMessageBox::critical(m_mainFrame.get(), LoadResString(Ids::IDS_APP_TITLE),
                                  LoadResString(kNoSuchFile).arg(QDir::toNativeSeparators(file)));
            return false;
        }
        if (!m_mainFrame->OpenDocumentFile(file)) return false;
    } else {
        m_mainFrame->NewDocument();
    }
    m_mainFrame->setWindowTitle(LoadResString(Ids::IDS_APP_TITLE));
    m_mainFrame->show();
    // The splash came first; the main window must not cover it.
    if (CSplashWnd* splash = CSplashWnd::Current()) splash->raise();
    m_mainFrame->setAcceptDrops(true);
    return true;
}

int CVEKApp::ExitInstance()
{
    ReleaseMainFrame();
    if (m_instanceLock && m_firstInstance) m_instanceLock->unlock();
    return 0;
}

QStringList CVEKApp::RecentFiles() const
{
    auto profile = OpenProfile();
    profile->beginGroup(QString::fromLatin1(kRecentSection));
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString f = profile->value(QStringLiteral("File%1").arg(i)).toString();
        if (!f.isEmpty()) files << f;
    }
    return files;
}

void CVEKApp::AddToRecentFileList(const QString& path)
{
    QStringList files = RecentFiles();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files.removeAll(absolute);
    files.prepend(absolute);
    while (files.size() > kRecentFileCount) files.removeLast();
    auto profile = OpenProfile();
    profile->beginGroup(QString::fromLatin1(kRecentSection));
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size()) profile->setValue(key, files[i - 1]);
        else profile->remove(key);
    }
}

void CVEKApp::ReleaseMainFrame()
{
    m_mainFrame.reset();
}
