#include "model/FillPainting.h"

#include "geometry/ClipToView.h"
#include "geometry/Distance.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr double kPi = 3.14159265359;

}  // namespace

QRectF PaintableRect(const QPainter& painter)
{
    QRectF rect;
    if (const QPaintDevice* device = painter.device())
        rect = QRectF(0, 0, device->width(), device->height());
    bool invertible = false;
    const QTransform inverse = painter.worldTransform().inverted(&invertible);
    if (!invertible) return QRectF();
    rect = inverse.mapRect(rect);
    if (painter.hasClipping()) rect &= painter.clipBoundingRect();
    return rect;
}

bool WholePixelTransform(const QTransform& t)
{
    if (t.type() > QTransform::TxTranslate) return false;
    return t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy());
}

namespace {

int ClampChannel(double v)
{
    return std::clamp(RoundToInt(v), 0, 255);
}

// A premultiplied colour times a coverage of 0..255, rounded as the
// painter's own source-over blending does, so that a weighted image drawn
// over the page gives the pixels filling the area would.
inline QRgb Weigh(QRgb color, unsigned coverage)
{
    auto mul = [coverage](unsigned channel) {
        const unsigned v = channel * coverage + 0x80;
        return (v + (v >> 8)) >> 8;
    };
    return (mul(color >> 24) << 24) | (mul((color >> 16) & 0xFF) << 16)
        | (mul((color >> 8) & 0xFF) << 8) | mul(color & 0xFF);
}

// t - floor(t) without a call to floor: the fraction t - trunc(t) is exact,
// so adding 1 to a negative one rounds exactly as t - floor(t) does.
inline double Fraction(double t)
{
    if (!(std::fabs(t) < 4.0e18)) return t - std::floor(t);
    const double f = t - double(static_cast<long long>(t));
    return f < 0.0 ? f + 1.0 : f;
}

}  // namespace

// ---------------------------------------------------------------------------
// Shader

CFillShader CFillShader::Solid(QRgb color)
{
    CFillShader s;
    s.m_kind = Kind::Solid;
    s.m_color = qPremultiply(color);
    return s;
}

CFillShader CFillShader::Linear(const QPointF& start, const QPointF& end,
                                std::shared_ptr<const CGradientRamp> ramp)
{
    CFillShader s;
    const double dx = end.x() - start.x();
    const double dy = end.y() - start.y();
    const double lengthSquared = dx * dx + dy * dy;
    if (!(lengthSquared > 0.0) || !std::isfinite(lengthSquared) || !ramp) return s;
    s.m_kind = Kind::Linear;
    s.m_point = start;
    s.m_delta = QPointF(dx, dy);
    s.m_size = lengthSquared;
    s.m_ramp = std::move(ramp);
    return s;
}

CFillShader CFillShader::Circular(const QPointF& center, double radius,
                                  std::shared_ptr<const CGradientRamp> ramp)
{
    CFillShader s;
    if (!(radius > 0.0) || !ramp) return s;
    s.m_kind = Kind::Circular;
    s.m_point = center;
    s.m_size = radius;
    s.m_ramp = std::move(ramp);
    return s;
}

CFillShader CFillShader::Square(const QPointF& center, double half, double angle,
                                std::shared_ptr<const CGradientRamp> ramp)
{
    CFillShader s;
    if (!(half > 0.0) || !ramp) return s;
    const double radians = std::isfinite(angle) ? angle * kPi / 180.0 : 0.0;
    s.m_kind = Kind::Square;
    s.m_point = center;
    s.m_size = half;
    s.m_sin = std::sin(radians);
    s.m_cos = std::cos(radians);
    s.m_ramp = std::move(ramp);
    return s;
}

CFillShader CFillShader::Conical(const QPointF& center, double angle,
                                 const std::vector<QRgb>& colors)
{
    CFillShader s;
    if (colors.size() != 360) return s;
    s.m_kind = Kind::Conical;
    s.m_point = center;
    s.m_start = std::isfinite(angle) ? std::fmod(angle, 360.0) : 0.0;
    s.m_colors.resize(360);
    std::transform(colors.begin(), colors.end(), s.m_colors.begin(),
                   [](QRgb c) { return qPremultiply(c); });
    return s;
}

