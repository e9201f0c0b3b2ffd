#include "model/CLineAttr.h"

#include "geometry/Distance.h"

#include "platform/CArchive.h"

#include <cstdint>

namespace {

int Saturate(long long v)
{
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return int(v);
}

// The first version whose records carry p1, p2 for the side-line kinds.
constexpr int kSideParamsVersion = 106;

bool IsSideLineKind(int kind)
{
    return kind >= LINE_SIDE_PLUS && kind <= LINE_DOUBLE;
}

// How many of p1 .. p6 a kind stores in full (kind 2 and the custom kind
// store only p2 and are handled apart).
int StoredParamCount(int kind)
{
    switch (kind) {
    case LINE_DASH:
        return 2;
    case LINE_DASH_PAIR:
        return 4;
    case LINE_DASH_TRIPLE:
        return 6;
    default:
        return IsSideLineKind(kind) ? 2 : 0;
    }
}

} // namespace

CLineAttr::CLineAttr(int w) : m_kind(LINE_PLAIN), m_width(w) {}

CLineAttr::CLineAttr(int w, int /*a2*/) : m_kind(LINE_DOT), m_width(w)
{
    m_p[0] = w;
    m_p[1] = w < 0 ? 0 : Saturate(10LL * w);
}

CLineAttr::CLineAttr(int w, int /*a2*/, int /*a3*/) : m_kind(LINE_DASH), m_width(w)
{
    m_p[0] = m_p[1] = Saturate(10LL * w);
}

CLineAttr::CLineAttr(int kind, int w, int /*a3*/, int /*a4*/) : m_kind(kind), m_width(w)
{
    m_p[0] = m_p[1] = Saturate(10LL * w);
}

CLineAttr::CLineAttr(int w, int /*a2*/, int /*a3*/, int a4, int a5) : m_kind(LINE_DASH_PAIR), m_width(w)
{
    m_p[0] = Saturate(20LL * w);
    m_p[1] = Saturate(3LL * w);
    m_p[2] = Saturate(3LL * a4);
    m_p[3] = Saturate(3LL * a5);
}

CLineAttr::CLineAttr(int w, int, int, int, int, int, int) : m_kind(LINE_DASH_TRIPLE), m_width(w)
{
    m_p[0] = Saturate(20LL * w);
    for (int i = 1; i < 6; ++i) m_p[i] = Saturate(3LL * w);
}

CLineAttr::CLineAttr(int w, int gap, const CLineTypeShapeArray& shapes)
    : m_kind(LINE_CUSTOM), m_width(w), m_shapes(shapes)
{
    m_p[1] = gap;
    RecalcPatternPeriod();
}

CLineAttr::CLineAttr(const CLineAttr& other) : m_kind(other.m_kind), m_width(other.m_width)
{
    for (int i = 0; i < 6; ++i) m_p[i] = other.m_p[i];
    if (m_kind == LINE_CUSTOM) m_shapes = other.m_shapes;
}

CLineAttr& CLineAttr::operator=(const CLineAttr& other)
{
    if (this == &other) return *this;
    m_kind = other.m_kind;
    m_width = other.m_width;
    for (int i = 0; i < 6; ++i) m_p[i] = other.m_p[i];
    m_shapes.clear();
    if (m_kind == LINE_CUSTOM) m_shapes = other.m_shapes;
    return *this;
}

CLineAttr::CLineAttr(CLineAttr&& other) noexcept : m_kind(other.m_kind), m_width(other.m_width)
{
    for (int i = 0; i < 6; ++i) m_p[i] = other.m_p[i];
    if (m_kind == LINE_CUSTOM) m_shapes = std::move(other.m_shapes);
    other.m_shapes.clear();
}

CLineAttr& CLineAttr::operator=(CLineAttr&& other) noexcept
{
    if (this == &other) return *this;
    m_kind = other.m_kind;
    m_width = other.m_width;
    for (int i = 0; i < 6; ++i) m_p[i] = other.m_p[i];
    m_shapes.clear();
    if (m_kind == LINE_CUSTOM) m_shapes = std::move(other.m_shapes);
    other.m_shapes.clear();
    return *this;
}

bool CLineAttr::operator==(const CLineAttr& o) const
{
    if (m_kind != o.m_kind || m_width != o.m_width) return false;
    int first = 0, count = 0;
    switch (m_kind) {
    case LINE_DASH:
    case LINE_CUSTOM:
        count = 2;
        break;
    case LINE_DOT:
        first = 1;
        count = 1;
        break;
    case LINE_DASH_PAIR:
        count = 4;
        break;
    case LINE_DASH_TRIPLE:
        count = 6;
        break;
    default:
        break;
    }
    for (int i = first; i < first + count; ++i)
        if (m_p[i] != o.m_p[i]) return false;
    return true;
}

int CLineAttr::GetParam(int n) const
{
    return n >= 1 && n <= 6 ? m_p[n - 1] : 0;
}

void CLineAttr::SetParam(int n, int value)
{
    if (n >= 1 && n <= 6) m_p[n - 1] = value;
}

