// The symmetry tool: mirrors elements about a line.
#pragma once

#include "app/CVectorTool.h"

class CVTSymmetry : public CVectorTool {
public:
    explicit CVTSymmetry(CVEKView* view);
    ~CVTSymmetry() override;
};
