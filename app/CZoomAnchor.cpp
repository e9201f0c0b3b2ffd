#include "app/CZoomAnchor.h"

CPoint CZoomAnchor::PointAt(const CPoint& pixel, const CPoint& shown) const
{
    return m_held && m_held->pixel == pixel ? m_held->point : shown;
}

void CZoomAnchor::Record(const CPoint& pixel, const CPoint& point, bool heldOff)
{
    if (heldOff)
        m_held = Held{pixel, point};
    else
        m_held.reset();
}
