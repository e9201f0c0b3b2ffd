// The text tool.
#pragma once

#include "app/CVectorTool.h"

class CVTText : public CVectorTool {
public:
    explicit CVTText(CVEKView* view);
    ~CVTText() override;
};
