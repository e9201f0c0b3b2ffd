// The interface of every tool. The editing view owns one object of each
// tool, keeps one current and turns each mouse event, each key of interest
// and each tool-related command into one call of a virtual operation here.
// Every operation has a default that does nothing (and answers FALSE where
// it answers), so a tool overrides only what it needs.
//
// The order of the virtual operations is fixed: tools that hold a sub-tool
// forward them one by one, and the view relies on their meaning. Add new
// operations at the end only.
//
// Mouse coordinates handed to the tools are document coordinates (0.01 mm
// on the current page); the flags are the MK_ key-state bits below, which
// the view builds from the event's buttons and modifiers.
#pragma once

#include "app/CMeasurePrompt.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CDC;
class CFrameServices;
class CGraphElement;
class CPageSet;
class CVEKDoc;
class CVEKView;

// Key-state bits of the mouse operations (Win32 values).
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;
constexpr UINT MK_XBUTTON1 = 0x0020;
constexpr UINT MK_XBUTTON2 = 0x0040;

using CMeasurePromptList = CList<CMeasurePrompt>;

class CDesignTool {
public:
    // Without a view (sub-tools that get theirs later): undo helpers do
    // nothing, the view accessors answer neutral values.
    CDesignTool();
    explicit CDesignTool(CVEKView* view);
    virtual ~CDesignTool();

    CDesignTool(const CDesignTool&) = delete;
    CDesignTool& operator=(const CDesignTool&) = delete;

    // --- The operations, in their fixed order -----------------------------

    // 1-3: switching tools and replacing the content under the tool. The
    // defaults of Activate and Deactivate call Reset (virtually), so a tool
    // never carries a half-done operation across a switch. Reset ends a
    // step; the default empties the measure prompts, which belong to it.
    virtual void Activate();
    virtual void Deactivate();
    virtual void Reset();

    // 4-19: keys. Down operations repeat while a key is held.
    virtual BOOL OnTabDown();
    virtual BOOL OnTabUp();
    virtual BOOL OnReturnDown();
    virtual BOOL OnReturnUp();
    virtual BOOL OnShiftDown();
    virtual BOOL OnShiftUp();
    virtual BOOL OnCtrlDown();
    virtual BOOL OnCtrlUp();
    virtual BOOL OnSpaceDown();
    virtual BOOL OnSpaceUp();
    virtual BOOL OnDeleteDown();
    virtual BOOL OnDeleteUp();
    virtual BOOL OnEndDown();
    virtual BOOL OnEndUp();
    // `digit` is '0'..'9' for the main keyboard and the keypad alike.
    virtual BOOL OnDigitDown(char digit);
    virtual BOOL OnDigitUp(char digit);

    // 20-41: function keys.
    virtual BOOL OnF2Down();
    virtual BOOL OnF2Up();
    virtual BOOL OnF3Down();
    virtual BOOL OnF3Up();
    virtual BOOL OnF4Down();
    virtual BOOL OnF4Up();
    virtual BOOL OnF5Down();
    virtual BOOL OnF5Up();
    virtual BOOL OnF6Down();
    virtual BOOL OnF6Up();
    virtual BOOL OnF7Down();
    virtual BOOL OnF7Up();
    virtual BOOL OnF8Down();
    virtual BOOL OnF8Up();
    virtual BOOL OnF9Down();
    virtual BOOL OnF9Up();
    virtual BOOL OnF10Down();
    virtual BOOL OnF10Up();
    virtual BOOL OnF11Down();
    virtual BOOL OnF11Up();
    virtual BOOL OnF12Down();
    virtual BOOL OnF12Up();

    // 54-57
    virtual BOOL OnPageUpDown();
    virtual BOOL OnPageUpUp();
    virtual BOOL OnPageDownDown();
    virtual BOOL OnPageDownUp();

    // 58-64: mouse, in document coordinates.
    virtual BOOL OnLButtonDown(UINT flags, int x, int y);
    virtual BOOL OnLButtonUp(UINT flags, int x, int y);
    virtual BOOL OnLButtonDblClk(UINT flags, int x, int y);
    virtual BOOL OnRButtonDown(UINT flags, int x, int y);
    virtual BOOL OnRButtonDblClk(UINT flags, int x, int y);
    virtual BOOL OnRButtonUp(UINT flags, int x, int y);
    virtual BOOL OnMouseMove(UINT flags, int x, int y);

    // 65-67: a pending step. While HasPendingStep answers TRUE the view
    // enables Cancel, sends Edit > Undo to UndoStep instead of the
    // document, and disables Redo.
    virtual void Cancel();
    virtual BOOL UndoStep();
    virtual BOOL HasPendingStep();

