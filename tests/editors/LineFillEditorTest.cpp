// The line-fill editor and its dialog through the view: the origin circle
// and the angle arrow grabbed by one click and dropped by the next, Undo
// and Cancel during a drag, the dialog's angle and spacing with its
// refusals, the tool bar's line type and colour, and a fill too dense to
// draw whole.
#include "tests/editors/FillTestSupport.h"

#include "editors/CVTFillLine.h"
#include "geometry/WorkUnits.h"
#include "ui/CLineFillParamDlg.h"
#include "res/CommandIds.h"

#include <QLabel>
#include <QLineEdit>

namespace {

class LineFillEditorTest : public FillViewFixture {
protected:
    void SetUp() override
    {
        FillViewFixture::SetUp();
        Settings().m_crLineColor = RGB(0, 0, 0);
        // Bounds (1000, 1000, 8000, 6000): lines every 4 mm through
        // (4500, 3500), along the x axis.
        curve = AddBox(1000, 1000, 7999, 5999);
        PickAt(3000, 2000);
        ChooseKind(FILL_LINES);
        editor = dynamic_cast<CVTFillLine*>(fill->GetEditor(FILL_LINES));
        ASSERT_EQ(editor->GetElement(), curve);
        steps = doc.UndoCount();
    }
    // Opens the dialog with a double click (on the box unless told where)
    // and answers it.
    void Dialog(std::function<void(CLineFillParamDlg*)> answer, CPoint at = CPoint(3000, 2000))
    {
        ModalAnswers answers;
        answers.Then([answer](QWidget* w) {
            auto* dialog = qobject_cast<CLineFillParamDlg*>(w);
            ASSERT_NE(dialog, nullptr);
            answer(dialog);
        });
        DoubleClick(at.x, at.y);
        EXPECT_EQ(answers.dialogs, 1);
    }

    CClosedCurveElement* curve = nullptr;
    CVTFillLine* editor = nullptr;
    int steps = 0;
};

TEST_F(LineFillEditorTest, TheArrowTurnsTheLines)
{
    // The arrow points along the lines, its head 880 to 1000 units out.
    MoveTo(5450, 3500);
    EXPECT_EQ(editor->GetMode(), CVTFillLine::kOverArrow);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTFillLine::kPromptTurn));
    EXPECT_EQ(view->GetToolCursorId(), CVTFillEditor::kCursorTurn);
    Click(5450, 3500);
    EXPECT_TRUE(view->CanEditCancel());
    // Straight below the origin on the page.
    MoveTo(4500, 5000);
    EXPECT_DOUBLE_EQ(curve->GetLineFillAngle(), 90.0);
    Click(4500, 5000);
    EXPECT_FALSE(view->CanEditCancel());
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    // Upright lines every 4 mm through the origin.
    const QImage page = RenderPage();
    for (int x : {4500, 4900, 4100, 2100}) EXPECT_TRUE(DarkNear(page, x, 2000)) << x;
    for (int x : {4700, 4300}) EXPECT_FALSE(DarkNear(page, x, 2000)) << x;

    // Back to the right: angle 0.
    Click(4500, 4450);
    ASSERT_EQ(editor->GetMode(), CVTFillLine::kTurning);
    Click(6000, 3500);
    EXPECT_DOUBLE_EQ(curve->GetLineFillAngle(), 0.0);

    view->OnEditUndo();
    EXPECT_DOUBLE_EQ(ClosedAt(0)->GetLineFillAngle(), 90.0);
}

TEST_F(LineFillEditorTest, TheCircleMovesTheOrigin)
{
    MoveTo(4530, 3480);
    EXPECT_EQ(editor->GetMode(), CVTFillLine::kOverOrigin);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTFillLine::kPromptMove));
    Click(4530, 3480);
    MoveTo(4700, 3700);
    EXPECT_EQ(curve->GetLineFillOrigin(), CPoint(4700, 3700));
    Click(4700, 3700);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    const QImage page = RenderPage();
    for (int y : {3700, 3300, 4100}) EXPECT_TRUE(DarkNear(page, 2000, y)) << y;
    EXPECT_FALSE(DarkNear(page, 2000, 3500));
}