void CLineAttr::SetShapes(const CLineTypeShapeArray& shapes)
{
    if (m_kind != LINE_CUSTOM) return;
    m_shapes = shapes;
    RecalcPatternPeriod();
}

int CLineAttr::GetPeriod() const
{
    long long sum = 0;
    switch (m_kind) {
    case LINE_PLAIN:
        return INT_MAX;
    case LINE_DASH:
    case LINE_CUSTOM:
        sum = 0LL + m_p[0] + m_p[1];
        break;
    case LINE_DOT:
        sum = 0LL + m_width + m_p[1];
        break;
    case LINE_DASH_PAIR:
        sum = 0LL + m_p[0] + m_p[1] + m_p[2] + m_p[3];
        break;
    case LINE_DASH_TRIPLE:
        sum = 0LL + m_p[0] + m_p[1] + m_p[2] + m_p[3] + m_p[4] + m_p[5];
        break;
    default:
        return IsSideLineKind(m_kind) ? 200 : 0;
    }
    return Saturate(sum);
}

bool CLineAttr::DrawsPlain() const
{
    auto anyNegative = [this](int first, int count) {
        for (int i = first; i < first + count; ++i)
            if (m_p[i] < 0) return true;
        return false;
    };
    switch (m_kind) {
    case LINE_PLAIN:
        return true;
    case LINE_DASH:
    case LINE_DASH_PAIR:
    case LINE_DASH_TRIPLE:
        return anyNegative(0, StoredParamCount(m_kind)) || GetPeriod() <= 0;
    case LINE_DOT:
        return m_width < 0 || m_p[1] < 0 || GetPeriod() <= 0;
    case LINE_CUSTOM: {
        if (anyNegative(0, 2) || m_p[0] <= 0 || GetPeriod() <= 0) return true;
        for (const CLineTypeShape& s : m_shapes)
            if (!s.GetBoundRect().IsRectEmpty()) return false;
        return true;
    }
    default:
        // The side lines of kinds 5-8 are dashed with p1, p2.
        if (IsSideLineKind(m_kind)) return anyNegative(0, 2) || 0LL + m_p[0] + m_p[1] <= 0;
        return true;
    }
}

void CLineAttr::RecalcPatternPeriod()
{
    if (m_kind != LINE_CUSTOM) return;
    CRect u;
    for (const CLineTypeShape& s : m_shapes) u.UnionRect(u, s.GetBoundRect());
    if (u.IsRectEmpty()) return;
    // Extents in double: the shapes of a damaged file can span more than
    // an int.
    const double width = double(u.right) - double(u.left);
    const double height = double(u.bottom) - double(u.top);
    m_p[0] = RoundToInt(width * (double(m_width) / height));
}

int CLineAttr::Load(CArchive& ar, int version)
{
    return LoadRecord(ar, version >= kSideParamsVersion);
}

int CLineAttr::LoadFromLineTypeFile(CArchive& ar)
{
    return LoadRecord(ar, true);
}

// Reads into a copy and takes it over only when the whole record has been
// read, so a damaged record leaves the attributes as they were.
int CLineAttr::LoadRecord(CArchive& ar, bool sideParamsPresent)
{
    CLineAttr loaded(*this);
    std::int32_t kind = 0, width = 0;
    ar >> kind >> width;
    loaded.m_kind = kind;
    loaded.m_width = width;
    loaded.m_shapes.clear();

    if (kind == LINE_DOT) {
        std::int32_t p2 = 0;
        ar >> p2;
        loaded.m_p[1] = p2;
    } else if (kind == LINE_CUSTOM) {
        loaded.LoadCustomPattern(ar);
    } else if (IsSideLineKind(kind) && !sideParamsPresent) {
        // Older files have no side-line parameters; use what the kinds'
        // constructor gives.
        loaded.m_p[0] = loaded.m_p[1] = Saturate(10LL * width);
    } else {
        const int n = StoredParamCount(kind);
        for (int i = 0; i < n; ++i) {
            std::int32_t v = 0;
            ar >> v;
            loaded.m_p[i] = v;
        }
    }
    *this = std::move(loaded);
    return 1;
}

void CLineAttr::LoadCustomPattern(CArchive& ar)
{
    std::int32_t gap = 0, count = 0;
    ar >> gap >> count;
    ar.RequireItems(count, CLineTypeShape::kMinRecordSize);
    m_p[1] = gap;
    m_shapes.assign(std::size_t(count), CLineTypeShape());
    for (CLineTypeShape& s : m_shapes) s.Load(ar);
    RecalcPatternPeriod();
}

int CLineAttr::Store(CArchive& ar) const
{
    ar << std::int32_t(m_kind) << std::int32_t(m_width);
    if (m_kind == LINE_DOT) {
        ar << std::int32_t(m_p[1]);
    } else if (m_kind == LINE_CUSTOM) {
        ar << std::int32_t(m_p[1]) << std::int32_t(m_shapes.size());
        for (const CLineTypeShape& s : m_shapes) s.Store(ar);
    } else {
        const int n = StoredParamCount(m_kind);
        for (int i = 0; i < n; ++i) ar << std::int32_t(m_p[i]);
    }
    return 1;
}
