#include "geometry/OffsetNodes.h"

#include "geometry/Lines.h"
#include "geometry/Offset.h"
#include "geometry/Spline.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Tolerance of refitting an offset spline to smooth nodes, page units.
constexpr double kRefitTolerance = 10.0;

constexpr int kCorner = 0;
constexpr int kSmooth = 1;

using Nodes = std::vector<CNodePoint>;
using Records = std::vector<CRunNodePoint>;

// How the node list falls into runs.
enum class Shape {
    Runs,          // open, or closed with several runs
    UniformRing,   // closed, every node of one kind: one run all round
    SingleCorner,  // closed, one corner: one smooth run from it round to it
};

struct Run {
    std::vector<CPoint> points;
    bool smooth = false;
};

struct RunSplit {
    Shape shape = Shape::Runs;
    std::vector<Run> runs;
};

bool IsCornerKind(int kind) { return kind == kCorner; }

// The nodes as a vector; a closed ring loses the copy of its first node
// that may stand at its end.
Nodes RingOrList(const CNodePointList& list, int closed)
{
    Nodes v;
    for (const CNodePoint& n : list) v.push_back(n);
    if (closed && v.size() > 1 && v.back().SamePlace(v.front())) v.pop_back();
    return v;
}

// The ring's start: the first corner next to a change of kind.
std::size_t RingStart(const Nodes& v)
{
    for (std::size_t k = 1; k < v.size(); ++k) {
        if (v[k].kind == v[0].kind) continue;
        return IsCornerKind(v[0].kind) ? k - 1 : k;
    }
    return 0;
}

bool IsUniform(const Nodes& v)
{
    return std::all_of(v.begin(), v.end(), [&](const CNodePoint& n) { return n.kind == v[0].kind; });
}

bool HasSingleCorner(const Nodes& v, std::size_t start)
{
    if (!IsCornerKind(v[start].kind)) return false;
    for (std::size_t k = 1; k < v.size(); ++k)
        if (IsCornerKind(v[(start + k) % v.size()].kind)) return false;
    return true;
}

// Cuts the runs one after the other from `start`. On a ring the walk wraps
// round and ends when it is back at the start, which is a corner.
std::vector<Run> CutRuns(const Nodes& v, std::size_t start, bool ring)
{
    std::vector<Run> runs;
    const std::size_t n = v.size();
    const auto next = [&](std::size_t k) -> std::size_t { return ring ? (k + 1) % n : k + 1; };
    const auto atEnd = [&](std::size_t k) { return ring ? k == start : k + 1 >= n; };

    std::size_t cur = start;
    while (true) {
        Run run;
        run.points.push_back(v[cur].GetPoint());
        if (!ring && cur + 1 >= n) {
            runs.push_back(run);
            break;
        }
        std::size_t k = next(cur);
        run.smooth = !IsCornerKind(v[k].kind);
        bool done = false;
        while (true) {
            run.points.push_back(v[k].GetPoint());
            cur = k;
            if (atEnd(k)) {
                done = true;
                break;
            }
            if (run.smooth) {
                if (IsCornerKind(v[k].kind)) break;
            } else if (!IsCornerKind(v[next(k)].kind)) {
                // The smooth node that follows belongs to the next run, which
                // starts at this corner.
                break;
            }
            k = next(k);
        }
        runs.push_back(std::move(run));
        if (done) break;
    }
    return runs;
}

RunSplit SplitRuns(const Nodes& v, int closed)
{
    RunSplit split;
    if (v.empty()) return split;
    if (!closed) {
        split.runs = CutRuns(v, 0, false);
        return split;
    }
    if (IsUniform(v) || HasSingleCorner(v, RingStart(v))) {
        const std::size_t start = IsUniform(v) ? 0 : RingStart(v);
        split.shape = IsUniform(v) ? Shape::UniformRing : Shape::SingleCorner;
        Run run;
        for (std::size_t k = 0; k < v.size(); ++k) run.points.push_back(v[(start + k) % v.size()].GetPoint());
        run.smooth = split.shape == Shape::SingleCorner || !IsCornerKind(v[0].kind);
        split.runs.push_back(std::move(run));
        return split;
    }
    split.runs = CutRuns(v, RingStart(v), true);
    return split;
}

CPointList ToList(const std::vector<CPoint>& points)
{
    CPointList list;
    for (const CPoint& p : points) list.AddTail(p);
    return list;
}

void DropTrailingCopyOfHead(CPointList& list)
{
    if (list.GetCount() > 1 && list.GetTail() == list.GetHead()) list.RemoveTail();
}

