#include "res/CursorTable.h"

#include <algorithm>

namespace {

// Drawing tools point with a cross hair whose centre is the hot spot, the
// tool's symbol below and right of it; picking tools point with the tip of
// an arrow; handles show a double or four-headed arrow about its middle.
constexpr int kCross = 10;
constexpr int kTip = 1;
constexpr int kMiddle = 15;

} // namespace

const std::vector<CursorSpec>& CursorSpecs()
{
    static const std::vector<CursorSpec> specs = {
        {144, kMiddle, kMiddle, "left-right arrow between two bars: page-tab grip, table column edge"},
        {148, kCross, kCross, "cross hair, smooth open curve"},
        {149, kCross, kCross, "cross hair, smooth closed curve"},
        {150, 12, 12, "magnifier with a plus: zoom in"},
        {151, 12, 12, "magnifier with a minus: zoom out"},
        {152, kTip, kTip, "arrow: select and edit"},
        {154, kCross, kCross, "cross hair, open curve with corners"},
        {163, kCross, kCross, "cross hair, closed curve with corners"},
        {164, kTip, kTip, "arrow with a dashed box: library selection"},
        {167, kMiddle, kMiddle, "left-right arrow through a small box: stretch"},
        {168, kMiddle, kMiddle, "four-headed arrow: move"},
        {169, kMiddle, kMiddle, "circular arrow: rotate"},
        {172, kCross, kCross, "cross hair, ruler with an angle: ruler at 45-degree steps"},
        {173, kCross, kCross, "cross hair, ruler"},
        {174, kCross, kCross, "cross hair, rectangle"},
        {175, kCross, kCross, "cross hair, eraser"},
        {176, kCross, kCross, "cross hair, pencil: freehand"},
        {177, kCross, kCross, "cross hair, ellipse"},
        {178, kCross, kCross, "cross hair, circle"},
        {187, kCross, kCross, "cross hair, hexagon: regular polygon"},
        {190, kCross, kCross, "cross hair, two parallel curves: offset lines"},
        {191, kCross, kCross, "cross hair, scissors: cut lines"},
        {192, kMiddle, kMiddle, "up-down arrow between two bars: table row edge"},
        {194, kMiddle, kMiddle, "four-headed arrow round a box: move the table"},
        {195, kCross, kCross, "cross hair, grid: insert a table"},
        {196, kMiddle, kMiddle, "diagonal arrow to a corner: resize the table"},
        {197, kTip, kTip, "arrow with a grid: a table under the mouse"},
        {198, 11, 11, "four-headed arrow with a letter: move the text"},
        {199, kCross, kCross, "cross hair, letter: new text"},
        {213, kCross, kCross, "cross hair, two triangles about an axis: symmetry"},
        {214, kCross, kCross, "cross hair, two lines meeting at a dot: join, pick closed line"},
        {216, kTip, kTip, "arrow with a letter: a text under the mouse"},
        {218, kTip, kTip, "arrow with two stacked squares: element level"},
        {220, kCross, kCross, "cross hair, framed picture: insert a picture"},
        {221, kCross, kCross, "cross hair, bucket: fill"},
        {222, kMiddle, kMiddle, "double arrow rising to the right: size along 135 degrees"},
        {223, kMiddle, kMiddle, "up-down double arrow: size along 90 degrees"},
        {224, kMiddle, kMiddle, "double arrow falling to the right: size along 45 degrees"},
        {225, kMiddle, kMiddle, "left-right double arrow: size along 0 degrees"},
        {244, kCross, kCross, "cross hair, two parallel lines and a plus: move and copy lines"},
        {350, kCross, kCross, "cross hair, dimension line between two stops"},
        {352, kCross, kCross, "cross hair, two joined parts: component stitching"},
        {356, kCross, kCross, "cross hair, tape measure"},
    };
    return specs;
}

const CursorSpec* FindCursorSpec(int id)
{
    const std::vector<CursorSpec>& specs = CursorSpecs();
    const auto it = std::find_if(specs.begin(), specs.end(), [id](const CursorSpec& s) { return s.id == id; });
    return it == specs.end() ? nullptr : &*it;
}

const std::vector<IconSpec>& ToolIconSpecs()
{
    static const std::vector<IconSpec> specs = {
        // Drawn one pixel inside the table's 16-pixel move handle.
        {200, 13, 13, "four-headed arrow in a frame: the table's move handle"},
        // Large enough for the about box; the window manager scales it down.
        {128, 64, 64, "the program's icon: a shirt and its measure on a sheet of paper"},
    };
    return specs;
}
