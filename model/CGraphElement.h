// The base of everything that stands on a page: curves, pictures, texts,
// tables, embedded objects and the inert text-pair kind. The page draws,
// hit-tests, copies, loads and stores its elements through these virtual
// operations without knowing their kinds.
//
// Derived geometry (outlines, bounds) is computed lazily: setters that
// change the shape call InvalidateBounds(), and every reader recomputes
// first when the flag is set.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

class CArchive;
class CDC;
class CPage;
class CSharedPoint;

// Kind codes: one bit per kind so hit tests and rectangle searches take a
// mask of kinds.
constexpr int ELEMENT_CURVE = 1;
constexpr int ELEMENT_IMAGE = 2;
constexpr int ELEMENT_TEXT = 4;
constexpr int ELEMENT_TABLE = 8;
constexpr int ELEMENT_TEXTPAIR = 16;
constexpr int ELEMENT_OLEOBJECT = 32;
constexpr int ELEMENT_ALL = 0x3F;

class CGraphElement {
public:
    // The owner must not be null; constructing raises the owner's highest
    // drawing level to `level` when that is higher.
    CGraphElement(CPage* owner, int kind, int level);
    virtual ~CGraphElement();

    CGraphElement(const CGraphElement&) = delete;
    CGraphElement& operator=(const CGraphElement&) = delete;

    // Bounding rectangle in page units; recomputes first when dirty. The
    // base has no shape and returns an empty rectangle.
    virtual CRect GetBoundRect();
    // Recomputes outline and bounds and clears the dirty flag.
    virtual void RecalcGeometry();

    // scale = page units per device pixel; device = RoundToInt((page -
    // origin) / scale); clip is the device rectangle being painted.
    virtual void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip);
    // Draws the outline with the pen the caller selected into dc.
    virtual void DrawHighlight(CDC* dc, double scale, int originX, int originY,
                               const CRect& clip);

    // 1 when the element stands on the shared point (curves through their
    // nodes); 0 for every other kind.
    virtual int UsesPoint(const CSharedPoint* point) const;

    // 1 when the point (page units) lies inside the element for the
    // top-most picture / text / table searches and the general hit test:
    // a picture's four-corner outline, a text's outline, a table's bounding
    // rectangle. Curves and the inert kinds are never hit this way.
    virtual int ContainsPoint(int x, int y);

    // Copies the kind's own data from an element of the same kind that may
    // live on another page; kind and level are set by the constructor.
    virtual void CopyFrom(const CGraphElement& other);

    // The header (kind, level) is read by the page before the element
    // exists, so the base Load reads nothing. Store writes the header; every
    // kind calls the base first.
    virtual int Load(CArchive& ar);
    virtual int Store(CArchive& ar) const;

    // Moves what the element owns of its placement by (dx, dy). Curves own
    // none (their nodes stand on the page's shared points, which
    // OffsetElements moves), so the base does nothing; kinds that keep
    // their own corners or rectangle override it.
    virtual void OffsetBy(int dx, int dy);

    // Frees derived geometry that can be rebuilt, keeping only the bounds
    // for the record: the element then reads as dirty and rebuilds when
    // next asked. The page calls it for elements whose geometry it built
    // only to store them, so saving a large document does not keep the
    // geometry of every page. The base keeps nothing.
    virtual void ReleaseGeometry();
    // The bounds a record holds: those kept by ReleaseGeometry while the
    // element has not changed since, else GetBoundRect.
    CRect GetRecordBounds();
    // True when GetRecordBounds needs no geometry built.
    bool HasRecordBounds() const { return !m_boundsDirty || m_boundsKept; }

    int GetType() const { return m_kind; }
    int GetLevel() const { return m_level; }
    // Raises the owner's highest level like the constructor.
    void SetLevel(int level);
    CPage* GetLayer() const { return m_owner; }
    // Moves the element to another page; levels are left alone.
    void SetLayer(CPage* page) { m_owner = page; }

    // Marks the derived geometry stale and tells the owner page, whose
    // search index then files the element again.
    void InvalidateBounds() const;
    int IsBoundsDirty() const { return m_boundsDirty; }

    // The page set's record version while its pages load (107 otherwise);
    // records test it for fields that older files lack.
    int GetRecordVersion() const;

protected:
    void ClearBoundsDirty() const { m_boundsDirty = 0; }
    // Marks the geometry dropped: dirty, with `bounds` kept for the record.
    // The page's search index is not told, as nothing moved.
    void KeepBoundsOnly(const CRect& bounds) const;

private:
    CPage* m_owner;
    int m_kind;
    int m_level;
    mutable int m_boundsDirty = 1;
    mutable bool m_boundsKept = false;
    mutable CRect m_keptBounds;
};

using CElementList = CList<CGraphElement*>;
