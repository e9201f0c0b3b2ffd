// The fill tool (view tool 16, command ID_TOOL_FILL "填充闭合线"): the user
// picks a closed curve of the current page and gives it a fill from the
// fill-type combo of the context tool bar (none, bitmap, solid, linear,
// circular, conical or square gradient, line fill), with the colours of the
// gradient pickers or, for a line fill, the line type and colour of the tool
// bar. The fill is then shaped on the page by the editor of its kind, which
// the tool owns and hands the mouse, the drawing, Cancel and Undo while the
// picked curve has that kind. Shift toggles alternate and winding filling,
// Delete takes the fill away; Space held is the temporary zoom.
//
// Other tools hand a closed curve over with EditFill: the tool then holds
// that curve as if the user had clicked it.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include <QString>

#include <memory>

class CClosedCurveElement;
class CVTFillBitmap;
class CVTFillConical;
class CVTFillEditor;
class CVTFillLine;
class CVTFillLinear;
class CVTFillRadial;
class CVTFillSquare;

class CVTFill : public CVectorTool {
public:
    explicit CVTFill(CVEKView* view);
    ~CVTFill() override;

    static constexpr int kCursor = 221;
    static constexpr UINT kPromptPick = 38056;
    // A new line fill: lines every 4 mm.
    static constexpr int kNewLineFillSpacing = 400;
    // "打开文件失败 ！": a picture that cannot be read.
    static constexpr int kMessageCannotOpen = 36066;
    static constexpr int kPictureFilter = 36034;

    // Picks `curve` (a closed curve of the current page) as a click on it
    // would, and hands it to the editor of its fill kind. Null lets the
    // picked curve go.
    void EditFill(CClosedCurveElement* curve);
    CClosedCurveElement* GetPickedCurve() const { return m_pPicked; }
    CClosedCurveElement* GetHoveredCurve() const { return m_pHovered; }
    // The editor of a fill kind; null for the kinds without handles.
    CVTFillEditor* GetEditor(int fillKind) const;
    int IsZoomMode() const { return m_zoom.IsHeld(); }

    // Shows the context tool-bar groups a fill kind uses (-1 hides them
    // all).
    void UpdateFillControls(int kind);

    // The picture file dialog; the chosen path, empty when cancelled.
    static QString AskPictureFile();
    // A string-table message in a box titled with the program's name.
    static void ShowMessage(int messageId);

    // --- Tool operations ---------------------------------------------------
    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnShiftDown() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnDeleteDown() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
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
    void OnLineType() override;
    void OnFillType() override;
    void OnGradientStartColor() override;
    void OnGradientEndColor() override;

private:
    // The editor of the picked curve's kind, or null.
    CVTFillEditor* PickedEditor() const;
    void Pick(CClosedCurveElement* curve);
    // Ends what the editor was doing before the tool itself changes the
    // curve, so each change stays its own step.
    void EndEditorAction();
    void ShowKindInCombo(int kind) const;
    void SetFillKindTo(int kind);
    bool ApplyBitmapFill();
    void ApplyLineFill();
    void StartEditor(int kind);
    // Says in the status bar why the view cannot show the line fill as
    // asked (thinned, drawn plain, cut short), if it cannot.
    void TellLineFillLimits() const;

    std::unique_ptr<CVTFillBitmap> m_pBitmapEditor;
    std::unique_ptr<CVTFillLinear> m_pLinearEditor;
    std::unique_ptr<CVTFillRadial> m_pRadialEditor;
    std::unique_ptr<CVTFillConical> m_pConicalEditor;
    std::unique_ptr<CVTFillSquare> m_pSquareEditor;
    std::unique_ptr<CVTFillLine> m_pLineEditor;
    CClosedCurveElement* m_pPicked = nullptr;
    CClosedCurveElement* m_pHovered = nullptr;
    CSpaceZoom m_zoom{*this, m_nStep};
};
