#include "tests/tools/ShapeTestSupport.h"

#include "tools/CVTOffsetLine.h"
#include "ui/CCalculatorDlg.h"
#include "ui/CCircleRadiusDlg.h"
#include "ui/CEllipseSizeDlg.h"
#include "ui/CLengthDlg.h"
#include "ui/CPointOnCurveDlg.h"
#include "ui/CPolygonRadiusDlg.h"
#include "ui/CShapeSizeDlg.h"

#include "settings/CSystemSettings.h"
#include "geometry/WorkUnits.h"
#include "res/CommandIds.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <tuple>
#include <vector>

namespace {

// A tool that only records the mouse moves the prompts send it.
class MoveSpy : public CVectorTool {
public:
    BOOL OnMouseMove(UINT flags, int x, int y) override
    {
        moves.emplace_back(flags, x, y);
        return TRUE;
    }
    CPoint Last() const { return moves.empty() ? CPoint(-1, -1) : CPoint(std::get<1>(moves.back()), std::get<2>(moves.back())); }
    std::vector<std::tuple<UINT, int, int>> moves;
};

class ValuePromptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings().SetDefaults();
        Settings().m_nWorkUnit = kWorkUnitMillimetre;
    }
    void TearDown() override { ++ModalGeneration(); }

    MoveSpy spy;
};

} // namespace

TEST_F(ValuePromptTest, LengthPromptOpensWithTheDistanceInTheWorkUnit)
{
    CLengthDlg dialog(&spy);
    dialog.m_ptFrom = CPoint(1000, 1000);
    dialog.m_ptTo = CPoint(3000, 1000);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("长度"));
    EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("20"));
    EXPECT_EQ(dialog.UnitLabel()->text(), QStringLiteral("mm"));
    EXPECT_EQ(dialog.ValueEdit()->selectedText(), QStringLiteral("20"));
    EXPECT_TRUE(spy.moves.empty()) << "opening moves nothing";
    EXPECT_EQ(CCircleRadiusDlg(&spy).windowTitle(), QStringLiteral("圆"));
    EXPECT_EQ(CPolygonRadiusDlg(&spy).windowTitle(), QStringLiteral(" 正多边形的外接圆半径"));
}

// Every prompt opens left of and above the screen point (400, 400), 10
// pixels away, wherever its main window stands: not over the middle of
// the drawing.
TEST_F(ValuePromptTest, PromptsOpenBesideTheScreenPoint400400)
{
    QWidget mainWindow;
    mainWindow.setGeometry(700, 500, 1000, 700);
    mainWindow.show();
    const CPointList outline{{0, 0}, {4000, 0}};
    std::vector<std::unique_ptr<CCaptionCalcDlg>> prompts;
    prompts.push_back(std::make_unique<CLengthDlg>(&spy, CLengthDlg::IDD, &mainWindow));
    prompts.push_back(std::make_unique<CCircleRadiusDlg>(&spy, &mainWindow));
    prompts.push_back(std::make_unique<CPolygonRadiusDlg>(&spy, &mainWindow));
    prompts.push_back(std::make_unique<CShapeSizeDlg>(&spy, CShapeSizeDlg::IDD, &mainWindow));
    prompts.push_back(std::make_unique<CEllipseSizeDlg>(&spy, &mainWindow));
    prompts.push_back(std::make_unique<CPointOnCurveDlg>(spy, outline, 1000, CPoint(0, 0), &mainWindow));
    for (const auto& prompt : prompts) {
        prompt->show();
        const QRect frame = prompt->frameGeometry();
        EXPECT_EQ(frame.x() + frame.width(), 390) << prompt->GetTemplateId();
        EXPECT_EQ(frame.y() + frame.height(), 390) << prompt->GetTemplateId();
        // Shown again, it stays where it was put.
        prompt->hide();
        prompt->show();
        EXPECT_EQ(prompt->frameGeometry(), frame) << prompt->GetTemplateId();
        prompt->hide();
    }
}

