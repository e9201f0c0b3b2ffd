#include "app/WindowBesidePoint.h"

#include <QWidget>

namespace {

// One axis: beside the point on the side away from the centre, pulled back
// inside [low, high) when it would overflow there.
int PlaceAlongAxis(int point, int size, int low, int high, int gap)
{
    const int centre = (low + high) / 2;
    if (point < centre) {
        const int start = point + gap;
        return start + size > high ? high - size : start;
    }
    const int start = point - gap - size;
    return start < low ? low : start;
}

} // namespace

bool PlaceWindowBesidePoint(QWidget* window, int x, int y, CRect bounds, int gap)
{
    if (!window) return false;
    // The outer frame is what must stay clear of the point and inside the bounds.
    const QRect frame = window->frameGeometry();
    const int left = PlaceAlongAxis(x, frame.width(), bounds.left, bounds.right, gap);
    const int top = PlaceAlongAxis(y, frame.height(), bounds.top, bounds.bottom, gap);
    window->move(left, top);
    return true;
}
