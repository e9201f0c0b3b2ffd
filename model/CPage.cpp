#include "model/CPage.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Offset.h"
#include "geometry/Polyline.h"
#include "model/CCurveElement.h"
#include "model/CDrawPreparation.h"
#include "model/CPageSet.h"
#include "model/CPointMarks.h"
#include "model/CSharedPoint.h"
#include "model/ElementFactory.h"
#include "model/FillPainting.h"
#include "model/ParallelFor.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QPainter>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace {

bool IsCurve(const CGraphElement* e) { return e && e->GetType() == ELEMENT_CURVE; }

CCurveElement* AsCurve(CGraphElement* e)
{
    return IsCurve(e) ? static_cast<CCurveElement*>(e) : nullptr;
}

// The smallest record a shared point can have at a version.
std::size_t MinPointRecord(int version) { return version <= 101 ? 8 : 12; }
// kind and level.
constexpr std::size_t kMinElementRecord = 8;

}  // namespace

// ---------------------------------------------------------------------------
// Construction

CPage::CPage(CPageSet* owner) : m_owner(owner) {}

CPage::~CPage()
{
    DeleteContent();
}

void CPage::DeleteContent()
{
    // Every point goes below anyway, so curves need not hand their points
    // back one by one (which would search the whole page for each node).
    m_destroying = true;
    m_index.Reset();
    m_users.Reset();
    while (!m_elements.IsEmpty()) delete m_elements.RemoveHead();
    for (CSharedPoint* point : m_points) delete point;
    m_points.clear();
    m_points.shrink_to_fit();
    m_destroying = false;
}

void CPage::RaiseMaxLevel(int level)
{
    if (level > m_maxLevel) m_maxLevel = level;
}

int CPage::GetRecordVersion() const
{
    return m_owner ? m_owner->GetVersion() : PAGESET_VERSION;
}

int CPage::GetUnitsPerMM() const
{
    return m_owner ? m_owner->GetUnitsPerMM() : 100;
}

// ---------------------------------------------------------------------------
// Shared points

void CPage::AddPoint(CSharedPoint* point)
{
    point->SetNumber(int(m_points.size()));
    m_points.push_back(point);
    m_users.PointAdded();
}

BOOL CPage::AddMirrorAxis(const CPoint& start, const CPoint& end, CSharedPoint*& axis1, CSharedPoint*& axis2)
{
    axis1 = axis2 = nullptr;
    if (start == end) return FALSE;
    axis1 = new CSharedPoint(this, start.x, start.y);
    axis2 = new CSharedPoint(this, end.x, end.y);
    AddPoint(axis1);
    AddPoint(axis2);
    return TRUE;
}

CSharedPoint* CPage::AddMirroredPoint(CSharedPoint* source, CSharedPoint* axis1, CSharedPoint* axis2)
{
    if (!source || !axis1 || !axis2 || axis1 == axis2 || axis1->GetPosition() == axis2->GetPosition())
        return nullptr;
    auto* point = new CSharedPoint(this, source, axis1, axis2);
    AddPoint(point);
    return point;
}

int CPage::FindPoint(const CSharedPoint* point) const
{
    return GetPointIndex(point) >= 0 ? 1 : 0;
}

CSharedPoint* CPage::GetPointAt(int n) const
{
    if (n < 0 || std::size_t(n) >= m_points.size()) return nullptr;
    return m_points[std::size_t(n)];
}

int CPage::GetPointIndex(const CSharedPoint* point) const
{
    if (!point) return -1;
    // Every pooled point carries its position; a point of another pool (or
    // of none) names a position that holds some other point here, or none.
    const int n = point->GetNumber();
    return n >= 0 && std::size_t(n) < m_points.size() && m_points[std::size_t(n)] == point ? n : -1;
}

int CPage::RemovePointAt(CSharedPoint* point)
{
    const int n = GetPointIndex(point);
    if (n < 0) return 0;
    m_users.PointRemoved(point, n);
    m_points.erase(m_points.begin() + n);
    for (std::size_t i = std::size_t(n); i < m_points.size(); ++i) m_points[i]->SetNumber(int(i));
    point->SetNumber(-1);
    return 1;
}

