#include "ui/CStartArrowAngleCombo.h"

#include "settings/CSystemSettings.h"
#include "geometry/NumberText.h"

#include <QPalette>

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
    // The size shown without an entry looks like an entry, not like a hint.
    QPalette colours = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::PlaceholderText, colours.color(group, QPalette::Text));
    setPalette(colours);
    connect(this, qOverload<int>(&QComboBox::activated), this, &CStartArrowAngleCombo::StoreSelection);
    SyncWithSettings();
}

QString CStartArrowAngleCombo::SizeText(int size)
{
    return QString::fromStdString(FormatNumberText(size / 1000.0));
}

void CStartArrowAngleCombo::SyncWithSettings()
{
    const int size = Settings().*m_field;
    const int index = FindData(size);
    SelectQuietly(index);
    setPlaceholderText(index < 0 ? SizeText(size) : QString());
}

void CStartArrowAngleCombo::OnFocusLost()
{
    StoreSelection();
}

void CStartArrowAngleCombo::StoreSelection()
{
    if (currentIndex() >= 0) Settings().*m_field = currentData().toInt();
}
