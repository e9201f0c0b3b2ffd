#include "tools/CurveMirror.h"

#include "geometry/Lines.h"
#include "geometry/Reflection.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"

#include <vector>

CCurveMirror::~CCurveMirror() { GiveBack(); }

bool CCurveMirror::Make(CPage& page, const CCurveElement& source, const CPoint& axisStart,
                        const CPoint& axisEnd)
{
    GiveBack();
    CSharedPoint* axis1 = nullptr;
    CSharedPoint* axis2 = nullptr;
    if (!page.AddMirrorAxis(axisStart, axisEnd, axis1, axis2)) return false;
    const bool made = MakeAcross(page, source, axis1, axis2);
    if (!made) {
        page.RemovePointIfUnused(axis1);
        page.RemovePointIfUnused(axis2);
        return false;
    }
    m_ownsAxis = true;
    return true;
}

bool CCurveMirror::MakeAcross(CPage& page, const CCurveElement& source, CSharedPoint* axis1, CSharedPoint* axis2)
{
    GiveBack();
    m_page = &page;
    m_axis1 = axis1;
    m_axis2 = axis2;
    m_ownsAxis = false;
    for (const CCurveNode* node : source.Nodes()) {
        CSharedPoint* point = page.AddMirroredPoint(node->GetPoint(), m_axis1, m_axis2);
        if (!point) {
            GiveBack();
            return false;
        }
        m_nodes.AddTail(new CCurveNode(point, node->GetKind()));
    }
    return true;
}

CCurveNodeList CCurveMirror::TakeNodes()
{
    CCurveNodeList nodes = m_nodes;
    m_nodes.RemoveAll();
    // The axis now belongs to the image's points.
    m_axis1 = m_axis2 = nullptr;
    m_ownsAxis = false;
    m_page = nullptr;
    return nodes;
}

void CCurveMirror::GiveBack()
{
    if (!m_page) return;
    std::vector<CSharedPoint*> points;
    for (CCurveNode* node : m_nodes) {
        points.push_back(node->GetPoint());
        delete node;
    }
    m_nodes.RemoveAll();
    // The mirrored points first: the axis points are in use while they are.
    m_page->RemovePointsIfUnused(points);
    if (m_ownsAxis) {
        m_page->RemovePointIfUnused(m_axis1);
        m_page->RemovePointIfUnused(m_axis2);
    }
    m_axis1 = m_axis2 = nullptr;
    m_ownsAxis = false;
    m_page = nullptr;
}

COpenCurveElement* NewMirrorImage(CPage& page, int level, const CLineAttr& line, COLORREF colour,
                                  const CCurveNodeList& nodes, COpenCurveElement& source)
{
    int startKind = 0, startSize = 0, endKind = 0, endSize = 0;
    double startAngle = 0.0, endAngle = 0.0;
    source.GetArrowHeads(startKind, startSize, startAngle, endKind, endSize, endAngle);
    return new COpenCurveElement(&page, level, line, colour, nodes, startKind, startSize, startAngle, endKind,
                                 endSize, endAngle, &source);
}

void ExchangeLineSides(CLineAttr& line)
{
    if (line.GetKind() == LINE_SIDE_PLUS)
        line.SetKind(LINE_SIDE_MINUS);
    else if (line.GetKind() == LINE_SIDE_MINUS)
        line.SetKind(LINE_SIDE_PLUS);
}

namespace {

CPoint Reflect(const CPoint& p, const CPoint& a, const CPoint& b)
{
    CPoint out = p;
    MirrorPointAcrossPoints(p.x, p.y, a.x, a.y, b.x, b.y, out);
    return out;
}

} // namespace

void MirrorFill(const CClosedCurveElement& source, CClosedCurveElement& image, const CPoint& axis1,
                const CPoint& axis2)
{
    image.SetFillKind(source.GetFillKind());
    image.SetFillMode(source.GetFillMode());
    image.SetFillAlpha(source.GetFillAlpha());
    switch (source.GetFillKind()) {
    case FILL_BITMAP: {
        if (const CPixelBlock* bitmap = source.GetFillBitmap()) image.SetFillBitmap(bitmap->Image());
        const CSize tile = source.GetBitmapTileSize();
        image.SetBitmapTileSize(tile.cx, tile.cy);
        const CPoint centre = source.GetBitmapCenter();
        const CPoint reflected = Reflect(centre, axis1, axis2);
        image.SetBitmapCenter(reflected.x, reflected.y);
        image.SetBitmapFillValue(source.GetBitmapFillValue());
        image.SetFillAngle(MirrorAngleDegrees(source.GetFillAngle(), centre, axis1, axis2));
        break;
    }
    case FILL_SOLID:
        image.SetStartColor(source.GetStartColor());
        break;
    case FILL_LINEAR:
    case FILL_CIRCULAR:
    case FILL_CONICAL:
    case FILL_SQUARE: {
        image.SetGradientColors(source.GetStartColor(), source.GetEndColor());
        image.SetCenterColor(source.GetCenterColor());
        image.SetBlendPosition(source.GetBlendPosition());
        image.SetSecondBlendPosition(source.GetSecondBlendPosition());
        image.SetGammaCorrection(source.GetGammaCorrection());
        const CPoint start = Reflect(source.GetGradientStart(), axis1, axis2);
        const CPoint end = Reflect(source.GetGradientEnd(), axis1, axis2);
        image.SetGradientPoints(start.x, start.y, end.x, end.y);
        const CPoint centre = source.GetGradientCenter();
        const CPoint reflected = Reflect(centre, axis1, axis2);
        image.SetGradientCenter(reflected.x, reflected.y);
        image.SetFillAngle(MirrorAngleDegrees(source.GetFillAngle(), centre, axis1, axis2));
        break;
    }
    case FILL_LINES: {
        CFillStyle style = source.GetLineFillStyle();
        const CPoint origin = style.GetOrigin();
        const CPoint reflected = Reflect(origin, axis1, axis2);
        style.SetOrigin(reflected.x, reflected.y);
        style.SetAngle(MirrorAngleDegrees(style.GetAngle(), origin, axis1, axis2));
        image.SetLineFillStyle(style);
        break;
    }
    default:
        break;
    }
}
