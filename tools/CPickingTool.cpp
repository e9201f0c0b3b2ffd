#include "tools/CPickingTool.h"

#include "app/CVEKView.h"

CPickingTool::CPickingTool(CVEKView* view, int cursor, UINT prompt)
    : CVectorTool(view), m_cursor(cursor), m_prompt(prompt)
{
}

BOOL CPickingTool::OnReturnDown() { return TRUE; }
BOOL CPickingTool::OnReturnUp() { return TRUE; }
BOOL CPickingTool::OnShiftDown() { return TRUE; }
BOOL CPickingTool::OnShiftUp() { return TRUE; }
BOOL CPickingTool::OnCtrlDown() { return TRUE; }
BOOL CPickingTool::OnCtrlUp() { return TRUE; }
BOOL CPickingTool::OnDeleteDown() { return TRUE; }
BOOL CPickingTool::OnDeleteUp() { return TRUE; }
BOOL CPickingTool::OnEndDown() { return TRUE; }
BOOL CPickingTool::OnEndUp() { return TRUE; }
BOOL CPickingTool::OnLButtonUp(UINT, int, int) { return TRUE; }
BOOL CPickingTool::OnLButtonDblClk(UINT, int, int) { return TRUE; }
BOOL CPickingTool::OnRButtonUp(UINT, int, int) { return TRUE; }
BOOL CPickingTool::OnRButtonDblClk(UINT, int, int) { return TRUE; }

BOOL CPickingTool::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CPickingTool::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(m_cursor);
    ShowPrompt(m_prompt);
    InvalidateFeedback();
    return TRUE;
}

void CPickingTool::Cancel()
{
    Reset();
    InvalidateView();
}

BOOL CPickingTool::UndoStep()
{
    Cancel();
    return TRUE;
}

BOOL CPickingTool::HasPendingStep()
{
    return CVectorTool::HasPendingStep() || m_nStep > 0 ? TRUE : FALSE;
}
