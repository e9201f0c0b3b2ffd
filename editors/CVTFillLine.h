// The editor of a line (hatch) fill (fill kind 7): parallel lines at a
// spacing and an angle through an origin. One handle shows on the page: a
// circle at the origin with an arrow along the angle. The circle moves the
// origin, the arrowhead turns the angle (grabbed by one click, dropped by
// the next, the lines following the mouse in between; a drag that changed
// them is one undo step, and Undo or Cancel during it put them back). A
// double click opens the dialog for an exact angle and spacing.
#pragma once

#include "editors/CVTFillDragEditor.h"

#include <QString>

class CClosedCurveElement;
class CVEKView;

class CVTFillLine : public CVTFillDragEditor {
public:
    enum Mode { kIdle = 0, kOverOrigin = 1, kOverArrow = 2, kMovingOrigin = 3, kTurning = 4 };

    CVTFillLine(CVEKView* view, CVTFill* owner);
    ~CVTFillLine() override;

    void Activate() override;
    // Ends a drag where it stands: kept as one step when it changed the
    // lines.
    void Reset() override;
    BOOL HasPendingStep() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // The arrowhead of the handle at q pointing along `degrees`, its tip
    // `tip` and its base `base` units away from q: tip, then the two
    // corners.
    static void ArrowHead(const CPoint& q, double degrees, double tip, double base, CPoint out[3]);
    // The angle the dialog shows for a fill angle, and the fill angle an
    // angle typed there gives: the dialog counts the other way round.
    static double DialogAngle(double fillAngle);
    static double FillAngleOfDialog(double dialogAngle);

    static constexpr UINT kPromptTurn = 38052;
    static constexpr UINT kPromptMove = 38053;
    // "填充线太密，只画出每%1条中的一条": the fill shows only every n-th line.
    static constexpr int kPromptThinned = 36141;
    // The view shows the fill's lines plain (too many dashes), or only
    // some of them (too many stretches).
    static constexpr int kPromptDrawnPlain = 36143;
    static constexpr int kPromptCutShort = 36144;
    // Why the view cannot show the curve's line fill as asked, in words
    // for the status bar; empty when it shows it whole.
    static QString LimitPrompt(CClosedCurveElement& curve, CVEKView& view);

private:
    void Hover(const CPoint& p, BOOL& result);
    void ShowIdlePrompt() const;
    void Grab(int mode, const CPoint& click);
    void Follow(const CPoint& p);
    void RestoreGrabbed() override;

    CPoint m_grabbedOrigin;
    double m_grabbedAngle = 0.0;
};
