// Generated documents of realistic and extreme size for the benchmarks,
// and the settings they run with.
#pragma once

#include <memory>

class QString;

class CPageSet;

// A page set of `pages` pages, each holding `curvesPerPage` curves of
// `nodesPerCurve` nodes; every third curve is closed and filled (solid,
// linear or circular gradient in turn), every fifth one is dashed.
std::unique_ptr<CPageSet> MakeBenchDocument(int pages, int curvesPerPage, int nodesPerCurve);

// Points the settings files at `folder` (its "config" and "data") and
// starts from the default settings, so that no benchmark reads or writes
// the user's own.
void UseSettingsIn(const QString& folder);
