// The offset-line tool: lines at a distance beside a curve.
#pragma once

#include "app/CVectorTool.h"

class CVTOffsetLine : public CVectorTool {
public:
    explicit CVTOffsetLine(CVEKView* view);
    ~CVTOffsetLine() override;
};
