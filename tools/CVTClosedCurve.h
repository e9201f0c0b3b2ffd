// The closed-curve tool: control points are entered as with the open-curve
// tool, but every point (the first one too) takes the smooth mode, and a
// right click makes a closed, fillable curve that goes to the control-point
// editor. Closed curves have no arrowheads.
#pragma once

#include "tools/CVTCurve.h"

class CVTClosedCurve : public CVTCurve {
public:
    explicit CVTClosedCurve(CVEKView* view);
    CVTClosedCurve(CVEKView* view, CVTSymmetricDraw* owner, int subTool);
    ~CVTClosedCurve() override;

    // Arrowheads mean nothing to a closed curve, and Esc is not passed on.
    void OnStartArrow() override;
    void OnEndArrow() override;
    void OnEscUp() override;

    // Always the tool's own preview (empty while the editor works).
    int GetPolyline(CPointList& out) override;

    static constexpr int kCursorSmooth = 149;
    static constexpr int kCursorCorner = 163;
    static constexpr int kPromptEntry = 38002;

protected:
    int SmoothCursor() const override { return kCursorSmooth; }
    int CornerCursor() const override { return kCursorCorner; }
    int EntryPrompt() const override { return kPromptEntry; }
    int CommittedFlag() const override;
    CCurveElement* CreateCurve(CPage* page, const CCurveNodeList& nodes) override;
    void ShowControls(int show) override;
    void OnCurveCreated(CCurveElement* curve) override;
    int MakesClosedCurve() const override { return 1; }
};
