// The full colour dialog of the pickers' "定义颜色......" entry, opened on
// the colour that goes with the picker's command.
#pragma once

#include "platform/Types.h"

#include <QColorDialog>

class CVEKColorDialog : public QColorDialog {
    Q_OBJECT
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    // The flags the main frame passes (RGB init, full open, prevent full
    // open, any colour); the Qt dialog always behaves that way.
    static constexpr DWORD kFrameFlags = 0x107;

    CVEKColorDialog(COLORREF initial, DWORD flags = kFrameFlags, QWidget* parent = nullptr);

    // IDOK when a colour was chosen, else IDCANCEL.
    int DoModal();
    // The chosen colour, or the initial one when the dialog was cancelled.
    COLORREF GetColor() const { return m_color; }

    static QColor ToQColor(COLORREF color);
    static COLORREF FromQColor(const QColor& color);

private:
    COLORREF m_initial;
    COLORREF m_color;
};
