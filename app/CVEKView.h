// The editing view: shows the current page of the document, owns its tools,
// made from the rows of the factory it is built with (the main window's tool
// table; the view names no tool), keeps one of them current and hands it
// every mouse message (in page units, 0.01 mm) and every key of interest. It
// knows the frame of the window it works in (the tools reach it through the
// view) and gives its tools the point-position prompt of the factory. The
// view itself only switches tools, pans, zooms, scrolls, arbitrates undo
// between the tool's pending step and the document's snapshots, shows the
// tool's cursor and paints.
//
// Painting: paper, margin frame and the page's elements go into a cached
// image that is kept while the mapping, the size and the content stay the
// same; the current tool's feedback is drawn on top of a copy of it on
// every paint. Tools that only change their feedback (rubber bands, marks)
// call InvalidateFeedback(); anything that changed elements calls
// Invalidate(), which drops the cache.
//
// Commands: every command the view carries out has one QAction here
// (CommandAction), built with the view and kept enabled and checked by an
// update pass after each command and while idle. The main window places
// these actions in its menus and bars; triggering one runs OnCommand. The
// choices of the tool-bar pickers and combo boxes arrive through the
// message hub (CMessageHub), go into the settings and reach the current
// tool.
#pragma once

#include "app/CEnrchSheetsBaseview.h"
#include "app/CRectTracker.h"
#include "app/CToolDescriptor.h"
#include "app/CToolFactory.h"
#include "app/CZoomAnchor.h"
#include "platform/Types.h"

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QPoint>
#include <QString>

#include <memory>
#include <vector>

class CDC;
class CDesignTool;
class CFrameServices;
class COleObjectElement;
class COleSelection;
class CPageSet;
class CSubToolHost;
class CVEKDoc;
class CViewCommandHandler;
class QAction;
class QMenu;
class QTimer;
class CZoomPreview;

class CVEKView : public CEnrchSheetsBaseview {
    Q_OBJECT
public:
    // The numbers of the tools of the main window's tool table that code
    // reaches by number. A tool's number is the place of its row; a new
    // tool needs a name here only when code names it.
    enum ToolIndex {
        kSelectTool = 0,
        kZoomTool = 1,
        kCurveTool = 2,
        kClosedCurveTool = 3,
        kProcessDrawingTool = 4,
        kRulerTool = 5,
        kRectangleTool = 6,
        kEraserTool = 7,
        kFreehandTool = 8,
        kEllipseTool = 9,
        kOffsetLineTool = 10,
        kCutJoinLinesTool = 11,
        kTableTool = 12,
        kSymmetryTool = 13,
        kTextTool = 14,
        kLayerTool = 15,
        kFillTool = 16,
        kInsertPictureTool = 17,
        kSymmetricDrawTool = 18,
        kOleItemTool = 19,
        kPickClosedTool = 20,
        kDimensionTool = 21,
        kSplicePartsTool = 22
    };

    // Page messages of the tab bar, by their numbers.
    static constexpr UINT WM_SHEET_SELECTED = 0x4A1;
    static constexpr UINT WM_SHEET_INSERTED = 0x4AC;
    static constexpr UINT WM_SHEET_DELETED = 0x4AD;
    // Zoom steps of the numeric-pad plus and minus.
    static constexpr double kKeypadZoomIn = 1.1;
    static constexpr double kKeypadZoomOut = 0.8;
    // The zoom-in limit: scroll ranges (pixels) beyond it would outgrow what
    // a scroll bar holds.
    static constexpr int kZoomInLimit = 28000;
    // The zoom-out limit, in model units per pixel: a hundred pixels then
    // hold the whole range of coordinates, and nothing more can come into
    // view however far the view zooms out.
    static constexpr double kZoomOutLimit = 4294967296.0 / 100.0;
    // Pixels the arrow keys pan by.
    static constexpr int kPanStep = 20;

    // The framework's idle text of the status bar, "press F1 for help".
    static constexpr UINT kIdlePrompt = 57345;

    // The tools, the commands above the view and the point-position
    // prompt come from `tools`, which is needed only while the view is
    // built. `frame` is the window the view works in (its tools show their
    // context groups and prompts there); null for a view in no window.
    CVEKView(CVEKDoc* doc, const CToolFactory& tools, CFrameServices* frame = nullptr, QWidget* parent = nullptr);
    ~CVEKView() override;

