#include "app/ShapeBuilder.h"

#include "app/CCapturePoint.h"
#include "settings/CSystemSettings.h"

#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"

CPage* CurrentPageOf(CPageSet* pageSet)
{
    if (!pageSet) return nullptr;
    const int index = pageSet->GetCurrentPageIndex();
    if (index < 0 || index >= pageSet->GetPageCount()) return nullptr;
    return pageSet->GetPageAt(index);
}

CLineAttr CurrentLineType()
{
    const CSystemSettings& settings = Settings();
    const int index = settings.m_nCurLineType;
    if (index < 0 || index >= int(settings.m_aLineTypes.size())) return CLineAttr();
    return settings.m_aLineTypes[std::size_t(index)];
}

CCurveNodeList MakeNodes(CPageSet* pageSet, const CPointList& points, int kind, const CCapturePoint* first)
{
    CCurveNodeList nodes;
    for (const CPoint& p : points) {
        CSharedPoint* shared = nodes.IsEmpty() && first ? first->GetSharedPoint(pageSet)
                                                        : CCapturePoint(p.x, p.y).GetSharedPoint(pageSet);
        if (shared) nodes.AddTail(new CCurveNode(shared, kind));
    }
    return nodes;
}

CClosedCurveElement* AddClosedShape(CPageSet* pageSet, const CCurveNodeList& nodes)
{
    CPage* page = CurrentPageOf(pageSet);
    auto* curve = new CClosedCurveElement(page, page->GetMaxLevel(), CurrentLineType(),
                                          Settings().m_crLineColor, nodes, nullptr);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), curve);
    return curve;
}

COpenCurveElement* NewOpenLine(CPage* page, const CLineAttr& line, const CCurveNodeList& nodes)
{
    const CSystemSettings& settings = Settings();
    return new COpenCurveElement(page, page->GetMaxLevel(), line, settings.m_crLineColor, nodes,
                                 settings.m_nStartArrowType, settings.m_nStartArrowSize,
                                 settings.m_dStartArrowAngle, settings.m_nEndArrowType,
                                 settings.m_nEndArrowSize, settings.m_dEndArrowAngle, nullptr);
}

COpenCurveElement* AddOpenLine(CPageSet* pageSet, const CCurveNodeList& nodes)
{
    COpenCurveElement* curve = NewOpenLine(CurrentPageOf(pageSet), CurrentLineType(), nodes);
    pageSet->AddElementToPage(pageSet->GetCurrentPageIndex(), curve);
    return curve;
}
