// The fill tool: fills closed curves.
#pragma once

#include "app/CVectorTool.h"

class CVTFill : public CVectorTool {
public:
    explicit CVTFill(CVEKView* view);
    ~CVTFill() override;
};
