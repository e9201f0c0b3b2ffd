// A list of the 48 standard colours as swatches, 25 pixels square in
// columns of six (top to bottom, then the next column). Item i shows
// standard colour i.
#pragma once

#include "platform/Types.h"

#include <QListWidget>

class CColorListBox : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kColorCount = 48;
    static constexpr int kCellSize = 25;
    static constexpr int kRows = 6;

    explicit CColorListBox(QWidget* parent = nullptr);

    // Standard colour i (0-47), as 0x00BBGGRR; 0 outside the table.
    static COLORREF StandardColor(int index);
    // The last item whose colour equals `colour`, or -1.
    static int LastIndexOf(COLORREF colour);

    QSize sizeHint() const override;
};
