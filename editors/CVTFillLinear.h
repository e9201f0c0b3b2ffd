// The editor of a linear gradient (fill kind 3): a line from the gradient
// start S to its end E with a handle at each end and one at the middle
// colour, M = S + t (E - S) for the blend position t. Two clicks on the
// page draw a new line from the first to the second.
#pragma once

#include "editors/CVTFillGradient.h"

class CVTFillLinear : public CVTFillGradient {
public:
    CVTFillLinear(CVEKView* view, CVTFill* owner);
    ~CVTFillLinear() override;

    static constexpr UINT kPromptStart = 38049;
    static constexpr UINT kPromptEnd = 38050;
    static constexpr UINT kPromptMiddle = 38051;

    // The middle handle of a line from s to e at blend position t.
    static CPoint MiddlePoint(const CPoint& s, const CPoint& e, double t);
    // The blend position a middle handle dropped at `drop` gives: the foot
    // of the drop on the line, as a share of the line within it, else 0.1
    // or 0.9 by the nearer end. False for a line without length.
    static bool BlendAt(const CPoint& s, const CPoint& e, const CPoint& drop, double& t);

protected:
    int HitHandle(const CPoint& p, UINT& prompt) const override;
    bool Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const override;
    void DrawGuide(CDC* dc, double scale, int originX, int originY) const override;
    // A new line needs two points: its second click on its first is
    // refused.
    bool KeepsOpenOnRepeatedClick(int mode) const override { return mode == kNewLine; }
    bool BeepsOnRepeatedClick() const override { return true; }
};
