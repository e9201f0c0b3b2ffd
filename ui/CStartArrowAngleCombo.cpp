#include "ui/CStartArrowAngleCombo.h"

#include "app/CSystemSettings.h"

CStartArrowAngleCombo::CStartArrowAngleCombo(QWidget* parent)
    : CStartArrowAngleCombo(&CSystemSettings::m_nStartArrowSize, parent)
{
}

CStartArrowAngleCombo::CStartArrowAngleCombo(SizeField field, QWidget* parent) : CBarComboBox(parent), m_field(field)
{
    {
        const QSignalBlocker block(this);
        for (int n = 1; n <= 10; ++n) addItem(QString::number(n), n * 1000);
    }
    connect(this, qOverload<int>(&QComboBox::activated), this, &CStartArrowAngleCombo::StoreSelection);
    SyncWithSettings();
}

void CStartArrowAngleCombo::SyncWithSettings()
{
    SelectQuietly(FindData(Settings().*m_field));
}

void CStartArrowAngleCombo::OnFocusLost()
{
    StoreSelection();
}

void CStartArrowAngleCombo::StoreSelection()
{
    if (currentIndex() >= 0) Settings().*m_field = currentData().toInt();
}
