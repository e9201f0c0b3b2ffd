#include "shell/CToolTable.h"

#include "shell/CToolCommands.h"

#include "app/CVEKView.h"
#include "app/CVTZoom.h"
#include "editors/CVTFill.h"
#include "editors/CVTSelect.h"
#include "library/tool/CVTProcessDrawing.h"
#include "tables/tool/CVTTable.h"
#include "tools/CVTClosedCurve.h"
#include "tools/CVTCurve.h"
#include "tools/CVTCutJoinLines.h"
#include "tools/CVTDimension.h"
#include "tools/CVTEllipse.h"
#include "tools/CVTEraser.h"
#include "tools/CVTFreehand.h"
#include "tools/CVTInsertPicture.h"
#include "tools/CVTLayer.h"
#include "tools/CVTOffsetLine.h"
#include "tools/CVTOleItem.h"
#include "tools/CVTPickClosed.h"
#include "tools/CVTRectangle.h"
#include "tools/CVTRuler.h"
#include "tools/CVTSpliceParts.h"
#include "tools/CVTSymmetricDraw.h"
#include "tools/CVTSymmetry.h"
#include "tools/CVTText.h"

#include <array>

namespace {

using ToolMaker = std::unique_ptr<CDesignTool> (*)(CVEKView* view);

template <class Tool>
std::unique_ptr<CDesignTool> Make(CVEKView* view)
{
    return std::make_unique<Tool>(view);
}

// In tool-number order.
const std::array<ToolMaker, CVEKView::kToolCount> kMakers{{
    Make<CVTSelect>,          // kSelectTool
    Make<CVTZoom>,            // kZoomTool
    Make<CVTCurve>,           // kCurveTool
    Make<CVTClosedCurve>,     // kClosedCurveTool
    Make<CVTProcessDrawing>,  // kProcessDrawingTool
    Make<CVTRuler>,           // kRulerTool
    Make<CVTRectangle>,       // kRectangleTool
    Make<CVTEraser>,          // kEraserTool
    Make<CVTFreehand>,        // kFreehandTool
    Make<CVTEllipse>,         // kEllipseTool
    Make<CVTOffsetLine>,      // kOffsetLineTool
    Make<CVTCutJoinLines>,    // kCutJoinLinesTool
    Make<CVTTable>,           // kTableTool
    Make<CVTSymmetry>,        // kSymmetryTool
    Make<CVTText>,            // kTextTool
    Make<CVTLayer>,           // kLayerTool
    Make<CVTFill>,            // kFillTool
    Make<CVTInsertPicture>,   // kInsertPictureTool
    Make<CVTSymmetricDraw>,   // kSymmetricDrawTool
    Make<CVTOleItem>,         // kOleItemTool
    Make<CVTPickClosed>,      // kPickClosedTool
    Make<CVTDimension>,       // kDimensionTool
    Make<CVTSpliceParts>,     // kSplicePartsTool
}};

} // namespace

std::unique_ptr<CDesignTool> CToolTable::MakeTool(int index, CVEKView* view) const
{
    if (index < 0 || index >= CVEKView::kToolCount) return nullptr;
    return kMakers[std::size_t(index)](view);
}

std::unique_ptr<CViewCommandHandler> CToolTable::MakeCommands(CVEKView* view) const
{
    return std::make_unique<CToolCommands>(*view);
}
