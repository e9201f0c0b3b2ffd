// The colour picker of the context tool bar: the button shows the current
// colour as a strip under its picture; its popup offers 40 colours, the
// automatic entry while that is enabled, and "定义颜色......", which asks
// the main frame for the full colour dialog.
#pragma once

#include "ui/CPickerMenuButton.h"

#include "platform/Types.h"

#include <array>

class CColorMenuButton : public CPickerMenuButton {
    Q_OBJECT
public:
    // The automatic colour's value in the settings and the messages.
    static constexpr COLORREF kAutomaticColor = 0xFFFFFFFF;
    // The popup's colours in grid order (8 columns, 5 rows).
    static const std::array<COLORREF, 40>& PopupColors();

    explicit CColorMenuButton(int commandId, QWidget* parent = nullptr);

    // Shows a colour; with `propagate`, every other button of the command
    // shows it too.
    void SetColor(COLORREF color, BOOL propagate);
    COLORREF GetColor() const { return m_color; }

Q_SIGNALS:
    // The user asked for another colour than the ones offered.
    void OtherColorRequested(int commandId);

protected:
    qint64 CurrentValue() const override { return m_color; }
    void Pick(qint64 value) override;
    QIcon ButtonIcon() const override;

private:
    COLORREF m_color;
};