int CPage::IsPointUsed(const CSharedPoint* point, const CGraphElement* ignored) const
{
    for (const CGraphElement* e : m_elements)
        if (e != ignored && e->UsesPoint(point)) return 1;
    // A point that another point mirrors, or mirrors across, must stay as
    // long as that point refers to it.
    for (const CSharedPoint* p : m_points)
        if (p != point && p->DependsOn(point)) return 1;
    return 0;
}

void CPage::RemovePointIfUnused(CSharedPoint* point)
{
    RemovePointIfUnusedExcept(point, nullptr);
}

void CPage::RemovePointIfUnusedExcept(CSharedPoint* point, const CGraphElement* ignored)
{
    if (m_destroying || !point) return;
    if (!FindPoint(point) || IsPointUsed(point, ignored)) return;
    RemovePointAt(point);
    delete point;
}

void CPage::RemovePointsIfUnused(const std::vector<CSharedPoint*>& points, const CGraphElement* ignored)
{
    // A point named twice may be gone after its first offer: never look at
    // it again.
    std::unordered_set<const CSharedPoint*> offered;
    for (CSharedPoint* point : points)
        if (point && offered.insert(point).second) RemovePointIfUnusedExcept(point, ignored);
}

void CPage::InvalidateElementsUsingPoint(CSharedPoint* point)
{
    if (point) InvalidateElementsUsingPoints({point});
}

void CPage::InvalidateElementsUsingPoints(const std::vector<CSharedPoint*>& points)
{
    // The points and, transitively, every point mirrored from them or
    // across them; the set stops cycles.
    std::vector<CSharedPoint*> affected;
    CPointMarks seen(this, points.size());
    for (CSharedPoint* point : points)
        if (point && seen.Insert(point)) affected.push_back(point);
    if (affected.empty()) return;
    for (std::size_t i = 0; i < affected.size(); ++i)
        for (CSharedPoint* q : m_users.DependantsOf(affected[i], m_points))
            if (seen.Insert(q)) affected.push_back(q);
    for (CSharedPoint* p : affected) p->InvalidatePosition();

    std::vector<CGraphElement*> users;
    for (const CSharedPoint* p : affected) m_users.AddUsersOf(p, m_elements, m_points, users);
    // An element on several of the points comes more than once: marking it
    // again costs nothing.
    m_movingPoints = true;
    for (CGraphElement* e : users) e->InvalidateBounds();
    m_movingPoints = false;
}

// ---------------------------------------------------------------------------
// Elements

void CPage::AddElement(CGraphElement* element)
{
    m_elements.AddTail(element);
    m_index.ElementAdded(element);
    m_users.ElementAdded(element);
}

void CPage::RemoveAllElements()
{
    m_elements.RemoveAll();
    m_index.Reset();
    m_users.Reset();
}

POSITION CPage::FindElement(const CGraphElement* element) const
{
    return m_elements.Find(const_cast<CGraphElement*>(element));
}

void CPage::RemoveElement(CGraphElement* element)
{
    const POSITION pos = FindElement(element);
    if (pos) m_elements.RemoveAt(pos);
    m_index.ElementRemoved(element);
    m_users.ElementRemoved(element);
    if (IsCurve(element)) UnlinkMirrorsOf(static_cast<CCurveElement*>(element));
}

void CPage::UnlinkMirrorsOf(const CCurveElement* curve)
{
    for (CGraphElement* e : m_elements) {
        CCurveElement* c = AsCurve(e);
        if (c && c->GetMirrorSource() == curve) c->SetMirrorSource(nullptr);
    }
}

int CPage::IndexOfElement(const CGraphElement* element) const
{
    if (!element) return -1;
    int i = 0;
    for (const CGraphElement* e : m_elements) {
        if (e == element) return i;
        ++i;
    }
    return -1;
}

CGraphElement* CPage::ElementAt(int index) const
{
    const POSITION pos = m_elements.FindIndex(index);
    return pos ? m_elements.GetAt(pos) : nullptr;
}

CRect CPage::GetBoundRect() const
{
    CRect bounds;
    for (CGraphElement* e : m_elements) bounds.UnionRect(bounds, e->GetBoundRect());
    return bounds;
}