    CVEKDoc* GetDocument() const { return m_doc; }
    // The document's page set, or null.
    CPageSet* GetPageSet() const;
    // The frame the view was made for, or null.
    CFrameServices* GetFrame() const { return m_frame; }
    // How the tools ask where on a curve a captured point goes.
    const PointOnCurvePrompt& PointOnCurve() const { return m_pointOnCurve; }

    // --- The tool rows ---------------------------------------------------
    // One row per tool, by tool number.
    const std::vector<CToolDescriptor>& ToolRows() const { return m_toolRows; }
    int ToolCount() const { return int(m_toolRows.size()); }
    // Index of the tool of a command, -1 when the command is no tool's.
    int ToolIndexOfCommand(UINT command) const;
    // The command of a tool, 0 for a number that is no tool's.
    UINT CommandOfTool(int index) const;

    // --- Tools -----------------------------------------------------------
    CDesignTool* GetCurrentTool() const { return m_pCurrentTool; }
    CDesignTool* GetTool(int index) const;
    // Puts another tool into the table at `index` (the view owns it) and
    // hands back the one it replaces; the current tool stays current by
    // index. For tests and for tools that are built later.
    std::unique_ptr<CDesignTool> ReplaceTool(int index, std::unique_ptr<CDesignTool> tool);
    UINT GetCurrentToolCmd() const { return m_nCurrentToolCmd; }
    // Any command of the tool table, including the symmetric-drawing one.
    // Returns false when the command is no tool command.
    bool OnToolCommand(UINT command);
    void OnSymmetricDrawTool();
    // The check state of a tool command's button.
    bool IsToolCommandChecked(UINT command) const;
    // Resets the current tool; the document calls it on undo and redo.
    void ResetCurrentTool();
    // A new page after the page at 0-based `index`, with its tab, as part
    // of the caller's undo step: the caller has taken its snapshot (or
    // holds a deferred step, which the new page commits), so a table row
    // continued onto a new page is one step with the rows it moves. The
    // plain InsertSheetAfter is a step of its own.
    void InsertSheetAfterInStep(int index);
    // Brings the page tabs level with the pages after a command changed
    // the pages of the document directly (the grading commands).
    void SyncPageTabs();
    // Tools call it whenever their cursor changes. Cursor ids are resource
    // numbers; the view maps them onto cursor shapes.
    void SetToolCursor(int cursorId);
    int GetToolCursorId() const { return m_nToolCursorId; }
    // While cleared, mouse moves over the view leave the keyboard focus
    // where it is (an edit box of a tool bar or of a tool holds it).
    void SetRefocusFlag(BOOL refocus) { m_bRefocus = refocus; }
    BOOL GetRefocusFlag() const { return m_bRefocus; }
    // The embedded-object element of the last Insert Object; not owned.
    void SetLastOleElement(COleObjectElement* element) { m_pLastOleElement = element; }
    COleObjectElement* GetLastOleElement() const { return m_pLastOleElement; }

    // --- Commands ------------------------------------------------------------
    struct CommandEntry {
        UINT id;
        const char* text; // menu text, UTF-8
        bool checkable;
    };
    // Every command the view carries out, in menu order: the tools, undo,
    // redo and cancel, the edit and clipboard commands, the commands
    // forwarded to the current tool, the table, library, object and grading
    // commands, printing and the page image.
    const std::vector<CommandEntry>& Commands() const { return m_commands; }
    bool IsViewCommand(UINT id) const;
    // The action of a command (owned by the view, the command id as its
    // data), or null for a command that is not the view's.
    QAction* CommandAction(int id) const;
    // Runs a command when it is the view's and enabled, then the update
    // pass. False when it did not run.
    bool OnCommand(UINT id);
    // The update handlers.
    bool IsCommandEnabled(UINT id) const;
    bool IsCommandChecked(UINT id) const;
    // Enables and checks every action from the current state.
    void UpdateCommandActions();

