// What the fuzz target of the plotter reader does with one input; the
// fuzzer and the replay test of its findings both call it. Reading must
// end in a result, never a crash or a hang, and what it builds must keep
// the build step's promises.
#pragma once

#include "FuzzSupport.h"

#include "library/CHpglDrawing.h"
#include "library/CHpglElementBuilder.h"
#include "library/CHpglReader.h"
#include "library/HpglEncodedPolyline.h"
#include "library/HpglState.h"
#include "model/CPage.h"
#include "model/CPageSet.h"

#include <string>

namespace fuzz {

// The bytes as a plotter file, built and placed on a page, which is drawn;
// the encoded-polyline decoder also takes the bytes whole.
inline bool Hpgl(const std::string& bytes)
{
    DecodeHpglPolyline(bytes);
    HpglState state;
    if (CHpglReader::ReadBytes(bytes.data(), bytes.size(), state) != CHpglReader::Result::Ok) {
        if (!state.primitives.empty() || !state.labels.empty()) throw Broken("a refused file left content behind");
        return false;
    }
    CHpglDrawing drawing;
    if (drawing.Build(state) != CHpglDrawing::Result::Ok) return false;
    const CRect bounds = drawing.Bounds();
    if (bounds.left != 0 || bounds.top != 0 || bounds.right > CHpglDrawing::kMaxExtent ||
        bounds.bottom > CHpglDrawing::kMaxExtent || bounds.right < 0 || bounds.bottom < 0)
        throw Broken("drawing bounds out of range");
    for (const CHpglPolyline& polyline : drawing.Polylines()) {
        if (polyline.points.size() < 2) throw Broken("a polyline of fewer than two points");
        for (const CPoint& p : polyline.points)
            if (p.x < 0 || p.y < 0 || p.x > bounds.right || p.y > bounds.bottom)
                throw Broken("a point outside the drawing's bounds");
    }
    CPageSet pageSet;
    pageSet.InsertPageAtFront();
    HpglElementStyle style;
    style.font.lfHeight = 300;
    const std::size_t added = CHpglElementBuilder(style).AddToPage(drawing, pageSet.GetPageAt(0)).size();
    if (added > drawing.Polylines().size() + drawing.Labels().size()) throw Broken("more elements than drawn");
    DrawPages(pageSet);
    return true;
}

} // namespace fuzz
