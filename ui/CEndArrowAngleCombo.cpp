#include "ui/CEndArrowAngleCombo.h"

#include "app/CSystemSettings.h"

CEndArrowAngleCombo::CEndArrowAngleCombo(QWidget* parent)
    : CStartArrowAngleCombo(&CSystemSettings::m_nEndArrowSize, parent)
{
}
