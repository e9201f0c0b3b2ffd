// What the tools and editors share when they put a finished shape on the
// page: the current page and line type, nodes on shared points of that
// page, and closed shapes and open lines with the tool bar's current line
// type, colour and arrowheads at the page's highest drawing level.
#pragma once

#include "model/CCurveElement.h"
#include "model/CLineAttr.h"
#include "platform/CList.h"
#include "platform/Types.h"

class CCapturePoint;
class CClosedCurveElement;
class COpenCurveElement;
class CPage;
class CPageSet;

// The page set's current page, or null.
CPage* CurrentPageOf(CPageSet* pageSet);

// A copy of the settings' current line type.
CLineAttr CurrentLineType();

// One node of `kind` per point, each on a new shared point of the current
// page; with `first`, the first node stands on that capture's shared point
// instead (a node captured on an existing curve is shared with it).
CCurveNodeList MakeNodes(CPageSet* pageSet, const CPointList& points, int kind,
                         const CCapturePoint* first = nullptr);

// A closed curve without fill on the nodes, in the current line type and
// the settings' line colour, appended to the current page.
CClosedCurveElement* AddClosedShape(CPageSet* pageSet, const CCurveNodeList& nodes);

// A new open curve on the nodes at the page's highest drawing level, in
// `line` and the settings' line colour, with the arrowheads chosen on the
// tool bar (kinds, sizes and angles); not yet on the page.
COpenCurveElement* NewOpenLine(CPage* page, const CLineAttr& line, const CCurveNodeList& nodes);

// NewOpenLine in the current line type, appended to the current page.
COpenCurveElement* AddOpenLine(CPageSet* pageSet, const CCurveNodeList& nodes);
