// Small builders of page content for the clipboard, printing and server
// item tests: shared points, open and closed curves on them, and a record
// of one page for comparisons.
#pragma once

#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CLineAttr.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QColor>
#include <QImage>

#include <initializer_list>
#include <string>
#include <vector>

inline CSharedPoint* AddPoint(CPage* page, int x, int y)
{
    auto* point = new CSharedPoint(page, x, y);
    page->AddPoint(point);
    return point;
}

inline CCurveNodeList Corners(std::initializer_list<CSharedPoint*> points)
{
    CCurveNodeList nodes;
    for (CSharedPoint* p : points) nodes.AddTail(new CCurveNode(p, NODE_CORNER));
    return nodes;
}

inline COpenCurveElement* AddOpenCurve(CPage* page, std::initializer_list<CSharedPoint*> points,
                                       COLORREF colour = RGB(0, 0, 255), int level = 0)
{
    auto* curve = new COpenCurveElement(page, level, CLineAttr::Plain(10), colour, Corners(points), 0, 0, 0.0,
                                        0, 0, 0.0);
    page->AddElement(curve);
    return curve;
}

// A square with a solid fill, its corners new points of the page.
inline CClosedCurveElement* AddFilledSquare(CPage* page, int left, int top, int side, COLORREF fill,
                                            int level = 0)
{
    CSharedPoint* a = AddPoint(page, left, top);
    CSharedPoint* b = AddPoint(page, left + side, top);
    CSharedPoint* c = AddPoint(page, left + side, top + side);
    CSharedPoint* d = AddPoint(page, left, top + side);
    auto* square = new CClosedCurveElement(page, level, CLineAttr::Plain(10), fill, Corners({a, b, c, d}), nullptr,
                                           fill);
    page->AddElement(square);
    return square;
}

inline std::string PageRecord(const CPage& page)
{
    CArchive ar;
    page.Store(ar);
    return ar.Buffer();
}

inline std::string ElementRecord(const CGraphElement& element)
{
    CArchive ar;
    element.Store(ar);
    return ar.Buffer();
}

inline std::vector<CPoint> NodePositions(const CCurveElement& curve)
{
    std::vector<CPoint> positions;
    for (const CCurveNode* node : curve.Nodes()) positions.push_back(node->GetPosition());
    return positions;
}

inline CGraphElement* ElementAt(const CPage& page, int index)
{
    return page.ElementAt(index);
}

// True when the colour lies within `tolerance` of the expected one on every
// channel (JPEG and anti-aliasing move colours a little).
inline bool Near(const QColor& c, COLORREF expected, int tolerance = 24)
{
    return std::abs(c.red() - GetRValue(expected)) <= tolerance && std::abs(c.green() - GetGValue(expected)) <= tolerance
           && std::abs(c.blue() - GetBValue(expected)) <= tolerance;
}
