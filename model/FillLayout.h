// Where a fill newly given to a closed curve lies: every kind is laid out
// on the curve's bounding rectangle B, about its centre C, with the line
// across at the middle height M. The fill tool gives curves their fills
// with these; the editors then reshape them.
#pragma once

#include "model/CFillStyle.h"

#include "platform/Types.h"

class CClosedCurveElement;
class CLineAttr;

// Kinds 2 to 6 with the two colours of the tool bar: a solid fill of the
// first; a linear gradient from (left, M) to (right, M); circular and
// square gradients about C from the first colour at (right, M) to the
// second at the centre; a conical gradient about C from the first colour
// at (right, M) to the second at (left, M); all with the middle colour
// half way and no angle. Sets the kind; other kinds do nothing.
void LayOutGradientFill(CClosedCurveElement& curve, int kind, COLORREF first, COLORREF second);
// A bitmap fill of one tile as large as B, centred on C, not turned. Sets
// the kind; the bitmap is the caller's.
void LayOutBitmapTile(CClosedCurveElement& curve);
// Lines of the given type and colour along the x axis through C,
// `spacing` apart.
CFillStyle NewLineFillStyle(CClosedCurveElement& curve, const CLineAttr& line, COLORREF color,
                            int spacing);
