// The fill tool, reached as the user reaches it: a closed curve picked
// with a click, a fill kind chosen as the tool bar's combo chooses it, the
// gradient colours from the pickers, Shift, Delete, the clipboard, the
// temporary zoom, and what a saved document keeps.
#include "tests/editors/FillTestSupport.h"

#include "shell/CMainFrame.h"
#include "shell/CMainToolBar.h"
#include "editors/CVTFillBitmap.h"
#include "editors/CVTFillEditor.h"
#include "ui/CFillTypeCombo.h"
#include "res/CommandIds.h"

#include <QImage>

#include <functional>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class FillToolTest : public FillViewFixture {
protected:
    void SetUp() override
    {
        FillViewFixture::SetUp();
        Settings().m_crGradientStart = kRed;
        Settings().m_crGradientEnd = kBlue;
        // The whole of a curve of 100 x 60 mm in the window.
        view->SetViewTransform(12.0, -500, -500);
    }

    // A picture file of one colour.
    QString Picture(const char* name, QColor colour, int w = 4, int h = 4)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = home.filePath(QString::fromUtf8(name));
        EXPECT_TRUE(image.save(path));
        return path;
    }
};

// A curve whose bounds are (0, 0, 10000, 6000) gets each fill laid out on
// those bounds, as one undo step, with its editor holding the curve, and
// the page shows it.
TEST_F(FillToolTest, EachFillKindIsLaidOutOnTheCurvesBounds)
{
    CClosedCurveElement* curve = AddBox(0, 0, 9999, 5999);
    ASSERT_EQ(curve->GetBoundRect(), CRect(0, 0, 10000, 6000));
    PickAt(5000, 3000);
    ASSERT_EQ(fill->GetPickedCurve(), curve);

    struct Case {
        int kind;
        std::function<void(CClosedCurveElement*)> fields;
        std::function<void(const QImage&)> pixels;
    };
    const std::vector<Case> cases = {
        {FILL_SOLID,
         [](CClosedCurveElement* c) { EXPECT_EQ(c->GetStartColor(), kRed); },
         [this](const QImage& page) { EXPECT_TRUE(Near(PixelOfPage(page, 5000, 3000), Rgb(kRed))); }},
        {FILL_LINEAR,
         [](CClosedCurveElement* c) {
             EXPECT_EQ(c->GetGradientStart(), CPoint(0, 3000));
             EXPECT_EQ(c->GetGradientEnd(), CPoint(10000, 3000));
             EXPECT_DOUBLE_EQ(c->GetBlendPosition(), 0.5);
             EXPECT_DOUBLE_EQ(c->GetFillAngle(), 0.0);
             EXPECT_EQ(c->GetStartColor(), kRed);
             EXPECT_EQ(c->GetEndColor(), kBlue);
         },
         [this](const QImage& page) {
             EXPECT_TRUE(Near(PixelOfPage(page, 60, 3000), Rgb(kRed), 12));
             EXPECT_TRUE(Near(PixelOfPage(page, 9940, 3000), Rgb(kBlue), 12));
             EXPECT_TRUE(Near(PixelOfPage(page, 5000, 3000), qRgb(128, 0, 128), 12));
         }},
        {FILL_CIRCULAR,
         [](CClosedCurveElement* c) {
             EXPECT_EQ(c->GetGradientCenter(), CPoint(5000, 3000));
             EXPECT_EQ(c->GetGradientStart(), CPoint(10000, 3000));
             EXPECT_DOUBLE_EQ(c->GetBlendPosition(), 0.5);
             EXPECT_DOUBLE_EQ(c->GetSecondBlendPosition(), 0.0);
             EXPECT_EQ(c->GetStartColor(), kRed);
             EXPECT_EQ(c->GetCenterColor(), kBlue);
         },
         [this](const QImage& page) {
             EXPECT_TRUE(Near(PixelOfPage(page, 5000, 3000), Rgb(kBlue), 12));
             EXPECT_TRUE(Near(PixelOfPage(page, 60, 60), Rgb(kRed), 16));
         }},
        {FILL_CONICAL,
         [](CClosedCurveElement* c) {
             EXPECT_EQ(c->GetGradientCenter(), CPoint(5000, 3000));
             EXPECT_EQ(c->GetGradientStart(), CPoint(10000, 3000));
             EXPECT_EQ(c->GetGradientEnd(), CPoint(0, 3000));
             EXPECT_DOUBLE_EQ(c->GetFillAngle(), 0.0);
             EXPECT_DOUBLE_EQ(c->GetBlendPosition(), 0.5);
             EXPECT_EQ(c->GetStartColor(), kRed);
             EXPECT_EQ(c->GetEndColor(), kBlue);
         },
         [this](const QImage& page) {
             // The start colour at the fill angle, the end colour opposite.
             EXPECT_TRUE(Near(PixelOfPage(page, 9000, 3000), Rgb(kRed), 12));
             EXPECT_TRUE(Near(PixelOfPage(page, 1000, 3000), Rgb(kBlue), 12));
         }},
        {FILL_SQUARE,
         [](CClosedCurveElement* c) {
             EXPECT_EQ(c->GetGradientCenter(), CPoint(5000, 3000));
             EXPECT_EQ(c->GetGradientStart(), CPoint(10000, 3000));
             EXPECT_DOUBLE_EQ(c->GetFillAngle(), 0.0);
             EXPECT_DOUBLE_EQ(c->GetBlendPosition(), 0.5);
             EXPECT_DOUBLE_EQ(c->GetSecondBlendPosition(), 0.0);
             EXPECT_EQ(c->GetStartColor(), kRed);
             EXPECT_EQ(c->GetCenterColor(), kBlue);
         },
         [this](const QImage& page) {
             EXPECT_TRUE(Near(PixelOfPage(page, 5000, 3000), Rgb(kBlue), 12));
             const QRgb edge = PixelOfPage(page, 300, 3000);
             EXPECT_GT(qRed(edge), qBlue(edge));
         }},
        {FILL_LINES,
         [](CClosedCurveElement* c) {
             const CFillStyle style = c->GetLineFillStyle();
             EXPECT_EQ(style.GetOrigin(), CPoint(5000, 3000));
             EXPECT_EQ(style.GetSpacing(), 400);
             EXPECT_DOUBLE_EQ(style.GetAngle(), 0.0);
             EXPECT_EQ(style.GetColor(), Settings().m_crLineColor);
             EXPECT_TRUE(style.GetLineAttr() == Settings().m_aLineTypes[0]);
         },
         [this](const QImage& page) {
             // Horizontal lines every 4 mm through the centre.
             for (int y : {3000, 3400, 2600, 1000}) EXPECT_TRUE(DarkNear(page, 5000, y)) << y;
             for (int y : {3200, 2800}) EXPECT_FALSE(DarkNear(page, 5000, y)) << y;
         }},
    };

    int steps = doc.UndoCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ChooseKind(c.kind);
        EXPECT_EQ(curve->GetFillKind(), c.kind);
        EXPECT_EQ(doc.UndoCount(), std::min(++steps, CVEKDoc::kUndoDepth));
        c.fields(curve);
        if (CVTFillEditor* editor = fill->GetEditor(c.kind)) EXPECT_EQ(editor->GetElement(), curve);
        c.pixels(RenderPage());
    }

    // Each choice is undone on its own.
    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetFillKind(), FILL_SQUARE);
    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetFillKind(), FILL_CONICAL);
}

