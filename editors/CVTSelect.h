// The select-and-modify tool: picks elements and hands them to their
// editors.
#pragma once

#include "app/CVectorTool.h"

class CVTSelect : public CVectorTool {
public:
    explicit CVTSelect(CVEKView* view);
    ~CVTSelect() override;

    // Copy or cut the table being edited through the select tool.
    void OnCopyTable();
    void OnCutTable();
};
