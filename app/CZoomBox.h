// The zoom box the zoom tool works with all the time and the curve and
// freehand tools while Space is held. Two separate left clicks span a
// rectangle that the view then shows as large as it can; a left click with
// Shift or Ctrl zooms out about the point; a right click fits the whole page,
// with Shift or Ctrl the page width at the clicked row. What a tool repaints
// and shows afterwards is its own business.
#pragma once

#include "platform/Types.h"

class CDC;
class CVEKView;

class CZoomBox {
public:
    static constexpr int kCursorZoomIn = 150;
    static constexpr int kCursorZoomOut = 151;
    static constexpr UINT kPrompt = 38000;
    // Shrinking factor of a Shift- or Ctrl-click.
    static constexpr double kZoomOutFactor = 0.8;

    // What a left click did.
    enum class Click { ZoomedOut, CornerPlaced, ZoomedToBox };

    // `step` counts the corners given (0 or 1). The zoom and freehand tools
    // lend their input step, which counts nothing else for them, so that
    // their GetStep and the base Reset see the box; the curve tool, whose
    // step counts its points, keeps a counter of its own for it.
    explicit CZoomBox(int& step) : m_step(step) {}
    CZoomBox(const CZoomBox&) = delete;
    CZoomBox& operator=(const CZoomBox&) = delete;

    // Space held. It repeats while held, and a box already started stays.
    void Hold();
    // Space let go: the box goes with it.
    void Release();
    int IsHeld() const { return m_bHeld; }

    int GetStep() const { return m_step; }
    bool IsCornerPlaced() const { return m_step > 0; }

    // With a corner placed every click ends the box, Shift or not.
    Click OnLButtonDown(CVEKView* view, UINT flags, int x, int y);
    static void OnRButtonDown(CVEKView* view, UINT flags, int y);
    // The far corner follows the mouse; true when it moved.
    bool OnMouseMove(int x, int y);
    static int CursorFor(UINT flags);
    // The rubber rectangle, while a corner is placed.
    void Draw(CDC* dc, double scale, int originX, int originY) const;

private:
    int& m_step;
    int m_bHeld = 0;
    CPoint m_ptStart;
    CPoint m_ptEnd;
};
