// The end arrowhead's size drop-down (command 32871).
#pragma once

#include "ui/CStartArrowAngleCombo.h"

class CEndArrowAngleCombo : public CStartArrowAngleCombo {
    Q_OBJECT
public:
    explicit CEndArrowAngleCombo(QWidget* parent = nullptr);
};
