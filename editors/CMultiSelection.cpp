#include "editors/CMultiSelection.h"

#include "app/CDesignTool.h"

#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/ElementOffset.h"

namespace {

CCurveElement* AsCurve(CGraphElement* element)
{
    return element && element->GetType() == ELEMENT_CURVE ? static_cast<CCurveElement*>(element) : nullptr;
}

COpenCurveElement* AsOpenCurve(CGraphElement* element)
{
    CCurveElement* curve = AsCurve(element);
    return curve && !curve->IsClosed() ? static_cast<COpenCurveElement*>(curve) : nullptr;
}

struct ArrowHead {
    int kind = 0;
    int size = 0;
    double angle = 0.0;
    bool operator==(const ArrowHead& o) const { return kind == o.kind && size == o.size && angle == o.angle; }
};

ArrowHead StartArrowOf(COpenCurveElement* curve)
{
    ArrowHead start, end;
    curve->GetArrowHeads(start.kind, start.size, start.angle, end.kind, end.size, end.angle);
    return start;
}

ArrowHead EndArrowOf(COpenCurveElement* curve)
{
    ArrowHead start, end;
    curve->GetArrowHeads(start.kind, start.size, start.angle, end.kind, end.size, end.angle);
    return end;
}

} // namespace

bool CMultiSelection::Contains(const CGraphElement* element) const
{
    for (const CGraphElement* e : m_elements)
        if (e == element) return true;
    return false;
}

bool CMultiSelection::Add(CGraphElement* element)
{
    if (!element || Contains(element)) return false;
    m_elements.AddTail(element);
    return true;
}

void CMultiSelection::Set(const CElementList& elements)
{
    m_elements.RemoveAll();
    for (CGraphElement* e : elements) Add(e);
}

bool CMultiSelection::ApplyToCurves(const std::function<bool(CGraphElement*)>& differs,
                                    const std::function<void(CGraphElement*)>& change)
{
    bool any = false;
    for (CGraphElement* e : m_elements) any = any || differs(e);
    if (!any) return false;
    m_tool.SaveUndoState();
    for (CGraphElement* e : m_elements)
        if (differs(e)) change(e);
    return true;
}

bool CMultiSelection::ApplyLineColor(COLORREF colour)
{
    return ApplyToCurves([colour](CGraphElement* e) { return AsCurve(e) && AsCurve(e)->GetColor() != colour; },
                         [colour](CGraphElement* e) {
                             AsCurve(e)->SetColor(colour);
                             e->InvalidateBounds();
                         });
}

// The shapes of a custom type are compared too, since the type's own
// comparison leaves them out.
bool CMultiSelection::ApplyLineType(const CLineAttr& line)
{
    return ApplyToCurves(
        [&line](CGraphElement* e) {
            CCurveElement* curve = AsCurve(e);
            if (!curve) return false;
            const CLineAttr current = curve->GetLineAttr();
            return !(current == line && current.GetShapes() == line.GetShapes());
        },
        [&line](CGraphElement* e) { AsCurve(e)->SetLineAttr(line); });
}

bool CMultiSelection::ApplyStartArrow(int kind, int size, double angle)
{
    const ArrowHead wanted{kind, size, angle};
    return ApplyToCurves([&wanted](CGraphElement* e) { return AsOpenCurve(e) && !(StartArrowOf(AsOpenCurve(e)) == wanted); },
                         [&wanted](CGraphElement* e) {
                             COpenCurveElement* curve = AsOpenCurve(e);
                             curve->SetStartArrowKind(wanted.kind);
                             curve->SetStartArrowSize(wanted.size);
                             curve->SetStartArrowAngle(wanted.angle);
                         });
}

bool CMultiSelection::ApplyEndArrow(int kind, int size, double angle)
{
    const ArrowHead wanted{kind, size, angle};
    return ApplyToCurves([&wanted](CGraphElement* e) { return AsOpenCurve(e) && !(EndArrowOf(AsOpenCurve(e)) == wanted); },
                         [&wanted](CGraphElement* e) {
                             COpenCurveElement* curve = AsOpenCurve(e);
                             curve->SetEndArrowKind(wanted.kind);
                             curve->SetEndArrowSize(wanted.size);
                             curve->SetEndArrowAngle(wanted.angle);
                         });
}

void CMultiSelection::Offset(int dx, int dy)
{
    OffsetElements(m_elements, dx, dy);
}

bool CMultiSelection::DeleteAll(CPageSet* pageSet)
{
    CPage* page = pageSet ? pageSet->GetCurrentPage() : nullptr;
    if (!page || m_elements.IsEmpty()) return false;
    m_tool.SaveUndoState();
    for (CGraphElement* e : m_elements) {
        if (!page->FindElement(e)) continue;
        page->RemoveElement(e);
        delete e;
    }
    m_elements.RemoveAll();
    return true;
}

void CMultiSelection::ClearMarks()
{
    for (CGraphElement* e : m_elements) {
        CCurveElement* curve = AsCurve(e);
        if (!curve) continue;
        for (CCurveNode* node : curve->Nodes()) node->SetMark(0);
        curve->InvalidateBounds();
    }
}

void CMultiSelection::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const
{
    for (CGraphElement* e : m_elements) e->DrawHighlight(dc, scale, originX, originY, clip);
}
