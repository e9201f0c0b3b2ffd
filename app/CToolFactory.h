// What the view makes its tools from: one row per tool (command, tip,
// cursor, prompt, picture and maker), the commands that belong to the
// tools, editors and dialogs above the view, and the prompt through which
// its tools place a point on a curve. The main window's tool table fills
// it in and hands it to each view it makes, so the view knows no tool and
// no dialog by name, and nothing is installed behind the view's back.
#pragma once

#include "app/CToolDescriptor.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <functional>
#include <memory>
#include <vector>

class CVectorTool;
class CVEKView;
class CViewCommandHandler;

// Runs the point-position prompt for a point captured on a curve: the
// curve's outline, the length from the reference end at `referenceEnd` to
// the captured point. The prompt moves the point through the tool's
// OnMouseMove and SwapReferenceEnd; TRUE when the user accepted.
using PointOnCurvePrompt =
    std::function<BOOL(CVectorTool& tool, const CPointList& outline, int length, const CPoint& referenceEnd)>;

class CToolFactory {
public:
    virtual ~CToolFactory() = default;

    // The tools in tool-number order (CVEKView::ToolIndex for the numbers
    // that code names).
    virtual const std::vector<CToolDescriptor>& Tools() const = 0;
    // The view's commands carried out by the layers above it.
    virtual std::unique_ptr<CViewCommandHandler> MakeCommands(CVEKView* view) const = 0;
    // The prompt of the view's tools; an empty one takes a point where it
    // was captured.
    virtual PointOnCurvePrompt PointOnCurve() const = 0;
};