TEST_F(LineFillEditorTest, UndoOrCancelDuringADragPutTheLinesBack)
{
    doc.SetModifiedFlag(false);
    const std::string before = Record(curve);
    Click(4500, 3500);
    MoveTo(5000, 4000);
    EXPECT_NE(Record(curve), before);
    view->OnEditUndo();
    EXPECT_EQ(Record(curve), before);

    Click(5450, 3500);
    MoveTo(5000, 5000);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Record(curve), before);
    EXPECT_EQ(doc.UndoCount(), steps);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.HasPendingUndoStep());
    EXPECT_FALSE(view->CanEditCancel());
}

// A document opened or made new in the middle of a drag ends the drag
// without touching the curve that went with the old content, and no step
// of the old content reaches the new one.
TEST_F(LineFillEditorTest, NewContentInTheMiddleOfADragEndsIt)
{
    Click(4500, 3500);
    MoveTo(5000, 4000);
    ASSERT_TRUE(view->CanEditCancel());
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(view->CanEditCancel());
    EXPECT_EQ(fill->GetPickedCurve(), nullptr);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.HasPendingUndoStep());
    MoveTo(3000, 3000);
    Click(3000, 3000);
    EXPECT_TRUE(Curves().empty());
}

TEST_F(LineFillEditorTest, TheDialogCountsTheAngleTheOtherWayRound)
{
    struct Case {
        double angle;
        const char* shown;
        const char* typed;
        double stored;
    };
    const Case cases[] = {
        {30.0, "330", "90", 270.0},
        {12.345, "347.7", "347.7", 12.345},  // left as shown: kept exactly
        {12.345, "347.7", "300", 60.0},
        {0.0, "360", "-90", 450.0},
        // From a file, beyond a turn: taken back as shown.
        {-30.0, "390", "390", -30.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        curve->SetLineFillAngle(c.angle);
        Dialog([&](CLineFillParamDlg* dialog) {
            EXPECT_EQ(dialog->AngleEdit()->text(), QString::fromUtf8(c.shown));
            dialog->AngleEdit()->setText(QString::fromUtf8(c.typed));
            dialog->accept();
        });
        EXPECT_DOUBLE_EQ(curve->GetLineFillAngle(), c.stored);
    }
}

// A spacing that is no length, or none, and an angle beyond a whole turn
// are refused with a message and the dialog stays open.
TEST_F(LineFillEditorTest, TheDialogRefusesWhatItCannotDraw)
{
    Settings().m_nWorkUnit = kWorkUnitMillimetre;
    Settings().m_nPrecision = 100;
    const std::string before = Record(curve);
    struct Case {
        const char* angle;
        const char* spacing;
        int message;
    };
    const Case refused[] = {
        {"0", "0", CLineFillParamDlg::kMessageSpacing},
        {"0", "abc", CLineFillParamDlg::kMessageSpacing},
        {"0", "-2", CLineFillParamDlg::kMessageSpacing},
        {"0", "0.001", CLineFillParamDlg::kMessageSpacing},
        {"400", "4", CLineFillParamDlg::kMessageAngle},
        {"x", "4", CLineFillParamDlg::kMessageAngle},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(std::string(c.angle) + " " + c.spacing);
        QStringList messages;
        bool stayedOpen = false;
        Dialog([&](CLineFillParamDlg* dialog) {
            EXPECT_EQ(dialog->UnitLabel()->text(), QStringLiteral("mm"));
            EXPECT_EQ(dialog->SpacingEdit()->text(), QStringLiteral("4"));
            dialog->AngleEdit()->setText(QString::fromUtf8(c.angle));
            dialog->SpacingEdit()->setText(QString::fromUtf8(c.spacing));
            ModalAnswers box;
            dialog->accept();
            messages = box.messages;
            stayedOpen = dialog->isVisible();
            dialog->reject();
        });
        EXPECT_EQ(messages, QStringList{LoadResString(c.message)});
        EXPECT_TRUE(stayedOpen);
    }
    EXPECT_EQ(Record(curve), before);
    EXPECT_EQ(doc.UndoCount(), steps);

    Dialog([](CLineFillParamDlg* dialog) {
        dialog->SpacingEdit()->setText(QStringLiteral("2.5"));
        dialog->accept();
    });
    EXPECT_EQ(curve->GetLineFillSpacing(), 250);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    // OK with nothing changed costs nothing.
    Dialog([](CLineFillParamDlg* dialog) { dialog->accept(); });
    EXPECT_EQ(doc.UndoCount(), steps + 1);
}

TEST_F(LineFillEditorTest, TheToolBarsLineTypeAndColourDrawTheLines)
{
    Settings().m_crLineColor = RGB(255, 0, 0);
    view->OnCommand(ID_LINE_COLOR);
    EXPECT_EQ(curve->GetLineFillStyle().GetColor(), RGB(255, 0, 0));
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_TRUE(ColourNear(RenderPage(), 3000, 3500, qRgb(255, 0, 0), 1));
    view->OnCommand(ID_LINE_COLOR);
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    Settings().m_nCurLineType = 1;
    view->OnCommand(ID_LINE_TYPE);
    EXPECT_TRUE(curve->GetLineFillStyle().GetLineAttr() == Settings().m_aLineTypes[1]);
    EXPECT_EQ(doc.UndoCount(), steps + 2);
}

// A spacing far too fine for a large curve is drawn with only every n-th
// line, and the status bar says so: the fill never vanishes unsaid.
TEST_F(LineFillEditorTest, AFillTooDenseToDrawWholeIsThinnedAndSaidSo)
{
    Settings().m_nWorkUnit = kWorkUnitMillimetre;
    Settings().m_nPrecision = 100;
    // 400 m high: 40 million lines one unit apart.
    CClosedCurveElement* tall = AddBox(0, -19999000, 9000, 20001000);
    fill->EditFill(tall);
    ChooseKind(FILL_LINES);
    ASSERT_EQ(tall->GetLineFillOrigin(), CPoint(4500, 1000));
    Dialog([](CLineFillParamDlg* dialog) {
        dialog->SpacingEdit()->setText(QStringLiteral("0.01"));
        dialog->accept();
    }, CPoint(500, 6500));
    EXPECT_EQ(tall->GetLineFillSpacing(), 1);
    const int stride = tall->GetLineFillStride();
    EXPECT_EQ(stride, 2001);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTFillLine::kPromptThinned).arg(stride));
    // The lines drawn still pass through the origin.
    const QImage page = RenderPage();
    EXPECT_TRUE(DarkNear(page, 6000, 1000));
    EXPECT_TRUE(DarkNear(page, 6000, 1000 + stride));
    EXPECT_FALSE(DarkNear(page, 6000, 2000));
}

