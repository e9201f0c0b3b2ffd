#include "app/CArrowCursorScrollBar.h"

CArrowCursorScrollBar::CArrowCursorScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
    // A widget's own cursor wins over the cursor of its parent view.
    setCursor(Qt::ArrowCursor);
}