std::vector<CGraphElement*> CPage::ElementsByLevel() const
{
    std::vector<CGraphElement*> order;
    order.reserve(std::size_t(m_elements.GetCount()));
    for (CGraphElement* e : m_elements)
        if (e->GetLevel() >= 0 && e->GetLevel() <= m_maxLevel) order.push_back(e);
    std::stable_sort(order.begin(), order.end(), [](const CGraphElement* a, const CGraphElement* b) {
        return a->GetLevel() < b->GetLevel();
    });
    return order;
}

void CPage::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) const
{
    // Fill images kept for this paint are not given up for one another.
    CFillImage::BeginPaint();
    const std::vector<CGraphElement*> elements = ElementsByLevel();
    QPainter* painter = dc ? dc->Painter() : nullptr;
    if (painter && !dc->IsPrinting() && elements.size() >= kPreparedPaintElements)
        PrepareDraw(elements, CDrawPreparation::For(*painter, scale, originX, originY, clip));
    for (CGraphElement* e : elements) e->Draw(dc, scale, originX, originY, clip);
}

void CPage::PrepareDraw(const std::vector<CGraphElement*>& elements, const CDrawPreparation& prep) const
{
    // Geometry is built here, in turn: curves share points whose positions
    // are worked out as they are read. What each element then makes of its
    // own geometry for the device is made on all cores at once.
    for (CGraphElement* e : elements)
        if (e->GetType() == ELEMENT_CURVE)
            static_cast<CCurveElement*>(e)->RecalcForPaint(prep.scale, prep.originX, prep.originY, prep.clip);
    const PreparedPaint paint{prep.scale, prep.originX, prep.originY, prep.clip, elements.size(), m_shapeChanges};
    if (paint == m_lastPrepared) return;
    ParallelFor(elements.size(), [&](std::size_t i) { elements[i]->PrepareDraw(prep); }, kPreparedPerThread);
    m_lastPrepared = paint;
}

// ---------------------------------------------------------------------------
// Node edits along mirror chains

std::vector<CCurveElement*> CPage::MirrorsOf(const CCurveElement* curve) const
{
    std::vector<CCurveElement*> mirrors;
    for (CGraphElement* e : m_elements) {
        CCurveElement* c = AsCurve(e);
        if (c && c != curve && c->GetMirrorSource() == curve) mirrors.push_back(c);
    }
    return mirrors;
}

std::vector<CCurveElement*> CPage::MirrorChainOf(CCurveElement* curve) const
{
    std::vector<CCurveElement*> chain;
    if (!curve) return chain;
    chain.push_back(MirrorRoot(curve, nullptr));
    CurveSet seen{chain.front()};
    for (std::size_t i = 0; i < chain.size(); ++i)
        for (CCurveElement* mirror : MirrorsOf(chain[i]))
            if (seen.insert(mirror).second) chain.push_back(mirror);
    return chain;
}

namespace {

// The node of `curve` standing on `point`.
CCurveNode* NodeOnPoint(const CCurveElement* curve, const CSharedPoint* point)
{
    if (!point) return nullptr;
    for (CCurveNode* n : curve->Nodes())
        if (n->GetPoint() == point) return n;
    return nullptr;
}

// The node of a mirror curve that mirrors `sourceNode` of its source curve:
// the one whose point is mirrored from the source node's point. Mirror
// curves may run the other way round, so list positions do not match.
CCurveNode* MirrorNodeOf(const CCurveElement* mirror, const CCurveNode* sourceNode)
{
    if (!sourceNode || !sourceNode->GetPoint()) return nullptr;
    for (CCurveNode* n : mirror->Nodes())
        if (n->GetPoint() && n->GetPoint()->GetMirrorSource() == sourceNode->GetPoint()) return n;
    return nullptr;
}

}  // namespace

CCurveElement* CPage::MirrorRoot(CCurveElement* curve, CCurveNode** node) const
{
    std::unordered_set<const CCurveElement*> seen{curve};
    while (CCurveElement* source = curve->GetMirrorSource()) {
        if (!seen.insert(source).second) break;
        if (node) {
            // Follow the node up through its point's mirror source; where the
            // chain of points breaks, the edit starts from there.
            CCurveNode* up = *node && (*node)->GetPoint()
                                 ? NodeOnPoint(source, (*node)->GetPoint()->GetMirrorSource())
                                 : nullptr;
            if (!up) break;
            *node = up;
        }
        curve = source;
    }
    return curve;
}

