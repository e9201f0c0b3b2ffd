// What the view makes its tools from: the tool of each tool number, and
// the commands that belong to the tools, editors and dialogs above the
// view. The main window's tool table fills it in and hands it to each view
// it makes, so the view knows no tool by name.
#pragma once

#include <memory>

class CDesignTool;
class CVEKView;
class CViewCommandHandler;

class CToolFactory {
public:
    virtual ~CToolFactory() = default;

    // The tool of a tool number (CVEKView::ToolIndex) working in the view.
    virtual std::unique_ptr<CDesignTool> MakeTool(int index, CVEKView* view) const = 0;
    // The view's commands carried out by the layers above it.
    virtual std::unique_ptr<CViewCommandHandler> MakeCommands(CVEKView* view) const = 0;
};
