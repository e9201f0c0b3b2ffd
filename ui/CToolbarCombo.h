// The line-width drop-down (command ID_LINE_WIDTH): entries "1" to "10"
// standing for widths that grow like the Fibonacci numbers 1, 2, 3, 5, ...
// 89 in the work unit's small steps (0.1 mm in centimetres). A choice goes
// to the view as "VEK_LINEPARAMCHANGE" for ID_LINE_WIDTH with the width in
// page units, which the view writes into the current line type.
#pragma once

#include "ui/CBarComboBox.h"

class CToolbarCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;

    explicit CToolbarCombo(QWidget* parent = nullptr);

    // Refills the widths for the current work unit and selects the one the
    // current line type has (none when it has another).
    void SyncWithSettings();

private:
    void OnActivated(int index);
};
