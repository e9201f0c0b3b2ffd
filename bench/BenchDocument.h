// Generated documents of realistic and extreme size for the benchmarks.
#pragma once

#include <memory>

class CPageSet;

// A page set of `pages` pages, each holding `curvesPerPage` curves of
// `nodesPerCurve` nodes; every third curve is closed and filled (solid,
// linear or circular gradient in turn), every fifth one is dashed.
std::unique_ptr<CPageSet> MakeBenchDocument(int pages, int curvesPerPage, int nodesPerCurve);