    // 68: the last step of every paint, over the page. `rect` is the view's
    // client area in document coordinates. The default draws the measure
    // prompts.
    virtual void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect);

    // 69-71
    virtual void OnEditCopy();
    virtual void OnEditCut();
    virtual BOOL CanCopy();

    // 72-83: attribute choices; the new value is already in the settings.
    virtual void OnLineColorChanged();
    virtual void OnLineColor();
    virtual void OnFontColorChanged();
    virtual void OnFontColor();
    virtual void OnCellColorChanged();
    virtual void OnCellColor();
    virtual void OnFontChanged();
    virtual void OnFont();
    virtual void OnLineType();
    virtual void OnStartArrow();
    virtual void OnEndArrow();
    virtual void OnAlignment();

    // 84-96: table commands.
    virtual BOOL CanMergeCells();
    virtual void MergeCells();
    virtual void SplitCells();
    virtual void InsertColumnLeft();
    virtual BOOL CanInsertColumn();
    virtual void InsertColumnRight();
    virtual void InsertRowBefore();
    virtual void InsertRowAfter();
    virtual void ToggleDiagonalA();
    virtual void ToggleDiagonalB();
    virtual void DeleteRow();
    virtual void DeleteColumn();
    virtual void TableProperties();

    // 97-100
    virtual void OnFillType();
    virtual void OnGradientStartColor();
    virtual void OnGradientEndColor();
    // Esc pressed is the view's Cancel command; only the release comes here.
    virtual void OnEscUp();

    // 101: an arrow key pressed; (dx, dy) is its direction (each -1, 0 or
    // 1), `flags` the MK_ key bits, `autoRepeat` set while the key is held.
    // TRUE when the tool used it; otherwise the view pans.
    virtual BOOL OnArrowDown(int dx, int dy, UINT flags, BOOL autoRepeat);
    // 102: the view pasted these elements onto the current page.
    virtual void OnElementsPasted(const CList<CGraphElement*>& elements);

    // --- Shared services --------------------------------------------------

    CVEKView* GetView() const { return m_pView; }

    // The view's document, null without a view.
    CVEKDoc* GetDocument() const;
    // The page set of the view's document; null without a view or
    // document.
    CPageSet* GetPageSet() const;
    // The frame of the window the view works in (its tool bar's context
    // groups, its status bar); null without a view or frame.
    CFrameServices* Frame() const;

    // The string-table text `id` in the first pane of the status bar;
    // nothing without a view.
    void ShowPrompt(UINT id) const;

    // Tools call SaveUndoState once before each change of the model. A step
    // that may end without a change (a dialog that can be cancelled, a
    // press that may not become a drag) calls BeginUndoStep before it, then
    // CommitUndoStep at its first real change or DropUndoStep when it ends
    // without one: a dropped step leaves the undo and redo lists, the
    // modified flag and the backup file as they were (CVEKDoc). All do
    // nothing without a view.
    void SaveUndoState() const;
    void BeginUndoStep() const;
    bool CommitUndoStep() const;
    void DropUndoStep() const;

    // The view's mapping: document units per pixel and the document point
    // at pixel (0, 0). Without a view: scale 1, origin (0, 0).
    double GetViewScale() const;
    void GetViewTransform(double* scale, int* originX, int* originY) const;
    // Repaints the view after the page content changed.
    void InvalidateView() const;
    // Repaints only the tool's feedback (marks, rubber bands, prompts),
    // which Draw paints on top of the page.
    void InvalidateFeedback() const;

    // Marks at a document point, with the pen and brush the caller has
    // selected; sizes from the settings (cross half size, point radius).
    static void DrawXMark(CDC* dc, int x, int y, double scale, int originX, int originY);
    static void DrawPointMark(CDC* dc, int x, int y, double scale, int originX, int originY);
    static void DrawKeyPointMark(CDC* dc, int x, int y, double scale, int originX, int originY);
    // The outline of the axis-parallel rectangle spanned by two points.
    static void DrawRubberRect(CDC* dc, int x1, int y1, int x2, int y2, double scale, int originX,
                               int originY);

    // The measure prompts drawn beside the cursor.
    void SetPrompt(const CMeasurePrompt& prompt);
    void AddPrompt(const CMeasurePrompt& prompt);
    void ClearPrompts();
    const CMeasurePromptList& GetPrompts() const { return m_prompts; }
    // In the settings' dimension prompt colour and the stock interface
    // font, at a fixed pixel size; the DC's colour and font are restored.
    void DrawPrompts(CDC* dc, double scale, int originX, int originY) const;

protected:
    CVEKView* m_pView = nullptr;
    CMeasurePromptList m_prompts;
};
