// The editor of a conical gradient (fill kind 5): about the apex C, the
// start point S (where the start colour lies, at the fill angle) and the
// end point E opposite it at the same distance, joined by a half circle,
// and a middle handle S turned back about C by 180 degrees times the blend
// position, where the middle colour lies. Two clicks on the page draw a
// new apex and end point.
#pragma once

#include "editors/CVTFillGradient.h"

class CVTFillConical : public CVTFillGradient {
public:
    CVTFillConical(CVEKView* view, CVTFill* owner);
    ~CVTFillConical() override;

    void Reset() override;
    void Cancel() override;

    static constexpr UINT kPromptTurn = 38063;
    static constexpr UINT kPromptApex = 38064;
    static constexpr UINT kPromptMiddle = 38051;

    // A point turned half a turn about c.
    static CPoint Opposite(const CPoint& p, const CPoint& c);
    static CPoint MiddlePoint(const CPoint& s, const CPoint& c, double t);
    // The direction from c to s in degrees, 0 to 360.
    static double AngleTowards(const CPoint& c, const CPoint& s);

protected:
    int HitHandle(const CPoint& p, UINT& prompt) const override;
    bool Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const override;
    void DrawGuide(CDC* dc, double scale, int originX, int originY) const override;
    int IdleCursor() const override { return 0; }
};