// Dashed lines one unit apart over a square of 6 cm: 6,000 lines of 30
// dashes each, far more dashes than one paint lays out. The view draws
// the lines plain instead, the square filled all over (the fill once
// stopped a third of the way, without a word), and the status bar says
// why.
TEST_F(LineFillEditorTest, DashesTooManyToDrawAreDrawnPlainAndSaidSo)
{
    Settings().m_nWorkUnit = kWorkUnitMillimetre;
    Settings().m_nPrecision = 100;
    Settings().m_nCurLineType = 1;  // dashed
    CClosedCurveElement* square = AddBox(500, 500, 6500, 6500);
    fill->EditFill(square);
    ChooseKind(FILL_LINES);
    ASSERT_EQ(square->GetLineFillStyle().GetLineAttr().GetKind(), LINE_DASH);
    Dialog([](CLineFillParamDlg* dialog) {
        dialog->SpacingEdit()->setText(QStringLiteral("0.01"));
        dialog->accept();
    }, CPoint(2000, 2000));
    ASSERT_EQ(square->GetLineFillSpacing(), 1);
    EXPECT_EQ(square->GetLineFillStride(), 1);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTFillLine::kPromptDrawnPlain));

    const QImage page = RenderPage();
    for (int y = 700; y <= 6300; y += 400)
        for (int x = 700; x <= 6300; x += 800) EXPECT_TRUE(DarkNear(page, x, y, 0)) << x << "," << y;
}

} // namespace

