// The freehand tool: press the left button, drag, release; the track
// becomes one open curve whose inner nodes are smooth, so it follows the
// hand's line with few control points. Nothing snaps: points are taken as
// the mouse gives them. Holding Space zooms.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <functional>

class CCurveElement;
class CGraphElement;
class CVTSymmetricDraw;

class CVTFreehand : public CVectorTool {
public:
    explicit CVTFreehand(CVEKView* view);
    // A sub-tool of the symmetric-drawing tool; a nonzero `mirrorSide`
    // draws the one-sided line kinds on the other side.
    CVTFreehand(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide);
    ~CVTFreehand() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
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

    // The stroke in progress (the mirror image is drawn from it).
    int GetTrackPoints(CPointList& out) const;
    // The curve the last stroke made, or null.
    CGraphElement* GetLastElement() const { return m_pLastElement; }
    // Called with each stroke the tool puts on the page.
    void SetCompletionHandler(std::function<void(CCurveElement*)> handler) { m_onComplete = std::move(handler); }
    CVTSymmetricDraw* GetOwner() const { return m_pOwner; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }

    static constexpr int kCursor = 176;
    static constexpr int kCursorZoom = CZoomBox::kCursorZoomIn;
    static constexpr int kCursorZoomOut = CZoomBox::kCursorZoomOut;
    static constexpr int kPromptZoom = CZoomBox::kPrompt;
    static constexpr double kZoomOutFactor = CZoomBox::kZoomOutFactor;

private:
    void Complete();

    CGraphElement* m_pLastElement = nullptr;
    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bMirrorSide = 0;
    // Counts its corners in the tool's step, which a stroke does not use.
    CSpaceZoom m_zoom{*this, m_nStep};
    CPointList m_track;
    std::function<void(CCurveElement*)> m_onComplete;
};
