// The ruler tool: straight lines.
#pragma once

#include "app/CVectorTool.h"

class CVTRuler : public CVectorTool {
public:
    explicit CVTRuler(CVEKView* view);
    ~CVTRuler() override;
};
