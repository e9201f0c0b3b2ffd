// The tool that cuts curves apart and joins them.
#pragma once

#include "app/CVectorTool.h"

class CVTCutJoinLines : public CVectorTool {
public:
    explicit CVTCutJoinLines(CVEKView* view);
    ~CVTCutJoinLines() override;
};
