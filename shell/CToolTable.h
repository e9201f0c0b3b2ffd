// The view's tool table: the one place that knows every tool by its tool
// number (the view's ToolIndex), and the command handler of the table,
// library and grading commands. The main window hands it to the view it
// makes; tests that drive tools through a view use it the same way.
#pragma once

#include "app/CToolFactory.h"

class CToolTable : public CToolFactory {
public:
    std::unique_ptr<CDesignTool> MakeTool(int index, CVEKView* view) const override;
    std::unique_ptr<CViewCommandHandler> MakeCommands(CVEKView* view) const override;
};
