#include "tools/CVTClosedCurve.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/ShapeBuilder.h"

#include "model/CClosedCurveElement.h"
#include "model/CPage.h"

CVTClosedCurve::CVTClosedCurve(CVEKView* view) : CVTClosedCurve(view, nullptr, 0) {}

CVTClosedCurve::CVTClosedCurve(CVEKView* view, CVTSymmetricDraw* owner, int subTool)
    : CVTCurve(view, owner, subTool)
{
    // Again, now that the closed tool's cursor is the one to set.
    CVTClosedCurve::Reset();
}

CVTClosedCurve::~CVTClosedCurve() = default;

void CVTClosedCurve::OnStartArrow() {}
void CVTClosedCurve::OnEndArrow() {}
void CVTClosedCurve::OnEscUp() {}

int CVTClosedCurve::GetPolyline(CPointList& out)
{
    out = m_preview;
    return 1;
}

int CVTClosedCurve::CommittedFlag() const
{
    return m_bSmooth ? 1 : 0;
}

CCurveElement* CVTClosedCurve::CreateCurve(CPage* page, const CCurveNodeList& nodes)
{
    return new CClosedCurveElement(page, page->GetMaxLevel(), CurrentLineType(), Settings().m_crLineColor,
                                   nodes, nullptr);
}

void CVTClosedCurve::ShowControls(int show)
{
    if (CFrameServices* frame = Frame()) frame->ShowLineControls(show, show, show, 0, 0);
}

void CVTClosedCurve::OnCurveCreated(CCurveElement* curve)
{
    if (m_pOwner && m_bSubTool && m_onNewClosedCurve) m_onNewClosedCurve(curve);
}
