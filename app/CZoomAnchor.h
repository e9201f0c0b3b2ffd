// The page point a zoom about a pixel should keep under that pixel, while
// the ends of the coordinate range hold the view's origin off it.
//
// Zoomed far out, the origin that would keep the point under the mouse lies
// beyond what an int holds; the view takes the nearest origin it can, and
// the page slides away from the mouse towards a corner. What the view then
// shows under the mouse is no longer the point the zoom was about (it is a
// point at the far end of the range), so zooming back in about it would
// close in on that far end. The anchor keeps the point the zoom was about
// for its pixel, so the way back in leads where the way out came from.
#pragma once

#include "platform/Types.h"

#include <optional>

class CZoomAnchor {
public:
    // The page point to zoom about at `pixel`: the one held for that pixel,
    // else `shown`, the point the view shows there.
    CPoint PointAt(const CPoint& pixel, const CPoint& shown) const;
    // After a zoom about `point` at `pixel`: kept while the origin could
    // not put the point under the pixel (`heldOff`), forgotten once it could.
    void Record(const CPoint& pixel, const CPoint& point, bool heldOff);
    // Any other change of the mapping (a scroll, a pan, another zoom).
    void Forget() { m_held.reset(); }

private:
    struct Held {
        CPoint pixel;
        CPoint point;
    };
    std::optional<Held> m_held;
};
