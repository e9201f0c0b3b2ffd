// The tool that changes the drawing level (stacking order) of elements.
#pragma once

#include "app/CVectorTool.h"

class CVTLayer : public CVectorTool {
public:
    explicit CVTLayer(CVEKView* view);
    ~CVTLayer() override;
};
