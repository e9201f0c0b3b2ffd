// The select tool: finds the element under the mouse and highlights it;
// a click selects it and from then on every event goes to the editor of
// its kind (curve, picture, text, table) until a click falls away from it.
//
// Beside the one selected element the tool keeps a list of several
// (CMultiSelection): Shift+click (or Ctrl+click where no editor takes the
// click) adds the element under the mouse, and dragging a rubber band
// over empty paper takes every element lying wholly inside it. With
// nothing selected, the tool bar's line colour, line type and arrowheads
// apply to the list's curves, and Delete, Copy and Cut act on the whole
// list; pressing on a listed element and dragging moves the list, and the
// arrow keys move it (or the selected element) by a pixel, with Ctrl by
// ten. What is pasted becomes the list, so it can be moved at once.
//
// A closed curve's fill goes to the fill tool, and tables go to the
// table editor that the tables module provides (CTableEditing), made by
// the factory the tool is given; without one, tables are left alone.
//
// Space gives the temporary zoom mode. The symmetric-drawing tool owns a
// second instance as its sub-tool and reads the selected curve.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"
#include "editors/CMultiSelection.h"
#include "editors/CTableEditing.h"

#include "model/CCurveElement.h"
#include "platform/Types.h"

#include <functional>
#include <memory>

class CVTModifyCurve;
class CVTModifyPicture;
class CVTModifyText;
class CVTSymmetricDraw;

class CVTSelect : public CVectorTool {
public:
    // The view's own tool; tables go to editors that `tableEditor` makes.
    explicit CVTSelect(CVEKView* view, CTableEditing::Factory tableEditor = nullptr);
    // A sub-tool of the symmetric-drawing tool (`subTool` nonzero).
    CVTSelect(CVEKView* view, CVTSymmetricDraw* owner, int subTool, CTableEditing::Factory tableEditor = nullptr);
    ~CVTSelect() override;

    static constexpr int kCursor = 152;
    static constexpr int kCursorText = 216;
    static constexpr int kCursorTable = 197;
    // Capture masks of the hover: curves and texts first, then pictures,
    // tables and the inert kind.
    static constexpr DWORD kMaskCurvesTexts = ELEMENT_CURVE | ELEMENT_TEXT;
    static constexpr DWORD kMaskPicturesTables = ELEMENT_IMAGE | ELEMENT_TABLE | ELEMENT_TEXTPAIR;
    // Pixels the mouse must travel with the button held before a press
    // becomes a rubber band or a move.
    static constexpr int kDragThreshold = 3;
    // Pixels an arrow key moves by, and with Ctrl.
    static constexpr int kArrowStep = 1;
    static constexpr int kArrowStepLarge = 10;

    // --- State, for owners and tests ---------------------------------------
    CGraphElement* GetSelected() const { return m_pSelected; }
    CGraphElement* GetHovered() const { return m_pHovered; }
    const CMultiSelection& GetMultiSelection() const { return m_multi; }
    CVTModifyCurve* GetCurveEditor() const { return m_pCurveEditor.get(); }
    CVTModifyText* GetTextEditor() const { return m_pTextEditor.get(); }
    CVTModifyPicture* GetPictureEditor() const { return m_pPictureEditor.get(); }
    CTableEditing* GetTableEditor() const { return m_pTableEditor.get(); }
    int IsZoomMode() const { return m_zoom.IsHeld(); }
    bool HasMirrorAxis() const { return m_bMirrorAxis; }
    CPoint GetMirrorAxis1() const { return m_ptAxis1; }
    CPoint GetMirrorAxis2() const { return m_ptAxis2; }
    bool IsBandShown() const { return m_press == Press::Band; }

    // --- For the symmetric-drawing tool --------------------------------------
    int GetCurvePolyline(CPointList& out) const;
    int GetCurveNodes(CCurveNodeList& out) const;
    int IsCurveModified() const;
    void SetEditElementHandler(std::function<void(CGraphElement*)> handler) { m_onEditElement = std::move(handler); }
    void SetSubToolDeleteHandler(std::function<void()> handler) { m_onSubToolDelete = std::move(handler); }

    // A closed curve's fill is the fill tool's to edit: while a closed
    // curve is selected the fill-type combo shows, and a fill choice (kind
    // or gradient colour) makes the fill tool current with that curve
    // picked (CVTFill::EditFill), where the choice then applies.
    enum FillChoice : UINT { kFillTypeChoice = 1, kGradientStartChoice = 2, kGradientEndChoice = 3 };
    bool HandOverFill(UINT choice);

