#include "CMainFrame.h"

#include "library/tool/CHpglImport.h"
#include "CMainToolBar.h"
#include "settings/CMessageHub.h"
#include "app/CRulerBar.h"
#include "settings/CSettingsFiles.h"
#include "CSplashWnd.h"
#include "CToolTable.h"
#include "settings/CSystemSettings.h"
#include "CVEKApp.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"

#include "ui/CArrowTypeMenuButton.h"
#include "ui/CCharsetComboBox.h"
#include "ui/CColorMenuButton.h"
#include "ui/CEndArrowAngleCombo.h"
#include "ui/CFillTypeCombo.h"
#include "ui/CFontNameCombo.h"
#include "ui/CFontSizeCombo.h"
#include "ui/CLineTypeCombo.h"
#include "ui/CStartArrowAngleCombo.h"
#include "ui/CSystemColorsDlg.h"
#include "ui/CSystemSetupSheet.h"
#include "ui/CTFTypeMenuButton.h"
#include "ui/CToolbarCombo.h"
#include "ui/CToolbarEdit.h"
#include "ui/CPrintSetupDlg.h"
#include "ui/CVEKColorDialog.h"
#include "app/CommandIcons.h"
#include "app/IconStrokes.h"

#include "ApplicationIcon.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QDesktopServices>
#include <QDockWidget>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {

// "The window placement in %1 is damaged".
constexpr int kProfileDamaged = 36192;
// "These settings in %1 are damaged: %2".
constexpr int kProfileFieldsDamaged = 36191;
// "The settings file “%1” is damaged; the default settings are used."
constexpr int kSettingsDamaged = 36190;
constexpr int kIdleUpdateMs = 250;

struct CommandText {
    int id;
    const char* text;
};

// The frame's own commands.
const CommandText kCommandTexts[] = {
    {ID_FILE_NEW, "新建(&N)"}, {ID_FILE_OPEN, "打开(&O)..."}, {ID_FILE_SAVE, "保存(&S)"},
    {ID_FILE_SAVE_AS, "另存为(&A)..."}, {ID_IMPORT_HPGL, "输入HPGL文件(&H)"}, {ID_APP_EXIT, "退出(&X)"},
    {ID_APP_ABOUT, "关于(&A)..."},
    {ID_VIEW_TOOLBAR, "标准工具栏"}, {ID_VIEW_DESIGN_BAR, "设计工具栏"}, {ID_VIEW_STATUS_BAR, "状态栏"},
    {ID_VIEW_RULERS, "标尺"}, {ID_AUTO_SNAP, "自动吸附"}, {ID_VALUE_DIALOGS, "启用定量对话框"},
    {ID_SYSTEM_COLORS, "设置系统颜色"}, {ID_SYSTEM_SETTINGS, "系统设置"}, {ID_FILE_PRINT_SETUP, "打印设置(&R)..."},
    {ID_HELP_FINDER, "帮助主题(&H)"}, {ID_HELP, "帮助"}, {ID_CONTEXT_HELP, "这是什么?"}, {ID_NEXT_PANE, "下一窗格"},
};


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

// The nearest folder that exists at or above `folder`: a file dialog given
// a folder that is not there types its name into the file-name box.
QString ExistingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder) return QDir::homePath();
        folder = parent;
    }
    return folder;
}

QString DocumentFolder()
{
    const std::string& setting = Settings().m_strDocumentFolder;
    QString folder = setting.empty() ? QString() : QFileInfo(GbkToQString(setting)).path();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // An account need not have a documents folder.
    return ExistingFolder(folder);
}

QSize ScreenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1024, 768);
}

// The settings colour that goes with a colour picker's command.
COLORREF* ColorOfCommand(int commandId)
{
    CSystemSettings& s = Settings();
    switch (commandId) {
    case ID_LINE_COLOR: return &s.m_crLineDialogColor;
    case ID_FONT_COLOR: return &s.m_crFontColor;
    case ID_CELL_COLOR: return &s.m_crCellBackColor;
    case ID_GRADIENT_START: return &s.m_crGradientStart;
    case ID_GRADIENT_END: return &s.m_crGradientEnd;
    default: return nullptr;
    }
}

} // namespace

