// The font-size box of the context tool bar (command ID_FONT_SIZE): the
// sixteen Chinese named sizes and sixteen point sizes; item data is the size
// in points x 100. Choosing one sets the height of the settings' default
// text font (page units, at the 96 pixels per inch the settings assume) and
// reports "VEK_SELFONTCHANGE".
#pragma once

#include "ui/CBarComboBox.h"

class CFontSizeCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;
    static constexpr int kLogPixelsY = 96;

    explicit CFontSizeCombo(QWidget* parent = nullptr);

    // Selects the first size within 4 hundredths of a point of the default
    // font's height; none within: the choice stays.
    void SelectCurrentSize();
    // The default font's height in hundredths of a point, as the list
    // compares it.
    static int CurrentSizeValue();
    // Page-unit height of a size in hundredths of a point.
    static int HeightOfSize(int size);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void OnFocusLost() override;

private:
    void StoreSelection();
};