// The dense path of a run, as the model draws it.
CPointList DensePath(const Run& run, Shape shape)
{
    CPointList points = ToList(run.points);
    if (!run.smooth) {
        // A ring of corners is drawn round to its first point again.
        if (shape == Shape::UniformRing && !points.IsEmpty()) points.AddTail(CPoint(points.GetHead()));
        return points;
    }
    CPointList dense;
    switch (shape) {
    case Shape::UniformRing:
        points.AddTail(CPoint(points.GetHead()));
        MakeSmoothCurve(points, 1, dense);
        break;
    case Shape::SingleCorner:
        points.AddTail(CPoint(points.GetHead()));
        MakeSmoothCurve(points, 0, dense);
        break;
    case Shape::Runs:
        MakeSmoothCurve(points, 0, dense);
        break;
    }
    return dense;
}

// The offset records of one run.
void OffsetRun(const Run& run, Shape shape, int distance, int runIndex, Records& out)
{
    CPointList path = DensePath(run, shape);
    const bool ring = shape != Shape::Runs;
    if (shape == Shape::SingleCorner) DropTrailingCopyOfHead(path);
    CPointList offset;
    OffsetPolyline(path, ring ? 1 : 0, distance, offset);
    // A ring's offset comes back to its first point exactly once.
    if (ring && !offset.IsEmpty() && offset.GetTail() != offset.GetHead())
        offset.AddTail(CPoint(offset.GetHead()));

    if (!run.smooth) {
        for (const CPoint& p : offset) out.emplace_back(p.x, p.y, kCorner, runIndex);
        return;
    }

    CPointList fitted;
    int ok = 0;
    if (shape == Shape::UniformRing) {
        DropTrailingCopyOfHead(offset);
        ok = FitClosedCurveControlPoints(offset, kRefitTolerance, fitted);
    } else {
        ok = FitCurveControlPoints(offset, kRefitTolerance, fitted);
        if (shape == Shape::SingleCorner) DropTrailingCopyOfHead(fitted);
    }
    // Too short to fit: the offset points themselves.
    if (!ok || fitted.IsEmpty()) fitted = offset;

    const std::size_t first = out.size();
    for (const CPoint& p : fitted) out.emplace_back(p.x, p.y, kSmooth, runIndex);
    if (out.size() == first) return;
    if (shape != Shape::UniformRing) out[first].kind = kCorner;
    if (shape == Shape::Runs) out.back().kind = kCorner;
}

// Of two neighbours on one place one goes: the later when the earlier is a
// corner, else the earlier, so a corner survives.
void MergeRepeats(Records& r)
{
    Records merged;
    merged.reserve(r.size());
    for (const CRunNodePoint& rec : r) {
        if (!merged.empty() && merged.back().SamePlace(rec)) {
            if (!IsCornerKind(merged.back().kind)) merged.back() = rec;
            continue;
        }
        merged.push_back(rec);
    }
    r = std::move(merged);
}

void DropClosingRepeat(Records& r)
{
    if (r.size() > 2 && r.back().SamePlace(r.front())) r.pop_back();
}

// Extends the end segments of two neighbouring runs' offsets to where they
// meet, so the offset turns a sharp corner where the curve does.
void JoinPair(Records& r, std::size_t before, std::size_t a, std::size_t b, std::size_t after)
{
    if (r[a].run == r[b].run || r[a].SamePlace(r[b])) return;
    CPoint crossing;
    if (IntersectLinesThroughPoints(r[before].GetPoint(), r[a].GetPoint(), r[b].GetPoint(),
                                    r[after].GetPoint(), crossing) != 1)
        return;
    r[a].x = r[b].x = crossing.x;
    r[a].y = r[b].y = crossing.y;
}

void JoinRuns(Records& r, bool ring)
{
    const std::size_t n = r.size();
    for (std::size_t k = 1; k + 2 < n; ++k) JoinPair(r, k - 1, k, k + 1, k + 2);
    // On a ring the last run meets the first one too.
    if (ring && n >= 4) JoinPair(r, n - 2, n - 1, 0, 1);
}

// --- Loop removal ------------------------------------------------------------------

bool SamePlace(const CRunNodePoint& a, const CRunNodePoint& b) { return a.SamePlace(b); }