TEST_F(ValuePromptTest, TypedLengthMovesThePreviewAlongTheDirection)
{
    CLengthDlg dialog(&spy);
    dialog.m_ptFrom = CPoint(1000, 1000);
    dialog.m_ptTo = CPoint(4000, 5000);
    dialog.show();
    Type(dialog.ValueEdit(), QStringLiteral("10"));
    ASSERT_EQ(spy.moves.size(), 1u);
    EXPECT_EQ(std::get<0>(spy.moves[0]), MK_CONTROL);
    EXPECT_EQ(spy.Last(), CPoint(1600, 1800));
    EXPECT_EQ(dialog.m_nValue, 1000);
    // Half-typed or refused text leaves the preview where it was.
    for (const char* partial : {"", "-", "1.2.", "0"}) Type(dialog.ValueEdit(), QString::fromLatin1(partial));
    EXPECT_EQ(spy.moves.size(), 1u);
    Type(dialog.ValueEdit(), QStringLiteral("2.5"));
    EXPECT_EQ(spy.Last(), CPoint(1150, 1200));
}

TEST_F(ValuePromptTest, CoincidingPointsPreviewAlongX)
{
    CLengthDlg dialog(&spy);
    dialog.m_ptFrom = dialog.m_ptTo = CPoint(2000, 3000);
    dialog.show();
    EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("0"));
    Type(dialog.ValueEdit(), QStringLiteral("5"));
    EXPECT_EQ(spy.Last(), CPoint(2500, 3000));
}

TEST_F(ValuePromptTest, OffsetModeTakesASignAndSetsTheToolsDistance)
{
    CVTOffsetLine offset(nullptr);
    CLengthDlg dialog(&offset);
    dialog.m_bOffsetMode = 1;
    dialog.m_nValue = -1250;
    dialog.show();
    EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("-12.5"));
    Type(dialog.ValueEdit(), QStringLiteral("-2.5"));
    EXPECT_EQ(offset.GetDistance(), -250);
    Type(dialog.ValueEdit(), QStringLiteral("0"));
    EXPECT_EQ(offset.GetDistance(), 0);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nValue, 0);
}

