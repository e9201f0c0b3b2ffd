// Painting of the fills of closed curves in device pixels.
//
// Each gradient colours every pixel of the area by the pixel centre's
// position in the gradient, so fills Qt has no brush for (the square
// gradient, gamma-corrected blends, the conical fan) look exactly like the
// plain ones. Only pixels the area covers and the device can show are
// computed.
//
// On the screen a fill is painted as an image of the pixels it covers,
// each already weighted by how much of it the area covers: drawing that
// image source-over gives the same pixels as filling the area itself, and
// the image can be kept and drawn again while nothing it depends on has
// changed (CFillImage).
#pragma once

#include "model/CGradientRamp.h"

#include "platform/Types.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRgb>

#include <cstddef>
#include <memory>
#include <vector>

class QBrush;
class QPainter;
class QPainterPath;
class QTransform;

// The colour of a fill at each device pixel centre (x + 0.5, y + 0.5).
class CFillShader {
public:
    // Paints nothing.
    CFillShader() = default;
    // One straight colour everywhere.
    static CFillShader Solid(QRgb color);
    // Position 0 at `start`, 1 at `end`, constant across the line between
    // them, repeating beyond both. Nothing is painted when the points meet.
    static CFillShader Linear(const QPointF& start, const QPointF& end,
                              std::shared_ptr<const CGradientRamp> ramp);
    // Position 0 on the circle of the radius about the centre, 1 at the
    // centre (0 outside the circle). Nothing is painted for a radius of 0.
    static CFillShader Circular(const QPointF& center, double radius,
                                std::shared_ptr<const CGradientRamp> ramp);
    // Position 0 on the square of half-side `half` about the centre, turned
    // by `angle` degrees (clockwise on the screen), 1 at the centre, in
    // straight lines from the centre to the square (0 outside it).
    static CFillShader Square(const QPointF& center, double half, double angle,
                              std::shared_ptr<const CGradientRamp> ramp);
    // A fan of 360 one-degree sectors about the centre, sector q starting
    // at `angle` + q degrees (clockwise on the screen) in colour colors[q].
    // `colors` holds 360 straight colours.
    static CFillShader Conical(const QPointF& center, double angle,
                               const std::vector<QRgb>& colors);

    bool PaintsNothing() const { return m_kind == Kind::None; }
    // The premultiplied colours of the `count` pixels from (x, y) rightwards.
    void ShadeRow(int x, int y, int count, QRgb* out) const;

private:
    enum class Kind { None, Solid, Linear, Circular, Square, Conical };

    Kind m_kind = Kind::None;
    QRgb m_color = 0;
    QPointF m_point;          // gradient start or centre
    QPointF m_delta;          // linear: end - start
    double m_size = 0.0;      // linear: length squared; circular: radius; square: half side
    double m_sin = 0.0;
    double m_cos = 0.0;
    double m_start = 0.0;     // conical: start angle in degrees
    std::shared_ptr<const CGradientRamp> m_ramp;
    std::vector<QRgb> m_colors;  // conical, premultiplied
};

// The part of the device the painter can still paint on (its device and
// clip), in its logical coordinates.
QRectF PaintableRect(const QPainter& painter);
// Whether the transform puts logical pixels on device pixels one to one,
// so that an image made in logical pixels can be drawn again unchanged.
bool WholePixelTransform(const QTransform& t);
// The device pixels of an area with the given bounds that the painter can
// reach (its device and clip); empty when there are none.
QRect ReachablePixels(const QPainter& painter, const QRectF& areaBounds);
// The same for a painter that can paint `paintable` (PaintableRect).
QRect ReachablePixels(const QRectF& paintable, const QRectF& areaBounds);

// Fills the area (with its own fill rule) through a brush of the shader's
// pixels, whatever the painter's transform; nothing is kept.
void PaintShadedArea(QPainter& painter, const QPainterPath& area, const CFillShader& shader);

// The fill of the area as an image of the target's pixels, each weighted by
// the part of it the area covers: drawn source-over at the target's
// top-left corner it gives what filling the area would. The area is in the
// same pixels as the target (unit scale).
QImage RenderCoveredFill(const QPainterPath& area, const QRect& target, const CFillShader& shader);
// The same for a brush Qt paints itself (a texture).
QImage RenderCoveredFill(const QPainterPath& area, const QRect& target, const QBrush& brush);

// A fill image kept between paints. Images may be made and given up on
// any thread (fills are prepared on several); the shared book-keeping is
// guarded. All kept images share one memory budget: when it is spent, images not drawn in the current page paint
// make room (the longest unused first); images of the current paint are
// never given up for another, so a page that does not fit keeps as many as
// fit and paints the rest afresh.
class CFillImage {
public:
    CFillImage() = default;
    ~CFillImage();
    CFillImage(const CFillImage&) = delete;
    CFillImage& operator=(const CFillImage&) = delete;

    bool IsEmpty() const { return m_image.isNull(); }
    const QImage& Image() const { return m_image; }
    // Where the image lies in device pixels.
    const QRect& Rect() const { return m_rect; }
    // Moves the image with a view that scrolled by whole pixels.
    void Translate(int dx, int dy) { m_rect.translate(dx, dy); }

    // Keeps the image when the budget allows; false (and empty) otherwise.
    bool Keep(QImage image, const QRect& rect);
    // Marks the image as drawn in the current paint.
    void Touch();
    void Clear();

    // Starts a new page paint (the page does this).
    static void BeginPaint();
    // The budget in bytes and what the kept images take now.
    static std::size_t Budget();
    static void SetBudget(std::size_t bytes);
    static std::size_t BytesKept();

private:
    friend struct FillImageRegistry;
    void Unlink();

    QImage m_image;
    QRect m_rect;
    std::size_t m_bytes = 0;
    unsigned m_lastPaint = 0;
    CFillImage* m_prev = nullptr;  // least recently drawn first
    CFillImage* m_next = nullptr;
    bool m_linked = false;
};

// The 360 sector colours of a conical gradient: the start colour at the
// start angle, the middle colour of start and end `split` degrees to either
// side, the end colour opposite the start; every colour with the alpha.
std::vector<QRgb> ConicalGradientColors(COLORREF start, COLORREF end, int split, int alpha);
