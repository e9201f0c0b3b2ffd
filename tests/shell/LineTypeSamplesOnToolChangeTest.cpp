#include "app/CVEKView.h"
#include "res/CommandIds.h"
#include "settings/CSystemSettings.h"
#include "shell/CMainFrame.h"
#include "shell/CMainToolBar.h"
#include "shell/CVEKApp.h"
#include "ui/CLineTypeCombo.h"

#include "tests/shell/ProgramHomeTest.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <vector>

namespace {

using LineTypeSamplesOnToolChangeTest = ProgramHomeTest;

// A zigzag whose display copy holds as many points as it: scaled to the
// display width, no point repeats the one before it.
CLineAttr ManyPointLineType(int points)
{
    CPointList tooth;
    for (int i = 0; i < points; ++i) tooth.AddTail(CPoint(i % 2 * 12000, i % 3 * 1000));
    return CLineAttr::Custom(10, 50, CLineTypeShapeArray{CLineTypeShape(10, 0, tooth)});
}

// What each entry of the box shows: its picture's identity.
std::vector<qint64> Pictures(const CLineTypeCombo& combo)
{
    std::vector<qint64> pictures;
    for (int i = 0; i < combo.count(); ++i) pictures.push_back(combo.itemIcon(i).cacheKey());
    return pictures;
}

} // namespace

// The tool bar regroups at every tool change and the line-type box follows
// the settings; a picture whose line type did not change is not drawn
// again, while one whose line type changed, and a new one, are.
TEST_F(LineTypeSamplesOnToolChangeTest, AToolChangeRedrawsOnlyTheSamplesThatChanged)
{
    CMainFrame frame;
    ASSERT_TRUE(frame.NewDocument());
    ASSERT_TRUE(frame.AddLineType(ManyPointLineType(20000))); // 9
    ASSERT_TRUE(frame.AddLineType(ManyPointLineType(30))); // 10
    CVEKView* view = frame.GetEditingView();
    CLineTypeCombo* combo = frame.GetMainToolBar()->LineTypeCombo();
    view->OnToolCommand(ID_TOOL_CURVE);
    const std::vector<qint64> before = Pictures(*combo);
    ASSERT_EQ(before.size(), 11u);
    for (int tool : {ID_TOOL_CLOSED_CURVE, ID_TOOL_ZOOM, ID_TOOL_CURVE}) {
        view->OnToolCommand(tool);
        frame.RebuildContextToolBar();
        EXPECT_EQ(Pictures(*combo), before) << tool;
    }

    // The spacing of line type 10 changes: its picture only.
    Settings().m_aLineTypes[10].SetParam(2, 900);
    view->OnToolCommand(ID_TOOL_CLOSED_CURVE);
    std::vector<qint64> after = Pictures(*combo);
    EXPECT_NE(after[10], before[10]);
    after[10] = before[10];
    EXPECT_EQ(after, before);
}
