// The ellipse and circle tool. In ellipse mode two clicks give opposite
// corners of the ellipse's box; in circle mode the first click gives the
// centre and the second a point on the rim. Shift switches the mode, Space
// zooms. With value dialogs on, the second point can be typed: the box's
// width and height, or the radius. The result is a closed curve of smooth
// nodes on new points: 32 for an ellipse, 12 for a circle.
//
// The symmetric-drawing tool owns one as a sub-tool: it reads the shape in
// progress for its mirrored preview and the element each click completed.
#pragma once

#include "app/CCapturePoint.h"
#include "app/CVectorTool.h"
#include "app/CZoomBox.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <functional>

class CCurveElement;
class CGraphElement;
class CVTSymmetricDraw;

class CVTEllipse : public CVectorTool {
public:
    explicit CVTEllipse(CVEKView* view);
    // A sub-tool of the symmetric-drawing tool (`mirrorSide` nonzero).
    CVTEllipse(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide);
    ~CVTEllipse() override;

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

    // The nodes the shape in progress would get (12 or 32 points); 0 when
    // no shape is under way.
    int GetShapePoints(CPointList& out) const;
    // The curve the last completing click made; null when that click made
    // nothing. Cleared at every left click.
    CGraphElement* GetLastElement() const { return m_pLastElement; }
    // Called with each curve the tool puts on the page.
    void SetCompletionHandler(std::function<void(CCurveElement*)> handler) { m_onComplete = std::move(handler); }
    CVTSymmetricDraw* GetOwner() const { return m_pOwner; }

    int IsCircleMode() const { return m_bCircleMode; }
    int IsZoomMode() const { return m_zoomBox.IsHeld(); }

    static constexpr int kCursorEllipse = 177;
    static constexpr int kCursorCircle = 178;
    static constexpr UINT kPromptEllipse = 38018;
    static constexpr UINT kPromptCircleCentre = 38019;
    static constexpr UINT kPromptRadius = 38020;

private:
    void ShowModeState();
    bool AskSize();
    void Complete();
    // The shape's points for the view's current scale; false when it has
    // no size.
    bool ShapePoints(CPointList& out) const;

    CGraphElement* m_pLastElement = nullptr;
    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bMirrorSide = 0;
    int m_nZoomStep = 0;
    CZoomBox m_zoomBox{m_nZoomStep};
    CCapturePoint m_ptStart;
    // The box corners in ellipse mode; centre and rim point in circle mode.
    CPoint m_ptRectA;
    CPoint m_ptRectB;
    int m_bCircleMode = 0;
    int m_bShiftHeld = 0;
    std::function<void(CCurveElement*)> m_onComplete;
};
