// The start arrowhead's size drop-down (command ID_START_ARROW_SIZE):
// entries "1" to "10" for sizes 1000 to 10000; a choice is written straight
// into the settings' start arrowhead size. CEndArrowAngleCombo does the same
// for the end arrowhead. A size between the entries (the default 600) has no
// entry, but the box still shows it, in the entries' measure ("0.6"), rather
// than nothing.
#pragma once

#include "ui/CBarComboBox.h"

class CSystemSettings;

class CStartArrowAngleCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;

    explicit CStartArrowAngleCombo(QWidget* parent = nullptr);

    // Selects the entry of the size in the settings; with no entry of that
    // size none is selected and the box shows the size as it is.
    void SyncWithSettings();
    // The text of a size: thousandths ("0.6" for 600, "3" for 3000).
    static QString SizeText(int size);

protected:
    using SizeField = int CSystemSettings::*;
    CStartArrowAngleCombo(SizeField field, QWidget* parent);
    void OnFocusLost() override;

private:
    void StoreSelection();
    SizeField m_field;
};
