#include "library/CTransformFrame.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Polyline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

int Saturated(std::int64_t v)
{
    return int(std::clamp<std::int64_t>(v, -2147483647, 2147483646));
}

CPoint Add(const CPoint& a, const CPoint& b)
{
    return CPoint(Saturated(std::int64_t(a.x) + b.x), Saturated(std::int64_t(a.y) + b.y));
}

CPoint Sub(const CPoint& a, const CPoint& b)
{
    return CPoint(Saturated(std::int64_t(a.x) - b.x), Saturated(std::int64_t(a.y) - b.y));
}

CPoint Foot(const CPoint& p, const CPoint& a, const CPoint& b)
{
    CPoint foot;
    PerpendicularFoot(p.x, p.y, a.x, a.y, b.x, b.y, foot);
    return foot;
}

int DistanceToLine(const CPoint& p, const CPoint& a, const CPoint& b)
{
    if (a == b) return PointDistanceRounded(p.x, p.y, a.x, a.y);
    return RoundToInt(DistancePointToLine(p.x, p.y, a.x, a.y, b.x, b.y));
}

double Length(const CPoint& a, const CPoint& b)
{
    return std::hypot(double(b.x) - a.x, double(b.y) - a.y);
}

// The corner a scaling handle keeps where it was (0-based).
int KeptCorner(int kind)
{
    switch (kind) {
    case CTransformFrame::kEdgeTop: return 3;
    case CTransformFrame::kEdgeRight: return 0;
    case CTransformFrame::kEdgeBottom: return 1;
    case CTransformFrame::kEdgeLeft: return 2;
    case CTransformFrame::kCorner1: return 2;
    case CTransformFrame::kCorner2: return 3;
    case CTransformFrame::kCorner3: return 0;
    case CTransformFrame::kCorner4: return 1;
    default: return 0;
    }
}

} // namespace

void CTransformFrame::Reset(const CRect& bounds)
{
    CRect r = bounds;
    if (r.left < r.right - 1) r.right -= 1;
    if (r.top < r.bottom - 1) r.bottom -= 1;
    m_q = {CPoint(r.left, r.top), CPoint(r.right, r.top), CPoint(r.right, r.bottom), CPoint(r.left, r.bottom)};
    m_c0 = CPoint(RoundToInt((double(m_q[0].x) + m_q[2].x) / 2), RoundToInt((double(m_q[0].y) + m_q[2].y) / 2));
    m_p = m_q;
    m_s = m_q;
    m_c = m_c0;
    m_theta = 0.0;
    m_h = PointDistanceRounded(m_q[0].x, m_q[0].y, m_q[3].x, m_q[3].y);
    m_w = PointDistanceRounded(m_q[0].x, m_q[0].y, m_q[1].x, m_q[1].y);
    m_baseW = m_w;
    m_baseH = m_h;
}

bool CTransformFrame::IsUnchanged() const
{
    return m_c == m_c0 && m_theta == 0.0 && m_w == m_baseW && m_h == m_baseH;
}

int CTransformFrame::Tolerance(double unitsPerPixel) const
{
    const double shorter = std::min(Length(m_p[0], m_p[1]), Length(m_p[1], m_p[2]));
    return std::min(RoundToInt(shorter / 3), RoundToInt(kMaxTolerancePixels * unitsPerPixel));
}

int CTransformFrame::HitTest(const CPoint& mouse, double unitsPerPixel, bool shift) const
{
    const int tolerance = Tolerance(unitsPerPixel);
    int nearest = -1;
    double nearestDistance = 0;
    for (int i = 0; i < 4; ++i) {
        const double d = Length(mouse, m_p[std::size_t(i)]);
        if (d <= tolerance && (nearest < 0 || d < nearestDistance)) {
            nearest = i;
            nearestDistance = d;
        }
    }
    if (nearest >= 0) return shift ? kCorner1 + nearest : kRotate;

    int kind = kNone;
    double running = tolerance;
    for (int i = 0; i < 4; ++i) {
        const CPoint& a = m_p[std::size_t(i)];
        const CPoint& b = m_p[std::size_t((i + 1) % 4)];
        const CPoint foot = Foot(mouse, a, b);
        const double d = Length(mouse, foot);
        if (d < running && IsPointInSegmentBox(foot.x, foot.y, a.x, a.y, b.x, b.y)) {
            kind = kEdgeTop + i;
            running = d;
        }
    }
    if (kind != kNone) return kind;
    CPointList outline;
    for (const CPoint& p : m_p) outline.AddTail(p);
    return IsPointInPolyline(mouse.x, mouse.y, outline) ? kMove : kNone;
}

