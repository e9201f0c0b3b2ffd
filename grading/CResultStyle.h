// The settings a grading table is laid out and drawn with, taken from the
// settings record when a grading command runs (the grading core knows no
// settings record of its own).
#pragma once

#include "platform/LogFont.h"
#include "platform/Types.h"

struct CResultStyle {
    int workUnit = 2; // 0, 1 inch, 2 centimetre, 3 millimetre
    LogFont font;     // texts and cells; its height sets the row step
    COLORREF fontColor = 0;
    COLORREF paperColor = 0xFFFFFF; // the cells' background
    COLORREF lineColor = 0;
    int borderWidth = 35;
    int innerWidth = 25;
    CRect cellPadding{50, 50, 50, 50};
    int alignment = 4;
};
