// The open-curve tool, the view's default tool. The user clicks the control
// points of an open curve one by one (each captured: an existing node, a
// point on another curve, or a free point); Shift switches between smooth
// and corner points; a right click makes the curve and hands it to the
// tool's control-point editor, which then takes every event until the
// editing ends. Holding Space zooms without losing the points entered.
//
// The closed-curve tool is this tool with a few differences (its own
// cursors and prompt, every point taking the smooth mode, a closed curve
// made at the end), so it derives from it.
#pragma once

#include "app/CCapturePoint.h"
#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "model/CCurveElement.h"
#include "platform/CList.h"
#include "platform/Types.h"

#include <functional>
#include <memory>

class CPage;
class CVTModifyCurve;
class CVTSymmetricDraw;

using CCapturePointList = CList<CCapturePoint>;

class CVTCurve : public CVectorTool {
public:
    // The view's own tool.
    explicit CVTCurve(CVEKView* view);
    // A sub-tool driven by the symmetric-drawing tool (`subTool` nonzero).
    CVTCurve(CVEKView* view, CVTSymmetricDraw* owner, int subTool);
    ~CVTCurve() override;

    // --- Tool operations ---------------------------------------------------
    void Activate() override;
    void Deactivate() override;
    void Reset() override;
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
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
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
    void OnLineType() override;
    void OnStartArrow() override;
    void OnEndArrow() override;
    void OnEscUp() override;

    // --- For the symmetric-drawing tool --------------------------------------
    // The curve as shown: the editor's while editing, else the preview.
    virtual int GetPolyline(CPointList& out);
    // Every entered point, the one following the cursor included.
    int GetEnteredPoints(CCapturePointList& out) const;
    // While editing, the edited curve's nodes; else 0.
    int GetCurveNodes(CCurveNodeList& out) const;
    int GetSmoothFlags(CList<int>& out) const;
    // The number of points clicked so far.
    int GetPointCount() const { return m_nStep; }
    // While editing, whether the editor changed the curve; else 0.
    int IsCurveModified() const;
    // The owner's answers to a curve removed in the editor (Delete took its
    // last nodes) and to a closed curve just made. The symmetric-drawing
    // tool sets them on its sub-tools.
    void SetSubToolDeleteHandler(std::function<void()> handler) { m_onSubToolDelete = std::move(handler); }
    void SetNewClosedCurveHandler(std::function<void(CCurveElement*)> handler)
    {
        m_onNewClosedCurve = std::move(handler);
    }
    // Called with each curve the right click completes, once it is on the
    // page and before its editing starts.
    void SetCompletionHandler(std::function<void(CCurveElement*)> handler) { m_onComplete = std::move(handler); }

    // --- State, for owners and tests -------------------------------------------
    CCurveElement* GetCreatedCurve() const { return m_pCreatedCurve; }
    CVTModifyCurve* GetEditor() const { return m_pEditor.get(); }
    CVTSymmetricDraw* GetOwner() const { return m_pOwner; }
    int IsSubTool() const { return m_bSubTool; }
    int IsEditing() const { return m_bEditing; }
    int IsSmoothMode() const { return m_bSmooth; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }
    // 0 no zoom corner yet, 1 the first corner given.
    int GetZoomStep() const { return m_zoom.GetStep(); }

    // Cursors and prompts.
    static constexpr int kCursorSmooth = 148;
    static constexpr int kCursorCorner = 154;
    static constexpr int kCursorZoom = CZoomBox::kCursorZoomIn;
    static constexpr int kCursorZoomOut = CZoomBox::kCursorZoomOut;
    static constexpr int kPromptEntry = 38001;
    static constexpr int kPromptZoom = CZoomBox::kPrompt;
    static constexpr double kZoomOutFactor = CZoomBox::kZoomOutFactor;

protected:
    // What the closed-curve tool does differently.
    virtual int SmoothCursor() const { return kCursorSmooth; }
    virtual int CornerCursor() const { return kCursorCorner; }
    virtual int EntryPrompt() const { return kPromptEntry; }
    // The smooth flag of a clicked point.
    virtual int CommittedFlag() const;
    // Makes the curve from the nodes; the caller adds it to the page.
    virtual CCurveElement* CreateCurve(CPage* page, const CCurveNodeList& nodes);
    virtual void ShowControls(int show);
    // Called with the curve just put on the page, before the editing starts.
    virtual void OnCurveCreated(CCurveElement* curve);
    // 1 for the closed-curve tool: its last point keeps its flag, and the
    // curve made last is remembered across Reset.
    virtual int MakesClosedCurve() const { return 0; }

    int EntryCursor() const { return m_bSmooth ? SmoothCursor() : CornerCursor(); }
    // The flag of the point following the cursor.
    int FloatingFlag() const { return m_bSmooth && m_nStep > 0 ? 1 : 0; }
    void DropFloatingEntry();
    void RebuildPreview();
    void ShowEntryState();

    CCurveElement* m_pCreatedCurve = nullptr;
    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bSubTool = 0;
    int m_bEditing = 0;
    std::unique_ptr<CVTModifyCurve> m_pEditor;
    int m_bSmooth = 1;
    // The zoom box has its own step: the tool's step counts the points,
    // which a zoom in between must not lose.
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};
    // Shift repeats while it is held; one press switches the mode once.
    int m_bShiftHeld = 0;
    CCapturePointList m_entries;
    CList<int> m_smoothFlags;
    CPointList m_preview;
    std::function<void()> m_onSubToolDelete;
    std::function<void(CCurveElement*)> m_onNewClosedCurve;
    std::function<void(CCurveElement*)> m_onComplete;

private:
    BOOL FinishInput();
};