    // Copy or cut the table being edited through the select tool.
    void OnCopyTable();
    void OnCutTable();

    // --- Tool operations ---------------------------------------------------
    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnTabDown() override;
    BOOL OnTabUp() override;
    BOOL OnReturnDown() override;
    BOOL OnReturnUp() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnCtrlDown() override;
    BOOL OnCtrlUp() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnDeleteDown() override;
    BOOL OnDeleteUp() override;
    BOOL OnDigitDown(char digit) override;
    BOOL OnDigitUp(char digit) override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;
    void OnEditCopy() override;
    void OnEditCut() override;
    BOOL CanCopy() override;
    void OnLineColorChanged() override;
    void OnLineColor() override;
    void OnFontColorChanged() override;
    void OnFontColor() override;
    void OnCellColorChanged() override;
    void OnCellColor() override;
    void OnFontChanged() override;
    void OnFont() override;
    void OnLineType() override;
    void OnStartArrow() override;
    void OnEndArrow() override;
    void OnAlignment() override;
    BOOL CanMergeCells() override;
    void MergeCells() override;
    void SplitCells() override;
    void InsertColumnLeft() override;
    BOOL CanInsertColumn() override;
    void InsertColumnRight() override;
    void InsertRowBefore() override;
    void InsertRowAfter() override;
    void ToggleDiagonalA() override;
    void ToggleDiagonalB() override;
    void DeleteRow() override;
    void DeleteColumn() override;
    void TableProperties() override;
    void OnFillType() override;
    void OnGradientStartColor() override;
    void OnGradientEndColor() override;
    void OnEscUp() override;
    BOOL OnArrowDown(int dx, int dy, UINT flags, BOOL autoRepeat) override;
    void OnElementsPasted(const CList<CGraphElement*>& elements) override;

private:
    // What a left press that is not yet a click has become.
    enum class Press { None, Pending, Band, Moving };

    // The editor of the selected element's kind, null for none.
    CVectorTool* Editor() const;
    CTableEditing* TableEditor();
    // By the kind noted when it was selected: an editor that deletes its
    // element calls this tool's Reset after the element is gone.
    bool IsSelected(int kind) const { return m_pSelected && m_nSelectedKind == kind; }
    void ShowFontControls(int show) const;
    void ShowTextControls(int show) const;

    BOOL Hover(UINT flags, int x, int y);
    void Select(CGraphElement* element, UINT flags, int x, int y);
    void Deselect();
    void TakeMirrorAxis(CCurveElement* curve);
    void AddToMultiSelection(CGraphElement* element);
    BOOL SelectAt(UINT flags, int x, int y);

    void StartPress(Press kind, int x, int y);
    bool PressMoved(int x, int y) const;
    void ContinuePress(int x, int y);
    BOOL EndPress(UINT flags, int x, int y);
    void TakeBand(UINT flags);
    void EndMoveStep();
    void DeleteSelectedCurve();
    void DeleteList();
    void ShowFillTypeControls(int show) const;

    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bSubTool = 0;
    CTableEditing::Factory m_makeTableEditor = nullptr;
    std::unique_ptr<CVTModifyCurve> m_pCurveEditor;
    std::unique_ptr<CVTModifyText> m_pTextEditor;
    std::unique_ptr<CVTModifyPicture> m_pPictureEditor;
    std::unique_ptr<CTableEditing> m_pTableEditor;
    CGraphElement* m_pSelected = nullptr;
    int m_nSelectedKind = 0;
    CGraphElement* m_pHovered = nullptr;
    CMultiSelection m_multi{*this};
    bool m_bMirrorAxis = false;
    CPoint m_ptAxis1;
    CPoint m_ptAxis2;
    CSpaceZoom m_zoom{*this, m_nStep};

    // A left press on empty paper (a possible rubber band) or on a listed
    // element (a possible move of the list), and where it has got to.
    Press m_press = Press::None;
    CPoint m_ptPress;
    CPoint m_ptPressNow;
    CGraphElement* m_pPressed = nullptr;
    bool m_bMoveCommitted = false;
    // The arrow keys' step: open while a key is held.
    bool m_bArrowStepOpen = false;

    std::function<void(CGraphElement*)> m_onEditElement;
    std::function<void()> m_onSubToolDelete;
};