TEST_F(FillToolTest, ChoosingTheKindACurveHasCostsNothingButALineFillStartsOver)
{
    CClosedCurveElement* curve = AddBox(0, 0, 7999, 3999);
    PickAt(4000, 2000);
    for (int kind : {FILL_SOLID, FILL_LINEAR, FILL_CIRCULAR, FILL_CONICAL, FILL_SQUARE}) {
        SCOPED_TRACE(kind);
        ChooseKind(kind);
        const std::string before = Record(curve);
        const int steps = doc.UndoCount();
        ChooseKind(kind);
        EXPECT_EQ(Record(curve), before);
        EXPECT_EQ(doc.UndoCount(), steps);
    }

    ChooseKind(FILL_LINES);
    curve->SetLineFillOrigin(100, 100);
    curve->SetLineFillSpacing(900);
    doc.ClearUndoList();
    ChooseKind(FILL_LINES);
    EXPECT_EQ(curve->GetLineFillOrigin(), CPoint(4000, 2000));
    EXPECT_EQ(curve->GetLineFillSpacing(), 400);
    EXPECT_EQ(doc.UndoCount(), 1);
    // Starting over from what it already is changes nothing.
    ChooseKind(FILL_LINES);
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(FillToolTest, WithoutAPickedCurveAChoiceChangesNothing)
{
    CClosedCurveElement* curve = AddBox(1000, 1000, 5000, 4000);
    doc.SetModifiedFlag(false);
    for (int kind = FILL_NONE; kind <= FILL_LINES; ++kind) ChooseKind(kind);
    ChooseStartColour(kGreen);
    ChooseEndColour(kGreen);
    EXPECT_EQ(curve->GetFillKind(), FILL_NONE);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(FillToolTest, PickerColoursGoWhereTheKindKeepsThem)
{
    CClosedCurveElement* curve = AddBox(1000, 1000, 5000, 4000);
    PickAt(3000, 2500);
    ChooseKind(FILL_LINEAR);
    int steps = doc.UndoCount();

    // The colour the curve already has takes no step.
    ChooseStartColour(kRed);
    EXPECT_EQ(doc.UndoCount(), steps);
    ChooseStartColour(kGreen);
    EXPECT_EQ(curve->GetStartColor(), kGreen);
    EXPECT_EQ(curve->GetEndColor(), kBlue);
    EXPECT_EQ(doc.UndoCount(), ++steps);
    ChooseEndColour(kRed);
    EXPECT_EQ(curve->GetStartColor(), kGreen);
    EXPECT_EQ(curve->GetEndColor(), kRed);
    EXPECT_EQ(doc.UndoCount(), ++steps);

    // A circular gradient's end colour is its centre colour.
    ChooseKind(FILL_CIRCULAR);
    steps = doc.UndoCount();
    const COLORREF end = curve->GetEndColor();
    ChooseEndColour(kGreen);
    EXPECT_EQ(curve->GetCenterColor(), kGreen);
    EXPECT_EQ(curve->GetEndColor(), end);
    EXPECT_EQ(doc.UndoCount(), ++steps);
    EXPECT_TRUE(Near(PixelOfPage(RenderPage(), 3000, 2500), Rgb(kGreen), 12));

    // A solid fill takes only the start colour; no fill, a line fill and
    // a bitmap take neither.
    ChooseKind(FILL_SOLID);
    steps = doc.UndoCount();
    ChooseEndColour(kBlue);
    EXPECT_EQ(doc.UndoCount(), steps);
    ChooseStartColour(kBlue);
    EXPECT_EQ(curve->GetStartColor(), kBlue);
    ChooseKind(FILL_LINES);
    const std::string lines = Record(curve);
    steps = doc.UndoCount();
    ChooseStartColour(kRed);
    ChooseEndColour(kRed);
    EXPECT_EQ(Record(curve), lines);
    EXPECT_EQ(doc.UndoCount(), steps);
}

TEST_F(FillToolTest, ShiftTogglesTheFillRuleAndDeleteTakesTheFillAway)
{
    CClosedCurveElement* curve = AddBox(1000, 1000, 5000, 4000);
    // Nothing picked: the keys do nothing.
    Shift();
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc.UndoCount(), 0);

    PickAt(3000, 2500);
    ChooseKind(FILL_SOLID);
    const int steps = doc.UndoCount();
    Shift();
    EXPECT_EQ(curve->GetFillMode(), FILL_MODE_WINDING);
    Shift();
    EXPECT_EQ(curve->GetFillMode(), FILL_MODE_ALTERNATE);
    EXPECT_EQ(doc.UndoCount(), steps + 2);

    Key(Qt::Key_Delete);
    EXPECT_EQ(curve->GetFillKind(), FILL_NONE);
    EXPECT_EQ(Curves().size(), 1u);
    EXPECT_EQ(doc.UndoCount(), steps + 3);
    EXPECT_FALSE(Near(PixelOfPage(RenderPage(), 3000, 2500), Rgb(kRed)));
    // A curve without a fill loses nothing more.
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc.UndoCount(), steps + 3);

    view->OnEditUndo();
    EXPECT_EQ(ClosedAt(0)->GetFillKind(), FILL_SOLID);
}

