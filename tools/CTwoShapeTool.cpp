#include "tools/CTwoShapeTool.h"

#include "app/CVEKView.h"

CTwoShapeTool::~CTwoShapeTool() = default;

void CTwoShapeTool::Activate()
{
    CVectorTool::Activate();
    m_bShiftHeld = 0;
    ShowLineControls(0);
    ShowModeState();
}

BOOL CTwoShapeTool::OnShiftDown()
{
    if (m_bShiftHeld) return TRUE;
    m_bShiftHeld = 1;
    if (m_zoom.IsHeld()) {
        if (m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomOut);
        return TRUE;
    }
    Reset();
    m_bSecondShape = m_bSecondShape ? 0 : 1;
    ShowModeState();
    InvalidateView();
    return TRUE;
}

BOOL CTwoShapeTool::OnShiftUp()
{
    m_bShiftHeld = 0;
    if (m_zoom.IsHeld() && m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomIn);
    return TRUE;
}
