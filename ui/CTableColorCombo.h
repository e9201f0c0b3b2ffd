// The colour combo of the table property page: 48 standard colours and
// one custom colour (entry 48), each shown as a swatch. Choosing the
// custom entry opens the colour dialog on the current colour; what the
// user picks there becomes the current and the custom colour, and a
// cancelled dialog leaves the current colour as it was.
//
// The owner adds the 49 entries (AddEntries) and then shows a colour with
// SetColor.
#pragma once

#include "platform/Types.h"

#include <QComboBox>

#include <array>
#include <functional>

class CTableColorCombo : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kStandardCount = 48;
    static constexpr int kCustomEntry = 48;
    static constexpr int kEntryCount = 49;

    explicit CTableColorCombo(QWidget* parent = nullptr);

    // The standard colours, entries 0-47 (0x00BBGGRR).
    static const std::array<COLORREF, kStandardCount>& StandardColors();

    // Fills the combo with its 49 entries (once).
    void AddEntries();
    // The colour becomes current: its standard entry is selected, or it
    // becomes the custom colour and entry 48 is selected.
    void SetColor(COLORREF colour);
    COLORREF GetColor() const { return m_current; }
    COLORREF GetCustomColor() const { return m_custom; }
    // The colour an entry stands for (the custom colour for 48).
    COLORREF EntryColor(int index) const;

    // How the custom entry asks for a colour: the colour dialog unless a
    // test puts its own answer here. True and the colour on OK.
    using ColorChooser = std::function<bool(QWidget* parent, COLORREF initial, COLORREF& chosen)>;
    static void SetColorChooser(ColorChooser chooser);

protected:
    // The field shows the current colour's swatch.
    void paintEvent(QPaintEvent* event) override;

private:
    void OnActivated(int index);

    COLORREF m_custom = 0;
    COLORREF m_current = 0;
    bool m_settingColor = false;
};
