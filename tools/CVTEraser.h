// The eraser tool.
#pragma once

#include "app/CVectorTool.h"

class CVTEraser : public CVectorTool {
public:
    explicit CVTEraser(CVEKView* view);
    ~CVTEraser() override;
};