void CPage::InsertNodeAfter(CCurveElement* curve, CCurveNode* after, CCurveNode* node)
{
    CurveSet visited;
    InsertNodeAfterImpl(curve, after, node, visited);
}

void CPage::InsertNodeAfterImpl(CCurveElement* curve, CCurveNode* after, CCurveNode* node,
                                CurveSet& visited)
{
    if (!curve || !node || !visited.insert(curve).second) return;
    CNodeList nodes;
    curve->GetNodes(nodes);
    const POSITION inserted = nodes.InsertAfter(after ? nodes.Find(after) : nullptr, node);
    const POSITION nextPos = CNodeList::NextOf(inserted);
    const CCurveNode* next = nextPos ? nodes.GetAt(nextPos) : nullptr;
    curve->SetNodes(nodes);
    curve->InvalidateBounds();
    if (!after) return;
    for (CCurveElement* mirror : MirrorsOf(curve)) {
        CCurveNode* found = MirrorNodeOf(mirror, after);
        if (!found || visited.count(mirror)) continue;
        CSharedPoint* axis1 = nullptr;
        CSharedPoint* axis2 = nullptr;
        found->GetPoint()->GetMirrorAxis(axis1, axis2);
        auto* point = new CSharedPoint(this, node->GetPoint(), axis1, axis2);
        AddPoint(point);
        // A mirror curve may run the other way: when the node mirroring the
        // source's next node comes right before the found one, the new node
        // belongs between those two.
        CCurveNode* insertAfter = found;
        if (next) {
            const CNodeList& mirrorNodes = mirror->Nodes();
            const POSITION prevPos = CNodeList::PrevOf(mirrorNodes.Find(found));
            CCurveNode* previous = prevPos ? mirrorNodes.GetAt(prevPos) : nullptr;
            if (previous && previous == MirrorNodeOf(mirror, next)) insertAfter = previous;
        }
        InsertNodeAfterImpl(mirror, insertAfter, new CCurveNode(point, node->GetKind()), visited);
    }
}

void CPage::InsertNodeAt(CCurveElement* curve, int x, int y, int kind)
{
    if (!curve) return;
    CPoint p(x, y);
    std::unordered_set<const CCurveElement*> seen{curve};
    while (CCurveElement* source = curve->GetMirrorSource()) {
        if (!seen.insert(source).second) break;
        const CCurveNode* first = curve->GetFirstNode();
        if (first && first->GetPoint()) {
            CSharedPoint* axis1 = nullptr;
            CSharedPoint* axis2 = nullptr;
            first->GetPoint()->GetMirrorAxis(axis1, axis2);
            if (axis1 && axis2) {
                const CPoint a = axis1->GetPosition();
                const CPoint b = axis2->GetPosition();
                MirrorPointAcrossPoints(p.x, p.y, a.x, a.y, b.x, b.y, p);
            }
        }
        curve = source;
    }
    CPoint nearest;
    double d = 0.0;
    CCurveNode* before = nullptr;
    CCurveNode* at = nullptr;
    CCurveNode* after = nullptr;
    const double tolerance = GetUnitsPerMM() * 0.5;
    if (!curve->FindSpanAtPoint(p, tolerance, nearest, d, before, at, after) || at || !before)
        return;
    auto* point = new CSharedPoint(this, p.x, p.y);
    AddPoint(point);
    InsertNodeAfter(curve, before, new CCurveNode(point, kind));
}

void CPage::RemoveNode(CCurveElement* curve, CCurveNode* node)
{
    if (!curve || !node) return;
    CCurveElement* root = MirrorRoot(curve, &node);
    RemoveNodeOf(root, node);
}

void CPage::RemoveNodeAt(CCurveElement* curve, int index)
{
    if (!curve) return;
    RemoveNodeOf(curve, curve->GetNodeAt(index));
}

void CPage::RemoveNodeOf(CCurveElement* curve, CCurveNode* node)
{
    CurveSet visited;
    RemoveNodeImpl(curve, node, visited);
}

