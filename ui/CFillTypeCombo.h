// The fill-type drop-down (command ID_FILL_TYPE): the eight fill kinds, item
// data = index = kind. A choice by the user is stored as the settings' fill
// type and reported with "VEK_SELFILLTYPECHANGE"; SelectFillType (the fill
// tool showing a picked curve's kind) reports nothing.
#pragma once

#include "ui/CBarComboBox.h"

class CFillTypeCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;
    static constexpr int kKindCount = 8;

    explicit CFillTypeCombo(QWidget* parent = nullptr);

    // Shows a fill kind without storing or reporting it; a kind without an
    // entry leaves the choice as it is.
    void SelectFillType(int fillType);

private:
    void OnIndexChanged(int index);
    int m_bNotify = 1;
};
