// A scroll bar over which the pointer is always the standard arrow, whatever
// cursor the view around it shows.
#pragma once

#include <QScrollBar>

class CArrowCursorScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit CArrowCursorScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);
};
