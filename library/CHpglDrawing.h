// The build step of a plotter import: the polylines and labels of a
// plotter state turned into a drawing whose top-left corner is the origin,
// y growing downwards, in plot units (hundredths of a millimetre of the
// plotted drawing).
#pragma once

#include "geometry/CDoublePoint.h"
#include "platform/Types.h"

#include <cstdint>
#include <string>
#include <vector>

struct HpglState;

struct CHpglPolyline {
    std::vector<CPoint> points;
    int pen = 0;
    // Line-type code 0 to 3.
    int lineType = 0;

    // First and last point equal around at least three different points.
    bool IsClosed() const;
};

struct CHpglBuiltLabel {
    // Where the text's top-left corner goes.
    CDoublePoint position;
    // The pen position the label was written at.
    CDoublePoint anchor;
    std::string text;
    int origin = 1;
    double direction = 0.0;
    double charWidth = 0.0;
    double charHeight = 0.0;
};

class CHpglDrawing {
public:
    enum class Result {
        Ok,
        // No polyline and no label to show.
        Empty,
        // Wider or taller than kMaxExtent, or coordinates beyond any page.
        TooLarge,
    };

    // 100 metres of plotted drawing: anything larger is no drawing for a
    // sheet (and would overflow the page's coordinates).
    static constexpr std::int64_t kMaxExtent = 10000000;

    // Takes the polylines and labels out of the state, which is left with
    // none. On Empty or TooLarge the drawing is empty.
    Result Build(HpglState& state);
    void Clear();

    const std::vector<CHpglPolyline>& Polylines() const { return m_polylines; }
    const std::vector<CHpglBuiltLabel>& Labels() const { return m_labels; }
    // (0, 0, width, height) of everything drawn, labels' anchors and text
    // corners included.
    const CRect& Bounds() const { return m_bounds; }

    // The offset from a label's anchor to its text's top-left corner (y
    // down): the label origin code moves the corner by the character size,
    // then the label's direction turns it about the anchor.
    static CDoublePoint LabelOffset(const std::string& text, int origin, double direction, double charWidth,
                                    double charHeight);

private:
    std::vector<CHpglPolyline> m_polylines;
    std::vector<CHpglBuiltLabel> m_labels;
    CRect m_bounds;
};
