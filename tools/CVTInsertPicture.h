// The tool that places a picture on the page.
#pragma once

#include "app/CVectorTool.h"

class CVTInsertPicture : public CVectorTool {
public:
    explicit CVTInsertPicture(CVEKView* view);
    ~CVTInsertPicture() override;
};
