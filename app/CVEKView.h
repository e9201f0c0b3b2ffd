// The editing view: shows the current page of the document, owns the 23
// tools in a fixed table, keeps one of them current and hands it every
// mouse message (in page units, 0.01 mm) and every key of interest. The
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
#pragma once

#include "app/CEnrchSheetsBaseview.h"
#include "platform/Types.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <array>
#include <memory>

class CDC;
class CDesignTool;
class COleObjectElement;
class CPageSet;
class CVEKDoc;
class CVTSymmetricDraw;

class CVEKView : public CEnrchSheetsBaseview {
    Q_OBJECT
public:
    // Indexes of the tool table.
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
        kSplicePartsTool = 22,
        kToolCount = 23
    };

    // Command ids of the tools (the default tool is the open curve).
    static constexpr UINT ID_TOOL_CURVE = 32772;
    static constexpr UINT ID_TOOL_SYMMETRIC_DRAW = 32863;
    static constexpr UINT ID_EDIT_CANCEL = 32800;
    static constexpr UINT ID_EDIT_UNDO = 57643;
    static constexpr UINT ID_EDIT_REDO = 57644;
    // Zoom steps of the numeric-pad plus and minus.
    static constexpr double kKeypadZoomIn = 1.1;
    static constexpr double kKeypadZoomOut = 0.8;
    // Pixels the arrow keys pan by.
    static constexpr int kPanStep = 20;

    struct ToolEntry {
        int index;
        UINT command;
        const char* text; // tool-tip text, UTF-8
        int subTool;      // number inside the symmetric-drawing tool, -1 none
    };
    static const std::array<ToolEntry, kToolCount>& ToolTable();
    // Index of the tool of a command, -1 when the command is no tool's.
    static int ToolIndexOfCommand(UINT command);
    static UINT CommandOfTool(int index);

    CVEKView(CVEKDoc* doc, QWidget* parent = nullptr);
    ~CVEKView() override;

    CVEKDoc* GetDocument() const { return m_doc; }
    // The document's page set, or null.
    CPageSet* GetPageSet() const;

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
    // Zooms about a page point, which stays under the same pixel; factors
    // above 1 enlarge.
    void ZoomAt(double factor, int x, int y);
    void ZoomToFitPage();
    void FitPageWidthAt(int y);
    void ZoomToRect(int left, int top, int right, int bottom);
    BOOL UpdateScrollBars();
    void UpdateVisibleRect();
    CRect GetVisibleRect() const { return m_rcVisible; }

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
    void CreateTools();
    void SwitchTool(int index, UINT command);
    void SetCurrent(int index, UINT command);
    UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
    void RouteKeyDown(QKeyEvent* event);
    void RouteKeyUp(QKeyEvent* event);
    bool CanPan() const;
    void Pan(int dx, int dy);
    void ZoomAtCursor(double factor);
    void ResendMouseMove();
    void Scroll(Qt::Orientation bar, int code, int pos);
    void RoutePress(QMouseEvent* event, bool doubleClick);
    const QImage& PageImage(const CRect& drawRect);
    void OnContentReplaced();
    void SyncSheetsWithPages();
    CVTSymmetricDraw* SymmetricDrawTool() const;

    CVEKDoc* m_doc;
    double m_dScale = 1.0;
    CPoint m_ptOrigin;
    CRect m_rcVisible;
    std::array<std::unique_ptr<CDesignTool>, kToolCount> m_tools;
    CDesignTool* m_pCurrentTool = nullptr;
    UINT m_nCurrentToolCmd = ID_TOOL_CURVE;
    int m_nToolCursorId = 0;
    BOOL m_bRefocus = TRUE;
    COleObjectElement* m_pLastOleElement = nullptr;
    QString m_statusPrompt;

    // The last mouse position over the view (device pixels), for the moves
    // the view replays after panning and for the keypad zoom.
    QPoint m_lastMouse;
    bool m_mouseInside = false;
    bool m_initialUpdateDone = false;
    // Set while the view brings the page tabs level with the pages, so that
    // the tab bar's notifications do not change the pages back.
    bool m_syncingSheets = false;

    // The page image without tool feedback and what it was painted for.
    QImage m_pageImage;
    bool m_pageImageValid = false;
    double m_imageScale = 0;
    CPoint m_imageOrigin;
    const void* m_imagePageSet = nullptr;
    int m_imagePage = -1;
};