// Segment k of the list runs from record k to record k + 1 (on a ring the
// last one back to record 0). A grid over the segments' boxes, each box
// widened by the one unit the segment crossing allows, finds the segments
// that may meet a given one without testing them all.
class SegmentGrid {
public:
    SegmentGrid(const Records& r, std::size_t count) : m_records(r), m_count(count)
    {
        if (count == 0) return;
        CRect all = Box(0);
        for (std::size_t k = 1; k < count; ++k) {
            const CRect b = Box(k);
            all.left = std::min(all.left, b.left);
            all.top = std::min(all.top, b.top);
            all.right = std::max(all.right, b.right);
            all.bottom = std::max(all.bottom, b.bottom);
        }
        m_origin = CPoint(all.left, all.top);
        const double side = std::max(1.0, std::sqrt(double(count)));
        m_columns = int(std::min(1024.0, side));
        m_rows = m_columns;
        m_cellWidth = std::max(1.0, (double(all.right) - all.left + 1) / m_columns);
        m_cellHeight = std::max(1.0, (double(all.bottom) - all.top + 1) / m_rows);
        m_cells.assign(std::size_t(m_columns) * m_rows, {});
        for (std::size_t k = 0; k < count; ++k) {
            int c0, r0, c1, r1;
            CellRange(Box(k), c0, r0, c1, r1);
            for (int row = r0; row <= r1; ++row)
                for (int col = c0; col <= c1; ++col)
                    m_cells[std::size_t(row) * m_columns + col].push_back(int(k));
        }
        m_seen.assign(count, 0);
    }

    // Indexes of the segments whose boxes meet segment k's, from `from` to
    // `to` inclusive, ascending.
    void Candidates(std::size_t k, std::size_t from, std::size_t to, std::vector<int>& out)
    {
        out.clear();
        if (m_count == 0) return;
        ++m_stamp;
        const CRect box = Box(k);
        int c0, r0, c1, r1;
        CellRange(box, c0, r0, c1, r1);
        for (int row = r0; row <= r1; ++row)
            for (int col = c0; col <= c1; ++col)
                for (int j : m_cells[std::size_t(row) * m_columns + col]) {
                    if (std::size_t(j) < from || std::size_t(j) > to || m_seen[j] == m_stamp) continue;
                    m_seen[j] = m_stamp;
                    if (Meet(box, Box(j))) out.push_back(j);
                }
        std::sort(out.begin(), out.end());
    }

    CRect Box(std::size_t k) const
    {
        const CRunNodePoint& a = m_records[k];
        const CRunNodePoint& b = m_records[(k + 1) % m_records.size()];
        return CRect(std::min(a.x, b.x) - 1, std::min(a.y, b.y) - 1, std::max(a.x, b.x) + 1,
                     std::max(a.y, b.y) + 1);
    }

private:
    static bool Meet(const CRect& a, const CRect& b)
    {
        return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
    }

    void CellRange(const CRect& box, int& c0, int& r0, int& c1, int& r1) const
    {
        const auto clampTo = [](double v, int limit) { return int(std::clamp(v, 0.0, double(limit - 1))); };
        c0 = clampTo((double(box.left) - m_origin.x) / m_cellWidth, m_columns);
        c1 = clampTo((double(box.right) - m_origin.x) / m_cellWidth, m_columns);
        r0 = clampTo((double(box.top) - m_origin.y) / m_cellHeight, m_rows);
        r1 = clampTo((double(box.bottom) - m_origin.y) / m_cellHeight, m_rows);
    }

    const Records& m_records;
    std::size_t m_count;
    CPoint m_origin;
    int m_columns = 1;
    int m_rows = 1;
    double m_cellWidth = 1.0;
    double m_cellHeight = 1.0;
    std::vector<std::vector<int>> m_cells;
    std::vector<unsigned> m_seen;
    unsigned m_stamp = 0;
};

double AreaOf(const Records& r)
{
    CPointList points;
    for (const CRunNodePoint& rec : r) points.AddTail(rec.GetPoint());
    return PolygonArea(points);
}

