#include "app/CMeasurePrompt.h"

#include "settings/CSystemSettings.h"
#include "geometry/WorkUnits.h"

void CMeasurePrompt::SetValue(const std::string& label, int length, int unitsPerMM)
{
    const CSystemSettings& settings = Settings();
    text = label + FormatLength(length, unitsPerMM, settings.m_nWorkUnit, settings.m_nPrecision) +
           UnitSuffix(settings.m_nWorkUnit);
}
