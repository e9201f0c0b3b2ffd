#include "editors/CVTFillEditor.h"

#include "app/CVEKView.h"

#include "model/CClosedCurveElement.h"
#include "model/CCurveElement.h"
#include "model/CPageSet.h"

CVTFillEditor::CVTFillEditor(CVEKView* view, CVTFill* owner) : CVectorTool(view), m_pOwner(owner) {}

CVTFillEditor::~CVTFillEditor() = default;

void CVTFillEditor::SetElement(CClosedCurveElement* curve)
{
    Reset();
    m_pCurve = curve;
}

bool CVTFillEditor::InsideAnotherCurve(int x, int y) const
{
    CPageSet* pageSet = GetPageSet();
    CCurveElement* found = nullptr;
    if (!pageSet || pageSet->GetPageCount() <= 0) return false;
    return pageSet->FindClosedCurveAt(x, y, found) && found && found != m_pCurve;
}

CClosedCurveElement* CVTFillEditor::CurveAtOutline(int x, int y) const
{
    CCurveElement* curve = nullptr;
    CPoint point;
    double distance = 0.0;
    if (!HitTestClosedCurve(x, y, curve, point, distance)) return nullptr;
    return dynamic_cast<CClosedCurveElement*>(curve);
}

void CVTFillEditor::SetCursor(int cursorId) const
{
    if (m_pView) m_pView->SetToolCursor(cursorId);
}

void CVTFillEditor::Repaint(bool fillChanged) const
{
    if (fillChanged)
        InvalidateView();
    else
        InvalidateFeedback();
}
