// The ruler tool: a straight line between two clicked points, its length
// shown beside the cursor while it is drawn. The start may be captured on
// existing drawing and then shares that node; with Shift the line keeps to
// the nearest multiple of 45 degrees and its end snaps to the nearest
// crossing with a curve (not with Ctrl); with value dialogs on, the length
// can be typed. The result is an open curve of two corners.
//
// The symmetric-drawing tool owns one as a sub-tool: it reads the line in
// progress for its mirrored preview and the line each click completed.
#pragma once

#include "app/CCapturePoint.h"
#include "app/CVectorTool.h"
#include "app/CZoomBox.h"

#include "platform/Types.h"

#include <functional>

class CCurveElement;
class CGraphElement;
class CVTSymmetricDraw;

class CVTRuler : public CVectorTool {
public:
    explicit CVTRuler(CVEKView* view);
    // A sub-tool of the symmetric-drawing tool (`mirrorSide` nonzero).
    CVTRuler(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide);
    ~CVTRuler() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // The line in progress; 0 before its start is given.
    int GetLinePoints(CPoint& start, CPoint& end) const;
    // The line the last completing click made; null when that click made
    // nothing. Cleared at every such click.
    CGraphElement* GetLastElement() const { return m_pLastElement; }
    // Called with each line the tool puts on the page.
    void SetCompletionHandler(std::function<void(CCurveElement*)> handler) { m_onComplete = std::move(handler); }
    CVTSymmetricDraw* GetOwner() const { return m_pOwner; }

    int IsOnCrossing() const { return m_bOnCrossing; }
    int IsZoomMode() const { return m_zoomBox.IsHeld(); }

    static constexpr int kCursor = 173;
    static constexpr int kCursorConstrained = 172;
    static constexpr UINT kPromptStart = 38015;
    static constexpr UINT kPromptEnd = 38016;
    static constexpr UINT kPromptConstrainedEnd = 38014;

private:
    void SetLengthPrompt(int x, int y);
    // Asks for the length; false when cancelled.
    bool AskLength();
    void CreateLine();

    CGraphElement* m_pLastElement = nullptr;
    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bMirrorSide = 0;
    int m_nZoomStep = 0;
    CZoomBox m_zoomBox{m_nZoomStep};
    int m_bShiftHeld = 0;
    CCapturePoint m_ptStart;
    CPoint m_ptLineStart;
    CPoint m_ptLineEnd;
    int m_bOnCrossing = 0;
    std::function<void(CCurveElement*)> m_onComplete;
};
