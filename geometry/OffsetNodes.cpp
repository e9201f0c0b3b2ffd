#include "geometry/OffsetNodes.h"

#include "geometry/COffsetLoopCutter.h"
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
    COffsetLoopCutter cutter(records, closed);
    cutter.Run();
    cutter.GetRecords(records);
}