// --- Construction -----------------------------------------------------------

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_doc(std::make_unique<CVEKDoc>())
{
    setWindowTitle(LoadResString(Ids::IDS_APP_TITLE));
    setAcceptDrops(true);
    // Every bar is built from the loaded settings.
    LoadSettingsFiles();

    // The view comes first: the menus and bars hold its actions.
    CreateCentralArea();
    CreateActions();
    AdoptViewActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    CreateDesignBar();
    RestorePlacementAndBars();
    ApplyRulerVisibility();

    m_backupTimer = new QTimer(this);
    connect(m_backupTimer, &QTimer::timeout, this, &CMainFrame::OnBackupTimer);
    m_backupTimer->start(BackupIntervalMs());

    m_idleTimer = new QTimer(this);
    connect(m_idleTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    m_idleTimer->start(kIdleUpdateMs);
    connect(m_doc.get(), &CVEKDoc::ContentReplaced, this, [this] {
        UpdateRulerUnits();
        if (auto* h = qobject_cast<CRulerBar*>(m_wndHRuler)) h->update();
        if (auto* v = qobject_cast<CRulerBar*>(m_wndVRuler)) v->update();
        UpdateCommandUI();
    });
    UpdateRulerUnits();
    UpdateCommandUI();

    ShowStartWarnings();
    CSplashWnd::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame()
{
    // The view refers to the document; it goes first.
    delete m_view;
    m_view = nullptr;
}

QAction* CMainFrame::CommandAction(int commandId) const
{
    if (QAction* own = m_actions.value(commandId)) return own;
    return m_view ? m_view->CommandAction(commandId) : nullptr;
}

QList<QAction*> CMainFrame::Actions(std::initializer_list<UINT> commandIds) const
{
    QList<QAction*> list;
    for (UINT id : commandIds)
        if (QAction* a = CommandAction(int(id))) list << a;
    return list;
}

QAction* CMainFrame::AddAction(int commandId, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setData(commandId);
    QString tip = text;
    tip.remove(QLatin1Char('&'));
    tip.remove(QStringLiteral("..."));
    action->setToolTip(tip);
    action->setIcon(CommandIcon(commandId));
    connect(action, &QAction::triggered, this, [this, commandId] { RouteCommand(commandId); });
    m_actions.insert(commandId, action);
    return action;
}

void CMainFrame::CreateActions()
{
    for (const CommandText& c : kCommandTexts) AddAction(c.id, QString::fromUtf8(c.text));
    const struct {
        int id;
        QKeySequence keys;
    } shortcuts[] = {
        {ID_FILE_NEW, QKeySequence::New},
        {ID_FILE_OPEN, QKeySequence::Open},
        {ID_FILE_SAVE, QKeySequence::Save},
        {ID_HELP, QKeySequence(Qt::Key_F1)},
        {ID_CONTEXT_HELP, QKeySequence(Qt::SHIFT | Qt::Key_F1)},
        {ID_NEXT_PANE, QKeySequence(Qt::Key_F6)},
    };
    for (const auto& s : shortcuts) m_actions.value(s.id)->setShortcut(s.keys);
    // Keys without a menu entry act anywhere in the window.
    for (int id : {ID_HELP, ID_CONTEXT_HELP, ID_NEXT_PANE}) addAction(m_actions.value(id));
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_DESIGN_BAR, ID_VIEW_STATUS_BAR, ID_VIEW_RULERS, ID_AUTO_SNAP,
                   ID_VALUE_DIALOGS})
        m_actions.value(id)->setCheckable(true);
}

// The view updates its own actions after its commands; the frame's
// indicator (table matching) and bar toggles follow at once too. The
// view's handler was connected first, so this runs after the command.
void CMainFrame::AdoptViewActions()
{
    if (!m_view) return;
    for (const CVEKView::CommandEntry& c : m_view->Commands())
        if (QAction* a = m_view->CommandAction(int(c.id)))
            connect(a, &QAction::triggered, this, &CMainFrame::UpdateCommandUI);
    // The table-matching switch is in no menu; its F2 must still act
    // anywhere in the window.
    if (QAction* matching = m_view->CommandAction(int(ID_TABLE_MATCHING))) addAction(matching);
}

