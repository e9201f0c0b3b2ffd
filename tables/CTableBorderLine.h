// One line drawn round or across a table cell: a width in page units, a
// colour and two end points. A plain value; equality compares all four.
#pragma once

#include "platform/Types.h"

#include <cstddef>

class CArchive;
class CDC;

class CTableBorderLine {
public:
    // The record: colour, width, start, end (colour first).
    static constexpr std::size_t kRecordSize = 24;

    CTableBorderLine() = default;
    CTableBorderLine(int width, COLORREF colour, const CPoint& start, const CPoint& end)
        : m_width(width), m_colour(colour), m_start(start), m_end(end)
    {
    }

    int GetWidth() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    COLORREF GetColor() const { return m_colour; }
    void SetColor(COLORREF colour) { m_colour = colour; }
    const CPoint& GetStart() const { return m_start; }
    const CPoint& GetEnd() const { return m_end; }
    void SetEnds(const CPoint& start, const CPoint& end)
    {
        m_start = start;
        m_end = end;
    }

    // A solid pen of the line's colour, RoundToInt(width / scale) pixels
    // wide and at least one, from the mapped start to the mapped end.
    void Draw(CDC* dc, double scale, int originX, int originY) const;

    // Load throws CArchiveError when the record is cut short.
    void Load(CArchive& ar);
    void Store(CArchive& ar) const;

    bool operator==(const CTableBorderLine& o) const
    {
        return m_width == o.m_width && m_colour == o.m_colour && m_start == o.m_start && m_end == o.m_end;
    }
    bool operator!=(const CTableBorderLine& o) const { return !(*this == o); }

private:
    int m_width = 0;
    COLORREF m_colour = 0;
    CPoint m_start;
    CPoint m_end;
};