TEST_F(FillToolTest, ClicksPickCurvesAndTheRightButtonLetsGo)
{
    CClosedCurveElement* a = AddBox(1000, 1000, 3000, 3000);
    CClosedCurveElement* b = AddBox(5000, 1000, 7000, 3000);
    MoveTo(2000, 2000);
    EXPECT_EQ(fill->GetHoveredCurve(), a);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTFill::kPromptPick));
    Click(2000, 2000);
    EXPECT_EQ(fill->GetPickedCurve(), a);
    EXPECT_EQ(fill->GetHoveredCurve(), nullptr);

    // A click on the empty page keeps the curve.
    Click(4000, 5000);
    EXPECT_EQ(fill->GetPickedCurve(), a);

    // Inside another curve, away from every handle, the editor lets the
    // click pick that one.
    ChooseKind(FILL_LINEAR);
    Click(6000, 2500);
    EXPECT_EQ(fill->GetPickedCurve(), b);
    // Picking changes no fill.
    EXPECT_EQ(b->GetFillKind(), FILL_NONE);

    RightClick(6000, 2500);
    EXPECT_EQ(fill->GetPickedCurve(), nullptr);
    const int steps = doc.UndoCount();
    ChooseKind(FILL_SOLID);
    EXPECT_EQ(b->GetFillKind(), FILL_NONE);
    EXPECT_EQ(doc.UndoCount(), steps);

    // The seam other tools hand a curve over by.
    fill->EditFill(a);
    EXPECT_EQ(fill->GetPickedCurve(), a);
    EXPECT_EQ(fill->GetEditor(FILL_LINEAR)->GetElement(), a);
}

