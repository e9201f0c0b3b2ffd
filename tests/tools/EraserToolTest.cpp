#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTEraser.h"
#include "tools/CVTSymmetricDraw.h"

#include "settings/CSystemSettings.h"
#include "model/CImageElement.h"
#include "model/COleObjectElement.h"
#include "model/CTextElement.h"

#include <QImage>

namespace {

class EraserToolTest : public ShapeToolFixture {
protected:
    void SetUp() override
    {
        ShapeToolFixture::SetUp();
        SelectTool(CVEKView::kEraserTool);
        tool = Tool<CVTEraser>(CVEKView::kEraserTool);
        ASSERT_NE(tool, nullptr);
    }

    CTextElement* AddText(int x, int y)
    {
        LogFont font = CSystemSettings::DefaultTextFont();
        font.lfHeight = -500;
        auto* text = new CTextElement(Page(), 0, CTextFont("WWWW", font, 0), x, y, TRANSPARENT);
        Pages().AddElementToPage(text);
        return text;
    }
    CImageElement* AddPicture(int x, int y, int w, int h)
    {
        const QString path = home.filePath(QStringLiteral("red.png"));
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(path);
        auto* picture = new CImageElement(Page(), 0, path, x, y, w, h);
        Pages().AddElementToPage(picture);
        return picture;
    }
    int Count(int kind)
    {
        int n = 0;
        for (CGraphElement* e : Page()->Elements()) n += e->GetType() == kind ? 1 : 0;
        return n;
    }
    int ElementCount() { return Page()->Elements().GetCount(); }

    CVTEraser* tool = nullptr;
};

} // namespace

TEST_F(EraserToolTest, ClickErasesTheCurveUnderTheMouseAndUndoBringsItBack)
{
    AddCurve({{1000, 1000}, {4000, 1000}}, 0);
    CCurveElement* other = AddCurve({{1000, 3000}, {4000, 3000}}, 0);
    Click(2500, 1050);
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0], other);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_FALSE(tool->HasPendingStep());
    // The erased line is gone from the painted page.
    EXPECT_FALSE(DarkNear(RenderPage(), 2500, 1000, 2));
    view->OnEditUndo();
    EXPECT_EQ(Curves().size(), 2u);
}

TEST_F(EraserToolTest, CurvesAndTextsGoBeforeAPictureUnderThem)
{
    AddPicture(1000, 1000, 4000, 4000);
    AddText(2000, 2000);
    AddCurve({{1500, 4000}, {4500, 4000}}, 0);
    // On the text inside the picture: the text goes.
    Click(2100, 2100);
    EXPECT_EQ(Count(ELEMENT_TEXT), 0);
    EXPECT_EQ(Count(ELEMENT_IMAGE), 1);
    // On the curve inside the picture: the curve goes.
    Click(3000, 4030);
    EXPECT_EQ(Count(ELEMENT_CURVE), 0);
    EXPECT_EQ(Count(ELEMENT_IMAGE), 1);
    // Then the picture itself.
    Click(3000, 3000);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(doc.UndoCount(), 3);
}

TEST_F(EraserToolTest, BoxErasesWhatMeetsItInOneStep)
{
    AddCurve({{1000, 1000}, {2000, 1000}}, 0);
    AddCurve({{1500, 2500}, {6000, 2500}}, 0);  // crosses the box's edge
    CCurveElement* outside = AddCurve({{7000, 1000}, {8000, 1000}}, 0);
    auto* object = new COleObjectElement(Page(), 0);
    Pages().AddElementToPage(object);
    object->SetRect(CRect(3000, 500, 3500, 800));
    Click(500, 300);  // empty space: the box opens
    EXPECT_TRUE(tool->IsBoxOpen());
    EXPECT_TRUE(tool->HasPendingStep());
    MoveTo(4000, 3000);
    EXPECT_EQ(tool->GetEraseList().GetCount(), 3);
    // The box is drawn and what it holds is highlighted.
    const QImage image = RenderView();
    EXPECT_TRUE(ColourNear(image, 2000, 300, qRgb(255, 0, 0), 1));
    Click(4000, 3000);
    EXPECT_FALSE(tool->IsBoxOpen());
    ASSERT_EQ(ElementCount(), 1);
    EXPECT_EQ(Curves()[0], outside);
    EXPECT_EQ(doc.UndoCount(), 1);
    view->OnEditUndo();
    EXPECT_EQ(ElementCount(), 4);
}

