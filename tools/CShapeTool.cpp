#include "tools/CShapeTool.h"

#include "app/CFrameServices.h"
#include "app/CVEKView.h"

#include "model/CCurveElement.h"

CShapeTool::CShapeTool(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide)
    : CVectorTool(view), m_pOwner(owner), m_bMirrorSide(mirrorSide) {}

CShapeTool::~CShapeTool() = default;

void CShapeTool::ShowLineControls(int arrows) const
{
    if (CFrameServices* frame = Frame()) frame->ShowLineControls(1, 1, 1, arrows, arrows);
}

void CShapeTool::Deactivate()
{
    CVectorTool::Deactivate();
    if (CFrameServices* frame = Frame()) frame->ShowLineControls(0, 0, 0, 0, 0);
    InvalidateView();
}

void CShapeTool::Reset()
{
    CVectorTool::Reset();
    m_zoom.Release();
}

void CShapeTool::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CShapeTool::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CShapeTool::HasPendingStep() { return m_nStep > 0 ? TRUE : FALSE; }

BOOL CShapeTool::OnSpaceDown()
{
    m_zoom.Hold(m_bShiftHeld);
    return TRUE;
}

BOOL CShapeTool::OnLButtonUp(UINT, int, int) { return TRUE; }

BOOL CShapeTool::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld()) m_zoom.OnRButtonDown(flags, y);
    return TRUE;
}

void CShapeTool::Completed(CCurveElement* curve)
{
    m_pLastElement = curve;
    if (m_onComplete) m_onComplete(curve);
}
