// The main window: the editing view with its two rulers, the standard tool
// bar (which also carries the context controls of the current tool), the
// design tool bar with the 23 drawing tools, the status bar with the
// tools' prompts, the option commands, the settings files read at creation
// and written at close, the window placement and bar layout in "Vek.ini",
// and the interval backup timer.
//
// Commands: the frame makes actions only for its own commands (documents,
// bars, rulers, options, about). Every command the view carries out keeps
// the view's one action, which the frame places in its menus and bars, so
// a shortcut is claimed by exactly one action in the window and a command
// runs once however it is chosen.
//
// The view, the tools and the controls below the main window reach it as
// CFrameServices; it makes its view with the tool table (CToolTable).
#pragma once

#include "CBarLayoutCheck.h"
#include "CMainToolBar.h"
#include "app/CFrameServices.h"
#include "platform/Types.h"
#include "settings/CWindowPlacement.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <initializer_list>
#include <memory>

class CLineAttr;
class CSettingsFiles;
class CVEKDoc;
class CVEKView;
class QAction;
class QLabel;
class QMenu;
class QSettings;
class QTimer;
class QToolBar;

class CMainFrame : public QMainWindow, public CFrameServices {
    Q_OBJECT
public:
    static constexpr const char* kBarStateSection = "General";
    // The version the bar layout is saved as; a new layout of bars bumps it
    // so that an old saved layout is not forced onto bars it does not know.
    static constexpr int kBarStateVersion = 1;
    // The period of the backup timer (id 5 of the original frame) per
    // minute of the settings' backup interval.
    static constexpr int kMsPerMinute = 60000;
    static constexpr int kMaxBackupMinutes = 1440;

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CVEKDoc* GetDocument() const override { return m_doc.get(); }
    // The editing view, or null while none is built.
    CVEKView* GetEditingView() const override { return m_view; }
    CMainToolBar* GetMainToolBar() const { return m_wndToolBar; }
    QToolBar* GetDesignBar() const { return m_wndDesignBar; }
    QWidget* GetHorizontalRuler() const { return m_wndHRuler; }
    QWidget* GetVerticalRuler() const { return m_wndVRuler; }
    // The action of a command of the menus and bars (the frame's own, or
    // the view's for a command the view carries out), or null.
    QAction* CommandAction(int commandId) const;

    bool NewDocument();
    // Opens a file, telling the user when it cannot be read; the document
    // stays as it was then.
    bool OpenDocumentFile(const QString& path);
    bool SaveDocument();
    bool SaveDocumentAs();
    // Offers to save a modified document; false when the user cancels.
    bool SaveModified();
    // File > 输入HPGL文件: asks for a plotter file and imports it.
    void OnImportHpgl();
    // Adds the drawing of a plotter file to the current page as one undo
    // step; a file that cannot be imported is refused with its message and
    // leaves the document as it was.
    bool ImportHpglFile(const QString& path);

    // The settings files: read at creation, written at close. Damaged files
    // give the defaults and a warning once the window is up, and are kept
    // beside themselves before they are written over (CSettingsFiles).
    void LoadSettingsFiles();
    bool SaveSettingsFiles();
    // The warnings about damaged settings files of this start.
    const QStringList& StartWarnings() const { return m_startWarnings; }
    // False while the profile is a damaged file of which no copy was kept:
    // it is then neither read nor written.
    bool ProfileMayBeWritten() const;

    // The interval backup; does nothing in the every-step mode.
    void OnBackupTimer();
    QTimer* BackupTimer() const { return m_backupTimer; }

    // --- Services to the view and the tools -------------------------------
    // Shows a prompt in pane 0 of the status bar.
    void SetStatusText(const QString& text) override;
    QString GetStatusText() const;
    // Appends a custom line type to the settings' lists (and to the
    // line-type combo). False when the pattern has no width to scale.
    bool AddLineType(const CLineAttr& lineType) override;
    // The view tells the frame while print preview runs.
    void SetInPrintPreview(bool inPreview) override { m_bInPrintPreview = inPreview; }
    bool IsInPrintPreview() const { return m_bInPrintPreview; }

