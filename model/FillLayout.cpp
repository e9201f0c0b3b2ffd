#include "model/FillLayout.h"

#include "model/CClosedCurveElement.h"

namespace {

struct Frame {
    CRect bounds;
    CPoint centre;
    int middle = 0;
};

Frame FrameOf(CClosedCurveElement& curve)
{
    Frame f;
    f.bounds = curve.GetBoundRect();
    f.centre = CPoint((f.bounds.left + f.bounds.right) / 2, (f.bounds.top + f.bounds.bottom) / 2);
    f.middle = f.centre.y;
    return f;
}

} // namespace

void LayOutGradientFill(CClosedCurveElement& c, int kind, COLORREF first, COLORREF second)
{
    if (kind < FILL_SOLID || kind > FILL_SQUARE) return;
    const Frame f = FrameOf(c);
    const CRect& b = f.bounds;
    c.SetFillKind(kind);
    switch (kind) {
    case FILL_SOLID:
        c.SetStartColor(first);
        break;
    case FILL_LINEAR:
        c.SetGradientColors(first, second);
        c.SetFillAngle(0.0);
        c.SetGradientPoints(b.left, f.middle, b.right, f.middle);
        c.SetBlendPosition(0.5);
        break;
    case FILL_CONICAL:
        c.SetFillAngle(0.0);
        c.SetBlendPosition(0.5);
        c.SetGradientColors(first, second);
        c.SetGradientCenter(f.centre.x, f.centre.y);
        c.SetGradientPoints(b.right, f.middle, b.left, f.middle);
        break;
    default:  // circular and square
        c.SetGradientCenter(f.centre.x, f.centre.y);
        c.SetGradientStart(CPoint(b.right, f.middle));
        if (kind == FILL_SQUARE) c.SetFillAngle(0.0);
        c.SetBlendPosition(0.5);
        c.SetSecondBlendPosition(0.0);
        c.SetStartColor(first);
        c.SetCenterColor(second);
        break;
    }
}

void LayOutBitmapTile(CClosedCurveElement& c)
{
    const Frame f = FrameOf(c);
    c.SetFillKind(FILL_BITMAP);
    c.SetBitmapTileSize(f.bounds.Width(), f.bounds.Height());
    c.SetBitmapCenter(f.centre.x, f.centre.y);
    c.SetFillAngle(0.0);
}

CFillStyle NewLineFillStyle(CClosedCurveElement& c, const CLineAttr& line, COLORREF color,
                            int spacing)
{
    const Frame f = FrameOf(c);
    CFillStyle style;
    style.SetLineAttr(line);
    style.SetColor(color);
    style.SetAngle(0.0);
    style.SetOrigin(f.centre.x, f.centre.y);
    style.SetSpacing(spacing);
    return style;
}
