// The fill editors whose handles are grabbed by one click and dropped by
// the next (the bitmap and the line fills): the fill follows the mouse in
// between, a drag that changed it is one undo step, and Undo or Cancel
// during a drag put the fill back as it was grabbed.
#pragma once

#include "editors/CVTFillEditor.h"

class CVTFillDragEditor : public CVTFillEditor {
public:
    using CVTFillEditor::CVTFillEditor;

    // Ends a drag without its step and leaves the editor idle.
    BOOL UndoStep() override;
    void Cancel() override;

protected:
    // Enters the drag mode `mode` with an undo step open; the step becomes
    // real when the drop finds the fill changed (m_changed).
    void BeginDrag(int mode);
    // Keeps the drag as one step when `keep` and it changed the fill;
    // otherwise puts the fill back and drops the step. The editor is idle
    // after it.
    void EndDrag(bool keep);
    // Puts the fill back as it was when the drag began.
    virtual void RestoreGrabbed() = 0;

    // Whether the fill now differs from what the drag grabbed.
    bool m_changed = false;
};
