// The tool that picks a closed line out of crossing curves.
#pragma once

#include "app/CVectorTool.h"

class CVTPickClosed : public CVectorTool {
public:
    explicit CVTPickClosed(CVEKView* view);
    ~CVTPickClosed() override;
};
