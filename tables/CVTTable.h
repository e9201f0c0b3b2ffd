// The table insertion tool.
#pragma once

#include "app/CVectorTool.h"

class CVTTable : public CVectorTool {
public:
    explicit CVTTable(CVEKView* view);
    ~CVTTable() override;

    // Copy or cut the table being edited.
    void OnCopyTable();
    void OnCutTable();
};
