// The fuzz target of "LineType.dat", the user's line types, apart from the
// other application targets (AppTargets.h) because it reaches further: as
// the start does, it draws every line type's picture as the tool bar's
// line-type box draws it, so that a file whose pictures take long to draw
// times out like one that takes long to read.
#pragma once

#include "AppTargets.h"

#include "ui/CLineTypeSampleCache.h"
#include "ui/LineTypeSample.h"

namespace fuzz {

// Read, drawn in the line-type box at the screen's pixel ratios, stored
// and read back.
inline bool LineType(const std::string& bytes)
{
    return detail::SettingsFile(
        bytes, [](CSystemSettings& s, CArchive& ar) { s.LoadLineTypes(ar); },
        [](const CSystemSettings& s, CArchive& ar) { s.StoreLineTypes(ar); },
        [](const CSystemSettings& s) {
            CLineTypeSampleCache samples;
            for (qreal ratio : {1.0, 2.0})
                for (int i = 0; i < int(s.m_aLineTypes.size()); ++i)
                    samples.Get(s, i, kLineTypeSampleSize, Qt::black, ratio);
        });
}

} // namespace fuzz
