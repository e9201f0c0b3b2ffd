#include "geometry/COffsetLoopCutter.h"

#include "geometry/Lines.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kCorner = 0;
// The grid has about one cell per segment, up to this many a side.
constexpr int kMaxGridSide = 1024;

bool CutsLoop(int code) { return code == 1 || code == 4 || code == 5; }

bool BoxesMeet(const CRect& a, const CRect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

__int128 Abs(__int128 v) { return v < 0 ? -v : v; }

} // namespace

COffsetLoopCutter::COffsetLoopCutter(const CRunNodePointList& records, int closed) : m_closed(closed)
{
    for (const CRunNodePoint& rec : records) {
        const int node = Append(rec, std::int64_t(m_nodes.size()));
        if (m_tail >= 0) Link(m_tail, node);
        if (m_head < 0) m_head = node;
        m_tail = node;
        ++m_count;
    }
    for (int k = m_head; k >= 0; k = m_nodes[k].next)
        m_doubleArea += Cross(m_nodes[k].rec, m_nodes[m_nodes[k].next >= 0 ? m_nodes[k].next : m_head].rec);
    BuildGrid();
}

int COffsetLoopCutter::Append(const CRunNodePoint& rec, std::int64_t key)
{
    Node node;
    node.rec = rec;
    node.key = key;
    m_nodes.push_back(node);
    m_seen.push_back(0);
    return int(m_nodes.size()) - 1;
}

void COffsetLoopCutter::Link(int a, int b)
{
    m_nodes[a].next = b;
    m_nodes[b].prev = a;
}

void COffsetLoopCutter::Kill(int node)
{
    m_nodes[node].alive = false;
    --m_count;
}

int COffsetLoopCutter::SegmentEnd(int node) const
{
    if (m_nodes[node].next >= 0) return m_nodes[node].next;
    return m_closed && node != m_head ? m_head : -1;
}

__int128 COffsetLoopCutter::Cross(const CRunNodePoint& a, const CRunNodePoint& b) const
{
    return __int128(a.x) * b.y - __int128(b.x) * a.y;
}

__int128 COffsetLoopCutter::ChainSum(int from, int to) const
{
    __int128 sum = 0;
    for (int k = from; k != to; k = m_nodes[k].next) sum += Cross(m_nodes[k].rec, m_nodes[m_nodes[k].next].rec);
    return sum;
}

// --- The grid ----------------------------------------------------------------------

CRect COffsetLoopCutter::SegmentBox(int node) const
{
    // Widened by the unit that the segment crossing allows at either end.
    const CRunNodePoint& a = m_nodes[node].rec;
    const CRunNodePoint& b = m_nodes[SegmentEnd(node)].rec;
    return CRect(std::min(a.x, b.x) - 1, std::min(a.y, b.y) - 1, std::max(a.x, b.x) + 1, std::max(a.y, b.y) + 1);
}

void COffsetLoopCutter::CellRange(const CRect& box, int& c0, int& r0, int& c1, int& r1) const
{
    const auto cell = [](double v, int limit) { return int(std::clamp(v, 0.0, double(limit - 1))); };
    c0 = cell((double(box.left) - m_origin.x) / m_cellWidth, m_columns);
    c1 = cell((double(box.right) - m_origin.x) / m_cellWidth, m_columns);
    r0 = cell((double(box.top) - m_origin.y) / m_cellHeight, m_rows);
    r1 = cell((double(box.bottom) - m_origin.y) / m_cellHeight, m_rows);
}

