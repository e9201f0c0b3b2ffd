// The one place that turns an element kind code into a new element: used by
// the page load, the page copy and the clipboard copy alike.
#pragma once

#include <memory>

class CCurveElement;
class CGraphElement;
class CPage;

// A new element of the kind at that level on the page; for kind 1 `closed`
// chooses the closed or the open curve. Throws CArchiveError for a kind
// that cannot be made (unknown codes, and kinds not readable yet), since a
// record has no length field to skip an unknown body.
std::unique_ptr<CGraphElement> CreateElement(CPage* owner, int kind, int level, bool closed);

// The fill kind of a closed curve (0 for an open curve).
int ClosedCurveFillKind(const CCurveElement& curve);