void CMainFrame::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addActions(Actions({ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS}));
    file->addSeparator();
    file->addActions(Actions({ID_IMPORT_HPGL}));
    file->addSeparator();
    file->addActions(Actions({ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP,
                              ID_PAGE_SETUP, ID_SAVE_AS_IMAGE}));
    file->addSeparator();
    m_recentMenu = file->addMenu(QStringLiteral("最近的文件"));
    file->addSeparator();
    file->addActions(Actions({ID_APP_EXIT}));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
    edit->addActions(Actions({ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CANCEL}));
    edit->addSeparator();
    edit->addActions(Actions({ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_COPY_BITMAP}));
    edit->addSeparator();
    edit->addActions(Actions({ID_SAVE_TO_LIBRARY, ID_SAVE_AS_LINE_TYPE}));
    edit->addSeparator();
    edit->addActions(Actions({ID_OLE_INSERT_NEW, ID_OLE_DELETE, ID_OLE_SAVE_DATA}));

    QMenu* view = menuBar()->addMenu(QStringLiteral("查看(&V)"));
    view->addActions(Actions({ID_VIEW_TOOLBAR, ID_VIEW_DESIGN_BAR, ID_VIEW_STATUS_BAR, ID_VIEW_RULERS}));

    // The drawing tools, in the order of the design bar.
    QMenu* tools = menuBar()->addMenu(QStringLiteral("绘图(&D)"));
    for (const CToolDescriptor& tool : m_view->ToolRows())
        if (QAction* a = CommandAction(int(tool.command))) tools->addAction(a);

    // The commands of the table editor's menu, for the table being edited.
    QMenu* table = menuBar()->addMenu(QStringLiteral("表格(&A)"));
    table->addActions(Actions({ID_COPY_TABLE, ID_CUT_TABLE}));
    table->addSeparator();
    table->addActions(Actions({ID_MERGE_CELLS, ID_SPLIT_CELLS}));
    table->addMenu(QStringLiteral("插入行"))->addActions(Actions({ID_ROW_BEFORE, ID_ROW_AFTER}));
    table->addMenu(QStringLiteral("插入列"))->addActions(Actions({ID_COLUMN_LEFT, ID_COLUMN_RIGHT}));
    table->addActions(Actions({ID_DIAGONAL_A, ID_DIAGONAL_B}));
    table->addSeparator();
    table->addActions(Actions({ID_DELETE_ROW, ID_DELETE_COLUMN}));
    table->addSeparator();
    table->addActions(Actions({ID_TABLE_PROPERTIES}));

    QMenu* grading = menuBar()->addMenu(QStringLiteral("归号"));
    grading->addActions(Actions({ID_SIZE_INPUT, ID_OPEN_EXCEL}));
    grading->addSeparator();
    grading->addActions(Actions({ID_GRADING, ID_CONDITION_INDEX, ID_SERIAL_SORT, ID_NAME_BY_HAND,
                                 ID_NAME_AUTOMATICALLY}));

    QMenu* options = menuBar()->addMenu(QStringLiteral("选项(&O)"));
    options->addActions(Actions({ID_AUTO_SNAP, ID_VALUE_DIALOGS}));
    options->addSeparator();
    options->addActions(Actions({ID_SYSTEM_COLORS, ID_SYSTEM_SETTINGS}));

    QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
    help->addActions(Actions({ID_HELP_FINDER}));
    help->addSeparator();
    help->addActions(Actions({ID_APP_ABOUT}));
    // A menu opened between two idle passes still shows the present state.
    for (QMenu* m : {file, edit, view, tools, table, grading, options}) {
        connect(m, &QMenu::aboutToShow, this, [this] {
            UpdateCommandUI();
            if (m_view) m_view->UpdateCommandActions();
        });
    }
    UpdateRecentFileMenu();
}

bool CMainFrame::CreateToolBars()
{
    m_wndToolBar = new CMainToolBar(this);
    m_wndToolBar->setObjectName(QStringLiteral("StandardBar"));
    m_wndToolBar->setWindowTitle(LoadResString(36002));
    QHash<int, QAction*> buttons;
    for (int id : CMainToolBar::ButtonOrder())
        if (QAction* a = CommandAction(id)) buttons.insert(id, a);
    m_wndToolBar->Build(buttons);
    const QSize screen = ScreenSize();
    m_wndToolBar->SetDropHeights(ComboDropHeight(screen.height(), false), ComboDropHeight(screen.height(), true));
    connect(m_wndToolBar, &CMainToolBar::CommandTriggered, this, &CMainFrame::RunViewCommand);
    connect(m_wndToolBar, &CMainToolBar::OtherColorRequested, this, &CMainFrame::OnColorButtonDialog);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
    RebuildContextToolBar();
    return true;
}

void CMainFrame::CreateStatusBar()
{
    m_tableMatching = new QLabel(TableMatchingText(), this);
    m_tableMatching->setFrameShape(QFrame::Panel);
    m_tableMatching->setFrameShadow(QFrame::Sunken);
    statusBar()->addPermanentWidget(m_tableMatching);
}

void CMainFrame::CreateDesignBar()
{
    m_wndDesignBar = new QToolBar(LoadResString(36001), this);
    m_wndDesignBar->setObjectName(QStringLiteral("DesignBar"));
    const int size = DesignBarIconSize(DesignBarResource(ScreenSize().width()));
    m_wndDesignBar->setIconSize(QSize(size, size));
    for (const CToolDescriptor& tool : m_view->ToolRows()) {
        QAction* action = CommandAction(int(tool.command));
        if (!action) continue;
        // Pictures drawn at the bar's size stay sharp where a scaled small
        // one would blur; the menus keep choosing the small ones.
        QIcon icon = action->icon();
        const QIcon large = PictureIcon(tool.picture, size);
        for (const QSize& available : large.availableSizes()) icon.addPixmap(large.pixmap(available));
        action->setIcon(icon);
        m_wndDesignBar->addAction(action);
    }
    addToolBar(Qt::LeftToolBarArea, m_wndDesignBar);
}

