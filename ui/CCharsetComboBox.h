// The script box of the context tool bar (command ID_CHARSET): the character
// sets the default font's face offers. Choosing one sets the default font's
// character set and reports "VEK_SELFONTCHANGE".
#pragma once

#include "ui/CBarComboBox.h"

class CCharsetComboBox : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;

    explicit CCharsetComboBox(QWidget* parent = nullptr);

    // Refills the scripts for the default font's face and selects its
    // character set (or "西方" when the face has no such script).
    void FillCharsets();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void OnFocusLost() override;

private:
    void StoreSelection();
};
