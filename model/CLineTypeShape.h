// One drawable shape in page units: a polyline stroked with a pen width, or
// a filled polygon with a one-pixel outline. It is both a piece of a custom
// line type's pattern and the unit in which a curve's line geometry is
// drawn: every curve turns its line into a list of these shapes.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

class CArchive;
class CDC;

class CLineTypeShape {
public:
    // No points, empty bounds.
    CLineTypeShape() = default;
    // Copies the points and computes the bounds.
    CLineTypeShape(int penWidth, int filled, const CPointList& points);

    CLineTypeShape(const CLineTypeShape&) = default;
    CLineTypeShape& operator=(const CLineTypeShape&) = default;
    CLineTypeShape(CLineTypeShape&&) noexcept = default;
    CLineTypeShape& operator=(CLineTypeShape&&) noexcept = default;

    // Bounding rectangle of the points, right and bottom one past the
    // greatest coordinate; empty (all zero) for a shape without points.
    const CRect& GetBoundRect() const { return m_bounds; }

    int GetPenWidth() const { return m_penWidth; }
    int IsFilled() const { return m_filled != 0 ? 1 : 0; }
    const CPointList& GetPoints() const { return m_points; }
    int GetPointCount() const { return m_points.GetCount(); }

    // Draws in `colour`. A printer gets every shape whatever the clip; the
    // screen skips shapes outside the clip and draws the rest anti-aliased.
    void Draw(CDC* dc, COLORREF colour, double scale, int originX, int originY,
              const CRect& clip) const;

    // Record: pen width, filled flag, point count, points (8 bytes each).
    // Load throws CArchiveError when the count cannot fit in what is left,
    // and for a point beyond kMaxCoordinate either way (no pattern drawn on
    // paper reaches that far; the sums and widths of such points overflow).
    static constexpr int kMaxCoordinate = (1 << 30) - 1;
    int Load(CArchive& ar);
    int Store(CArchive& ar) const;

    bool operator==(const CLineTypeShape& o) const;
    bool operator!=(const CLineTypeShape& o) const { return !(*this == o); }

    // Smallest number of bytes one shape record can take (an empty shape);
    // a record's shape count is checked against it before allocating.
    static constexpr int kMinRecordSize = 12;

private:
    void RecalcBounds();

    int m_penWidth = 0;
    int m_filled = 0;
    CPointList m_points;
    CRect m_bounds;
};
