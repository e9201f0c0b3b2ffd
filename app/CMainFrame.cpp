#include "CMainFrame.h"

#include "CPageArea.h"
#include "CSystemSettings.h"
#include "CVEKApp.h"
#include "CVEKDoc.h"

#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

namespace {

// "Name(*.a)|*.a|All(*.*)|*.*|" as the file dialogs of Qt take it.
QString QtFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

QString DocumentFolder()
{
    const std::string& setting = Settings().m_strDocumentFolder;
    QString folder = setting.empty() ? QString() : QFileInfo(GbkToQString(setting)).path();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder;
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_doc(std::make_unique<CVEKDoc>())
{
    setWindowTitle(LoadResString(Ids::IDS_APP_TITLE));
    LoadSettingsFiles();

    m_pageArea = new CPageArea(m_doc.get(), this);
    setCentralWidget(m_pageArea);
    CreateMenus();
    statusBar()->showMessage(QString());
    connect(m_doc.get(), &CVEKDoc::ContentReplaced, this, &CMainFrame::UpdateCommandStates);

    m_backupTimer = new QTimer(this);
    connect(m_backupTimer, &QTimer::timeout, this, &CMainFrame::OnBackupTimer);
    m_backupTimer->start(std::max(1, Settings().m_nBackupMinutes) * 60000);
    resize(1024, 768);
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::LoadSettingsFiles()
{
    CSystemSettings& s = Settings();
    s.SetDefaults();
    QString warning;
    QStringList problems;
    if (!s.LoadConfigFile(CSystemSettings::ConfigFilePath(), &warning))
        problems << QStringLiteral("Config.dat: %1").arg(warning);
    warning.clear();
    if (!s.LoadLineTypeFile(CSystemSettings::LineTypeFilePath(), &warning))
        problems << QStringLiteral("LineType.dat: %1").arg(warning);
    if (s.m_strDocumentFolder.empty())
        s.m_strDocumentFolder =
            QStringToGbk(QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("*.vek")));
    if (s.m_strLibraryFolder.empty())
        s.m_strLibraryFolder =
            QStringToGbk(QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("*.vkl")));
    if (!problems.isEmpty()) {
        qWarning("damaged settings file, defaults used: %s", qPrintable(problems.join(QStringLiteral("; "))));
        statusBar()->showMessage(problems.join(QStringLiteral("; ")));
    }
}

bool CMainFrame::SaveSettingsFiles()
{
    QString error;
    bool ok = Settings().SaveConfigFile(CSystemSettings::ConfigFilePath(), &error);
    ok = Settings().SaveLineTypeFile(CSystemSettings::LineTypeFilePath(), &error) && ok;
    if (!ok) qWarning("settings could not be saved: %s", qPrintable(error));
    return ok;
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("新建(&N)"), QKeySequence::New, this, [this] { NewDocument(); });
    file->addAction(QStringLiteral("打开(&O)..."), QKeySequence::Open, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QString(), DocumentFolder(),
                                                          QtFilter(LoadResString(36018)));
        if (!path.isEmpty()) OpenDocumentFile(path);
    });
    file->addAction(QStringLiteral("保存(&S)"), QKeySequence::Save, this, [this] { SaveDocument(); });
    file->addAction(QStringLiteral("另存为(&A)..."), this, [this] { SaveDocumentAs(); });
    file->addSeparator();
    m_recentMenu = file->addMenu(QStringLiteral("最近的文件"));
    file->addSeparator();
    file->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    m_undoAction = edit->addAction(QStringLiteral("撤消(&U)"), QKeySequence::Undo, this, [this] { m_doc->Undo(); });
    m_redoAction = edit->addAction(QStringLiteral("重做(&R)"), QKeySequence::Redo, this, [this] { m_doc->Redo(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->addAction(QStringLiteral("关于(&A)..."), this, [this] {
        QMessageBox::about(this, LoadResString(Ids::IDS_APP_TITLE),
                           QStringLiteral("MorvaneVEK 服装工艺单软件 V1.0"));
    });
    UpdateRecentFileMenu();
    UpdateCommandStates();
}

void CMainFrame::UpdateRecentFileMenu()
{
    m_recentMenu->clear();
    const QStringList files = TheApp() ? TheApp()->RecentFiles() : QStringList();
    int n = 1;
    for (const QString& f : files) {
        m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QDir::toNativeSeparators(f)), this,
                                [this, f] { OpenDocumentFile(f); });
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

void CMainFrame::UpdateCommandStates()
{
    if (m_undoAction) m_undoAction->setEnabled(m_doc->CanUndo());
    if (m_redoAction) m_redoAction->setEnabled(m_doc->CanRedo());
    if (m_pageArea) m_pageArea->update();
}

void CMainFrame::ShowError(int messageId)
{
    QMessageBox::critical(this, LoadResString(Ids::IDS_APP_TITLE), LoadResString(messageId));
}

bool CMainFrame::NewDocument()
{
    return m_doc->OnNewDocument();
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    switch (m_doc->OnOpenDocument(path)) {
    case CVEKDoc::LoadResult::Ok:
        if (TheApp()) TheApp()->AddToRecentFileList(path);
        UpdateRecentFileMenu();
        return true;
    case CVEKDoc::LoadResult::CannotOpen:
        ShowError(Ids::IDS_CANNOT_OPEN);
        return false;
    case CVEKDoc::LoadResult::Damaged:
        ShowError(Ids::IDS_BAD_FILE);
        return false;
    }
    return false;
}

QString CMainFrame::AskSavePath()
{
    const CSystemSettings& s = Settings();
    const QString archive = GbkToQString(s.m_strArchiveFolder);
    QString start = m_doc->GetPathName();
    if (start.isEmpty()) start = QDir(DocumentFolder()).filePath(QStringLiteral("未命名.vek"));
    for (;;) {
        QString path = QFileDialog::getSaveFileName(this, QString(), start, QtFilter(LoadResString(36018)));
        if (path.isEmpty()) return QString();
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".vek");
        if (!s.m_bArchiveOnly || CVEKDoc::IsInsideFolder(path, archive)) return path;
        QMessageBox::critical(nullptr, LoadResString(Ids::IDS_APP_TITLE), LoadResString(Ids::IDS_SAVE_TO_ARCHIVE_DIR));
        start = path;
    }
}

bool CMainFrame::SaveTo(const QString& path)
{
    QString error;
    if (!m_doc->OnSaveDocument(path, &error)) {
        QMessageBox::critical(this, LoadResString(Ids::IDS_APP_TITLE), error);
        return false;
    }
    if (TheApp()) TheApp()->AddToRecentFileList(path);
    UpdateRecentFileMenu();
    return true;
}

bool CMainFrame::SaveDocument()
{
    const QString path = m_doc->GetPathName();
    const CSystemSettings& s = Settings();
    const bool allowed = !s.m_bArchiveOnly || CVEKDoc::IsInsideFolder(path, GbkToQString(s.m_strArchiveFolder));
    if (path.isEmpty() || !allowed) return SaveDocumentAs();
    return SaveTo(path);
}

bool CMainFrame::SaveDocumentAs()
{
    const QString path = AskSavePath();
    return !path.isEmpty() && SaveTo(path);
}

void CMainFrame::OnBackupTimer()
{
    const CSystemSettings& s = Settings();
    if (!s.m_bAutoBackup || s.m_bBackupEveryStep) return;
    QString error;
    if (!m_doc->WriteBackupFile(&error)) statusBar()->showMessage(error);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_backupTimer->stop();
    SaveSettingsFiles();
    event->accept();
}