void CFillShader::ShadeRow(int x, int y, int count, QRgb* out) const
{
    const double py = y + 0.5;
    // Positions first, in a loop without calls or branches that the
    // compiler can run several pixels at a time; the table after.
    constexpr int kChunk = 256;
    double positions[kChunk];
    for (int done = 0; done < count; done += kChunk) {
        const int n = std::min(kChunk, count - done);
        const int x0 = x + done;
        QRgb* o = out + done;
        switch (m_kind) {
        case Kind::None:
            std::fill(o, o + n, QRgb(0));
            break;
        case Kind::Solid:
            std::fill(o, o + n, m_color);
            break;
        case Kind::Linear: {
            // A product instead of a quotient per pixel: the two differ in
            // the last bit at most, far below a step of the table.
            const double sx = m_point.x(), dx = m_delta.x(), inverse = 1.0 / m_size;
            const double across = (py - m_point.y()) * m_delta.y();
            for (int i = 0; i < n; ++i) positions[i] = ((x0 + i + 0.5 - sx) * dx + across) * inverse;
            for (int i = 0; i < n; ++i) o[i] = m_ramp->PremultipliedAt(Fraction(positions[i]));
            break;
        }
        case Kind::Circular: {
            const double cx = m_point.x(), inverse = 1.0 / m_size;
            const double dy = py - m_point.y();
            for (int i = 0; i < n; ++i) {
                const double dx = x0 + i + 0.5 - cx;
                positions[i] = 1.0 - std::sqrt(dx * dx + dy * dy) * inverse;
            }
            for (int i = 0; i < n; ++i) o[i] = m_ramp->PremultipliedAt(positions[i]);
            break;
        }
        case Kind::Square: {
            // Into the square's own frame: turned back by the angle.
            const double cx = m_point.x(), inverse = 1.0 / m_size, c = m_cos, sn = m_sin;
            const double dy = py - m_point.y();
            for (int i = 0; i < n; ++i) {
                const double dx = x0 + i + 0.5 - cx;
                const double u = dx * c + dy * sn;
                const double v = -dx * sn + dy * c;
                positions[i] = 1.0 - std::max(std::fabs(u), std::fabs(v)) * inverse;
            }
            for (int i = 0; i < n; ++i) o[i] = m_ramp->PremultipliedAt(positions[i]);
            break;
        }
        case Kind::Conical: {
            // Sector q covers the angles from q to q + 1 degrees past the
            // start: the fan is drawn as overlapping sectors, each over the
            // one before, and the first degree once more at the end.
            const double dy = py - m_point.y();
            for (int i = 0; i < n; ++i) {
                const double dx = x0 + i + 0.5 - m_point.x();
                double degrees = std::atan2(dy, dx) * 180.0 / kPi - m_start;
                degrees -= 360.0 * std::floor(degrees / 360.0);
                int q = int(degrees);
                if (q >= 360 || q < 0) q = 0;
                o[i] = m_colors[std::size_t(q)];
            }
            break;
        }
        }
    }
}

// ---------------------------------------------------------------------------
// Painting

QRect ReachablePixels(const QPainter& painter, const QRectF& areaBounds)
{
    return ReachablePixels(PaintableRect(painter), areaBounds);
}

QRect ReachablePixels(const QRectF& paintable, const QRectF& areaBounds)
{
    const QRectF wanted = areaBounds & paintable;
    if (wanted.isEmpty()) return QRect();
    return wanted.toAlignedRect();
}

void PaintShadedArea(QPainter& painter, const QPainterPath& area, const CFillShader& shader)
{
    if (shader.PaintsNothing()) return;
    const QRect target = ReachablePixels(painter, area.boundingRect());
    if (target.isEmpty()) return;
    QImage field(target.size(), QImage::Format_ARGB32_Premultiplied);
    if (field.isNull()) return;
    for (int row = 0; row < field.height(); ++row)
        shader.ShadeRow(target.left(), target.top() + row, field.width(),
                        reinterpret_cast<QRgb*>(field.scanLine(row)));

    QBrush brush(field);
    brush.setTransform(QTransform::fromTranslate(target.left(), target.top()));
    painter.save();
    painter.setBrushOrigin(0, 0);
    FillPathBanded(painter, area, brush);
    painter.restore();
}

namespace {

// An image of the target whose alpha is the part of each pixel the area
// covers (premultiplied white).
QImage CoverageImage(const QPainterPath& area, const QRect& target)
{
    QImage image(target.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    image.fill(0);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(-target.left(), -target.top());
    FillPathBanded(painter, area, QColor(255, 255, 255));
    return image;
}

}  // namespace

QImage RenderCoveredFill(const QPainterPath& area, const QRect& target, const CFillShader& shader)
{
    if (shader.PaintsNothing() || target.isEmpty()) return QImage();
    QImage image = CoverageImage(area, target);
    if (image.isNull()) return image;
    std::vector<QRgb> colors(std::size_t(image.width()));
    const int width = image.width();
    for (int row = 0; row < image.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        int x = 0;
        while (x < width) {
            if (!line[x]) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < width && line[end]) ++end;
            shader.ShadeRow(target.left() + x, target.top() + row, end - x, colors.data());
            for (int i = x; i < end; ++i) {
                const unsigned coverage = qAlpha(line[i]);
                line[i] = coverage == 255 ? colors[std::size_t(i - x)]
                                          : Weigh(colors[std::size_t(i - x)], coverage);
            }
            x = end;
        }
    }
    return image;
}

