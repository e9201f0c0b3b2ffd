// A block of one or more lines of text in one font and colour, placed on a
// page at an origin and turned by the font's escapement.
//
// The text's box is four page points that follow the rotation: the origin
// (where the top-left of the first line's cell lies), corner 2 at the end
// of the baseline direction, corner 3 across the lines and corner 4
// opposite the origin. The box serves bounds, hit tests and the editors;
// the text itself is drawn line by line from the origin.
//
// Sizes are measured in page units: the font's height is in page units, so
// a text measured with a font of that many pixels gives page units.
#pragma once

#include "model/CGraphElement.h"
#include "model/CTextFont.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CArchive;
class CDC;
class CPage;

class CTextElement : public CGraphElement {
public:
    // An empty text for the loaders; Load or LoadFromLibrary fills it.
    CTextElement(CPage* page, int level);
    // The text measured with its font; the box is laid out at once along
    // the font's escapement, so the new element is clean.
    CTextElement(CPage* page, int level, const CTextFont& textFont, int x, int y, int bkMode);

    // Element operations.
    // The box's bounds (least to greatest x and y, no +1); rebuilt first
    // when dirty.
    CRect GetBoundRect() override;
    // Lays the box out again from the origin, the measured text and the
    // escapement; the extent keeps what was stored or measured before.
    void RecalcGeometry() override;
    // Draws every line in the text colour with the element's background
    // mode. The clip is not used: the lines are placed by the box, which is
    // measured at another size than the screen shows.
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // As Draw, transparent and in the text colour the caller selected.
    void DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    int ContainsPoint(int x, int y) override { return HitTest(x, y); }
    // The origin and the box moved by (dx, dy) as they stand.
    void OffsetBy(int dx, int dy) override;
    // Takes text, font, origin, background mode, box and extent as they
    // are, nothing measured; the box stays clean when the other's was.
    void CopyFrom(const CGraphElement& other) override;
    // The body after the header, by the page set's record version. Throws
    // CArchiveError on a damaged record and then leaves the text as it was.
    int Load(CArchive& ar) override;
    int Store(CArchive& ar) const override;

    // Library record: kind, level, text font, origin, background mode and
    // the corners 2, 4, 3; no extent.
    int StoreForLibrary(CArchive& ar) const;
    // Starts after the kind, which the library reader has consumed; the
    // extent is measured.
    int LoadFromLibrary(CArchive& ar, int version);

    void GetText(CTextFont& textFont, CPoint& origin, int& bkMode) const;
    // Measures the new text into the extent and marks the box dirty: the
    // next reader lays the box out again from the origin, the measured
    // text and the escapement.
    void SetText(const CTextFont& textFont, int x, int y, int bkMode);
    // Sets the text as SetText does (the extent measured) but puts the box
    // on the corners given, which stand as they are: nothing lays them out
    // again. For editors that turn or stretch a text's box and for placing
    // texts whose box is already known.
    void SetTextInBox(const CTextFont& textFont, int bkMode, const CPoint& origin,
                      const CPoint& corner2, const CPoint& corner4, const CPoint& corner3);
    // All four points of the box at once; the box is clean afterwards, so
    // the points stand until the text itself changes.
    void SetCorners(const CPoint& origin, const CPoint& corner2, const CPoint& corner4,
                    const CPoint& corner3);
    const CTextFont& GetTextFont() const { return m_textFont; }
    int GetBkMode() const { return m_bkMode; }

    // The stored points one by one, as they stand; each setter changes its
    // point alone (the dirty flag included, so a point set while the box
    // is dirty is laid out again by the next reader: SetCorners keeps it).
    CPoint GetOrigin() const { return m_origin; }
    void SetOrigin(int x, int y) { m_origin = CPoint(x, y); }
    CPoint GetCorner2() const { return m_corner2; }
    void SetCorner2(int x, int y) { m_corner2 = CPoint(x, y); }
    CPoint GetCorner3() const { return m_corner3; }
    void SetCorner3(int x, int y) { m_corner3 = CPoint(x, y); }
    CPoint GetCorner4() const { return m_corner4; }
    void SetCorner4(int x, int y) { m_corner4 = CPoint(x, y); }
    // Width of the widest line and height of all lines, before rotation.
    CSize GetExtent() const { return m_extent; }

    // The box, rebuilt first when dirty.
    void GetCorners(CPoint& origin, CPoint& corner2, CPoint& corner4, CPoint& corner3);
    // Empties the list and appends origin, corner 2, corner 4, corner 3.
    void GetOutline(CPointList& out);
    // 1 when the point lies inside the box.
    int HitTest(int x, int y);

    // The text's size in page units in the font (escapement ignored).
    static CSize MeasureTextFont(const CTextFont& textFont);

private:
    void RecalcIfDirty();
    // The box of that size at the origin, turned by the escapement.
    void LayOutBox(const CSize& extent);
    void DrawLines(CDC* dc, double scale, int originX, int originY, int bkMode, bool setColour);
    int LoadBody(CArchive& ar, int version, bool library);

    CTextFont m_textFont;
    CPoint m_origin;
    int m_bkMode = 1;
    CPoint m_corner2;
    CPoint m_corner3;
    CPoint m_corner4;
    CSize m_extent;
};
