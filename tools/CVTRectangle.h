// The rectangle and regular-polygon tool.
#pragma once

#include "app/CVectorTool.h"

class CVTRectangle : public CVectorTool {
public:
    explicit CVTRectangle(CVEKView* view);
    ~CVTRectangle() override;
};