TEST_F(FillToolTest, ABitmapFillIsReadBeforeAnythingChanges)
{
    CClosedCurveElement* curve = AddBox(1000, 1000, 4999, 2999);
    PickAt(3000, 2000);
    const std::string before = Record(curve);
    doc.SetModifiedFlag(false);

    {
        // Cancelled: the fill type goes back to the curve's.
        ModalAnswers answers;
        answers.ChooseFile(QString());
        ChooseKind(FILL_BITMAP);
        EXPECT_EQ(answers.dialogs, 1);
    }
    EXPECT_EQ(Settings().m_nFillType, FILL_NONE);
    EXPECT_EQ(Record(curve), before);

    {
        // Unreadable: the message, and nothing changed or remembered.
        QFile text(home.filePath("notes.png"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("no picture");
        text.close();
        ModalAnswers answers;
        answers.ChooseFile(text.fileName());
        ChooseKind(FILL_BITMAP);
        EXPECT_EQ(answers.messages, QStringList{LoadResString(CVTFill::kMessageCannotOpen)});
    }
    EXPECT_EQ(Settings().m_nFillType, FILL_NONE);
    EXPECT_EQ(Record(curve), before);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.HasPendingUndoStep());

    {
        ModalAnswers answers;
        answers.ChooseFile(Picture("green.png", Qt::green));
        ChooseKind(FILL_BITMAP);
    }
    EXPECT_EQ(curve->GetFillKind(), FILL_BITMAP);
    ASSERT_NE(curve->GetFillBitmap(), nullptr);
    EXPECT_EQ(curve->GetBitmapTileSize(), CSize(4000, 2000));
    EXPECT_EQ(curve->GetBitmapCenter(), CPoint(3000, 2000));
    EXPECT_EQ(fill->GetEditor(FILL_BITMAP)->GetElement(), curve);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(Near(PixelOfPage(RenderPage(), 2000, 1500), qRgb(0, 255, 0)));

    // A second picture that cannot be read leaves the first.
    {
        ModalAnswers answers;
        answers.ChooseFile(home.filePath("notes.png"));
        fill->GetEditor(FILL_BITMAP)->OnLButtonDblClk(0, 3000, 2000);
        EXPECT_EQ(answers.messages.size(), 1);
    }
    ASSERT_NE(curve->GetFillBitmap(), nullptr);
    EXPECT_EQ(curve->GetFillBitmap()->Image().pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(doc.UndoCount(), 1);

    view->OnEditUndo();
    EXPECT_EQ(Record(ClosedAt(0)), before);
}

TEST_F(FillToolTest, CutTakesThePickedCurveAway)
{
    AddBox(1000, 1000, 3000, 3000);
    EXPECT_FALSE(view->IsCommandEnabled(ID_EDIT_CUT));
    PickAt(2000, 2000);
    ChooseKind(FILL_SOLID);
    EXPECT_TRUE(fill->CanCopy());
    const int steps = doc.UndoCount();
    view->OnEditCut();
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(fill->GetPickedCurve(), nullptr);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    view->OnEditUndo();
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(ClosedAt(0)->GetFillKind(), FILL_SOLID);
}

TEST_F(FillToolTest, SpaceHeldZoomsWithoutTouchingTheFill)
{
    CClosedCurveElement* curve = AddBox(1000, 1000, 3000, 3000);
    PickAt(2000, 2000);
    ChooseKind(FILL_LINEAR);
    const std::string before = Record(curve);
    const double scale = view->GetScale();

    KeyDown(Qt::Key_Space);
    EXPECT_TRUE(fill->IsZoomMode());
    EXPECT_EQ(view->GetToolCursorId(), 150);
    Click(1500, 1500);
    Click(2500, 2500);
    KeyUp(Qt::Key_Space);
    EXPECT_FALSE(fill->IsZoomMode());
    EXPECT_LT(view->GetScale(), scale);
    EXPECT_EQ(Record(curve), before);
    EXPECT_EQ(fill->GetPickedCurve(), curve);
    EXPECT_EQ(view->GetToolCursorId(), CVTFill::kCursor);
}

// Every fill kind made with the tool comes back from the saved file as it
// was stored.
TEST_F(FillToolTest, ASavedDocumentKeepsEveryFill)
{
    const QString picture = Picture("tile.png", QColor(10, 200, 30), 3, 2);
    std::vector<std::string> records;
    for (int kind = FILL_BITMAP; kind <= FILL_LINES; ++kind) {
        const int x = 200 + (kind - 1) * 1200;
        CClosedCurveElement* c = AddBox(x, 1000, x + 1000, 3000);
        fill->EditFill(c);
        ModalAnswers answers;
        if (kind == FILL_BITMAP) answers.ChooseFile(picture);
        ChooseKind(kind);
        ASSERT_EQ(c->GetFillKind(), kind);
        records.push_back(Record(c));
    }
    const QString path = home.filePath("fills.vek");
    QString error;
    ASSERT_TRUE(doc.OnSaveDocument(path, &error)) << error.toStdString();

    CVEKDoc other;
    ASSERT_EQ(other.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    std::vector<std::string> reopened;
    for (CGraphElement* e : other.GetPageSet()->GetCurrentPage()->Elements()) reopened.push_back(Record(e));
    EXPECT_EQ(reopened, records);
}

// The combo and the colour groups of the main window's tool bar.
class FillToolBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame->NewDocument());
        Settings().m_strBackupFile = home.filePath(QStringLiteral("backup.vek")).toStdString();
        frame->resize(1200, 800);
        frame->show();
        QApplication::processEvents();
        view = frame->GetEditingView();
        view->SetViewTransform(10.0, 0, 0);
        combo = frame->GetMainToolBar()->FillTypeCombo();
        view->OnToolCommand(ID_TOOL_FILL);
        fill = dynamic_cast<CVTFill*>(view->GetCurrentTool());
    }
    CClosedCurveElement* Box(int left, int top, int right, int bottom, int kind)
    {
        CPage* page = frame->GetDocument()->GetPageSet()->GetCurrentPage();
        CCurveNodeList nodes;
        for (CPoint p : {CPoint(left, top), CPoint(right, top), CPoint(right, bottom), CPoint(left, bottom)}) {
            auto* point = new CSharedPoint(page, p.x, p.y);
            page->AddPoint(point);
            nodes.AddTail(new CCurveNode(point, NODE_CORNER));
        }
        auto* c = new CClosedCurveElement(page, 0, CLineAttr(1), 0, nodes, nullptr);
        c->SetFillKind(kind);
        frame->GetDocument()->GetPageSet()->AddElementToPage(c);
        return c;
    }
    void ClickAt(int x, int y)
    {
        const CPoint d = view->ModelToDevicePoint(x, y);
        const QPointF p(d.x, d.y);
        for (QEvent::Type type : {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QMouseEvent e(type, p, view->mapToGlobal(p), button, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(view, &e);
        }
    }
    const CMainFrame::ContextGroups& Groups() const { return frame->GetContextGroups(); }

    QTemporaryDir home;
    std::unique_ptr<CMainFrame> frame;
    CVEKView* view = nullptr;
    CFillTypeCombo* combo = nullptr;
    CVTFill* fill = nullptr;
};

TEST_F(FillToolBarTest, ThePickedCurvesKindShowsWithoutBecomingTheChoice)
{
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(Groups().fillType, 1);
    Box(1000, 1000, 3000, 3000, FILL_LINES);
    Box(5000, 1000, 7000, 3000, FILL_CIRCULAR);
    Settings().m_nFillType = FILL_SOLID;

    struct Case {
        int x;
        int kind;
        int line;
        int start;
        int end;
    };
    for (const Case& c : {Case{2000, FILL_LINES, 1, 0, 0}, Case{6000, FILL_CIRCULAR, 0, 1, 1}}) {
        SCOPED_TRACE(c.kind);
        ClickAt(c.x, 2000);
        EXPECT_EQ(combo->currentData().toInt(), c.kind);
        EXPECT_EQ(Settings().m_nFillType, FILL_SOLID);
        EXPECT_EQ(Groups().lineType, c.line);
        EXPECT_EQ(Groups().lineColor, c.line);
        EXPECT_EQ(Groups().arrows, 0);
        EXPECT_EQ(Groups().gradientStart, c.start);
        EXPECT_EQ(Groups().gradientEnd, c.end);
    }

    // A choice in the combo fills the picked curve at once.
    combo->setCurrentIndex(combo->findData(FILL_CONICAL));
    EXPECT_EQ(fill->GetPickedCurve()->GetFillKind(), FILL_CONICAL);
    EXPECT_EQ(Settings().m_nFillType, FILL_CONICAL);

    // Leaving the tool hides every fill control.
    view->OnToolCommand(ID_TOOL_CURVE);
    EXPECT_EQ(Groups().fillType, 0);
    EXPECT_EQ(Groups().gradientStart, 0);
    EXPECT_EQ(Groups().gradientEnd, 0);
}

TEST_F(FillToolBarTest, ACancelledPictureShowsTheOldKindAgain)
{
    CClosedCurveElement* curve = Box(1000, 1000, 3000, 3000, FILL_SOLID);
    ClickAt(2000, 2000);
    ASSERT_EQ(fill->GetPickedCurve(), curve);
    {
        ModalAnswers answers;
        answers.ChooseFile(QString());
        combo->setCurrentIndex(combo->findData(FILL_BITMAP));
    }
    EXPECT_EQ(curve->GetFillKind(), FILL_SOLID);
    EXPECT_EQ(combo->currentData().toInt(), FILL_SOLID);
    EXPECT_EQ(Settings().m_nFillType, FILL_SOLID);
}

} // namespace
