// The dimension and tape-measure tool.
#pragma once

#include "app/CVectorTool.h"

class CVTDimension : public CVectorTool {
public:
    explicit CVTDimension(CVEKView* view);
    ~CVTDimension() override;
};
