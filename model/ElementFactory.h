// The one place that turns an element kind code into a new element: used by
// the page load, the page copy and the clipboard copy alike.
#pragma once

#include <memory>

class CCurveElement;
class CGraphElement;
class CPage;

// A new element of the kind at that level on the page; for kind 1 `closed`
// chooses the closed or the open curve. Throws CArchiveError for a kind
// that cannot be made (unknown codes, and kinds whose library is not in
// the program), since a record has no length field to skip an unknown
// body.
std::unique_ptr<CGraphElement> CreateElement(CPage* owner, int kind, int level, bool closed);

// Kinds whose classes live in a library above the model (tables, kind 8)
// are made by a maker that library installs; a program without it refuses
// such elements. Installing again replaces the maker.
using ElementMaker = std::unique_ptr<CGraphElement> (*)(CPage* owner, int level);
void RegisterElementMaker(int kind, ElementMaker maker);

// The fill kind of a closed curve (0 for an open curve).
int ClosedCurveFillKind(const CCurveElement& curve);