void CMainFrame::CreateCentralArea()
{
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    auto* hRuler = new CRulerBar(true, central);
    auto* vRuler = new CRulerBar(false, central);
    m_wndHRuler = hRuler;
    m_wndVRuler = vRuler;
    m_rulerCorner = new QWidget(central);
    m_rulerCorner->setFixedSize(CRulerBar::kThickness, CRulerBar::kThickness);
    m_rulerCorner->setAutoFillBackground(true);
    m_rulerCorner->setBackgroundRole(QPalette::Button);
    m_view = new CVEKView(m_doc.get(), CToolTable(), this, central);
    grid->addWidget(m_rulerCorner, 0, 0);
    grid->addWidget(hRuler, 0, 1);
    grid->addWidget(vRuler, 1, 0);
    grid->addWidget(m_view, 1, 1);
    setCentralWidget(central);
    ConnectView();
}

void CMainFrame::ConnectView()
{
    auto* hRuler = static_cast<CRulerBar*>(m_wndHRuler);
    auto* vRuler = static_cast<CRulerBar*>(m_wndVRuler);
    hRuler->SetView(m_view);
    vRuler->SetView(m_view);
    connect(m_view, &CVEKView::ViewTransformChanged, this, [hRuler, vRuler](double scale, int x, int y) {
        hRuler->SetScale(scale, x);
        vRuler->SetScale(scale, y);
    });
    connect(m_view, &CVEKView::MouseMovedAt, this, [hRuler, vRuler](int x, int y) {
        hRuler->SetMarks(x, y);
        vRuler->SetMarks(x, y);
    });
    connect(m_view, &CVEKView::StatusPromptChanged, this, &CMainFrame::SetStatusText);
    hRuler->SetScale(m_view->GetScale(), m_view->GetOriginPoint().x);
    vRuler->SetScale(m_view->GetScale(), m_view->GetOriginPoint().y);
    m_view->setFocus();
}

// --- Settings files ---------------------------------------------------------

void CMainFrame::LoadSettingsFiles()
{
    CSystemSettings& s = Settings();
    m_settingsFiles = std::make_unique<CSettingsFiles>(CSystemSettings::ConfigFilePath(),
                                                       CSystemSettings::LineTypeFilePath());
    m_startWarnings << m_settingsFiles->Load(s);
    const QString profileWarning = m_settingsFiles->CheckProfile(CVEKApp::ProfilePath());
    if (!profileWarning.isEmpty()) m_startWarnings << profileWarning;
    if (s.m_strDocumentFolder.empty())
        s.m_strDocumentFolder = QStringToGbk(
            QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("*.vek")));
    if (s.m_strLibraryFolder.empty())
        s.m_strLibraryFolder = QStringToGbk(
            QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("*.vkl")));
}

