// The start arrowhead's size drop-down (command 32869): entries "1" to
// "10" for sizes 1000 to 10000; a choice is written straight into the
// settings' start arrowhead size. CEndArrowAngleCombo does the same for the
// end arrowhead.
#pragma once

#include "ui/CBarComboBox.h"

class CSystemSettings;

class CStartArrowAngleCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;

    explicit CStartArrowAngleCombo(QWidget* parent = nullptr);

    // Selects the entry of the size in the settings (none when no entry
    // has that size).
    void SyncWithSettings();

protected:
    using SizeField = int CSystemSettings::*;
    CStartArrowAngleCombo(SizeField field, QWidget* parent);
    void OnFocusLost() override;

private:
    void StoreSelection();
    SizeField m_field;
};
