// One page of the document (one page tab). It owns a pool of shared points
// that the nodes of its curves stand on, and its elements. It draws them in
// drawing-level order, answers the tools' hit tests, carries node edits
// from a curve to the curves that mirror it, and reads, writes and copies
// the page record.
//
// Drawing levels: elements of one level keep their list order (drawn from
// the head, so the last one is on top). Levels come from files and may be
// anything, so nothing walks "every level from 0 to the highest": the page
// orders its elements by level instead.
#pragma once

#include "model/CCurveNode.h"
#include "model/CGraphElement.h"
#include "model/CPageIndex.h"
#include "model/CPointUsers.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <cstddef>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CArchive;
struct CDrawPreparation;
class CCurveElement;
class CDC;
class CPageSet;
class CSharedPoint;

class CPage {
public:
    explicit CPage(CPageSet* owner);
    // Deletes the elements (from the head), then the shared points.
    ~CPage();

    CPage(const CPage&) = delete;
    CPage& operator=(const CPage&) = delete;

    CPageSet* GetOwner() const { return m_owner; }
    int GetMaxLevel() const { return m_maxLevel; }
    void SetMaxLevel(int level) { m_maxLevel = level; }
    // Raises the highest level to `level` when that is higher (elements call
    // this when created or moved to another level).
    void RaiseMaxLevel(int level);
    // The page set's record version (107 without an owner).
    int GetRecordVersion() const;
    // The page set's units per millimetre (100 without an owner).
    int GetUnitsPerMM() const;

    // Shared-point pool (the page owns the points). Each point's number is
    // its position in the pool and is kept up to date as points come and
    // go, so lookups by number and of a point's number cost nothing.
    int GetPointCount() const { return int(m_points.size()); }
    const std::vector<CSharedPoint*>& Points() const { return m_points; }
    // Appends; the page takes ownership.
    void AddPoint(CSharedPoint* point);
    // The two ends of a new mirror axis, as new plain points of the pool.
    // Ends that coincide give no line to reflect across: nothing is added
    // and the answer is FALSE (the tool refuses the axis).
    BOOL AddMirrorAxis(const CPoint& start, const CPoint& end, CSharedPoint*& axis1, CSharedPoint*& axis2);
    // A new point of the pool mirroring `source` across the axis; null,
    // with nothing added, when an axis point is missing or the two lie on
    // one spot.
    CSharedPoint* AddMirroredPoint(CSharedPoint* source, CSharedPoint* axis1, CSharedPoint* axis2);
    // 1 when the point is in this page's pool.
    int FindPoint(const CSharedPoint* point) const;
    // The point numbered n (0-based list position), null when none.
    CSharedPoint* GetPointAt(int n) const;
    // The point's number, -1 when it is not in the pool.
    int GetPointIndex(const CSharedPoint* point) const;

    // Takes the point off the pool and deletes it when no element stands on
    // it and no other point depends on it (as its mirror source or as one of
    // its axis points). The Except form does not ask `ignored`.
    void RemovePointIfUnused(CSharedPoint* point);
    void RemovePointIfUnusedExcept(CSharedPoint* point, const CGraphElement* ignored);
    // Each distinct point of the list once, in the order first named (a
    // mirrored point goes before the points it depends on can).
    void RemovePointsIfUnused(const std::vector<CSharedPoint*>& points, const CGraphElement* ignored = nullptr);
    // Marks the point and every point that depends on it dirty, and the
    // elements standing on any of them.
    void InvalidateElementsUsingPoint(CSharedPoint* point);
    // The same for several points at once (a moved selection): each
    // element is marked once, whatever it stands on.
    void InvalidateElementsUsingPoints(const std::vector<CSharedPoint*>& points);
    // A point of the pool changed its mirror source or axis.
    void PointLinksChanged() { m_users.LinksChanged(); }

