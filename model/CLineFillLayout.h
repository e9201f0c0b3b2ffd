// The fill lines of a line-filled outline: a family of parallel lines a
// set spacing apart through the fill's origin, cut to the stretches that
// run inside the outline, each stretch laid out exactly as an open curve of
// two corner nodes of the fill's line type would be (dashes and side lines
// included).
//
// Only what a paint can show is laid out: the lines that cross the painted
// area and, of their stretches, those that reach it. An outline reaching
// kilometres off the page (a far node) then costs what is drawn, not its
// size, and every line is placed from its number in the family, so a fill
// painted in parts shows the same pixels as one painted whole.
#pragma once

#include "model/CFillStyle.h"
#include "model/CLineTypeShape.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <memory>

class CLineFamilyCrossings;
class CPolygonRows;

using CLineTypeShapeList = CList<CLineTypeShape>;

class CLineFillLayout {
public:
    // Most fill lines a fill lays out. A denser family (a tiny spacing over
    // a huge outline) is drawn with only every n-th of its lines, n being
    // the stride: 1 when every line is drawn.
    static constexpr int kMaxLines = 20000;
    // Pieces (dashes and stretches) one layout makes at most. Dashed lines
    // that would make more (a fine spacing over a large area) are laid out
    // plain instead, so that the whole area stays filled; only plain
    // stretches beyond it (an outline winding across every line thousands
    // of times: damage) are left out.
    static constexpr int kMaxPieces = 100000;
    // Edges looked at in one layout beyond which no more lines are laid
    // out: ordinary outlines stay far below it, only one winding across
    // every line thousands of times (damage) comes near.
    static constexpr long long kMaxWork = 50000000;

    // What a layout could not draw as asked.
    enum class Shortfall {
        None,
        DrawnPlain,  // too many dashes, on all lines or on one: those are drawn plain
        CutShort,    // too many stretches or edges: some lines are left out
    };

    struct Result {
        // Edges looked at: what laying the lines out cost.
        long long work = 0;
        Shortfall shortfall = Shortfall::None;
    };

    // The outline is not copied: it must stay as it is for as long as the
    // layout lives (its curve drops the layout whenever the outline
    // changes). The bounds and the style are copied.
    CLineFillLayout(const CPointList& outline, const CRect& bounds, const CFillStyle& style);
    ~CLineFillLayout();

    CLineFillLayout(const CLineFillLayout&) = delete;
    CLineFillLayout& operator=(const CLineFillLayout&) = delete;

    int Stride() const { return m_stride; }

    // Appends the pieces that can show in `area` (page units): those of
    // the lines and stretches that come within their reach of it. Pieces
    // beyond the area may come along; none inside it is missing unless
    // the result says so.
    Result LayOut(const CRect& area, CLineTypeShapeList& out);

private:
    struct Stretch {
        CPoint from;
        CPoint to;
    };

    void SetUpFamily(const CRect& bounds);
    int Reach();
    // The stretches of the lines crossing `area` that come within `reach`
    // of it, in the order of the lines.
    long long FindStretches(const CRect& area, int reach, std::vector<Stretch>& out, bool& cut);
    void AddInsideStretches(const CPointList& crossings, const CRect& area, std::vector<Stretch>& out);
    // Appends the pieces of the stretches that meet `area`, each stretch
    // one plain piece when `plain`; false when they come to more than
    // kMaxPieces. Sets `drawnPlain` when a stretch of more dashes than a
    // line lays out at once was drawn plain.
    bool LayOutStretches(const std::vector<Stretch>& stretches, const CRect& area, bool plain,
                         CLineTypeShapeList& out, bool& drawnPlain) const;
    // Appends the pieces of one stretch; true when it was drawn plain.
    bool LayOutStretch(const Stretch& s, CLineTypeShapeList& out) const;

    const CPointList& m_outline;
    CFillStyle m_style;
    // The family: lines a x + b y + c = 0 for c = c0 + k * step, k from
    // m_first to m_last; none when m_first > m_last.
    double m_a = 0.0;
    double m_b = 0.0;
    double m_c0 = 0.0;
    double m_step = 1.0;
    double m_first = 1.0;
    double m_last = 0.0;
    int m_stride = 1;
    // How far a piece paints beyond its stretch; -1 until known.
    int m_reach = -1;
    // Made when first needed, then kept for every area.
    std::unique_ptr<CLineFamilyCrossings> m_scan;
    std::unique_ptr<CPolygonRows> m_inside;
};