// Segment s = (i, i + 1) meets segment t = (j, j + 1) at X: the records
// i + 1 .. j form a loop closed by X. Either the loop or the rest is kept,
// whichever encloses more. True when the rest was kept.
bool CutLoop(Records& r, std::size_t i, std::size_t j, const CPoint& x)
{
    const std::size_t n = r.size();
    const std::size_t after = (j + 1) % n;  // 0 when t is a ring's closing segment
    const CRunNodePoint crossing(x.x, x.y, kCorner, r[i].run);

    Records loop;
    loop.push_back(crossing);
    loop.insert(loop.end(), r.begin() + std::ptrdiff_t(i + 1), r.begin() + std::ptrdiff_t(j + 1));

    Records rest(r.begin(), r.begin() + std::ptrdiff_t(i + 1));
    const bool onEnd = crossing.SamePlace(r[i]) || crossing.SamePlace(r[after]);
    if (!onEnd) rest.push_back(crossing);
    if (after != 0) {
        std::size_t from = after;
        // The two ends of the cut meet on one place: one of them is enough.
        if (onEnd && SamePlace(r[i], r[after])) ++from;
        rest.insert(rest.end(), r.begin() + std::ptrdiff_t(from), r.end());
    } else if (onEnd && SamePlace(r[i], r[0]) && rest.size() > 1) {
        rest.pop_back();
    }

    if (AreaOf(rest) >= AreaOf(loop)) {
        r = std::move(rest);
        return true;
    }
    r = std::move(loop);
    return false;
}

bool CutsLoop(int code) { return code == 1 || code == 4 || code == 5; }

} // namespace

// --- Public functions -------------------------------------------------------------

int BuildNodePolyline(const CNodePointList& nodes, int closed, CPointList& out)
{
    const Nodes v = RingOrList(nodes, closed);
    if (v.size() < 2) {
        if (!v.empty()) out.AddTail(v.front().GetPoint());
        return 1;
    }
    const RunSplit split = SplitRuns(v, closed);
    for (const Run& run : split.runs) out.AddTail(DensePath(run, split.shape));
    return 1;
}

int OffsetCurveNodes(const CNodePointList& nodes, int closed, int distance, CNodePointList& out)
{
    out.RemoveAll();
    if (nodes.IsEmpty()) return 0;
    const Nodes v = RingOrList(nodes, closed);
    const RunSplit split = SplitRuns(v, closed);

    Records r;
    for (std::size_t k = 0; k < split.runs.size(); ++k)
        OffsetRun(split.runs[k], split.shape, distance, int(k), r);

    MergeRepeats(r);
    if (split.shape != Shape::Runs) DropClosingRepeat(r);
    JoinRuns(r, closed && split.shape == Shape::Runs);
    // Joined ends stand on one place now.
    MergeRepeats(r);
    if (closed) DropClosingRepeat(r);

    CRunNodePointList list;
    for (const CRunNodePoint& rec : r) list.AddTail(rec);
    RemoveOffsetLoops(list, closed);
    r.clear();
    for (const CRunNodePoint& rec : list) r.push_back(rec);

    MergeRepeats(r);
    if (closed) DropClosingRepeat(r);
    if (!closed && !r.empty()) {
        r.front().kind = kCorner;
        r.back().kind = kCorner;
    }
    for (const CRunNodePoint& rec : r) out.AddTail(CNodePoint(rec.x, rec.y, rec.kind));
    return 1;
}

void RemoveOffsetLoops(CRunNodePointList& records, int closed)
{
    if (records.GetCount() < 4) return;
    Records r;
    for (const CRunNodePoint& rec : records) r.push_back(rec);
    std::vector<int> candidates;

    std::size_t i = 0;
    bool changed = false;
    while (r.size() > 3) {
        const std::size_t n = r.size();
        const std::size_t segments = closed ? n : n - 1;
        SegmentGrid grid(r, segments);
        changed = false;
        for (; i + 1 < n; ++i) {
            if (SamePlace(r[i], r[i + 1])) continue;
            // The later segments, leaving out the next one (it shares the
            // node i + 1) and, from the first segment, a ring's closing one
            // (it shares node 0).
            const std::size_t last = closed && i > 0 ? n - 1 : n - 2;
            if (i + 2 > last) continue;
            grid.Candidates(i, i + 2, last, candidates);
            for (int jj : candidates) {
                const std::size_t j = std::size_t(jj);
                const CRunNodePoint& t0 = r[j];
                const CRunNodePoint& t1 = r[(j + 1) % n];
                if (SamePlace(t0, t1)) continue;
                CPoint x;
                const int code = IntersectSegments(r[i].x, r[i].y, r[i + 1].x, r[i + 1].y, t0.x, t0.y,
                                                   t1.x, t1.y, x);
                if (!CutsLoop(code)) continue;
                if (!CutLoop(r, i, j, x)) i = 0;
                changed = true;
                break;
            }
            if (changed) break;
        }
        if (!changed) break;
    }
    records.RemoveAll();
    for (const CRunNodePoint& rec : r) records.AddTail(rec);
}
