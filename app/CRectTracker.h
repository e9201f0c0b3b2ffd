// The frame with eight handles through which the user moves and resizes
// an embedded object in the view (device pixels). A modal tracking loop
// would stop painting while the user drags; here the view feeds the press,
// the moves and the release, and draws the rubber frame between them.
#pragma once

#include "platform/Types.h"

#include <Qt>

class CDC;

class CRectTracker {
public:
    // Hit codes, numbered as the handles are in the Windows tracker.
    enum TrackerHit {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8
    };

    // Handles are drawn this size inside the frame (as the embedded-object
    // element draws them); a few pixels around one still grab it, since
    // four pixels are hard to hit.
    static constexpr int kHandleSize = 4;
    static constexpr int kHandleSlack = 2;

    CRectTracker() = default;
    explicit CRectTracker(const CRect& rect) : m_rect(rect) { m_rect.NormalizeRect(); }

    const CRect& GetRect() const { return m_rect; }
    void SetRect(const CRect& rect);

    // Which handle, the inside (hitMiddle) or nothing lies under a point.
    int HitTest(const CPoint& point) const;
    static Qt::CursorShape CursorOfHit(int hit);

    // Starts a drag at a point; false (and no drag) when it hits nothing.
    bool Begin(const CPoint& point);
    // The mouse is at `point`: the handle (or the whole frame) follows.
    void Track(const CPoint& point);
    // Ends the drag; true when the rectangle differs from where it began.
    bool End();
    // Ends the drag and puts the rectangle back.
    void Cancel();
    bool IsTracking() const { return m_hit != hitNothing; }

    // The rubber frame while dragging.
    void Draw(CDC* dc) const;

private:
    CRect HandleRect(int hit) const;

    CRect m_rect;
    CRect m_startRect;
    CPoint m_start;
    int m_hit = hitNothing;
};
