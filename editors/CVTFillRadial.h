// The editor of a circular gradient (fill kind 4): a line from the centre C
// to a start point S on the rim, with a handle at each and one at the
// middle colour, S + t (C - S) for the blend position t. Two clicks on the
// page draw a new line from a new centre to a new start point.
#pragma once

#include "editors/CVTFillGradient.h"

class CVTFillRadial : public CVTFillGradient {
public:
    CVTFillRadial(CVEKView* view, CVTFill* owner);
    ~CVTFillRadial() override;

    static constexpr UINT kPromptMiddle = 38051;
    static constexpr UINT kPromptCentre = 38050;
    static constexpr UINT kPromptStart = 38049;
    static constexpr int kCursorNone = 152;

    // The middle handle of the line from s to the centre c.
    static CPoint MiddlePoint(const CPoint& s, const CPoint& c, double t);
    // The blend position of a middle handle dropped at `drop`: the foot on
    // the line S-C as a share of it, else 0 or 1 by the nearer end. False
    // for a line without length.
    static bool BlendAt(const CPoint& s, const CPoint& c, const CPoint& drop, double& t);

protected:
    int HitHandle(const CPoint& p, UINT& prompt) const override;
    bool Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const override;
    void DrawGuide(CDC* dc, double scale, int originX, int originY) const override;
    int IdleCursor() const override { return kCursorNone; }
};