TEST_F(EraserToolTest, EmptyBoxStaysOpenAndEscClosesIt)
{
    AddCurve({{7000, 1000}, {8000, 1000}}, 0);
    Click(500, 500);
    Click(1500, 1500);
    EXPECT_TRUE(tool->IsBoxOpen());
    EXPECT_EQ(doc.UndoCount(), 0);
    view->OnEditCancel();
    EXPECT_FALSE(tool->IsBoxOpen());
    EXPECT_EQ(ElementCount(), 1);
}

TEST_F(EraserToolTest, ShiftOrCtrlOpensABoxEvenOverAnElement)
{
    for (Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier}) {
        view->OnEditCancel();
        AddCurve({{1000, 1000}, {4000, 1000}}, 0);
        Click(2500, 1050, modifier);
        EXPECT_EQ(Curves().size(), 1u) << "nothing picked";
        EXPECT_TRUE(tool->IsBoxOpen());
        Click(3000, 500);
        EXPECT_TRUE(Curves().empty());
    }
}

TEST_F(EraserToolTest, EmbeddedObjectsGoOnlyWithABox)
{
    auto* object = new COleObjectElement(Page(), 0);
    Pages().AddElementToPage(object);
    object->SetRect(CRect(3000, 3000, 5000, 5000));
    view->SetLastOleElement(object);
    Click(4000, 4000);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_TRUE(tool->IsBoxOpen());
    Click(4500, 4500);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(view->GetLastOleElement(), nullptr) << "no pointer to the deleted object is kept";
}

TEST_F(EraserToolTest, SubToolReportsErasedCurvesBeforeDestroyingThem)
{
    CVTSymmetricDraw owner(view.get());
    CVTEraser sub(view.get(), &owner, 1);
    std::vector<std::pair<CGraphElement*, bool>> reports;
    sub.SetRemovePairHandler([&](CGraphElement* e) {
        bool onPage = false;
        for (CGraphElement* x : Page()->Elements()) onPage = onPage || x == e;
        reports.push_back({e, onPage});
        EXPECT_EQ(e->GetType(), ELEMENT_CURVE) << "the element still exists";
    });
    CCurveElement* curve = AddCurve({{1000, 1000}, {4000, 1000}}, 0);
    AddText(1000, 2000);
    sub.OnLButtonDown(0, 500, 500);
    sub.OnMouseMove(0, 5000, 3000);
    sub.OnLButtonDown(0, 5000, 3000);
    EXPECT_EQ(ElementCount(), 0);
    ASSERT_EQ(reports.size(), 1u) << "texts are not reported";
    EXPECT_EQ(reports[0].first, curve);
    EXPECT_FALSE(reports[0].second) << "off the page when reported";

    // The view's own eraser reports nothing.
    bool reported = false;
    tool->SetRemovePairHandler([&](CGraphElement*) { reported = true; });
    AddCurve({{1000, 1000}, {4000, 1000}}, 0);
    Click(2500, 1000);
    EXPECT_TRUE(Curves().empty());
    EXPECT_FALSE(reported);
}

// Auto snap off means nothing on a curve is captured, so a click on a curve
// picks nothing and opens a box as on empty paper; the box takes the curve
// with the next click. Texts are picked by containment and still go at
// once.
TEST_F(EraserToolTest, WithAutoSnapOffACurveGoesWithABox)
{
    Settings().m_bAutoSnap = 0;
    AddCurve({{1000, 1000}, {4000, 1000}}, 0);
    CTextElement* text = AddText(1000, 3000);
    const CRect box = text->GetBoundRect();
    Click((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_FALSE(tool->IsBoxOpen());
    Click(2500, 1000);
    EXPECT_TRUE(tool->IsBoxOpen());
    EXPECT_EQ(ElementCount(), 1);
    MoveTo(2600, 1100);
    Click(2600, 1100);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(doc.UndoCount(), 2);
}
