#include "editors/CVTFillDragEditor.h"

BOOL CVTFillDragEditor::UndoStep()
{
    EndDrag(false);
    Reset();
    Repaint(true);
    return TRUE;
}

void CVTFillDragEditor::Cancel()
{
    if (HasPendingStep()) {
        UndoStep();
        return;
    }
    Reset();
    Repaint(true);
}

void CVTFillDragEditor::BeginDrag(int mode)
{
    BeginUndoStep();
    m_changed = false;
    m_nMode = mode;
}

void CVTFillDragEditor::EndDrag(bool keep)
{
    if (!HasPendingStep()) return;
    if (keep && m_changed) {
        CommitUndoStep();
    } else {
        if (m_changed && m_pCurve) RestoreGrabbed();
        DropUndoStep();
    }
    m_changed = false;
    m_nMode = 0;
}
