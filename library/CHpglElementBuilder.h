// Turns a built plotter drawing into elements of a page: each polyline an
// open or closed curve on new shared points, each label a text.
#pragma once

#include "model/CLineAttr.h"
#include "platform/LogFont.h"
#include "platform/Types.h"

#include <vector>

class CGraphElement;
class CHpglDrawing;
class CPage;

struct HpglElementStyle {
    // Closed outlines take this line as it is; open lines take it with the
    // polyline's line-type code as kind.
    CLineAttr closedLine;
    CLineAttr openLine;
    COLORREF lineColor = 0;
    int startArrowSize = 600;
    double startArrowAngle = 53.0;
    int endArrowSize = 600;
    double endArrowAngle = 53.0;
    // Labels: the font (turned to no escapement) and its colour.
    LogFont font;
    COLORREF fontColor = 0;
    // Page = drawing x scale - offset, rounded.
    double outputScaleX = 0.1;
    double outputScaleY = 0.1;
    CPoint outputOffset;
};

class CHpglElementBuilder {
public:
    explicit CHpglElementBuilder(const HpglElementStyle& style) : m_style(style) {}

    // Adds the elements to the page at its highest drawing level, curves
    // first in drawing order, then the texts; each moved by `offset` after
    // scaling. Returns them in that order. A polyline that shrinks to a
    // single point at page scale is left out.
    std::vector<CGraphElement*> AddToPage(const CHpglDrawing& drawing, CPage* page,
                                          const CPoint& offset = CPoint()) const;

    CPoint ScalePoint(double x, double y) const;

private:
    HpglElementStyle m_style;
};
