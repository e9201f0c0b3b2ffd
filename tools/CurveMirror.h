// Mirror images of curves that stay in step with their sources. Each node
// of an image stands on a mirrored shared point whose source is the point
// of the matching source node, reflected across an axis of two new plain
// points of the page; the model then keeps the image where it belongs
// whenever a source point moves, and carries node edits of a source over
// to the curves that name it as their mirror source. Nothing re-mirrors
// anything later.
#pragma once

#include "model/CCurveElement.h"
#include "model/CLineAttr.h"

#include "platform/Types.h"

class CClosedCurveElement;
class COpenCurveElement;
class CPage;
class CSharedPoint;

// The axis of one image and the image's nodes. Built by Make, which adds
// the two axis points and a mirrored point per node to the page's pool;
// a mirror whose nodes were not handed to a curve gives its points back
// when it goes.
class CCurveMirror {
public:
    CCurveMirror() = default;
    ~CCurveMirror();
    CCurveMirror(const CCurveMirror&) = delete;
    CCurveMirror& operator=(const CCurveMirror&) = delete;

    // False, and nothing added to the page, when the axis ends coincide
    // (a line through one point reflects nothing) or a node has no point.
    bool Make(CPage& page, const CCurveElement& source, const CPoint& axisStart, const CPoint& axisEnd);
    // The same across an axis of the page's pool that several images share
    // (CPage::AddMirrorAxis); the axis points stay when this fails.
    bool MakeAcross(CPage& page, const CCurveElement& source, CSharedPoint* axis1, CSharedPoint* axis2);
    // The nodes for the image, in the source's order and with its kinds;
    // the caller's curve takes them over.
    CCurveNodeList TakeNodes();

private:
    void GiveBack();

    CPage* m_page = nullptr;
    CSharedPoint* m_axis1 = nullptr;
    CSharedPoint* m_axis2 = nullptr;
    // The axis points were made for this image alone.
    bool m_ownsAxis = false;
    CCurveNodeList m_nodes;
};

// The open image of `source` on the image's nodes, at `level`, in `line`
// and `colour`, naming the source as its mirror source; not yet on the
// page. Its nodes run in the source's order, so each end carries the
// source's arrowhead at the matching end (kind, size and angle).
COpenCurveElement* NewMirrorImage(CPage& page, int level, const CLineAttr& line, COLORREF colour,
                                  const CCurveNodeList& nodes, COpenCurveElement& source);

// Reflected, a side line changes sides: kind 5 becomes 6 and 6 becomes 5.
void ExchangeLineSides(CLineAttr& line);

// The source's fill on the image, reflected across the line through the two
// points: the kind, mode, opacity and colours as they are; the gradient
// points and centre, the tile centre and the line-fill origin reflected;
// the fill angles mirrored.
void MirrorFill(const CClosedCurveElement& source, CClosedCurveElement& image, const CPoint& axis1,
                const CPoint& axis2);
