// The base of the tools that draw a shape with two clicks and put it on the
// page as one curve: the ruler's line, the rectangle or polygon, the
// ellipse or circle. The symmetric-drawing tool owns one of each as a
// sub-tool: it hears of every curve through the completion handler and
// reads the last one back. While one is current the main window shows the
// line controls. Space zooms, Shift with it zooming out; Cancel and Undo
// drop a first click that waits for its second.
#pragma once

#include "app/CCapturePoint.h"
#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/Types.h"

#include <functional>

class CCurveElement;
class CGraphElement;
class CVTSymmetricDraw;

class CShapeTool : public CVectorTool {
public:
    ~CShapeTool() override;

    void Deactivate() override;
    void Reset() override;
    BOOL OnSpaceDown() override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;

    // The curve the last completing click made; null when that click made
    // nothing (cancelled, refused, degenerate). Every left click clears it
    // first.
    CGraphElement* GetLastElement() const { return m_pLastElement; }
    // Called with each curve the tool puts on the page.
    void SetCompletionHandler(std::function<void(CCurveElement*)> handler) { m_onComplete = std::move(handler); }
    CVTSymmetricDraw* GetOwner() const { return m_pOwner; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }

protected:
    // A sub-tool of the symmetric-drawing tool has an owner (`mirrorSide`
    // nonzero).
    CShapeTool(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide);

    // The main window's line controls; the arrow choices only for lines
    // that have ends.
    void ShowLineControls(int arrows) const;
    // `curve` is the last element, and the completion handler hears of it.
    void Completed(CCurveElement* curve);

    CGraphElement* m_pLastElement = nullptr;
    int m_bShiftHeld = 0;
    // The first click, with what it was captured on.
    CCapturePoint m_ptStart;
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};

private:
    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bMirrorSide = 0;
    std::function<void(CCurveElement*)> m_onComplete;
};
