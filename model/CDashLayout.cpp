#include "model/CDashLayout.h"

#include "geometry/ClipToView.h"
#include "geometry/Distance.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A point at a length along a path, found on the path as it is: either a
// vertex of the path, or a point inside the segment after `segStart`.
struct PathPoint {
    CPoint point;
    POSITION segStart = nullptr;
    POSITION vertex = nullptr;
};

// Where the walk along a path for the previous cut stopped: the start of
// the segment it stopped in and the length walked up to there. Pattern
// lengths only grow, so each cut walks on from there; walking from the
// start every time takes quadratic time on long paths of many vertices.
struct PathCursor {
    POSITION vertex = nullptr;
    double walked = 0.0;
};

// The point at a length along the path (the walk of PointAtSignedLength,
// with the same sums in the same order, so the same points): a vertex of
// the path, or a point inside the segment after `segStart`.
PathPoint LocateOnPath(const CPointList& path, double length, PathCursor& cursor)
{
    const double wanted = std::max(length, 0.0);
    if (!cursor.vertex || wanted < cursor.walked) cursor = PathCursor{path.GetHeadPosition(), 0.0};
    PathPoint found;
    double walked = cursor.walked;
    for (POSITION nearEnd = cursor.vertex, farEnd = CPointList::NextOf(nearEnd); farEnd;
         nearEnd = farEnd, farEnd = CPointList::NextOf(farEnd)) {
        const CPoint& a = path.GetAt(nearEnd);
        const CPoint& b = path.GetAt(farEnd);
        const double dx = double(b.x) - a.x;
        const double dy = double(b.y) - a.y;
        const double len = std::sqrt(dx * dx + dy * dy);
        if (len == 0.0) continue;
        if (walked + len >= wanted) {
            const double t = (wanted - walked) / len;
            found.point = CPoint(a.x + RoundToInt(dx * t), a.y + RoundToInt(dy * t));
            found.segStart = nearEnd;
            found.vertex = found.point == a ? nearEnd : found.point == b ? farEnd : nullptr;
            cursor = PathCursor{nearEnd, walked};
            return found;
        }
        walked += len;
    }
    // At or beyond the end, which only rounding can ask for: the last vertex.
    found.vertex = path.GetTailPosition();
    if (found.vertex) found.point = path.GetAt(found.vertex);
    return found;
}

// Cuts the stretch from length `from` to length `to` (or to the vertex
// `toVertex` when it is given) out of `work`: points that fall between
// vertices are put into the list for the time of the cut, `emit` receives
// the stretch's two positions, and the list is restored afterwards.
void CutStretch(CPointList& work, double from, double to, POSITION toVertex, PathCursor& cursor,
                const CDashLayout::Emit& emit)
{
    if (work.IsEmpty()) return;
    const PathPoint a = LocateOnPath(work, from, cursor);
    PathPoint b;
    if (toVertex) {
        b.vertex = toVertex;
        b.point = work.GetAt(toVertex);
    } else {
        b = LocateOnPath(work, to, cursor);
    }
    // Both ends are found on the path as it was; an end inside the segment
    // that also holds the start goes in after the start.
    const POSITION posA = a.vertex ? a.vertex : work.InsertAfter(a.segStart, a.point);
    POSITION posB = b.vertex;
    if (!posB)
        posB = work.InsertAfter(!a.vertex && b.segStart == a.segStart ? posA : b.segStart,
                                b.point);
    emit(work, posA, posB);
    if (!b.vertex) work.RemoveAt(posB);
    if (!a.vertex) work.RemoveAt(posA);
}


// A stretch of lengths along the path.
struct Span {
    double from;
    double to;
};

// The part of the segment a-b inside the rectangle as parameters from 0
// at a to 1 at b (Liang-Barsky); false when none of it is.
bool CutToRect(const CPoint& a, const CPoint& b, const CRect& rect, double& t0, double& t1)
{
    return SegmentInsideRect(a.x, a.y, double(b.x) - a.x, double(b.y) - a.y, rect.left, rect.top, rect.right,
                             rect.bottom, t0, t1);
}