    // --- The context groups of the standard tool bar ----------------------
    void ShowLineControls(int lineType, int lineWidth, int lineColor, int arrows, int arrowAngles) override;
    void ShowOffsetControls(int show) override;
    // Font, alignment and table commands together.
    void ShowTextControls(int show) override;
    // Font on or off; alignment always off.
    void ShowFontControls(int show) override;
    void ShowGradientControls(int start, int end) override;
    void ShowFillTypeControls(int show) override;
    // Shows the switched-on groups and refreshes every shown control from
    // the settings (the line-type list, the current line type's parameter,
    // the offset distance, the arrowhead angles, the pickers' values).
    void RebuildContextToolBar() override;
    void ShowFillTypeInCombo(int kind) override;
    void ShowAppliedFont(const QString& faceName) override;
    void SelectFontSizeQuietly(int index) override;
    // The pickers' "定义颜色......": the full colour dialog for a colour
    // command (ID_LINE_COLOR, ID_FONT_COLOR, ID_CELL_COLOR,
    // ID_GRADIENT_START, ID_GRADIENT_END).
    void OnColorButtonDialog(int commandId);

    // --- Option commands ----------------------------------------------------
    void OnAutoSnap();
    void OnValueDialogs();
    void OnViewRulers();
    void OnSystemColors();
    void OnSystemSettings();
    // The about box.
    void OnAppAbout();
    // The help commands: the help file when one was installed with the
    // program, else the about box.
    void OnHelp();
    static QString HelpFilePath(const QString& programFolder);
    // F6: the keyboard goes to the editing view.
    void OnNextPane();
    // Puts settings just changed by the settings sheet to work: rulers,
    // backup timer, the bar's length boxes, the view; and keeps them.
    void ApplySettings();
    bool SaveConfigFile();
    // The backup timer's period for the settings' interval.
    static int BackupIntervalMs();
    // Saving is held to the archive folder: the option is on and the
    // folder exists.
    static bool ArchiveFolderRules();
    // The table-matching indicator's text.
    static QString TableMatchingText();
    // Enables and checks the frame's own commands and the indicator from
    // the current state; runs after each command and while idle. The view
    // keeps its actions up to date itself.
    void UpdateCommandUI();

    // --- Window placement and bar layout ----------------------------------
    // The design bar's picture size by screen width: resource 142 (1280
    // pixels and wider), 141 (from 1024) or 138 (narrower).
    static int DesignBarResource(int screenWidth);
    static int DesignBarIconSize(int resource);
    // Drop-down height of the context combos by screen height.
    static int ComboDropHeight(int screenHeight, bool fontGroup);
    // The placement in the profile; false when it holds none or a damaged
    // one.
    bool LoadWindowPlacement(CWindowPlacement* placement) const;
    void SaveWindowPlacement(const CWindowPlacement& placement) const;
    CWindowPlacement GetWindowPlacement() const;
    void SetWindowPlacement(const CWindowPlacement& placement);
    // The placement used when the profile holds none, or a damaged one.
    static QRect DefaultPlacement();
    // The check a saved bar layout passes before it is restored: one of
    // this window's bars.
    CBarLayoutCheck BarLayoutCheck() const;

    // Group switches, for the view and the tests.
    using ContextGroups = CMainToolBar::ContextGroups;
    const ContextGroups& GetContextGroups() const { return m_groups; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A document file dropped on the window is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    QAction* AddAction(int commandId, const QString& text);
    void AdoptViewActions();
    QList<QAction*> Actions(std::initializer_list<UINT> commandIds) const;
    void CreateMenus();
    bool CreateToolBars();
    void CreateStatusBar();
    void CreateCentralArea();
    void CreateDesignBar();
    void RestorePlacementAndBars();
    // The status bar's visibility and the bar layout, from a profile whose
    // window placement was sound.
    void RestoreBars(const QSettings& profile);
    void ShowStartWarnings();
    void SavePlacementAndBars();
    void RouteCommand(int commandId);
    void RunViewCommand(int commandId);
    void ConnectView();
    void UpdateRecentFileMenu();
    QString AskSavePath();
    bool SaveTo(const QString& path);
    void ShowError(int messageId);
    void ApplyRulerVisibility();
    void UpdateRulerUnits();

    std::unique_ptr<CVEKDoc> m_doc;
    CVEKView* m_view = nullptr;
    CMainToolBar* m_wndToolBar = nullptr;
    QToolBar* m_wndDesignBar = nullptr;
    QWidget* m_wndHRuler = nullptr;
    QWidget* m_wndVRuler = nullptr;
    QWidget* m_rulerCorner = nullptr;
    QLabel* m_tableMatching = nullptr;
    QTimer* m_backupTimer = nullptr;
    QTimer* m_idleTimer = nullptr;
    QMenu* m_recentMenu = nullptr;
    QHash<int, QAction*> m_actions;
    bool m_bInPrintPreview = false;
    ContextGroups m_groups;
    std::unique_ptr<CSettingsFiles> m_settingsFiles;
    QStringList m_startWarnings;
};