void COffsetLoopCutter::BuildGrid()
{
    if (m_head < 0) return;
    // Crossing points lie inside the boxes of their segments, so the first
    // bounds hold every segment there will be.
    CRect all(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (int k = m_head; k >= 0; k = m_nodes[k].next) {
        all.left = std::min(all.left, m_nodes[k].rec.x - 1);
        all.top = std::min(all.top, m_nodes[k].rec.y - 1);
        all.right = std::max(all.right, m_nodes[k].rec.x + 1);
        all.bottom = std::max(all.bottom, m_nodes[k].rec.y + 1);
    }
    m_origin = CPoint(all.left, all.top);
    m_columns = m_rows = std::clamp(int(std::sqrt(double(m_count))), 1, kMaxGridSide);
    m_cellWidth = std::max(1.0, (double(all.right) - all.left + 1) / m_columns);
    m_cellHeight = std::max(1.0, (double(all.bottom) - all.top + 1) / m_rows);
    m_cells.assign(std::size_t(m_columns) * std::size_t(m_rows), {});
    for (int k = m_head; k >= 0; k = m_nodes[k].next) Enter(k);
}

void COffsetLoopCutter::Enter(int node)
{
    if (SegmentEnd(node) < 0) return;
    int c0, r0, c1, r1;
    CellRange(SegmentBox(node), c0, r0, c1, r1);
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            m_cells[std::size_t(row) * m_columns + col].push_back({node, m_nodes[node].version});
}

void COffsetLoopCutter::Candidates(int node, int after, bool withClosing, std::vector<int>& out)
{
    out.clear();
    ++m_stamp;
    const CRect box = SegmentBox(node);
    const std::int64_t afterKey = m_nodes[after].key;
    int c0, r0, c1, r1;
    CellRange(box, c0, r0, c1, r1);
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            for (const GridEntry& e : m_cells[std::size_t(row) * m_columns + col]) {
                const Node& t = m_nodes[e.node];
                if (!t.alive || t.version != e.version || m_seen[e.node] == m_stamp) continue;
                m_seen[e.node] = m_stamp;
                if (t.key <= afterKey || SegmentEnd(e.node) < 0) continue;
                if (!withClosing && e.node == m_tail) continue;
                if (BoxesMeet(box, SegmentBox(e.node))) out.push_back(e.node);
            }
    std::sort(out.begin(), out.end(), [this](int a, int b) { return m_nodes[a].key < m_nodes[b].key; });
}

int COffsetLoopCutter::FindCrossing(int node, CPoint& crossing)
{
    const int next = m_nodes[node].next;
    // The next segment shares `next`, and from the head a closed list's
    // closing segment shares the head: those only meet at their ends.
    std::vector<int> candidates;
    Candidates(node, next, node != m_head, candidates);
    const CRunNodePoint& a = m_nodes[node].rec;
    const CRunNodePoint& b = m_nodes[next].rec;
    for (int t : candidates) {
        const int tEnd = SegmentEnd(t);
        if (SamePlace(t, tEnd)) continue;
        const CRunNodePoint& c = m_nodes[t].rec;
        const CRunNodePoint& d = m_nodes[tEnd].rec;
        if (CutsLoop(IntersectSegments(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, crossing))) return t;
    }
    return -1;
}

// --- Cutting ----------------------------------------------------------------------

bool COffsetLoopCutter::Cut(int s, int t, const CPoint& x)
{
    const int first = m_nodes[s].next;  // the loop's first record
    const int after = SegmentEnd(t);     // the head when t closes the list
    const bool wraps = m_nodes[t].next < 0;
    CRunNodePoint crossing(x.x, x.y, kCorner, m_nodes[s].rec.run);
    const CRunNodePoint& rs = m_nodes[s].rec;
    const CRunNodePoint& ra = m_nodes[after].rec;

    const __int128 chain = ChainSum(first, t);
    const __int128 loop = Cross(crossing, m_nodes[first].rec) + chain + Cross(m_nodes[t].rec, crossing);
    const __int128 rest = m_doubleArea - Cross(rs, m_nodes[first].rec) - chain - Cross(m_nodes[t].rec, ra) +
                          Cross(rs, crossing) + Cross(crossing, ra);

    if (Abs(rest) >= Abs(loop)) {
        const bool onEnd = crossing.SamePlace(rs) || crossing.SamePlace(ra);
        for (int k = first;; k = m_nodes[k].next) {
            Kill(k);
            if (k == t) break;
        }
        int join = wraps ? -1 : after;
        if (onEnd && rs.SamePlace(ra)) {
            // The two ends of the cut meet on one place: one is enough.
            if (wraps) {
                const int keep = m_nodes[s].prev;
                Kill(s);
                if (keep >= 0) {
                    m_nodes[keep].next = -1;
                    m_tail = keep;
                    ++m_nodes[keep].version;
                    Enter(keep);
                } else {
                    m_head = m_tail = -1;
                }
                m_doubleArea = rest;
                return true;
            }
            join = m_nodes[after].next;
            Kill(after);
        }
        int last = s;
        if (!onEnd) {
            const int node = Append(crossing, m_nodes[first].key);
            Link(s, node);
            ++m_count;
            last = node;
        }
        if (join >= 0) {
            Link(last, join);
        } else {
            m_nodes[last].next = -1;
            m_tail = last;
        }
        ++m_nodes[s].version;
        Enter(s);
        if (last != s) Enter(last);
        m_doubleArea = rest;
        return true;
    }

    // The loop is the larger part: it becomes the list.
    for (int k = m_head; k >= 0;) {
        const int next = m_nodes[k].next;
        if (k == first) {
            k = m_nodes[t].next;
            continue;
        }
        Kill(k);
        k = next;
    }
    const int node = Append(crossing, m_nodes[s].key);
    ++m_count;
    m_nodes[node].prev = -1;
    Link(node, first);
    m_nodes[t].next = -1;
    m_head = node;
    m_tail = t;
    ++m_nodes[t].version;
    Enter(node);
    Enter(t);
    m_doubleArea = loop;
    return false;
}

void COffsetLoopCutter::Run()
{
    int current = m_head;
    while (m_count > 3 && current >= 0 && m_nodes[current].next >= 0) {
        const int next = m_nodes[current].next;
        if (SamePlace(current, next)) {
            current = next;
            continue;
        }
        CPoint crossing;
        const int t = FindCrossing(current, crossing);
        if (t < 0) {
            current = next;
            continue;
        }
        // Kept the rest: the scan goes on from the same record, whose
        // segment now runs to the crossing. Kept the loop: from the start.
        if (!Cut(current, t, crossing)) current = m_head;
        else if (!m_nodes[current].alive) break;
    }
}

void COffsetLoopCutter::GetRecords(CRunNodePointList& out) const
{
    out.RemoveAll();
    for (int k = m_head; k >= 0; k = m_nodes[k].next) out.AddTail(m_nodes[k].rec);
}