// The lengths along the path of its parts inside the rectangle, joined
// where they touch; summed as LocateOnPath sums them.
std::vector<Span> SpansMeeting(const CPointList& path, const CRect& rect)
{
    std::vector<Span> spans;
    double walked = 0.0;
    for (POSITION nearEnd = path.GetHeadPosition(), farEnd = nearEnd ? CPointList::NextOf(nearEnd) : nullptr; farEnd;
         nearEnd = farEnd, farEnd = CPointList::NextOf(farEnd)) {
        const CPoint& a = path.GetAt(nearEnd);
        const CPoint& b = path.GetAt(farEnd);
        const double dx = double(b.x) - a.x;
        const double dy = double(b.y) - a.y;
        const double len = std::sqrt(dx * dx + dy * dy);
        double t0 = 0.0, t1 = 0.0;
        if (CutToRect(a, b, rect, t0, t1)) {
            const Span span{walked + t0 * len, walked + t1 * len};
            if (!spans.empty() && spans.back().to >= span.from) spans.back().to = std::max(spans.back().to, span.to);
            else spans.push_back(span);
        }
        walked += len;
    }
    return spans;
}

}  // namespace

CDashLayout::CDashLayout(const CPointList& path, std::vector<double> pattern, int periods, bool closed)
    : m_path(path), m_pattern(std::move(pattern)), m_periods(std::max(periods, 0)), m_closed(closed)
{
}

long long CDashLayout::DashCount() const
{
    const long long perPeriod = (static_cast<long long>(m_pattern.size()) + 1) / 2;
    return m_periods * perPeriod + (m_closed ? 0 : 1);
}

void CDashLayout::LayOutAll(const Emit& emit) const
{
    CPointList work = m_path;
    double length = 0.0;
    PathCursor cursor;
    for (int i = 0; i < m_periods; ++i) {
        for (std::size_t j = 0; j < m_pattern.size(); ++j) {
            const double next = length + m_pattern[j];
            if (j % 2 == 0) CutStretch(work, length, next, nullptr, cursor, emit);
            length = next;
        }
    }
    if (!m_closed) CutStretch(work, length, 0.0, work.GetTailPosition(), cursor, emit);
}

void CDashLayout::LayOutMeeting(const CRect& rect, const Emit& emit) const
{
    double period = 0.0;
    for (double d : m_pattern) period += d;
    if (!(period > 0.0) || !std::isfinite(period)) return;

    CPointList work = m_path;
    PathCursor cursor;
    // Dashes are numbered along the path, so one reaching over two spans
    // is cut once.
    long long next = 0;
    const long long perPeriod = static_cast<long long>(m_pattern.size());
    const double end = m_periods * period;
    for (const Span& span : SpansMeeting(m_path, rect)) {
        const long long first = std::max(0LL, static_cast<long long>(std::floor(span.from / period)));
        const long long last = std::min<long long>(m_periods - 1, static_cast<long long>(std::floor(span.to / period)));
        for (long long i = first; i <= last; ++i) {
            double length = i * period;
            for (long long j = 0; j < perPeriod; ++j) {
                const double dashEnd = length + m_pattern[std::size_t(j)];
                const long long number = i * perPeriod + j;
                if (j % 2 == 0 && number >= next && dashEnd >= span.from && length <= span.to) {
                    CutStretch(work, length, dashEnd, nullptr, cursor, emit);
                    next = number + 1;
                }
                length = dashEnd;
            }
        }
        const long long lastNumber = m_periods * perPeriod;
        if (!m_closed && span.to >= end && lastNumber >= next) {
            CutStretch(work, end, 0.0, work.GetTailPosition(), cursor, emit);
            next = lastNumber + 1;
        }
    }
}