    // Elements (the page owns them).
    int GetElementCount() const { return m_elements.GetCount(); }
    POSITION GetFirstElementPosition() const { return m_elements.GetHeadPosition(); }
    CGraphElement* GetNextElement(POSITION& pos) const { return m_elements.GetNext(pos); }
    const CElementList& Elements() const { return m_elements; }
    // Appends; the element's owner must already be this page.
    void AddElement(CGraphElement* element);
    // Empties the list without deleting anything.
    void RemoveAllElements();
    POSITION FindElement(const CGraphElement* element) const;
    // Takes the element off the list without deleting it; curves that
    // mirrored it lose their mirror source.
    void RemoveElement(CGraphElement* element);
    void UnlinkMirrorsOf(const CCurveElement* curve);
    // The curve's whole mirror chain: its root first, then every curve that
    // mirrors a member, the curve itself among them.
    std::vector<CCurveElement*> MirrorChainOf(CCurveElement* curve) const;
    // An element of this page marked its bounds dirty: the search index
    // files it again before the next search.
    void ElementChanged(const CGraphElement* element) const
    {
        m_index.ElementChanged(element);
        // Moving points leaves every curve on the points it had.
        if (!m_movingPoints) m_users.ElementChanged(element);
        ++m_shapeChanges;
    }
    int IndexOfElement(const CGraphElement* element) const;
    CGraphElement* ElementAt(int index) const;

    CRect GetBoundRect() const;
    // Levels 0 to the highest level in ascending order; within a level in
    // list order.
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;
    // Pages of at least this many elements prepare a screen paint on all
    // cores first, at least this many elements to a thread.
    static constexpr std::size_t kPreparedPaintElements = 256;
    static constexpr std::size_t kPreparedPerThread = 128;

    // Hit tests and searches; coordinates, tolerances and distances in page
    // units. Each returns 1 and writes its outputs only when it found
    // something.
    int HitTestElement(int x, int y, double tolerance, int kindMask, CGraphElement*& element,
                       CPoint& point, double& distance) const;
    int HitTestOpenCurve(int x, int y, double tolerance, CCurveElement*& curve, CPoint& point,
                         double& distance) const;
    int HitTestClosedCurve(int x, int y, double tolerance, CCurveElement*& curve, CPoint& point,
                           double& distance) const;
    int FindNearestCornerNode(int x, int y, double tolerance, CCurveElement*& curve,
                              CCurveNode*& node, double& distance) const;
    int FindNearestNode(int x, int y, double tolerance, CCurveElement*& curve, CCurveNode*& node,
                        double& distance) const;
    // The closed curve whose area contains the point, from the highest level
    // down; among nested curves of one level the inner one.
    int FindClosedCurveAt(int x, int y, CCurveElement*& curve) const;
    // Elements of the kinds in the mask that meet the rectangle, in list
    // order; 1 when any.
    int GetElementsInRect(const CRect& rect, int kindMask, CElementList& out) const;
    int FindNearestIntersection(int x, int y, double tolerance, CCurveElement*& curve1,
                                CCurveElement*& curve2, CPoint& point, double& distance) const;
    // The curve (other than `curve`) whose crossing with `curve` lies
    // nearest the point within the tolerance; null when none.
    CCurveElement* FindNearestIntersectionWith(int x, int y, double tolerance,
                                               CCurveElement* curve, CPoint& point,
                                               double& distance) const;
    // The top-most element of that kind containing the point.
    int HitTestImage(int x, int y, CGraphElement*& element) const;
    int HitTestText(int x, int y, CGraphElement*& element) const;
    int HitTestTable(int x, int y, CGraphElement*& element) const;

    // Node edits, made on the root of a mirror chain and carried to every
    // curve that mirrors it.
    void InsertNodeAfter(CCurveElement* curve, CCurveNode* after, CCurveNode* node);
    void InsertNodeAt(CCurveElement* curve, int x, int y, int kind);
    void RemoveNode(CCurveElement* curve, CCurveNode* node);
    void RemoveNodeAt(CCurveElement* curve, int index);
    void SetNodeKind(CCurveElement* curve, CCurveNode* node, int kind);
    void SetNodeKindAt(CCurveElement* curve, int index, int kind);