void CTransformFrame::BeginDrag(int kind, const CPoint& at)
{
    m_s = m_p;
    const CPoint& p1 = m_p[0];
    const CPoint& p2 = m_p[1];
    const CPoint& p3 = m_p[2];
    const CPoint& p4 = m_p[3];
    switch (kind) {
    case kEdgeTop: m_f = Foot(at, p1, p4); break;
    case kEdgeRight: m_f = Foot(at, p4, p3); break;
    case kEdgeBottom: m_f = Foot(at, p1, p4); break;
    case kEdgeLeft: m_f = Foot(at, p1, p2); break;
    case kCorner1:
        m_f = Foot(at, p2, p3);
        m_g = Foot(at, p3, p4);
        break;
    case kCorner2:
        m_f = Foot(at, p3, p4);
        m_g = Foot(at, p4, p1);
        break;
    case kCorner3:
        m_f = Foot(at, p1, p4);
        m_g = Foot(at, p1, p2);
        break;
    case kCorner4:
        m_f = Foot(at, p2, p1);
        m_g = Foot(at, p3, p2);
        break;
    default: break;
    }
}

bool CTransformFrame::StepTo(int kind, const CPoint& anchor, const CPoint& mouse, CPoint& current) const
{
    current = mouse;
    if (!IsScaling(kind)) return true;
    const CPoint& s1 = m_s[0];
    const CPoint& s2 = m_s[1];
    const CPoint& s3 = m_s[2];
    const CPoint& s4 = m_s[3];
    if (kind == kCorner1 || kind == kCorner3) current = Foot(current, s1, s3);
    if (kind == kCorner2 || kind == kCorner4) current = Foot(current, s2, s4);

    // The dragged side must stay on the side of the fixed corner where the
    // drag began.
    const auto same = [&](const CPoint& a, const CPoint& b, const CPoint& projection, const CPoint& fixed) {
        return IsSameQuadrant(Foot(current, a, b), fixed, projection, fixed) != 0;
    };
    bool ok = true;
    switch (kind) {
    case kEdgeTop: ok = same(s1, s4, m_f, s4); break;
    case kEdgeRight: ok = same(s4, s3, m_f, s4); break;
    case kEdgeBottom: ok = same(s1, s4, m_f, s1); break;
    case kEdgeLeft: ok = same(s1, s2, m_f, s2); break;
    case kCorner1: ok = same(s2, s3, m_f, s3) && same(s4, s3, m_g, s3); break;
    case kCorner2: ok = same(s3, s4, m_f, s4) && same(s1, s4, m_g, s4); break;
    case kCorner3: ok = same(s4, s1, m_f, s1) && same(s2, s1, m_g, s1); break;
    case kCorner4: ok = same(s1, s2, m_f, s2) && same(s3, s2, m_g, s2); break;
    default: break;
    }
    if (!ok) current = anchor;
    return ok;
}

void CTransformFrame::Update(int kind, const CPoint& anchor, const CPoint& current, double unitsPerPixel)
{
    const CPoint& p1 = m_p[0];
    const CPoint& p2 = m_p[1];
    const CPoint& p3 = m_p[2];
    const CPoint& p4 = m_p[3];
    // A side the base has no length on keeps none; any other stays between
    // one unit and the largest scale.
    const auto width = [&](int d) {
        if (m_baseW == 0) return 0;
        const double most = std::min<double>(kMaxSide, std::max(1.0, m_baseW * kMaxScale));
        return int(std::clamp<double>(d, 1.0, most));
    };
    const auto height = [&](int d) {
        if (m_baseH == 0) return 0;
        const double most = std::min<double>(kMaxSide, std::max(1.0, m_baseH * kMaxScale));
        return int(std::clamp<double>(d, 1.0, most));
    };
    switch (kind) {
    case kMove: m_c = Add(m_c, Sub(current, anchor)); break;
    case kRotate: {
        const double pixel = std::max(unitsPerPixel, 1e-9);
        if (Length(m_c, anchor) < pixel || Length(m_c, current) < pixel) return;
        m_theta += AngleBetweenLines(m_c.x, m_c.y, anchor.x, anchor.y, m_c.x, m_c.y, current.x, current.y);
        while (m_theta >= Geo::kTwoPi) m_theta -= Geo::kTwoPi;
        while (m_theta <= -Geo::kTwoPi) m_theta += Geo::kTwoPi;
        break;
    }
    case kEdgeTop: m_h = height(DistanceToLine(current, p3, p4)); break;
    case kEdgeRight: m_w = width(DistanceToLine(current, p4, p1)); break;
    case kEdgeBottom: m_h = height(DistanceToLine(current, p1, p2)); break;
    case kEdgeLeft: m_w = width(DistanceToLine(current, p2, p3)); break;
    case kCorner1:
        m_w = width(DistanceToLine(current, p2, p3));
        m_h = height(DistanceToLine(current, p3, p4));
        break;
    case kCorner2:
        m_h = height(DistanceToLine(current, p3, p4));
        m_w = width(DistanceToLine(current, p4, p1));
        break;
    case kCorner3:
        m_w = width(DistanceToLine(current, p1, p4));
        m_h = height(DistanceToLine(current, p1, p2));
        break;
    case kCorner4:
        m_h = height(DistanceToLine(current, p1, p2));
        m_w = width(DistanceToLine(current, p2, p3));
        break;
    default: return;
    }
    Rebuild(kind);
}