    // --- Choices of the tool-bar controls (the message hub) ---------------
    // "CPN_SELCHANGE": the colour of the picker `commandId` goes into the
    // settings; the current tool hears of it.
    int OnColorSelChange(COLORREF color, int commandId);
    // "LT_SELCHANGE": a valid index becomes the current line type.
    int OnLineTypeSelChange(int index);
    // "APN_SELCHANGE": the start (ID_START_ARROW) or end (ID_END_ARROW)
    // arrowhead type.
    int OnArrowTypeSelChange(int arrowType, int commandId);
    // "VEK_TFSELCHANGE": the text alignment 0-8.
    int OnTextAlignmentSelChange(int alignment);
    // "VEK_LINEPARAMCHANGE": 1 when the value was taken, 0 when refused.
    int OnLineParamChange(int commandId, int value);
    // "VEK_SELFONTCHANGE" and "VEK_SELFILLTYPECHANGE".
    int OnFontSelChange();
    int OnFillTypeSelChange();

    // --- Edit and print commands ----------------------------------------------
    // (The table, library and grading commands go to the handler that the
    // factory made.)
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    bool CanEditPaste() const;
    void OnTableMatching();
    void OnFontBold();
    void OnFontItalic();
    void OnFontUnderline();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnPageSetup();
    void OnSaveAsImage();

    // --- Embedded objects (the object tool's selection) ------------------
    // The selected object's element, null when none is selected or it is
    // no longer on the current page.
    COleObjectElement* GetSelection() const;
    BOOL IsSelected(const COleObjectElement* element) const;
    // The object tool's frame, through which a drag moves or resizes.
    const CRectTracker& GetTracker() const;
    // Delete (also the Delete key and the object's context menu): the
    // selected object goes, as one undo step.
    void OnOleDelete();
    // Its data into a file its program opens (a save dialog).
    void OnOleSaveData();
    bool CanEditOleSelection() const;
    // The menu a right click on an object opens (null before the first).
    QMenu* GetOleContextMenu() const { return m_oleMenu; }
    // The object tool's services: the menu of the object commands at a
    // device point; the cursor of a tracker hit (CRectTracker), the tool's
    // own cursor again for hitNothing.
    void ShowOleContextMenu(const CPoint& device);
    void ShowTrackerCursor(int hit);

    // --- Undo, redo, cancel ------------------------------------------------
    void OnEditUndo();
    bool CanEditUndo() const;
    void OnEditRedo();
    bool CanEditRedo() const;
    void OnEditCancel();
    bool CanEditCancel() const;

    // --- Mapping -----------------------------------------------------------
    // Page units per device pixel.
    double GetScale() const { return m_dScale; }
    void GetOrigin(int& x, int& y) const;
    CPoint GetOriginPoint() const { return m_ptOrigin; }
    void GetViewTransform(double& scale, int& originX, int& originY) const;
    // Sets scale and origin, rebuilds the scroll ranges around the new
    // origin and tells the rulers (ViewTransformChanged); does not repaint.
    // A scale that is not a positive number is refused (FALSE). Scrolling
    // moves the origin alone and keeps the ranges.
    BOOL SetViewTransform(double scale, int originX, int originY);
    void SetOrigin(int x, int y);
    // Zooms about a page point, which stays under the same pixel as far as
    // the ends of the coordinate range let the origin go; factors above 1
    // enlarge.
    void ZoomAt(double factor, int x, int y);
    void ZoomToFitPage();
    void FitPageWidthAt(int y);
    void ZoomToRect(int left, int top, int right, int bottom);
    BOOL UpdateScrollBars();

    CPoint DeviceToModelPoint(int dx, int dy) const;
    CPoint ModelToDevicePoint(int x, int y) const;

    // --- Repainting and prompts -----------------------------------------
    // The page content changed: repaint everything. `erase` is kept for the
    // tools' sake; the view never erases before painting.
    void Invalidate(BOOL erase = TRUE);
    // Only the current tool's feedback changed: repaint from the cached
    // page image.
    void InvalidateFeedback();
    // Shows a text in pane 0 of the main window's status bar.
    void ShowStatusPrompt(const QString& text);
    const QString& GetStatusPrompt() const { return m_statusPrompt; }

    // The screen picture of the current page without tool feedback: the
    // background outside the paper, the paper with its outline, the margin
    // frame and the elements, into the device rectangle `drawRect`.
    void DrawPage(CDC& dc, double scale, int originX, int originY, const CRect& drawRect) const;
    // Makes the open-curve tool current and fits the page. Runs by itself
    // when the view is first shown.
    void OnInitialUpdate();

Q_SIGNALS:
    // The mapping changed: rulers follow it.
    void ViewTransformChanged(double scale, int originX, int originY);
    // The mouse moved over the view (device pixels): the rulers' marks.
    void MouseMovedAt(int deviceX, int deviceY);
    void StatusPromptChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Tab reaches the tool instead of moving the focus.
    bool focusNextPrevChild(bool next) override;

