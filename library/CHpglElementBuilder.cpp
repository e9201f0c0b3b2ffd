#include "library/CHpglElementBuilder.h"

#include "library/CHpglDrawing.h"

#include "geometry/Distance.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "model/CTextFont.h"
#include "platform/CDC.h"

CPoint CHpglElementBuilder::ScalePoint(double x, double y) const
{
    return {RoundToInt(x * m_style.outputScaleX - m_style.outputOffset.x),
            RoundToInt(y * m_style.outputScaleY - m_style.outputOffset.y)};
}

std::vector<CGraphElement*> CHpglElementBuilder::AddToPage(const CHpglDrawing& drawing, CPage* page,
                                                           const CPoint& offset) const
{
    std::vector<CGraphElement*> added;
    if (!page) return added;
    const int level = page->GetMaxLevel();
    added.reserve(drawing.Polylines().size() + drawing.Labels().size());

    std::vector<CPoint> points;
    for (const CHpglPolyline& polyline : drawing.Polylines()) {
        const bool closed = polyline.IsClosed();
        points.clear();
        points.reserve(polyline.points.size());
        for (const CPoint& p : polyline.points) {
            const CPoint q = ScalePoint(p.x, p.y) + offset;
            // At a tenth of the size neighbours may meet.
            if (!points.empty() && points.back() == q) continue;
            points.push_back(q);
        }
        if (points.size() < 2) continue;
        const bool stillClosed = closed && points.size() >= 4 && points.front() == points.back();

        CCurveNodeList nodes;
        for (const CPoint& p : points) {
            auto* shared = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(shared);
            nodes.AddTail(new CCurveNode(shared, NODE_CORNER));
        }
        CCurveElement* curve = nullptr;
        if (stillClosed) {
            curve = new CClosedCurveElement(page, level, m_style.closedLine, m_style.lineColor, nodes, nullptr);
        } else {
            CLineAttr line = m_style.openLine;
            line.SetKind(polyline.lineType);
            curve = new COpenCurveElement(page, level, line, m_style.lineColor, nodes, ARROW_NONE,
                                          m_style.startArrowSize, m_style.startArrowAngle, ARROW_NONE,
                                          m_style.endArrowSize, m_style.endArrowAngle);
        }
        page->AddElement(curve);
        added.push_back(curve);
    }

    LogFont font = m_style.font;
    font.lfEscapement = 0;
    for (const CHpglBuiltLabel& label : drawing.Labels()) {
        const CPoint at = ScalePoint(RoundToInt(label.position.x), RoundToInt(label.position.y)) + offset;
        const CTextFont textFont(label.text, font, m_style.fontColor);
        auto* text = new CTextElement(page, level, textFont, at.x, at.y, TRANSPARENT);
        page->AddElement(text);
        added.push_back(text);
    }
    return added;
}
