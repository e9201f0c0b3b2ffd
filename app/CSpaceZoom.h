// The zoom box a tool runs while Space is held: the box itself (CZoomBox)
// with the zoom cursors, the zoom prompt and the repaints that go with
// each event. The tool asks IsHeld() at the top of its mouse handlers and
// hands the event on; what it answers the view, and what it shows again
// once Space is let go, stay its own.
#pragma once

#include "app/CZoomBox.h"

#include "platform/Types.h"

class CDC;
class CDesignTool;

class CSpaceZoom {
public:
    // `step` counts the box's corners (see CZoomBox).
    CSpaceZoom(const CDesignTool& tool, int& step) : m_tool(tool), m_box(step) {}
    CSpaceZoom(const CSpaceZoom&) = delete;
    CSpaceZoom& operator=(const CSpaceZoom&) = delete;

    // Space pressed: the zoom-in cursor, or zoom-out while Shift is held,
    // and the zoom prompt.
    void Hold(bool shiftHeld = false);
    // Space let go, or the tool reset: the box goes with it.
    void Release() { m_box.Release(); }
    int IsHeld() const { return m_box.IsHeld(); }
    bool IsCornerPlaced() const { return m_box.IsCornerPlaced(); }
    int GetStep() const { return m_box.GetStep(); }

    // The far corner follows the mouse; the cursor for the keys and the
    // prompt. True when the box moved; repaints nothing.
    bool Track(UINT flags, int x, int y);
    // Track, then the feedback is repainted.
    void OnMouseMove(UINT flags, int x, int y);
    // The click on the box alone, repainting nothing.
    CZoomBox::Click Click(UINT flags, int x, int y);
    // The click: a first corner repaints the feedback, a zoom the view.
    void OnLButtonDown(UINT flags, int x, int y);
    // The whole page, or with Shift or Ctrl its width at the row; the view
    // is repainted.
    void OnRButtonDown(UINT flags, int y);
    void Draw(CDC* dc, double scale, int originX, int originY) const { m_box.Draw(dc, scale, originX, originY); }

private:
    void SetCursor(int cursor) const;

    const CDesignTool& m_tool;
    CZoomBox m_box;
};
