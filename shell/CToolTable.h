// The view's tool table: one row per tool (command, tip, cursor, prompt,
// picture and maker) in the order of the tool numbers, the command handler
// of the table, library and grading commands, and the point-position
// prompt. It is the one place that knows every tool: a new tool is one row
// here and its class. The main window hands it to the view it makes; tests
// that drive tools through a view use it the same way.
#pragma once

#include "app/CToolFactory.h"

class CToolTable : public CToolFactory {
public:
    const std::vector<CToolDescriptor>& Tools() const override;
    std::unique_ptr<CViewCommandHandler> MakeCommands(CVEKView* view) const override;
    PointOnCurvePrompt PointOnCurve() const override;
};
