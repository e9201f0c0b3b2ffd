// The component-stitching tool.
#pragma once

#include "app/CVectorTool.h"

class CVTSpliceParts : public CVectorTool {
public:
    explicit CVTSpliceParts(CVEKView* view);
    ~CVTSpliceParts() override;
};
