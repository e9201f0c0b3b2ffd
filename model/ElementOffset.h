// Moving a set of elements of one page by an offset, as the select tool
// moves a selection.
#pragma once

#include "model/CGraphElement.h"

// Moves every element of the list (duplicates count once) by (dx, dy):
// the shared points the curves stand on, each once, with everything else
// that stands on them; the reference points of closed curves' fills; and
// each element's own placement (CGraphElement::OffsetBy). Mirrored points
// are not moved themselves: they follow their sources and axes.
void OffsetElements(const CElementList& elements, int dx, int dy);