void CMainFrame::ShowStartWarnings()
{
    if (m_startWarnings.isEmpty()) return;
    const QString text = m_startWarnings.join(QStringLiteral("\n"));
    qWarning("damaged settings file: %s", qPrintable(text));
    // Told once the window is up, without holding up the start.
    QTimer::singleShot(0, this, [this, text] {
        auto* box = new QMessageBox(QMessageBox::Warning, LoadResString(Ids::IDS_APP_TITLE), text, QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
}

bool CMainFrame::SaveSettingsFiles()
{
    if (!m_settingsFiles) return false;
    QString error;
    const bool ok = m_settingsFiles->Save(Settings(), &error);
    if (!ok) qWarning("settings could not be saved: %s", qPrintable(error));
    return ok;
}

// --- Commands -----------------------------------------------------------------

void CMainFrame::RouteCommand(int commandId)
{
    switch (commandId) {
    case ID_FILE_NEW:
        if (SaveModified()) NewDocument();
        break;
    case ID_FILE_OPEN:
        if (SaveModified()) {
            const QString path = QFileDialog::getOpenFileName(this, QString(), DocumentFolder(),
                                                              QtFilter(LoadResString(36018)));
            if (!path.isEmpty()) OpenDocumentFile(path);
        }
        break;
    case ID_FILE_SAVE: SaveDocument(); break;
    case ID_IMPORT_HPGL: OnImportHpgl(); break;
    case ID_FILE_SAVE_AS: SaveDocumentAs(); break;
    case ID_APP_EXIT: close(); break;
    case ID_APP_ABOUT: OnAppAbout(); break;
    case ID_HELP_FINDER:
    case ID_HELP:
    case ID_CONTEXT_HELP:
    case ID_DEFAULT_HELP: OnHelp(); break;
    case ID_FILE_PRINT_SETUP: CPrintSetupDlg::Run(this); break;
    case ID_NEXT_PANE: OnNextPane(); break;
    case ID_VIEW_TOOLBAR: m_wndToolBar->setVisible(!m_wndToolBar->isVisible()); break;
    case ID_VIEW_DESIGN_BAR: m_wndDesignBar->setVisible(!m_wndDesignBar->isVisible()); break;
    case ID_VIEW_STATUS_BAR: statusBar()->setVisible(!statusBar()->isVisible()); break;
    case ID_VIEW_RULERS: OnViewRulers(); break;
    case ID_AUTO_SNAP: OnAutoSnap(); break;
    case ID_VALUE_DIALOGS: OnValueDialogs(); break;
    case ID_SYSTEM_COLORS: OnSystemColors(); break;
    case ID_SYSTEM_SETTINGS: OnSystemSettings(); break;
    default: break;
    }
    UpdateCommandUI();
}

// The button part of a picker: the picker is a widget of its own, not the
// command's action, so it reaches the view here.
void CMainFrame::RunViewCommand(int commandId)
{
    if (m_view) m_view->OnCommand(UINT(commandId));
    UpdateCommandUI();
}

void CMainFrame::UpdateCommandUI()
{
    const CSystemSettings& s = Settings();
    auto set = [this](int id, bool enabled, int checked = -1) {
        QAction* a = m_actions.value(id);
        if (!a) return;
        a->setEnabled(enabled);
        if (checked >= 0) a->setChecked(checked != 0);
    };
    set(ID_AUTO_SNAP, true, s.m_bAutoSnap);
    set(ID_VALUE_DIALOGS, true, s.m_bValueDialogs);
    set(ID_VIEW_RULERS, true, s.m_bShowRulers);
    set(ID_VIEW_DESIGN_BAR, true, m_wndDesignBar && !m_wndDesignBar->isHidden());
    set(ID_VIEW_TOOLBAR, true, m_wndToolBar && !m_wndToolBar->isHidden());
    set(ID_VIEW_STATUS_BAR, true, !statusBar()->isHidden());
    if (m_tableMatching && m_tableMatching->text() != TableMatchingText()) m_tableMatching->setText(TableMatchingText());
}

QString CMainFrame::TableMatchingText()
{
    return LoadResString(Settings().m_bTableMatching ? 36062 : 36063);
}

void CMainFrame::OnAutoSnap()
{
    Settings().m_bAutoSnap = !Settings().m_bAutoSnap;
}

void CMainFrame::OnValueDialogs()
{
    Settings().m_bValueDialogs = !Settings().m_bValueDialogs;
}

void CMainFrame::OnViewRulers()
{
    Settings().m_bShowRulers = !Settings().m_bShowRulers;
    ApplyRulerVisibility();
}

// The rulers measure in the document's own units per millimetre (until
// there is one, in the usual 100).
void CMainFrame::UpdateRulerUnits()
{
    const CPageSet* pageSet = m_doc ? m_doc->GetPageSet() : nullptr;
    if (!pageSet) return;
    for (QWidget* w : {m_wndHRuler, m_wndVRuler})
        if (auto* ruler = qobject_cast<CRulerBar*>(w)) ruler->SetUnitsPerMm(pageSet->GetUnitsPerMM());
}

void CMainFrame::ApplyRulerVisibility()
{
    const bool show = Settings().m_bShowRulers != 0;
    for (QWidget* w : {m_wndHRuler, m_wndVRuler, m_rulerCorner})
        if (w) w->setVisible(show);
}

void CMainFrame::OnAppAbout()
{
    QMessageBox about(QMessageBox::NoIcon, LoadResString(Ids::IDS_APP_TITLE),
                      QStringLiteral("MorvaneVEK 服装工艺单软件 V1.0"), QMessageBox::Ok, this);
    about.setIconPixmap(ApplicationIcon().pixmap(kAboutIconSize));
    about.exec();
}

QString CMainFrame::HelpFilePath(const QString& programFolder)
{
    const QDir folder(programFolder);
    for (const QString& candidate : {QStringLiteral("help/index.html"), QStringLiteral("../share/doc/vek/index.html")}) {
        const QString path = QDir::cleanPath(folder.filePath(candidate));
        if (QFileInfo(path).isFile()) return path;
    }
    return QString();
}

// The help of the program where it was installed beside it; without one
// the about box says what the program is.
void CMainFrame::OnHelp()
{
    const QString path = HelpFilePath(QCoreApplication::applicationDirPath());
    if (!path.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(path))) return;
    OnAppAbout();
}

// The editing view is the frame's only pane: F6 brings the keyboard back
// to it from the bars.
void CMainFrame::OnNextPane()
{
    if (m_view) m_view->setFocus(Qt::ShortcutFocusReason);
}

void CMainFrame::OnSystemColors()
{
    CSystemColorsDlg dlg(this);
    if (dlg.DoModal() != CSystemColorsDlg::IDOK) return;
    // The paper is part of the page the view keeps painted.
    if (m_view) m_view->Invalidate();
    SaveConfigFile();
}

void CMainFrame::OnSystemSettings()
{
    CSystemSetupSheet sheet(CSystemSetupSheet::IDS_CAPTION, this, 0);
    connect(&sheet, &CSystemSetupSheet::SettingsApplied, this, &CMainFrame::ApplySettings);
    sheet.DoModal();
}

int CMainFrame::BackupIntervalMs()
{
    // Within a day, so that the period cannot overflow.
    return std::clamp(Settings().m_nBackupMinutes, 1, kMaxBackupMinutes) * kMsPerMinute;
}

void CMainFrame::ApplySettings()
{
    for (QWidget* w : {m_wndHRuler, m_wndVRuler}) {
        if (auto* ruler = qobject_cast<CRulerBar*>(w)) {
            ruler->UpdateUnitScale();
            ruler->update();
        }
    }
    if (m_backupTimer) m_backupTimer->start(BackupIntervalMs());
    // The bar's length boxes show the work unit.
    RebuildContextToolBar();
    if (m_view) m_view->update();
    SaveConfigFile();
}

bool CMainFrame::SaveConfigFile()
{
    QString error;
    if (Settings().SaveConfigFile(CSystemSettings::ConfigFilePath(), &error)) return true;
    statusBar()->showMessage(error);
    return false;
}

bool CMainFrame::ArchiveFolderRules()
{
    // A folder that is gone must not make every save impossible.
    const CSystemSettings& s = Settings();
    return s.m_bArchiveOnly && QFileInfo(GbkToQString(s.m_strArchiveFolder)).isDir();
}

// --- Services -----------------------------------------------------------------

void CMainFrame::SetStatusText(const QString& text)
{
    if (statusBar()->currentMessage() != text) statusBar()->showMessage(text);
}

QString CMainFrame::GetStatusText() const
{
    return statusBar()->currentMessage();
}

bool CMainFrame::AddLineType(const CLineAttr& lineType)
{
    if (!Settings().AddLineType(lineType)) return false;
    if (m_groups.lineType && m_wndToolBar->LineTypeCombo()) m_wndToolBar->LineTypeCombo()->AddLineTypeItem();
    return true;
}

// --- Context tool bar -----------------------------------------------------

void CMainFrame::ShowLineControls(int lineType, int lineWidth, int lineColor, int arrows, int arrowAngles)
{
    m_groups.lineType = lineType;
    m_groups.lineWidth = lineWidth;
    m_groups.lineColor = lineColor;
    m_groups.arrows = arrows;
    m_groups.arrowAngles = arrowAngles;
    RebuildContextToolBar();
}

void CMainFrame::ShowOffsetControls(int show)
{
    m_groups.offset = show;
    RebuildContextToolBar();
}

void CMainFrame::ShowTextControls(int show)
{
    m_groups.font = show;
    m_groups.alignment = show;
    m_groups.tableCommands = show;
    RebuildContextToolBar();
}

void CMainFrame::ShowFontControls(int show)
{
    m_groups.font = show;
    m_groups.alignment = 0;
    RebuildContextToolBar();
}

void CMainFrame::ShowGradientControls(int start, int end)
{
    m_groups.gradientStart = start;
    m_groups.gradientEnd = end;
    RebuildContextToolBar();
}

void CMainFrame::ShowFillTypeControls(int show)
{
    m_groups.fillType = show;
    RebuildContextToolBar();
}

void CMainFrame::RebuildContextToolBar()
{
    if (m_wndToolBar) m_wndToolBar->ShowGroups(m_groups, Settings());
}

void CMainFrame::ShowFillTypeInCombo(int kind)
{
    if (m_wndToolBar)
        if (CFillTypeCombo* combo = m_wndToolBar->FillTypeCombo()) combo->SelectFillType(kind);
}

void CMainFrame::ShowAppliedFont(const QString& faceName)
{
    if (!m_wndToolBar) return;
    m_wndToolBar->FontNameCombo()->AddRecentFont(faceName);
    m_wndToolBar->FontSizeCombo()->SelectCurrentSize();
    m_wndToolBar->CharsetCombo()->FillCharsets();
}

void CMainFrame::SelectFontSizeQuietly(int index)
{
    if (m_wndToolBar)
        if (CFontSizeCombo* sizes = m_wndToolBar->FontSizeCombo()) sizes->SelectQuietly(index);
}

void CMainFrame::OnColorButtonDialog(int commandId)
{
    COLORREF* colour = ColorOfCommand(commandId);
    if (!colour) return;
    CVEKColorDialog dialog(*colour, CVEKColorDialog::kFrameFlags, this);
    // Cancelling leaves every colour as it was; nothing is reported.
    if (dialog.DoModal() != CVEKColorDialog::IDOK) return;
    *colour = dialog.GetColor();
    if (CColorMenuButton* button = m_wndToolBar->ColorButton(commandId)) button->SetColor(*colour, TRUE);
    CMessageHub::Instance().SendColorChange(*colour, commandId);
}

// --- Window placement and bars ----------------------------------------------

int CMainFrame::DesignBarResource(int screenWidth)
{
    if (screenWidth >= 1280) return 142;
    if (screenWidth < 1024) return 138;
    return 141;
}

int CMainFrame::DesignBarIconSize(int resource)
{
    switch (resource) {
    // Small enough that the 23 buttons fit the height of a screen of that
    // width.
    case 142: return 20;
    case 141: return 18;
    default: return 16;
    }
}

int CMainFrame::ComboDropHeight(int screenHeight, bool fontGroup)
{
    if (screenHeight >= 1024) return 900;
    if (screenHeight >= 768) return 668;
    if (screenHeight >= 600) return fontGroup ? 350 : 500;
    return 320;
}

bool CMainFrame::LoadWindowPlacement(CWindowPlacement* placement) const
{
    return CWindowPlacement::FromProfileValue(CVEKApp::OpenProfile()->value(CWindowPlacement::ProfileKey()), placement);
}

void CMainFrame::SaveWindowPlacement(const CWindowPlacement& placement) const
{
    CVEKApp::OpenProfile()->setValue(CWindowPlacement::ProfileKey(), placement.Format());
}

CWindowPlacement CMainFrame::GetWindowPlacement() const
{
    CWindowPlacement wp;
    wp.flags = isMaximized() ? CWindowPlacement::WPF_RESTORETOMAXIMIZED : 0;
    wp.showCmd = isMinimized() ? CWindowPlacement::SW_SHOWMINIMIZED
                               : (isMaximized() ? CWindowPlacement::SW_SHOWMAXIMIZED : CWindowPlacement::SW_SHOWNORMAL);
    wp.ptMinPosition = CPoint(-1, -1);
    wp.ptMaxPosition = CPoint(-1, -1);
    QRect normal = normalGeometry();
    if (normal.isEmpty()) normal = geometry();
    wp.rcNormalPosition = CRect(normal.left(), normal.top(), normal.left() + normal.width(),
                                normal.top() + normal.height());
    return wp;
}

void CMainFrame::SetWindowPlacement(const CWindowPlacement& wp)
{
    const CRect& r = wp.rcNormalPosition;
    QRect rect(r.left, r.top, r.Width(), r.Height());
    // A window left on a screen that is gone comes back onto the main one.
    bool onScreen = false;
    for (const QScreen* screen : QGuiApplication::screens()) onScreen = onScreen || screen->geometry().intersects(rect);
    if (!onScreen) rect.moveCenter(DefaultPlacement().center());
    setGeometry(rect);
    // A window closed while minimised comes back as it was before that,
    // never minimised.
    const bool maximised = wp.showCmd == CWindowPlacement::SW_SHOWMAXIMIZED ||
                           (wp.showCmd == CWindowPlacement::SW_SHOWMINIMIZED &&
                            (wp.flags & CWindowPlacement::WPF_RESTORETOMAXIMIZED));
    setWindowState(maximised ? Qt::WindowMaximized : Qt::WindowNoState);
}

QRect CMainFrame::DefaultPlacement()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 960);
    QRect rect(0, 0, available.width() * 17 / 20, available.height() * 9 / 10);
    rect.moveCenter(available.center());
    return rect;
}