TEST_F(ValuePromptTest, OkRefusesWhatIsNoLengthWithAMessage)
{
    struct Case {
        const char* text;
        int message;
    };
    const Case cases[] = {
        {"", 36130}, {"abc", 36130}, {"12mm", 36130}, {"0", 36079}, {"-3", 36079}, {"10001", 36131}, {"1e9", 36131},
    };
    CLengthDlg dialog(&spy);
    dialog.m_ptFrom = CPoint(0, 0);
    dialog.m_ptTo = CPoint(1000, 0);
    dialog.show();
    for (const Case& c : cases) {
        dialog.ValueEdit()->setText(QString::fromLatin1(c.text));
        QString message;
        CatchMessageBox(&message);
        dialog.accept();
        QString expected = LoadResString(c.message);
        if (c.message == 36131) expected = expected.arg(QStringLiteral("10000mm"));
        EXPECT_EQ(message, expected) << c.text;
        EXPECT_TRUE(dialog.isVisible()) << c.text;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << c.text;
        EXPECT_EQ(dialog.focusWidget(), dialog.ValueEdit()) << c.text;
        EXPECT_EQ(dialog.ValueEdit()->selectedText(), QString::fromLatin1(c.text)) << c.text;
    }
    EXPECT_EQ(dialog.m_nValue, 1000) << "the value is not touched";
    dialog.ValueEdit()->setText(QStringLiteral("7.5"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nValue, 750);
    EXPECT_EQ(spy.Last(), CPoint(750, 0)) << "the tool stands at the value taken";
}

TEST_F(ValuePromptTest, ShapeSizeKeepsTheSideOfTheMovingCorner)
{
    struct Case {
        CPoint moving;
        CPoint corner;
    };
    const Case cases[] = {
        {{1000, 1000}, {500, 1200}},   // above and left: stays above and left
        {{4000, 4000}, {5500, 2800}},  // below and right
        {{1000, 4000}, {500, 2800}},   // below and left
        {{3000, 2000}, {5500, 2800}},  // on the fixed corner: right and below
    };
    for (const Case& c : cases) {
        MoveSpy tool;
        CShapeSizeDlg dialog(&tool);
        dialog.m_ptFixed = CPoint(3000, 2000);
        dialog.m_ptMoving = c.moving;
        dialog.show();
        Type(dialog.WidthEdit(), QStringLiteral("25"));
        Type(dialog.HeightEdit(), QStringLiteral("8"));
        ASSERT_FALSE(tool.moves.empty());
        EXPECT_EQ(std::get<0>(tool.moves.back()), 0u);
        EXPECT_EQ(tool.Last(), c.corner) << c.moving.x << "," << c.moving.y;
    }
}

TEST_F(ValuePromptTest, ShapeSizeOpensWithTheBoxAndRefusesEmptySizes)
{
    CShapeSizeDlg rectangle(&spy);
    EXPECT_EQ(rectangle.windowTitle(), QStringLiteral("矩形"));
    CEllipseSizeDlg dialog(&spy);
    dialog.m_ptFixed = CPoint(1000, 1000);
    dialog.m_ptMoving = CPoint(3550, 200);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("椭圆"));
    EXPECT_EQ(dialog.WidthEdit()->text(), QStringLiteral("25.5"));
    EXPECT_EQ(dialog.HeightEdit()->text(), QStringLiteral("8"));
    dialog.WidthEdit()->setText(QStringLiteral("0"));
    QString message;
    CatchMessageBox(&message);
    dialog.accept();
    EXPECT_EQ(message, LoadResString(36079));
    EXPECT_EQ(dialog.focusWidget(), dialog.WidthEdit());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.WidthEdit()->setText(QStringLiteral("3"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_nWidth, 300);
    EXPECT_EQ(dialog.m_nHeight, 800);
    EXPECT_EQ(spy.Last(), CPoint(1300, 200));
}

// ---------------------------------------------------------------- the calculator button

TEST_F(ValuePromptTest, CalculatorWorksOnTheFocusedEditAndMovesThePreview)
{
    CLengthDlg dialog(&spy);
    dialog.m_ptFrom = CPoint(0, 0);
    dialog.m_ptTo = CPoint(0, 2000);
    dialog.show();
    EXPECT_EQ(dialog.CalculatorButton()->text(), QStringLiteral("计算器"));
    EXPECT_EQ(dialog.CalculatorButton()->focusPolicy(), Qt::NoFocus);
    dialog.ValueEdit()->setFocus();
    bool seen = false;
    WhenModal<CCalculatorDlg>(
        [&](CCalculatorDlg& calculator) {
            EXPECT_EQ(calculator.ExpressionEdit()->text(), QStringLiteral("20"));
            calculator.ExpressionEdit()->setText(QStringLiteral("2*(3+4)"));
            EXPECT_EQ(calculator.ResultLabel()->text(), QStringLiteral("=14mm"));
            calculator.accept();
        },
        &seen);
    dialog.CalculatorButton()->click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("14"));
    EXPECT_EQ(dialog.GetLastValue(), 1400);
    EXPECT_EQ(spy.Last(), CPoint(0, 1400));

    // The command and its shortcut do the same; Cancel there changes nothing.
    EXPECT_EQ(dialog.CalculatorAction()->data().toInt(), ID_CALCULATOR);
    EXPECT_EQ(dialog.CalculatorAction()->shortcut(), QKeySequence(Qt::Key_F9));
    WhenModal<CCalculatorDlg>([](CCalculatorDlg& calculator) { calculator.reject(); }, &seen);
    dialog.CalculatorAction()->trigger();
    EXPECT_TRUE(seen);
    EXPECT_EQ(dialog.ValueEdit()->text(), QStringLiteral("14"));
}

TEST_F(ValuePromptTest, CalculatorDoesNothingWithoutAFocusedEdit)
{
    CLengthDlg dialog(&spy);
    dialog.show();
    QPushButton* ok = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("确定(&O)")) ok = button;
    ASSERT_NE(ok, nullptr);
    ok->setFocus();
    bool appeared = false;
    WatchForDialog(&appeared);
    dialog.RunCalculator();
    QApplication::processEvents();
    EXPECT_FALSE(appeared);
}