void CPage::RemoveNodeImpl(CCurveElement* curve, CCurveNode* node,
                           CurveSet& visited)
{
    if (!curve || !node || !visited.insert(curve).second) return;
    // Find the mirrors' nodes while this node still exists.
    std::vector<std::pair<CCurveElement*, CCurveNode*>> mirrored;
    for (CCurveElement* mirror : MirrorsOf(curve))
        if (CCurveNode* n = MirrorNodeOf(mirror, node)) mirrored.emplace_back(mirror, n);

    // The point outlives the node while mirrored points depend on it; once
    // they have gone with the mirrors' nodes it is offered again.
    CSharedPoint* point = node->GetPoint();
    bool hasDependants = false;
    for (const CSharedPoint* p : m_points)
        if (p != point && p->DependsOn(point)) hasDependants = true;

    CNodeList nodes;
    curve->GetNodes(nodes);
    if (const POSITION pos = nodes.Find(node)) nodes.RemoveAt(pos);
    curve->SetNodes(nodes);
    curve->InvalidateBounds();

    for (auto& [mirror, n] : mirrored) RemoveNodeImpl(mirror, n, visited);
    if (hasDependants) RemovePointIfUnused(point);
}

void CPage::SetNodeKind(CCurveElement* curve, CCurveNode* node, int kind)
{
    if (!curve || !node) return;
    CCurveElement* root = MirrorRoot(curve, &node);
    CurveSet visited;
    SetNodeKindImpl(root, node, kind, visited);
}

void CPage::SetNodeKindAt(CCurveElement* curve, int index, int kind)
{
    if (!curve) return;
    CurveSet visited;
    SetNodeKindImpl(curve, curve->GetNodeAt(index), kind, visited);
}

void CPage::SetNodeKindImpl(CCurveElement* curve, CCurveNode* node, int kind,
                            CurveSet& visited)
{
    if (!curve || !node || !visited.insert(curve).second) return;
    node->SetKind(kind);
    curve->InvalidateBounds();
    for (CCurveElement* mirror : MirrorsOf(curve))
        SetNodeKindImpl(mirror, MirrorNodeOf(mirror, node), kind, visited);
}

// ---------------------------------------------------------------------------
// Record and copy

void CPage::CheckMirrorChains() const
{
    // Depth-first over "depends on" links (source and both axis points),
    // without recursion: a chain of any length, never a cycle. Points are
    // numbered by their pool position, which indexes the states.
    const std::size_t count = m_points.size();
    std::vector<char> state(count, 0);  // 0 new, 1 on the path, 2 done
    std::vector<std::pair<std::size_t, int>> stack;
    for (std::size_t start = 0; start < count; ++start) {
        if (state[start]) continue;
        // Plain points depend on nothing: the common case needs no walk.
        if (!m_points[start]->IsMirrored()) {
            state[start] = 2;
            continue;
        }
        stack.assign(1, {start, 0});
        state[start] = 1;
        while (!stack.empty()) {
            auto& [index, next] = stack.back();
            CSharedPoint* source = nullptr;
            CSharedPoint* axis1 = nullptr;
            CSharedPoint* axis2 = nullptr;
            m_points[index]->GetMirror(source, axis1, axis2);
            const CSharedPoint* deps[3] = {source, axis1, axis2};
            if (next == 3) {
                state[index] = 2;
                stack.pop_back();
                continue;
            }
            const CSharedPoint* dep = deps[next++];
            if (!dep) continue;
            const int d = GetPointIndex(dep);
            if (d < 0) continue;
            if (state[std::size_t(d)] == 1) throw CArchiveError("mirror cycle in shared points");
            if (state[std::size_t(d)] == 0) {
                state[std::size_t(d)] = 1;
                stack.emplace_back(std::size_t(d), 0);
            }
        }
    }
}