bool CMainFrame::ProfileMayBeWritten() const
{
    return !m_settingsFiles || m_settingsFiles->MayWriteOver(CVEKApp::ProfilePath());
}

void CMainFrame::RestorePlacementAndBars()
{
    CWindowPlacement wp;
    // A damaged profile that could not be kept is not read either.
    if (!ProfileMayBeWritten()) {
        setGeometry(DefaultPlacement());
        return;
    }
    if (!LoadWindowPlacement(&wp)) {
        // Without a sound placement the bar layout is not trusted either.
        setGeometry(DefaultPlacement());
        // A placement there but unreadable is damage, told as for the
        // other settings files; so is a profile that is no regular file.
        auto profile = CVEKApp::OpenProfile();
        const bool stored = profile->contains(CWindowPlacement::ProfileKey());
        const bool unreadable = !CVEKApp::ProfileIsReadable();
        if ((stored || unreadable || profile->status() == QSettings::FormatError) && m_settingsFiles) {
            const QString path = CVEKApp::ProfilePath();
            m_startWarnings << m_settingsFiles->KeepDamaged(
                path, LoadResString(unreadable ? kSettingsDamaged : kProfileDamaged).arg(QFileInfo(path).fileName()));
        }
        return;
    }
    SetWindowPlacement(wp);
    auto profile = CVEKApp::OpenProfile();
    RestoreBars(*profile);
}

