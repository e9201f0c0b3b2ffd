// Screen painting of a list of line shapes (a curve's line, a closed
// curve's fill lines) that keeps the shapes' device points between paints.
//
// A page is repainted far more often than its curves change or the view
// zooms, and mapping and stroking a dense outline costs more than the
// pixels it covers: the points are mapped once per scale and origin, and
// at the same time thinned to those that still bend the line by a visible
// amount (a tenth of a pixel), which is what anti-aliased stroking can show.
// A line that leaves the visible part of the device is stroked only along
// the stretches that can reach it: stroking costs by the length and the
// vertices stroked, not by the pixels that show. A filled shape reaching
// past the visible part is cut to it, and a pen wider than the visible part
// is filled as the area it covers there, so that neither costs by its own
// extent, whatever width or zoom made it millions of pixels across.
#pragma once

#include "model/CLineTypeShape.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <QPolygonF>

#include <vector>

class QPainter;

class CDeviceShapes {
public:
    // Draws the shapes in `colour` exactly as CLineTypeShape::Draw draws
    // each of them on the screen (anti-aliased, shapes outside the clip
    // skipped). `version` names the shapes' current geometry: the kept
    // device points are reused while it, the scale, the origin and the
    // painter's transform stay the same.
    void Draw(QPainter& painter, const CList<CLineTypeShape>& shapes, unsigned version,
              COLORREF colour, double scale, int originX, int originY, const CRect& clip);

    // Makes beforehand what Draw would make for this scale, origin and
    // tolerance (the device points of the shapes that meet the clip). It
    // touches nothing but this object, so it may run on another thread.
    void Prepare(const CList<CLineTypeShape>& shapes, unsigned version, double scale, int originX,
                 int originY, double tolerance, const CRect& clip);

    // Forgets the device points (they are made again at the next paint).
    void Clear();

    // Device points farther than this (in pixels) from the chord that
    // replaces them are kept.
    static constexpr double kTolerance = 0.1;

private:
    struct Shape {
        CRect extent;         // device pixels the shape can paint
        int penPixels = 1;
        bool filled = false;
        bool drawable = false;  // two points or more
        bool mapped = false;
        QPolygonF points;
        QRectF pointBounds;
        // The pieces of the line that can reach `runsArea`, when only part
        // of it can be seen.
        bool hasRuns = false;
        QRectF runsArea;
        std::vector<QPolygonF> runs;
        // A filled shape cut to `cutArea`, when it reaches past it.
        bool hasCut = false;
        QRectF cutArea;
        QPolygonF cut;
    };

    bool Matches(unsigned version, double scale, int originX, int originY, double tolerance,
                 int count) const;
    void Rebuild(const CList<CLineTypeShape>& shapes, unsigned version, double scale,
                 int originX, int originY, double tolerance);

    bool m_valid = false;
    // Every shape meeting this clip is mapped already.
    bool m_preparedForClip = false;
    CRect m_preparedClip;
    unsigned m_version = 0;
    double m_scale = 0.0;
    int m_originX = 0;
    int m_originY = 0;
    double m_tolerance = 0.0;
    CRect m_extent;  // union of the shapes' extents
    std::vector<Shape> m_shapes;
};

// The tolerance the shapes are thinned with on this painter: a tenth of a
// device pixel, in its logical pixels.
double ThinningTolerance(const QPainter& painter);

// The points mapped to the device (pixel centres at +0.5, as the shapes are
// drawn), dropping each point that lies within `tolerance` pixels of the
// chord between its kept neighbours. The first and last points are kept.
QPolygonF MapAndThin(const CPointList& points, double scale, int originX, int originY,
                     double tolerance);

// The runs of consecutive segments of a polyline that can meet the area
// (each segment's bounds tested); a polyline drawn as these runs covers
// the area exactly as the whole one does, when the area is grown by what a
// pen reaches past a vertex (its joins and caps).
std::vector<QPolygonF> RunsMeeting(const QPolygonF& line, const QRectF& area);
