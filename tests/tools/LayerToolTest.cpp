// The drawing-level tool driven through the view: raising and lowering by
// click, PageUp and PageDown, boxes that raise or lower what they meet and
// stay open when they meet nothing, embedded objects left out, one undo
// step per change and none for a click that changes nothing, and the
// drawing order on the page.
#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTLayer.h"

#include "model/COleObjectElement.h"

namespace {

class LayerToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kLayerTool);
        tool = Tool<CVTLayer>(CVEKView::kLayerTool);
        ASSERT_NE(tool, nullptr);
    }
    // A level line at row y.
    CCurveElement* Line(int y, int level)
    {
        CCurveElement* c = AddCurve({{1000, y}, {4000, y}}, 0);
        c->SetLevel(level);
        return c;
    }
    CClosedCurveElement* Square(int left, int top, COLORREF fill, int level)
    {
        auto* c = static_cast<CClosedCurveElement*>(
            AddCurve({{left, top}, {left + 2000, top}, {left + 2000, top + 2000}, {left, top + 2000}}, 1));
        c->SetFillKind(FILL_SOLID);
        c->SetStartColor(fill);
        c->SetLevel(level);
        return c;
    }

    CVTLayer* tool = nullptr;
};

} // namespace

TEST_F(LayerToolTest, ClicksRaiseAndLowerOneLevel)
{
    struct Case {
        const char* what;
        std::vector<int> levels;  // of lines at rows 1000, 2000, ...
        int clicked;              // index of the line clicked
        bool left;
        int expected;
    };
    const Case cases[] = {
        {"below the top: one up", {0, 3}, 0, true, 1},
        {"alone at the top: stays", {0, 3}, 1, true, 3},
        {"sharing the top: above it", {3, 3}, 0, true, 4},
        {"right: one down", {0, 3}, 1, false, 2},
        {"at the bottom: stays", {0, 3}, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (CGraphElement* e : Curves()) {
            Pages().RemoveElementFromPage(e);
            delete e;
        }
        Page()->SetMaxLevel(0);
        std::vector<CCurveElement*> lines;
        for (std::size_t i = 0; i < c.levels.size(); ++i) lines.push_back(Line(1000 * int(i + 1), c.levels[i]));
        const int undo = doc.UndoCount();
        const int y = 1000 * (c.clicked + 1);
        if (c.left)
            Click(2500, y);
        else
            RightClick(2500, y);
        EXPECT_EQ(lines[std::size_t(c.clicked)]->GetLevel(), c.expected);
        // A change is one undo step; no change, none.
        const bool changed = c.expected != c.levels[std::size_t(c.clicked)];
        EXPECT_EQ(doc.UndoCount(), undo + (changed ? 1 : 0));
        EXPECT_FALSE(tool->HasPendingStep());
    }
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(LayerToolTest, PageUpBringsToTheTopAndPageDownToTheBottom)
{
    CCurveElement* low = Line(1000, 1);
    CCurveElement* top = Line(2000, 4);
    CCurveElement* alsoLow = Line(3000, 0);
    MoveTo(2500, 1000);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(low->GetLevel(), 5);  // above the element that was at the top
    MoveTo(2500, 2000);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(top->GetLevel(), 6);  // the highest level is shared: above it
    Key(Qt::Key_PageUp);
    EXPECT_EQ(top->GetLevel(), 6);  // alone at the top: stays, no step
    Key(Qt::Key_PageDown);
    EXPECT_EQ(top->GetLevel(), 0);
    EXPECT_EQ(alsoLow->GetLevel(), 0);
    EXPECT_EQ(doc.UndoCount(), 3);
    view->OnEditUndo();
    EXPECT_EQ(Curves()[1]->GetLevel(), 6);
}

TEST_F(LayerToolTest, ABoxRaisesOrLowersWhatMeetsItAndStaysOpenWhenItMeetsNothing)
{
    CCurveElement* a = Line(1000, 0);
    CCurveElement* b = Line(2000, 2);
    CCurveElement* c = Line(5000, 1);
    auto* object = new COleObjectElement(Page(), 1);
    Pages().AddElementToPage(object);
    object->SetRect(CRect(2000, 2500, 3000, 3000));
    Click(500, 500);
    EXPECT_TRUE(tool->IsBoxOpen());
    // A box over nothing: the click is refused and the box stays.
    MoveTo(800, 800);
    Click(800, 800);
    EXPECT_TRUE(tool->IsBoxOpen());
    MoveTo(4500, 3200);
    EXPECT_EQ(tool->GetBoxElements().GetCount(), 2);
    Click(4500, 3200);
    EXPECT_FALSE(tool->IsBoxOpen());
    // Each one up; one reaching the highest level goes above it.
    EXPECT_EQ(a->GetLevel(), 1);
    EXPECT_EQ(b->GetLevel(), 3);
    EXPECT_EQ(c->GetLevel(), 1);
    EXPECT_EQ(object->GetLevel(), 1);
    EXPECT_EQ(doc.UndoCount(), 1);

    RightClick(500, 500);
    MoveTo(4500, 5500);
    RightClick(4500, 5500);
    EXPECT_EQ(a->GetLevel(), 0);
    EXPECT_EQ(b->GetLevel(), 2);
    EXPECT_EQ(c->GetLevel(), 0);
    EXPECT_EQ(object->GetLevel(), 1);
    EXPECT_EQ(doc.UndoCount(), 2);

    Click(500, 500);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(tool->IsBoxOpen());
}

TEST_F(LayerToolTest, EmbeddedObjectsAreNotPicked)
{
    auto* object = new COleObjectElement(Page(), 0);
    Pages().AddElementToPage(object);
    object->SetRect(CRect(2000, 2000, 4000, 4000));
    MoveTo(3000, 3000);
    EXPECT_EQ(tool->GetHitElement(), nullptr);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(object->GetLevel(), 0);
}

TEST_F(LayerToolTest, TheRaisedElementIsDrawnOnTop)
{
    Square(1000, 1000, RGB(255, 0, 0), 0);
    Square(2000, 2000, RGB(0, 0, 255), 1);
    ASSERT_TRUE(ColourNear(RenderPage(), 2500, 2500, qRgb(0, 0, 255), 0));
    // A click on the red square's outline where it lies inside the blue
    // one: up to the blue one's level, where the blue one, later in the
    // list, is still drawn over it; the next click lifts it above.
    Click(3000, 2020);
    EXPECT_TRUE(ColourNear(RenderPage(), 2500, 2500, qRgb(0, 0, 255), 0));
    Click(3000, 2020);
    EXPECT_TRUE(ColourNear(RenderPage(), 2500, 2500, qRgb(255, 0, 0), 0));
    view->OnEditUndo();
    EXPECT_TRUE(ColourNear(RenderPage(), 2500, 2500, qRgb(0, 0, 255), 0));
}