    void OnHScroll(int code, int pos) override;
    void OnVScroll(int code, int pos) override;
    void OnSheetSelected(int oldNumber, int newNumber) override;
    void OnSheetInserted(int a, int where) override;
    void OnSheetDeleted(int a) override;

private:
    void CreateTools(const CToolFactory& tools);
    void CreateCommandActions();
    void ListCommands();
    QIcon ButtonPicture(UINT id) const;
    void ConnectMessageHub();
    bool RunCommand(UINT id);
    bool RunForwardedCommand(UINT id);
    bool IsForwardedCommandEnabled(UINT id, bool* known) const;
    bool ChangeCurrentLineType(int commandId, int value);
    void ToggleFontByte(BYTE& field);
    bool IsOleToolCurrent() const;
    COleSelection* OleTool() const;
    void SwitchTool(int index, UINT command);
    void ShowToolDefaults(int index);
    void SetCurrent(int index, UINT command);
    UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
    void RouteKeyDown(QKeyEvent* event);
    void RouteKeyUp(QKeyEvent* event);
    bool CanPan() const;
    void Pan(int dx, int dy);
    void ZoomAtCursor(double factor);
    void ZoomAbout(double factor, const CPoint& point, const CPoint& pixel);
    void ResendMouseMove();
    void Scroll(Qt::Orientation bar, int code, int pos);
    void RoutePress(QMouseEvent* event, bool doubleClick);
    const QImage& PageImage(const CRect& drawRect);
    void OnContentReplaced();
    void TakeInsertStep();
    void SyncSheetsWithPages();
    CSubToolHost* SymmetricDrawTool() const;
    int ToolOfSubTool(int subTool) const;

    CVEKDoc* m_doc;
    double m_dScale = 1.0;
    CPoint m_ptOrigin;
    CFrameServices* m_frame;
    std::vector<CToolDescriptor> m_toolRows;
    PointOnCurvePrompt m_pointOnCurve;
    std::vector<std::unique_ptr<CDesignTool>> m_tools;
    // The commands of the tools, editors and dialogs above the view.
    std::unique_ptr<CViewCommandHandler> m_toolCommands;
    CDesignTool* m_pCurrentTool = nullptr;
    UINT m_nCurrentToolCmd = 0;
    int m_nToolCursorId = 0;
    BOOL m_bRefocus = TRUE;
    COleObjectElement* m_pLastOleElement = nullptr;
    bool m_oleCursorShown = false;
    QMenu* m_oleMenu = nullptr;
    QString m_statusPrompt;

    std::vector<CommandEntry> m_commands;
    QHash<UINT, QAction*> m_commandActions;
    QTimer* m_idleUpdate = nullptr;
    // Whether the clipboard holds something to paste; asked again only
    // when the clipboard changes (asking may go to another program).
    mutable int m_canPaste = -1;

    // The last mouse position over the view (device pixels), for the moves
    // the view replays after panning and for the keypad zoom.
    QPoint m_lastMouse;
    bool m_mouseInside = false;
    // The point the last zoom was about, while the range's ends keep it off
    // its pixel; any other change of the mapping forgets it.
    CZoomAnchor m_zoomAnchor;
    bool m_initialUpdateDone = false;
    // Set while the view brings the page tabs level with the pages, so that
    // the tab bar's notifications do not change the pages back.
    bool m_syncingSheets = false;
    // Set while a page goes in as part of a caller's undo step.
    bool m_insertInCallersStep = false;

    // While the keypad zooms step after step, the page image of the first
    // step shown scaled (m_previewImage).
    CZoomPreview* m_zoomPreview = nullptr;
    QImage m_previewImage;

    // The page image without tool feedback and what it was painted for.
    QImage m_pageImage;
    bool m_pageImageValid = false;
    double m_imageScale = 0;
    CPoint m_imageOrigin;
    const void* m_imagePageSet = nullptr;
    int m_imagePage = -1;
};
