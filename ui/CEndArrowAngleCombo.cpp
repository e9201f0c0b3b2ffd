#include "ui/CEndArrowAngleCombo.h"

#include "settings/CSystemSettings.h"

CEndArrowAngleCombo::CEndArrowAngleCombo(QWidget* parent)
    : CStartArrowAngleCombo(&CSystemSettings::m_nEndArrowSize, parent)
{
}