void CTransformFrame::Rebuild(int kind)
{
    const double l12 = Length(m_q[0], m_q[1]);
    const double l14 = Length(m_q[0], m_q[3]);
    const CPoint t1 = m_q[0];
    CPoint t2 = t1;
    CPoint t4 = t1;
    if (l12 > 0)
        t2 = Add(t1, CPoint(RoundToInt((double(m_q[1].x) - t1.x) * m_w / l12),
                            RoundToInt((double(m_q[1].y) - t1.y) * m_w / l12)));
    if (l14 > 0)
        t4 = Add(t1, CPoint(RoundToInt((double(m_q[3].x) - t1.x) * m_h / l14),
                            RoundToInt((double(m_q[3].y) - t1.y) * m_h / l14)));
    const CPoint t3 = Sub(Add(t2, t4), t1);
    const CPoint centre(RoundToInt((double(t1.x) + t3.x) / 2), RoundToInt((double(t1.y) + t3.y) / 2));
    std::array<CPoint, 4> t = {t1, t2, t3, t4};
    const double s = std::sin(m_theta);
    const double c = std::cos(m_theta);
    if (!IsScaling(kind)) {
        const CPoint shift = Sub(m_c, centre);
        for (CPoint& p : t) {
            p = Add(p, shift);
            RotatePoint(p, m_c.x, m_c.y, s, c);
        }
    } else {
        for (CPoint& p : t) RotatePoint(p, centre.x, centre.y, s, c);
        const int kept = KeptCorner(kind);
        const CPoint shift = Sub(m_p[std::size_t(kept)], t[std::size_t(kept)]);
        for (CPoint& p : t) p = Add(p, shift);
        m_c = Add(centre, shift);
    }
    m_p = t;
}

CPoint CTransformFrame::FootOnEdge(int kind, const CPoint& p) const
{
    if (!IsEdge(kind)) return p;
    const int i = kind - kEdgeTop;
    return Foot(p, m_p[std::size_t(i)], m_p[std::size_t((i + 1) % 4)]);
}

double CTransformFrame::ScaleX() const
{
    const int base = std::abs(m_q[0].x - m_q[1].x);
    return base == 0 ? 1.0 : double(m_w) / base;
}

double CTransformFrame::ScaleY() const
{
    const int base = std::abs(m_q[0].y - m_q[3].y);
    return base == 0 ? 1.0 : double(m_h) / base;
}

CPoint CTransformFrame::MapPoint(const CPoint& p) const
{
    CPoint q = Add(m_c, CPoint(RoundToInt((double(p.x) - m_c0.x) * ScaleX()),
                               RoundToInt((double(p.y) - m_c0.y) * ScaleY())));
    if (m_theta != 0.0) RotatePoint(q, m_c.x, m_c.y, std::sin(m_theta), std::cos(m_theta));
    return q;
}

void CTransformFrame::MapPoints(const CPointList& in, CPointList& out) const
{
    CPointList mapped;
    for (const CPoint& p : in) mapped.AddTail(MapPoint(p));
    out = std::move(mapped);
}

CPoint CTransformFrame::MapPictureCorner(const CPoint& p) const
{
    CPoint q = MapTablePoint(p);
    if (m_theta != 0.0) RotatePoint(q, m_p[0].x, m_p[0].y, std::sin(m_theta), std::cos(m_theta));
    return q;
}

CPoint CTransformFrame::MapTablePoint(const CPoint& p) const
{
    return Add(m_p[0], CPoint(RoundToInt((double(p.x) - m_q[0].x) * ScaleX()),
                              RoundToInt((double(p.y) - m_q[0].y) * ScaleY())));
}
