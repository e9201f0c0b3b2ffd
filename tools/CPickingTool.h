// A tool that picks points one after the other with the left button and
// ends with the right: it takes every other key and click it is offered,
// so none reaches the view, and Space holds the zoom box. Escape, undo of
// the step and a pending step all concern the points picked so far.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/Types.h"

class CPickingTool : public CVectorTool {
public:
    // The tool's cursor and prompt, shown again when Space is let go.
    CPickingTool(CVEKView* view, int cursor, UINT prompt);

    BOOL OnReturnDown() override;
    BOOL OnReturnUp() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnCtrlDown() override;
    BOOL OnCtrlUp() override;
    BOOL OnDeleteDown() override;
    BOOL OnDeleteUp() override;
    BOOL OnEndDown() override;
    BOOL OnEndUp() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDblClk(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;

    int IsZoomMode() const { return m_zoom.IsHeld(); }

protected:
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};

private:
    const int m_cursor;
    const UINT m_prompt;
};