void CPage::ResolveCurveMirrors(bool refuseCycles)
{
    for (CGraphElement* e : m_elements)
        if (CCurveElement* c = AsCurve(e)) c->ResolveMirrorSource();
    // Node edits walk mirror chains; a cycle would have no root.
    const std::size_t limit = std::size_t(m_elements.GetCount());
    for (CGraphElement* e : m_elements) {
        CCurveElement* c = AsCurve(e);
        std::size_t steps = 0;
        for (CCurveElement* s = c ? c->GetMirrorSource() : nullptr; s; s = s->GetMirrorSource()) {
            if (++steps > limit) {
                if (refuseCycles) throw CArchiveError("mirror cycle in curves");
                c->SetMirrorSource(nullptr);
                break;
            }
        }
    }
}

int CPage::Load(CArchive& ar)
{
    DeleteContent();
    const int version = GetRecordVersion();
    std::int32_t maxLevel = 0;
    std::int32_t pointCount = 0;
    ar >> maxLevel >> pointCount;
    m_maxLevel = maxLevel;
    ar.RequireItems(pointCount, MinPointRecord(version));
    m_points.reserve(std::size_t(pointCount));
    for (std::int32_t i = 0; i < pointCount; ++i) {
        auto* point = new CSharedPoint(this);
        AddPoint(point);
        point->Load(ar);
    }

    // Mirrored points may name points stored after them, so links are
    // resolved once all are read. A number that names no point leaves a
    // missing link, not a damaged file (CSharedPoint).
    for (CSharedPoint* point : m_points) point->ResolveLinks();
    CheckMirrorChains();

    std::int32_t elementCount = 0;
    ar >> elementCount;
    ar.RequireItems(elementCount, kMinElementRecord);
    for (std::int32_t i = 0; i < elementCount; ++i) {
        std::int32_t kind = 0;
        std::int32_t level = 0;
        std::int32_t closed = 0;
        ar >> kind >> level;
        if (kind == ELEMENT_CURVE) ar >> closed;
        std::unique_ptr<CGraphElement> element = CreateElement(this, kind, level, closed != 0);
        element->Load(ar);
        AddElement(element.release());
    }
    ResolveCurveMirrors(true);
    return 1;
}

void CPage::BuildCurveGeometry(const std::vector<CGraphElement*>& elements) const
{
    // A page read from a file and never shown has no curve geometry yet,
    // and the record needs every curve's bounds. Each curve gives its
    // geometry up as soon as it has its bounds, so the next one is built in
    // the storage just freed and storing a large document never holds all
    // of it. Everything stays on the user-interface thread.
    for (CGraphElement* e : elements) {
        CCurveElement* c = AsCurve(e);
        if (!c || c->HasRecordBounds()) continue;
        c->GetBoundRect();
        c->ReleaseGeometry();
    }
}

int CPage::Store(CArchive& ar) const
{
    ar << std::int32_t(m_maxLevel) << std::int32_t(m_points.size());
    for (const CSharedPoint* p : m_points) p->Store(ar);
    ar << std::int32_t(m_elements.GetCount());
    // Geometry built only for this record (the curves' bounds) is given up
    // again once stored, so storing a large document never holds all of it.
    std::vector<CGraphElement*> unbuilt;
    for (CGraphElement* e : m_elements)
        if (e->IsBoundsDirty()) unbuilt.push_back(e);
    BuildCurveGeometry(unbuilt);
    std::size_t next = 0;
    for (CGraphElement* e : m_elements) {
        e->Store(ar);
        if (next < unbuilt.size() && unbuilt[next] == e) {
            e->ReleaseGeometry();
            ++next;
        }
    }
    return 1;
}

void CPage::CopyFrom(const CPage& other)
{
    if (&other == this) return;
    DeleteContent();
    m_maxLevel = other.m_maxLevel;

    // Point n of the other page becomes point n here, so the curves map
    // their nodes by number.
    m_points.reserve(other.m_points.size());
    for (const CSharedPoint* p : other.m_points) {
        auto* point = new CSharedPoint(this);
        AddPoint(point);
        point->CopyDefinition(*p);
    }
    for (CSharedPoint* point : m_points) point->ResolveLinks();

    for (const CGraphElement* e : other.m_elements) {
        const bool closed =
            IsCurve(e) && static_cast<const CCurveElement*>(e)->IsClosed();
        std::unique_ptr<CGraphElement> element = CreateElement(this, e->GetType(), e->GetLevel(), closed);
        element->CopyFrom(*e);
        AddElement(element.release());
    }
    ResolveCurveMirrors(false);
}
