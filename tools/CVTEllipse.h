// The ellipse and circle tool.
#pragma once

#include "app/CVectorTool.h"

class CVTEllipse : public CVectorTool {
public:
    explicit CVTEllipse(CVEKView* view);
    ~CVTEllipse() override;
};
