// The application: where the profile lives, the single-instance flag, the
// command line, the recent-file list and the main window's start-up order.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class CMainFrame;
class QLockFile;
class QSettings;

class CVEKApp {
public:
    static constexpr int kRecentFileCount = 4;
    // Window title, document name, new-file type, filter name, extension,
    // file type id and file type name of the document type.
    static const char* const kDocTemplateString;

    CVEKApp();
    ~CVEKApp();
    CVEKApp(const CVEKApp&) = delete;
    CVEKApp& operator=(const CVEKApp&) = delete;

    // "Vek.ini" in the user's configuration folder.
    static QString ProfilePath();
    // False when something other than a regular file (a named pipe, a
    // device, a folder) stands in the profile's place: the profile is then
    // neither read nor written, the settings in it take their defaults.
    static bool ProfileIsReadable();
    static std::unique_ptr<QSettings> OpenProfile();

    // Start-up in order: single-instance flag, command line, recent files,
    // main window (settings files, bars), the document (new or the file
    // named on the command line), title, show. False ends the program.
    bool InitInstance(const QStringList& arguments);
    int ExitInstance();

    CMainFrame* MainFrame() const { return m_mainFrame.get(); }

    // The recent-file list, newest first, at most four entries.
    QStringList RecentFiles() const;
    void AddToRecentFileList(const QString& path);

    // The file named on a command line, or empty. Options ("-x", and the
    // Windows program's "/Embedding" and the like) are passed over; any
    // other argument names the file, whether there is one or not.
    static QString FileFromArguments(const QStringList& arguments);
    // The command line as the program was given it. An argument that is no
    // UTF-8 is read as GBK: a file name unpacked from an archive made on
    // Windows comes in the bytes of its Chinese code page.
    static QStringList ArgumentsFromArgv(int argc, const char* const* argv);
    // Whether start-up shows the splash window: not when started for an
    // embedding or automation (the Windows program's options), not on a
    // platform without a screen (tests), and not for a timed smoke run
    // (VEK_QUIT_AFTER_MS).
    static bool WantsSplash(const QStringList& arguments, const QString& platformName, bool timedRun);

private:
    // The main window goes, and with it the application's frame.
    void ReleaseMainFrame();

    std::unique_ptr<QLockFile> m_instanceLock;
    std::unique_ptr<CMainFrame> m_mainFrame;
    bool m_firstInstance = true;
};

// The one application object while the program runs (null otherwise).
CVEKApp* TheApp();
