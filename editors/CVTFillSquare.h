// The editor of a square gradient (fill kind 6): handles as for the
// circular gradient; the square also turns so that its side faces the
// start point, the fill angle following the direction from the centre to
// the start point.
#pragma once

#include "editors/CVTFillRadial.h"

class CVTFillSquare : public CVTFillRadial {
public:
    CVTFillSquare(CVEKView* view, CVTFill* owner);
    ~CVTFillSquare() override;

    void Cancel() override;

    // The fill angle of a square centred on c facing s, in degrees from the
    // page's x axis towards its y axis, 0 to 360.
    static double AngleFacing(const CPoint& c, const CPoint& s);

protected:
    bool Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const override;
    int IdleCursor() const override { return kCursorIdle; }
};
