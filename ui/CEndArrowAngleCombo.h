// The end arrowhead's size drop-down (command ID_END_ARROW_SIZE).
#pragma once

#include "ui/CStartArrowAngleCombo.h"

class CEndArrowAngleCombo : public CStartArrowAngleCombo {
    Q_OBJECT
public:
    explicit CEndArrowAngleCombo(QWidget* parent = nullptr);
};