QImage RenderCoveredFill(const QPainterPath& area, const QRect& target, const QBrush& brush)
{
    if (target.isEmpty()) return QImage();
    QImage image(target.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    image.fill(0);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.translate(-target.left(), -target.top());
    painter.setBrushOrigin(0, 0);
    FillPathBanded(painter, area, brush);
    return image;
}

// ---------------------------------------------------------------------------
// Kept fill images

namespace {
// Enough for every fill of a dense page seen through a large window.
constexpr std::size_t kDefaultBudget = std::size_t(128) << 20;
}

struct FillImageRegistry {
    std::recursive_mutex mutex;
    CFillImage* head = nullptr;  // least recently drawn
    CFillImage* tail = nullptr;
    std::size_t bytes = 0;
    std::size_t budget = kDefaultBudget;
    unsigned paint = 1;

    static FillImageRegistry& Get()
    {
        static FillImageRegistry registry;
        return registry;
    }

    void Append(CFillImage* image)
    {
        image->m_prev = tail;
        image->m_next = nullptr;
        if (tail) tail->m_next = image;
        else head = image;
        tail = image;
        image->m_linked = true;
    }
};

CFillImage::~CFillImage()
{
    Clear();
}

void CFillImage::Unlink()
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    if (!m_linked) return;
    FillImageRegistry& r = FillImageRegistry::Get();
    if (m_prev) m_prev->m_next = m_next;
    else r.head = m_next;
    if (m_next) m_next->m_prev = m_prev;
    else r.tail = m_prev;
    m_prev = m_next = nullptr;
    m_linked = false;
}

void CFillImage::Clear()
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    if (m_linked) {
        FillImageRegistry::Get().bytes -= m_bytes;
        Unlink();
    }
    m_image = QImage();
    m_rect = QRect();
    m_bytes = 0;
}

bool CFillImage::Keep(QImage image, const QRect& rect)
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    Clear();
    if (image.isNull()) return false;
    FillImageRegistry& r = FillImageRegistry::Get();
    const std::size_t bytes = std::size_t(image.sizeInBytes());
    if (bytes > r.budget) return false;
    // Images the current paint has drawn stay; older ones make room.
    while (r.bytes + bytes > r.budget && r.head && r.head->m_lastPaint != r.paint)
        r.head->Clear();
    if (r.bytes + bytes > r.budget) return false;
    m_image = std::move(image);
    m_rect = rect;
    m_bytes = bytes;
    m_lastPaint = r.paint;
    r.bytes += bytes;
    r.Append(this);
    return true;
}

void CFillImage::Touch()
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    if (!m_linked) return;
    FillImageRegistry& r = FillImageRegistry::Get();
    m_lastPaint = r.paint;
    if (r.tail == this) return;
    Unlink();
    r.Append(this);
}

void CFillImage::BeginPaint()
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    ++FillImageRegistry::Get().paint;
}

std::size_t CFillImage::Budget()
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    return FillImageRegistry::Get().budget;
}

void CFillImage::SetBudget(std::size_t bytes)
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    FillImageRegistry& r = FillImageRegistry::Get();
    r.budget = bytes;
    while (r.bytes > r.budget && r.head) r.head->Clear();
}

std::size_t CFillImage::BytesKept()
{
    const std::lock_guard<std::recursive_mutex> lock(FillImageRegistry::Get().mutex);
    return FillImageRegistry::Get().bytes;
}

// ---------------------------------------------------------------------------
// Conical colours

std::vector<QRgb> ConicalGradientColors(COLORREF start, COLORREF end, int split, int alpha)
{
    const COLORREF middle = MiddleColor(start, end);
    // In doubles: a split read from a damaged file may be any int.
    const double a = split;
    auto channel = [&](int s, int m, int e, int q) -> int {
        if (q < a) return ClampChannel(s + double(m - s) * q / a);
        if (q > 180 && q > 360 - a) return ClampChannel(s + double(m - s) * (360 - q) / a);
        if (q > 180) return ClampChannel(m + double(e - m) * (360 - a - q) / (180 - a));
        // A split of 180 leaves nothing to blend towards the end colour:
        // the sector opposite the start is the end colour itself.
        if (a == 180) return e;
        return ClampChannel(m + double(e - m) * (q - a) / (180 - a));
    };
    std::vector<QRgb> colors(360);
    for (int q = 0; q < 360; ++q) {
        colors[std::size_t(q)] = qRgba(
            channel(GetRValue(start), GetRValue(middle), GetRValue(end), q),
            channel(GetGValue(start), GetGValue(middle), GetGValue(end), q),
            channel(GetBValue(start), GetBValue(middle), GetBValue(end), q), alpha & 0xFF);
    }
    // The sector at the start angle is always the start colour.
    colors[0] = FillColor(start, alpha);
    return colors;
}