void CMainFrame::RestoreBars(const QSettings& profile)
{
    const QString section = QString::fromLatin1(kBarStateSection);
    // Hidden only when the profile says so in the words it is written in:
    // a status bar lost to a damaged value is worse than one shown.
    statusBar()->setVisible(profile.value(section + QStringLiteral("/StatusBar")).toString() != QStringLiteral("false"));
    const QString barState = section + QStringLiteral("/BarState");
    if (!profile.contains(barState)) return;
    // Qt's reader follows the counts of a layout however large, past the end
    // of its bytes; so the layout is checked first. One the bars do not take
    // is damage too; the bars keep their default layout.
    const QByteArray layout = profile.value(barState).toByteArray();
    QString why;
    if (BarLayoutCheck().IsSound(layout, kBarStateVersion, &why) && restoreState(layout, kBarStateVersion)) return;
    if (!why.isEmpty()) qWarning("%s: the bar layout holds %s", qPrintable(CVEKApp::ProfilePath()), qPrintable(why));
    if (m_settingsFiles) {
        const QString path = CVEKApp::ProfilePath();
        m_startWarnings << m_settingsFiles->KeepDamaged(
            path, LoadResString(kProfileFieldsDamaged).arg(QFileInfo(path).fileName(), QStringLiteral("工具栏布局")));
    }
}

