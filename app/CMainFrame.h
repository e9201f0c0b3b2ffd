// The main window: menus, the page area, the status bar, the settings files
// read at creation and written at close, and the interval backup timer.
#pragma once

#include <QMainWindow>

#include <memory>

class CPageArea;
class CVEKDoc;
class QAction;
class QMenu;
class QTimer;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CVEKDoc* GetDocument() const { return m_doc.get(); }

    bool NewDocument();
    // Opens a file, telling the user when it cannot be read; the document
    // stays as it was then.
    bool OpenDocumentFile(const QString& path);
    bool SaveDocument();
    bool SaveDocumentAs();

    // The settings files: read at creation, written at close. Damaged files
    // give the defaults and a warning in the status bar.
    void LoadSettingsFiles();
    bool SaveSettingsFiles();

    // The interval backup; does nothing in the every-step mode.
    void OnBackupTimer();
    QTimer* BackupTimer() const { return m_backupTimer; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void UpdateRecentFileMenu();
    void UpdateCommandStates();
    QString AskSavePath();
    bool SaveTo(const QString& path);
    void ShowError(int messageId);

    std::unique_ptr<CVEKDoc> m_doc;
    CPageArea* m_pageArea = nullptr;
    QTimer* m_backupTimer = nullptr;
    QMenu* m_recentMenu = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
};
