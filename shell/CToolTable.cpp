#include "shell/CToolTable.h"

#include "shell/CToolCommands.h"
#include "shell/ToolPictures.h"

#include "app/CVEKView.h"
#include "app/CVTZoom.h"
#include "editors/CVTFill.h"
#include "editors/CVTSelect.h"
#include "library/tool/CVTProcessDrawing.h"
#include "tables/tool/CVTModifyTable.h"
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
#include "ui/CPointOnCurveDlg.h"

#include "res/CommandIds.h"

namespace {

template <class Tool>
std::unique_ptr<CDesignTool> Make(CVEKView* view)
{
    return std::make_unique<Tool>(view);
}

// The tools that select elements hand tables to the tables module's
// editor.
template <class Tool>
std::unique_ptr<CDesignTool> MakeEditingTables(CVEKView* view)
{
    return std::make_unique<Tool>(view, &CVTModifyTable::Make);
}

constexpr UINT kIdle = CVEKView::kIdlePrompt;
using Sub = CVTSymmetricDraw::SubTool;

} // namespace

const std::vector<CToolDescriptor>& CToolTable::Tools() const
{
    // In tool-number order (CVEKView::ToolIndex), which is the order of
    // the design bar and the drawing menu. The cursor and prompt are what
    // a tool shows on becoming current, before its own Activate; the
    // framework's idle text where a tool names no prompt of its own. The
    // last column is the tool's place among the symmetric-drawing tool's
    // sub-tools.
    static const std::vector<CToolDescriptor> tools = {
        {ID_TOOL_SELECT, "选择修改", 152, kIdle, ToolPictures::Select, MakeEditingTables<CVTSelect>,
         Sub::kSubSelect},
        {ID_TOOL_ZOOM, "放大", 150, 38000, ToolPictures::Zoom, Make<CVTZoom>, Sub::kSubZoom},
        {ID_TOOL_CURVE, "非闭合曲线", 148, 38001, ToolPictures::Curve, Make<CVTCurve>, Sub::kSubCurve},
        {ID_TOOL_CLOSED_CURVE, "闭合曲线", 149, 38002, ToolPictures::ClosedCurve, Make<CVTClosedCurve>,
         Sub::kSubClosedCurve},
        {ID_TOOL_PROCESS_DRAWING, "工艺图库,定义线型", 164, 38007, ToolPictures::ProcessDrawing,
         Make<CVTProcessDrawing>},
        {ID_TOOL_RULER, "直尺", 173, 38015, ToolPictures::Ruler, Make<CVTRuler>, Sub::kSubRuler},
        {ID_TOOL_RECTANGLE, "矩形/正多边形", 174, 38037, ToolPictures::Rectangle, Make<CVTRectangle>,
         Sub::kSubRectangle},
        {ID_TOOL_ERASER, "橡皮檫", 175, 38017, ToolPictures::Eraser, Make<CVTEraser>, Sub::kSubEraser},
        {ID_TOOL_FREEHAND, "手绘", 176, kIdle, ToolPictures::Freehand, Make<CVTFreehand>, Sub::kSubFreehand},
        {ID_TOOL_ELLIPSE, "椭圆/圆", 177, 38018, ToolPictures::Ellipse, Make<CVTEllipse>, Sub::kSubEllipse},
        {ID_TOOL_OFFSET_LINE, "等距线", 190, 38023, ToolPictures::OffsetLine, Make<CVTOffsetLine>},
        {ID_TOOL_CUT_JOIN_LINES, "剪断/合并线条", 191, 38025, ToolPictures::CutJoinLines, Make<CVTCutJoinLines>},
        {ID_TOOL_TABLE, "表格", 195, 38027, ToolPictures::Table, Make<CVTTable>},
        {ID_TOOL_SYMMETRY, "对称", 213, 38039, ToolPictures::Symmetry, Make<CVTSymmetry>},
        {ID_TOOL_TEXT, "文字工具", 199, 38044, ToolPictures::Text, Make<CVTText>},
        {ID_TOOL_LAYER, "改变图元的层", 218, 38048, ToolPictures::Layer, Make<CVTLayer>},
        {ID_TOOL_FILL, "填充闭合线", 221, 38056, ToolPictures::Fill, Make<CVTFill>},
        {ID_TOOL_INSERT_PICTURE, "加入位图", 220, 38059, ToolPictures::InsertPicture, Make<CVTInsertPicture>},
        {ID_TOOL_SYMMETRIC_DRAW, "对称画工具", 213, 38065, ToolPictures::SymmetricDraw,
         MakeEditingTables<CVTSymmetricDraw>},
        {ID_TOOL_OLE_ITEM, "OLE链接与嵌入", 152, kIdle, ToolPictures::OleItem, Make<CVTOleItem>},
        {ID_TOOL_PICK_CLOSED, "拾取闭合线", 214, 38042, ToolPictures::PickClosed, Make<CVTPickClosed>},
        {ID_TOOL_DIMENSION, "标注尺寸", 350, 38082, ToolPictures::Dimension, Make<CVTDimension>},
        {ID_TOOL_SPLICE_PARTS, "拼接部件", 352, 38081, ToolPictures::SpliceParts, Make<CVTSpliceParts>},
    };
    return tools;
}

std::unique_ptr<CViewCommandHandler> CToolTable::MakeCommands(CVEKView* view) const
{
    return std::make_unique<CToolCommands>(*view);
}

PointOnCurvePrompt CToolTable::PointOnCurve() const
{
    return &CPointOnCurveDlg::Run;
}