CBarLayoutCheck CMainFrame::BarLayoutCheck() const
{
    // The bars Qt restores by name: the tool bars placed in the window, and
    // its dock widgets wherever they float.
    QStringList toolBars;
    for (const QToolBar* bar : findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
        if (!bar->objectName().isEmpty()) toolBars << bar->objectName();
    QStringList docks;
    for (const QDockWidget* dock : findChildren<QDockWidget*>())
        if (!dock->objectName().isEmpty()) docks << dock->objectName();
    return CBarLayoutCheck(toolBars, docks);
}

void CMainFrame::SavePlacementAndBars()
{
    if (!ProfileMayBeWritten()) return;
    SaveWindowPlacement(GetWindowPlacement());
    auto profile = CVEKApp::OpenProfile();
    const QString section = QString::fromLatin1(kBarStateSection);
    profile->setValue(section + QStringLiteral("/BarState"), saveState(kBarStateVersion));
    profile->setValue(section + QStringLiteral("/StatusBar"), !statusBar()->isHidden());
}

// --- Documents ---------------------------------------------------------------

void CMainFrame::UpdateRecentFileMenu()
{
    m_recentMenu->clear();
    const QStringList files = TheApp() ? TheApp()->RecentFiles() : QStringList();
    int n = 1;
    for (const QString& f : files) {
        m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QDir::toNativeSeparators(f)), this,
                                [this, f] {
                                    if (SaveModified()) OpenDocumentFile(f);
                                });
    }
    m_recentMenu->setEnabled(!files.isEmpty());
}

void CMainFrame::ShowError(int messageId)
{
    QMessageBox::critical(this, LoadResString(Ids::IDS_APP_TITLE), LoadResString(messageId));
}

bool CMainFrame::SaveModified()
{
    if (!m_doc->IsModified()) return true;
    const QString name = m_doc->GetPathName().isEmpty() ? QStringLiteral("无标题")
                                                        : QFileInfo(m_doc->GetPathName()).fileName();
    const auto answer = QMessageBox::question(this, LoadResString(Ids::IDS_APP_TITLE),
                                              QStringLiteral("是否保存对 %1 的更改?").arg(name),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Yes) return SaveDocument();
    return true;
}

bool CMainFrame::NewDocument()
{
    return m_doc->OnNewDocument();
}

bool CMainFrame::OpenDocumentFile(const QString& path)
{
    switch (m_doc->OnOpenDocument(path)) {
    case CVEKDoc::LoadResult::Ok:
        if (TheApp() && ProfileMayBeWritten()) TheApp()->AddToRecentFileList(path);
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
        if (!ArchiveFolderRules() || CVEKDoc::IsInsideFolder(path, archive)) return path;
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
    if (TheApp() && ProfileMayBeWritten()) TheApp()->AddToRecentFileList(path);
    UpdateRecentFileMenu();
    return true;
}

bool CMainFrame::SaveDocument()
{
    const QString path = m_doc->GetPathName();
    const CSystemSettings& s = Settings();
    const bool allowed = !ArchiveFolderRules() || CVEKDoc::IsInsideFolder(path, GbkToQString(s.m_strArchiveFolder));
    if (path.isEmpty() || !allowed) return SaveDocumentAs();
    return SaveTo(path);
}

bool CMainFrame::SaveDocumentAs()
{
    const QString path = AskSavePath();
    return !path.isEmpty() && SaveTo(path);
}

void CMainFrame::OnImportHpgl()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QString(), DocumentFolder(), QStringLiteral("HPGL(*.plt *.hpgl *.hp);;所有文件(*)"));
    if (!path.isEmpty()) ImportHpglFile(path);
}

bool CMainFrame::ImportHpglFile(const QString& path)
{
    const CHpglImport::Result result = CHpglImport::ImportFile(*m_doc, path);
    if (m_view) m_view->Invalidate();
    UpdateCommandUI();
    if (result.messageId == 0) return true;
    QMessageBox::critical(this, LoadResString(Ids::IDS_APP_TITLE), LoadResString(result.messageId));
    return false;
}

void CMainFrame::OnBackupTimer()
{
    const CSystemSettings& s = Settings();
    if (!s.m_bAutoBackup || s.m_bBackupEveryStep) return;
    QString error;
    if (!m_doc->WriteBackupFile(&error)) statusBar()->showMessage(error);
}

namespace {
QString DroppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls()) return QString();
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return QString();
}
} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenDocumentFile(path);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    // Also while print preview runs: the settings of this session are kept.
    m_backupTimer->stop();
    m_idleTimer->stop();
    SavePlacementAndBars();
    SaveSettingsFiles();
    event->accept();
}
