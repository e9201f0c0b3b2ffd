// What the fuzz target of the main window's profile does with one input;
// the fuzzer and the replay tests of its findings both call it.
#pragma once

#include "FuzzSupport.h"

#include "settings/CWindowPlacement.h"
#include "shell/CMainFrame.h"
#include "shell/CVEKApp.h"

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <optional>

namespace fuzz {

// A widgets application: the main window is made on it.
inline void StartWidgets()
{
    StartApplication<QApplication>();
}

// Configuration and data folders of their own while this lives, in memory
// where /dev/shm exists, for the main window's settings files: a new pair
// for each input, so that nothing a start keeps (a damaged copy) or a
// settings cache carries over to the next. The environment is put back.
class ProgramHome {
public:
    ProgramHome()
        : m_home(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/vek-fuzz-home-XXXXXX")
                                                           : QDir::tempPath() + QStringLiteral("/vek-fuzz-home-XXXXXX"))
    {
        if (!m_home.isValid()) throw std::runtime_error("cannot make the configuration folder");
        Point("XDG_CONFIG_HOME", QStringLiteral("config"), &m_config);
        Point("XDG_DATA_HOME", QStringLiteral("data"), &m_data);
    }
    ~ProgramHome()
    {
        Restore("XDG_CONFIG_HOME", m_config);
        Restore("XDG_DATA_HOME", m_data);
    }
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;

private:
    void Point(const char* variable, const QString& folder, std::optional<QByteArray>* before)
    {
        if (qEnvironmentVariableIsSet(variable)) *before = qgetenv(variable);
        qputenv(variable, QFile::encodeName(m_home.filePath(folder)));
    }
    static void Restore(const char* variable, const std::optional<QByteArray>& before)
    {
        if (before) qputenv(variable, *before);
        else qunsetenv(variable);
    }

    QTemporaryDir m_home;
    std::optional<QByteArray> m_config;
    std::optional<QByteArray> m_data;
};

// "Vek.ini" as the start reads it: the main window is made on the input as
// its profile, which checks the profile's syntax, then restores the window
// placement ("WindowPos" under "Settings") and the bar layout ("BarState"
// and "StatusBar" under "General") onto the window. A layout that would
// hold the start up holds the target up, and is found as a timeout.
// A placement that reads must format and read back the same; damage the
// start tells of leaves a copy of the profile; the layout the window then
// has is one its own check takes.
inline bool WindowPos(const std::string& bytes)
{
    StartWidgets();
    {
        const InputFile file(bytes, ".ini");
        const QSettings profile(file.Path(), QSettings::IniFormat);
        CWindowPlacement placement;
        if (CWindowPlacement::FromProfileValue(profile.value(CWindowPlacement::ProfileKey()), &placement)) {
            CWindowPlacement again;
            if (!CWindowPlacement::Parse(placement.Format(), &again))
                throw Broken("a formatted placement cannot be read back");
            if (again.flags != placement.flags || again.showCmd != placement.showCmd ||
                again.ptMinPosition != placement.ptMinPosition || again.ptMaxPosition != placement.ptMaxPosition ||
                again.rcNormalPosition != placement.rcNormalPosition)
                throw Broken("a formatted placement reads back different");
        }
    }

    const ProgramHome home;
    const QString path = CVEKApp::ProfilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        throw std::runtime_error("cannot write the input file");
    file.close();
    const CMainFrame frame;
    if (!frame.StartWarnings().isEmpty() && !QFile::exists(path + QStringLiteral(".damaged")))
        throw Broken("damage was told but the profile was not kept");
    QString why;
    if (!frame.BarLayoutCheck().IsSound(frame.saveState(CMainFrame::kBarStateVersion), CMainFrame::kBarStateVersion,
                                        &why))
        throw Broken("the window's own bar layout is refused: " + why.toStdString());
    return frame.StartWarnings().isEmpty();
}

} // namespace fuzz
