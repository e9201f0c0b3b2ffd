// The parameters of a line fill: a family of parallel lines through one
// origin point, a fixed distance apart, all drawn with one set of line
// attributes in one colour. A closed curve with a line fill owns one.
#pragma once

#include "model/CLineAttr.h"

#include "platform/Types.h"

class CArchive;

class CFillStyle {
public:
    // A thin plain black line every 2 mm at 45 degrees through the page
    // origin; the fill editor and the record set every field before use.
    CFillStyle();
    CFillStyle(const CFillStyle& other) = default;
    CFillStyle& operator=(const CFillStyle& other) = default;

    const CLineAttr& GetLineAttr() const { return m_lineAttr; }
    void SetLineAttr(const CLineAttr& line) { m_lineAttr = line; }
    COLORREF GetColor() const { return m_color; }
    void SetColor(COLORREF color) { m_color = color; }
    // Degrees; 0 runs along the x axis, positive turns towards +y.
    double GetAngle() const { return m_angle; }
    void SetAngle(double angle) { m_angle = angle; }
    CPoint GetOrigin() const { return m_origin; }
    void SetOrigin(int x, int y) { m_origin = CPoint(x, y); }
    // Distance between neighbouring lines in page units. A spacing of zero
    // or less makes no lines at all.
    int GetSpacing() const { return m_spacing; }
    void SetSpacing(int spacing) { m_spacing = spacing; }

    bool operator==(const CFillStyle& o) const;
    bool operator!=(const CFillStyle& o) const { return !(*this == o); }

    // Record: line attributes, POINT origin, DWORD colour, double angle,
    // int spacing. The line attributes always carry the side-line
    // parameters, whatever the file's version. Load throws CArchiveError
    // on a damaged record.
    int Load(CArchive& ar);
    int Store(CArchive& ar) const;

private:
    CLineAttr m_lineAttr;
    COLORREF m_color = RGB(0, 0, 0);
    double m_angle = 45.0;
    CPoint m_origin;
    int m_spacing = 200;
};
