#include "library/CHpglDrawing.h"

#include "library/HpglState.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Plot coordinates beyond this are refused before any rounding.
constexpr double kLargestCoordinate = 1e15;
constexpr double kPlotPerCentimetre = 1000.0;

struct Bounds64 {
    std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    void Add(std::int64_t x, std::int64_t y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    bool IsEmpty() const { return left > right; }
};

bool Usable(double v)
{
    return std::isfinite(v) && std::fabs(v) <= kLargestCoordinate;
}

} // namespace

bool CHpglPolyline::IsClosed() const
{
    if (points.size() < 4 || points.front() != points.back()) return false;
    // Three different points at least: A, B, A is a line out and back.
    for (std::size_t i = 2; i + 1 < points.size(); ++i)
        if (points[i] != points[0] && points[i] != points[1]) return true;
    return false;
}

CDoublePoint CHpglDrawing::LabelOffset(const std::string& text, int origin, double direction, double charWidth,
                                       double charHeight)
{
    const double length = double(text.size());
    const double w = charWidth * kPlotPerCentimetre;
    const double h = charHeight * kPlotPerCentimetre;
    const bool outside = origin > 10;
    const int column = origin == 10 ? 0 : (origin - (outside ? 11 : 1)) / 3; // 0 left, 1 centre, 2 right
    const int row = origin == 10 ? -1 : (origin - (outside ? 11 : 1)) % 3;   // 0 bottom, 1 middle, 2 top
    double dx = 0.0, dy = 0.0;
    if (origin != 10) {
        if (column == 0 && outside) dx -= 0.3 * w;
        if (column == 1) dx -= length * 0.5 * w;
        if (column == 2) dx -= length * w + (outside ? 0.3 * w : 0.0);
        if (row == 0) dy -= h + (outside ? 0.3 * h : 0.0);
        if (row == 1) dy -= 0.5 * h;
        if (row == 2 && outside) dy += 0.3 * h;
    }
    // Turned about the anchor by the label's direction; y points down here.
    const double c = std::cos(-direction), s = std::sin(-direction);
    return {c * dx - s * dy, s * dx + c * dy};
}

void CHpglDrawing::Clear()
{
    m_polylines.clear();
    m_labels.clear();
    m_bounds = CRect();
}

CHpglDrawing::Result CHpglDrawing::Build(HpglState& state)
{
    Clear();
    Bounds64 bounds;
    bool tooLarge = false;

    std::vector<std::vector<std::int64_t>> coords;
    coords.reserve(state.primitives.size());
    std::vector<const CHpglPrimitive*> sources;
    for (const CHpglPrimitive& primitive : state.primitives) {
        std::vector<std::int64_t> xy;
        xy.reserve(primitive.coords.size() & ~std::size_t(1));
        for (std::size_t k = 0; k < primitive.PointCount() && !tooLarge; ++k) {
            const double x = HpglCoordToModel(primitive, 2 * k);
            const double y = HpglCoordToModel(primitive, 2 * k + 1);
            if (!Usable(x) || !Usable(y)) {
                tooLarge = true;
                break;
            }
            const std::int64_t ix = std::llround(x), iy = std::llround(y);
            // A point on its predecessor adds nothing to the line.
            if (xy.size() >= 2 && xy[xy.size() - 2] == ix && xy.back() == iy) continue;
            xy.push_back(ix);
            xy.push_back(iy);
        }
        if (tooLarge) break;
        if (xy.size() < 4) continue;
        for (std::size_t k = 0; k < xy.size(); k += 2) bounds.Add(xy[k], xy[k + 1]);
        coords.push_back(std::move(xy));
        sources.push_back(&primitive);
    }

    std::vector<CDoublePoint> offsets;
    offsets.reserve(state.labels.size());
    for (const CHpglLabel& label : state.labels) {
        if (tooLarge) break;
        const CDoublePoint d =
            LabelOffset(label.text, label.origin, label.direction, label.charWidth, label.charHeight);
        offsets.push_back(d);
        const double cornerX = label.x + d.x, cornerY = label.y - d.y;
        if (!Usable(label.x) || !Usable(label.y) || !Usable(cornerX) || !Usable(cornerY)) {
            tooLarge = true;
            break;
        }
        bounds.Add(std::llround(label.x), std::llround(label.y));
        bounds.Add(std::llround(cornerX), std::llround(cornerY));
    }

    Result result = Result::Ok;
    if (tooLarge)
        result = Result::TooLarge;
    else if (bounds.IsEmpty())
        result = Result::Empty;
    else if (bounds.right - bounds.left > kMaxExtent || bounds.bottom - bounds.top > kMaxExtent)
        result = Result::TooLarge;

    if (result == Result::Ok) {
        m_polylines.reserve(coords.size());
        for (std::size_t i = 0; i < coords.size(); ++i) {
            CHpglPolyline polyline;
            polyline.pen = sources[i]->pen;
            polyline.lineType = sources[i]->lineType;
            const std::vector<std::int64_t>& xy = coords[i];
            polyline.points.reserve(xy.size() / 2);
            for (std::size_t k = 0; k < xy.size(); k += 2)
                polyline.points.emplace_back(int(xy[k] - bounds.left), int(bounds.bottom - xy[k + 1]));
            m_polylines.push_back(std::move(polyline));
        }
        m_labels.reserve(state.labels.size());
        for (std::size_t i = 0; i < state.labels.size(); ++i) {
            const CHpglLabel& label = state.labels[i];
            CHpglBuiltLabel built;
            built.anchor = CDoublePoint(label.x - double(bounds.left), double(bounds.bottom) - label.y);
            built.position = built.anchor + offsets[i];
            built.text = label.text;
            built.origin = label.origin;
            built.direction = label.direction;
            built.charWidth = label.charWidth;
            built.charHeight = label.charHeight;
            m_labels.push_back(std::move(built));
        }
        m_bounds = CRect(0, 0, int(bounds.right - bounds.left), int(bounds.bottom - bounds.top));
    }
    state.primitives.clear();
    state.labels.clear();
    state.continuing = -1;
    return result;
}