    // Page record. Load throws CArchiveError on a damaged record (counts
    // beyond the bytes, bad point numbers, mirror cycles, unknown kinds).
    int Load(CArchive& ar);
    int Store(CArchive& ar) const;
    // Deep copy; this page must be empty.
    void CopyFrom(const CPage& other);

private:
    void PrepareDraw(const std::vector<CGraphElement*>& elements, const CDrawPreparation& prep) const;
    void DeleteContent();
    // Elements in drawing order: ascending level, list order within a level;
    // elements below 0 or above the highest level are left out.
    std::vector<CGraphElement*> ElementsByLevel() const;
    int HitTestTopMost(int x, int y, int kind, CGraphElement*& element) const;
    // Search helpers (CPageSearch.cpp). The curves that may lie within
    // `radius` of the point, in list order: from the index, or every curve
    // when the radius is no finite number.
    void CurvesNear(int x, int y, double radius, std::vector<CCurveElement*>& out) const;
    int HitTestCurveOutline(int x, int y, double tolerance, bool closed, CCurveElement*& curve,
                            CPoint& point, double& distance) const;
    void CurvesMeeting(const CRect& area, std::vector<CCurveElement*>& out) const;
    int NearestNode(int x, int y, double tolerance, bool verticesOnly, CCurveElement*& curve,
                    CCurveNode*& node, double& distance) const;
    struct CrossingCandidate;
    // The curves but `skipped` that may cross within the tolerance of the
    // point, with their segments in `area` (set to where crossings are
    // looked for).
    std::vector<CrossingCandidate> CrossingCandidates(int x, int y, double tolerance, const CCurveElement* skipped,
                                                      CRect& area) const;
    CCurveElement* NearestCrossingAmong(int x, int y, double tolerance, CCurveElement* curve,
                                        const std::vector<CrossingCandidate>& others,
                                        const CRect& area, CPoint& point, double& distance) const;
    int RemovePointAt(CSharedPoint* point);
    // Gives those of the elements that are curves without bounds for the
    // record their bounds, building (and giving up again) their geometry on
    // several threads when there are many.
    void BuildCurveGeometry(const std::vector<CGraphElement*>& elements) const;
    int IsPointUsed(const CSharedPoint* point, const CGraphElement* ignored) const;
    // Throws CArchiveError when points depend on each other in a cycle.
    void CheckMirrorChains() const;
    // Turns the curves' stored mirror indexes into curves; a cycle of
    // curves either refuses the record or is cut.
    void ResolveCurveMirrors(bool refuseCycles);
    // The root of the curve's mirror chain; with a node, the node is carried
    // up to the root's node it mirrors (the walk stops where none does).
    CCurveElement* MirrorRoot(CCurveElement* curve, CCurveNode** node) const;
    std::vector<CCurveElement*> MirrorsOf(const CCurveElement* curve) const;
    using CurveSet = std::unordered_set<const CCurveElement*>;
    void InsertNodeAfterImpl(CCurveElement* curve, CCurveNode* after, CCurveNode* node,
                             CurveSet& visited);
    void RemoveNodeOf(CCurveElement* curve, CCurveNode* node);
    void RemoveNodeImpl(CCurveElement* curve, CCurveNode* node, CurveSet& visited);
    void SetNodeKindImpl(CCurveElement* curve, CCurveNode* node, int kind, CurveSet& visited);

    CPageSet* m_owner;
    int m_maxLevel = 0;
    // Point n sits at index n, and its number says so.
    std::vector<CSharedPoint*> m_points;
    CElementList m_elements;
    // Set while the page empties itself: curves then need not hand their
    // points back one by one.
    bool m_destroying = false;
    // Where the curves and their nodes lie, for the searches.
    mutable CPageIndex m_index;
    // What stands on each point, for moving points.
    mutable CPointUsers m_users;
    bool m_movingPoints = false;
    // What the last prepared paint was for: a repaint of the same view of
    // unchanged shapes has nothing to prepare (what it would have made is
    // still kept, and anything missing is made by the paint itself).
    struct PreparedPaint {
        double scale = 0.0;
        int originX = 0;
        int originY = 0;
        CRect clip;
        std::size_t elements = 0;
        unsigned long long shapeChanges = 0;
        bool operator==(const PreparedPaint& o) const
        {
            return scale == o.scale && originX == o.originX && originY == o.originY && clip == o.clip
                && elements == o.elements && shapeChanges == o.shapeChanges;
        }
    };
    mutable unsigned long long m_shapeChanges = 0;
    mutable PreparedPaint m_lastPrepared;
};