TEST_F(ValuePromptTest, PointPositionPromptHasTheCalculatorAndReadsFractions)
{
    const CPointList outline{{0, 0}, {4000, 0}};
    CPointOnCurveDlg dialog(spy, outline, 1000, CPoint(0, 0));
    dialog.show();
    ASSERT_NE(dialog.CalculatorButton(), nullptr);
    EXPECT_TRUE(dialog.CalculatorButton()->isVisibleTo(&dialog));
    dialog.RatioButton()->setChecked(true);
    Type(dialog.RatioEdit(), QStringLiteral("1/2"));
    EXPECT_EQ(dialog.GetLength(), 2000);
    EXPECT_EQ(spy.Last(), CPoint(2000, 0));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    // The calculator on the length edit.
    CPointOnCurveDlg again(spy, outline, 1000, CPoint(0, 0));
    again.show();
    again.LengthButton()->setChecked(true);
    again.LengthEdit()->setFocus();
    bool seen = false;
    WhenModal<CCalculatorDlg>(
        [](CCalculatorDlg& calculator) {
            calculator.ExpressionEdit()->setText(QStringLiteral("10+5"));
            calculator.accept();
        },
        &seen);
    again.RunCalculator();
    ASSERT_TRUE(seen);
    EXPECT_EQ(again.GetLength(), 1500);
    EXPECT_EQ(spy.Last(), CPoint(1500, 0));
}

namespace {

// Keys typed into whatever has the focus in the dialog.
void TypeKeys(QWidget& dialog, const QString& keys)
{
    for (const QChar c : keys) {
        QWidget* target = dialog.focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &release);
    }
}

} // namespace

TEST_F(ValuePromptTest, PointPositionPromptTakesATypedValueAtOnce)
{
    const CPointList outline{{0, 0}, {4000, 0}};
    struct Case {
        int mode;
        QString typed;
        int length;
    };
    const Case cases[] = {{0, QStringLiteral("25"), 2500}, {1, QStringLiteral("0.75"), 3000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Settings().m_nPointPositionMode = c.mode;
        CPointOnCurveDlg dialog(spy, outline, 1000, CPoint(0, 0));
        dialog.show();
        QLineEdit* edit = c.mode ? dialog.RatioEdit() : dialog.LengthEdit();
        EXPECT_EQ(dialog.focusWidget(), edit);
        EXPECT_FALSE(edit->text().isEmpty());
        EXPECT_EQ(edit->selectedText(), edit->text());
        TypeKeys(dialog, c.typed);
        EXPECT_EQ(edit->text(), c.typed);
        EXPECT_EQ(dialog.GetLength(), c.length);
        EXPECT_EQ(spy.Last(), CPoint(c.length, 0));
    }
}

TEST_F(ValuePromptTest, PointPositionPromptFocusesTheEditOfTheChosenMode)
{
    const CPointList outline{{0, 0}, {4000, 0}};
    Settings().m_nPointPositionMode = 0;
    CPointOnCurveDlg dialog(spy, outline, 1000, CPoint(0, 0));
    dialog.show();
    dialog.RatioButton()->click();
    EXPECT_EQ(dialog.focusWidget(), dialog.RatioEdit());
    EXPECT_EQ(dialog.RatioEdit()->selectedText(), QStringLiteral("0.25"));
    dialog.LengthButton()->click();
    EXPECT_EQ(dialog.focusWidget(), dialog.LengthEdit());
    EXPECT_EQ(dialog.LengthEdit()->selectedText(), dialog.LengthEdit()->text());
    TypeKeys(dialog, QStringLiteral("4"));
    EXPECT_EQ(dialog.GetLength(), 400);

    QStringList buttons;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) buttons << button->text();
    EXPECT_TRUE(buttons.contains(QStringLiteral("确认(&O)")));
    EXPECT_TRUE(buttons.contains(QStringLiteral("取消(&C)")));
}
