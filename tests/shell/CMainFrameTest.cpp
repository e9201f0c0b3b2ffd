#include "shell/CMainFrame.h"
#include "shell/CMainToolBar.h"
#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"
#include "settings/CWindowPlacement.h"
#include "shell/CVEKApp.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"

#include "ui/CColorMenuButton.h"
#include "ui/CLineTypeCombo.h"
#include "ui/CToolbarEdit.h"
#include "ui/CVEKColorDialog.h"

#include "app/CDesignTool.h"

#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "res/CommandIds.h"

#include "tests/shell/ProgramHomeTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QDropEvent>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSet>
#include <QToolButton>
#include <QWidgetAction>
#include <QWindow>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#include <fcntl.h>
#include <unistd.h>

namespace {

using MainFrameTest = ProgramHomeTest;

} // namespace

TEST_F(MainFrameTest, TitledWithTheApplicationNameAndShowsAPage)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("\"Morvane\"服装工艺单软件V1.0"));
    ASSERT_TRUE(frame.NewDocument());
    ASSERT_NE(frame.centralWidget(), nullptr);

    frame.resize(800, 600);
    frame.show();
    QImage shot(frame.centralWidget()->size(), QImage::Format_RGB32);
    frame.centralWidget()->render(&shot);
    // Paper in the middle, the outside colour at the corner.
    const QPoint middle(shot.width() / 2, shot.height() / 2);
    EXPECT_EQ(shot.pixelColor(middle), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(1, 1), QColor(Qt::white));
}

TEST_F(MainFrameTest, SettingsFilesAreWrittenAtCloseAndReadAtCreation)
{
    {
        CMainFrame frame;
        Settings().m_nCaptureRadius = 23;
        frame.show();
        frame.close();
    }
    EXPECT_TRUE(QFile::exists(CSystemSettings::ConfigFilePath()));
    EXPECT_TRUE(QFile::exists(CSystemSettings::LineTypeFilePath()));
    Settings().m_nCaptureRadius = 1;
    CMainFrame again;
    EXPECT_EQ(Settings().m_nCaptureRadius, 23);
}

TEST_F(MainFrameTest, DamagedSettingsFileGivesDefaults)
{
    {
        QFile f(CSystemSettings::ConfigFilePath());
        QDir().mkpath(QFileInfo(f).absolutePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x65\x00\x00\x00\x03", 5);
    }
    Settings().m_nCaptureRadius = 1;
    CMainFrame frame;
    EXPECT_EQ(Settings().m_nCaptureRadius, 15);
}

TEST_F(MainFrameTest, IntervalBackupWritesOnItsTimer)
{
    QTemporaryDir dir;
    CMainFrame frame;
    frame.NewDocument();
    Settings().m_strBackupFile = dir.filePath(QStringLiteral("b.vek")).toStdString();
    Settings().m_bAutoBackup = 1;
    Settings().m_bBackupEveryStep = 1;
    frame.OnBackupTimer();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("b.vek"))));
    Settings().m_bBackupEveryStep = 0;
    ASSERT_TRUE(frame.BackupTimer()->isActive());
    EXPECT_EQ(frame.BackupTimer()->interval(), 5 * 60000);
    frame.BackupTimer()->setInterval(5);
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(dir.filePath(QStringLiteral("b.vek"))) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("b.vek"))));
}

TEST_F(MainFrameTest, DamagedFileIsRefusedWithTheMessageAndTheDocumentKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bad.vek"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a document");
    }
    CMainFrame frame;
    frame.NewDocument();
    const CPageSet* before = frame.GetDocument()->GetPageSet();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    EXPECT_FALSE(frame.OpenDocumentFile(path));
    EXPECT_EQ(shown, QString::fromUtf8("非MorvaneVEK格式或者文件已经损坏。"));
    EXPECT_EQ(frame.GetDocument()->GetPageSet(), before);
}

TEST_F(MainFrameTest, AppKeepsFourRecentFilesNewestFirst)
{
    CVEKApp app;
    for (int i = 1; i <= 6; ++i) app.AddToRecentFileList(QStringLiteral("/tmp/f%1.vek").arg(i));
    app.AddToRecentFileList(QStringLiteral("/tmp/f4.vek"));
    const QStringList expected = {QStringLiteral("/tmp/f4.vek"), QStringLiteral("/tmp/f6.vek"),
                                  QStringLiteral("/tmp/f5.vek"), QStringLiteral("/tmp/f3.vek")};
    EXPECT_EQ(app.RecentFiles(), expected);
}

TEST_F(MainFrameTest, AppOpensTheFileNamedOnTheCommandLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("start.vek"));
    {
        CVEKDoc doc;
        doc.OnNewDocument();
        doc.GetPageSet()->SetPaperSize(11111, 22222);
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    EXPECT_EQ(CVEKApp::FileFromArguments({QStringLiteral("vek"), QStringLiteral("-x"), path}), path);
    CVEKApp app;
    ASSERT_TRUE(app.InitInstance({QStringLiteral("vek"), path}));
    EXPECT_EQ(app.MainFrame()->GetDocument()->GetPageSet()->GetPaperSize(), CSize(11111, 22222));
    EXPECT_EQ(app.MainFrame()->windowTitle(), QString::fromUtf8("\"Morvane\"服装工艺单软件V1.0"));
    EXPECT_EQ(app.RecentFiles().value(0), path);
    app.ExitInstance();
}

TEST_F(MainFrameTest, CommandLineOptionsArePassedOverAndAnyOtherArgumentNamesTheFile)
{
    const QString missing = home.filePath(QStringLiteral("missing.vek"));
    const struct {
        QStringList arguments;
        QString file;
    } cases[] = {
        {{QStringLiteral("vek")}, QString()},
        {{QStringLiteral("vek"), QStringLiteral("/Embedding")}, QString()},
        {{QStringLiteral("vek"), QStringLiteral("-x"), QStringLiteral("/Automation")}, QString()},
        {{QStringLiteral("vek"), QStringLiteral("/Embedding"), missing}, missing},
        {{QStringLiteral("vek"), QStringLiteral("relative.vek")}, QStringLiteral("relative.vek")},
    };
    for (const auto& c : cases) EXPECT_EQ(CVEKApp::FileFromArguments(c.arguments), c.file) << qPrintable(c.file);
}

// A file name in GBK bytes, as an archive made on Windows unpacks it: the
// argument reads as its Chinese name and, naming no file the program can
// reach, is reported as such rather than starting an empty document.
TEST_F(MainFrameTest, AFileNameInGbkBytesIsReportedWhenItNamesNoFile)
{
    const QByteArray folder = QFile::encodeName(home.path());
    const QByteArray gbkPath = folder + "/\xB9\xA4\xD2\xD5\xB5\xA5.vek";  // 工艺单.vek
    // The file is there under its GBK bytes.
    const int fd = ::open(gbkPath.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const char* argv[] = {"vek", gbkPath.constData()};
    const QStringList arguments = CVEKApp::ArgumentsFromArgv(2, argv);
    const QString named = home.filePath(QString::fromUtf8("工艺单.vek"));
    ASSERT_EQ(arguments, QStringList({QStringLiteral("vek"), named}));

    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    CVEKApp app;
    EXPECT_FALSE(app.InitInstance(arguments));
    EXPECT_EQ(shown, QString::fromUtf8("找不到文件“%1”。").arg(named));
}

namespace {

using Commands = QList<int>;

const Commands kStandardButtons = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_CUT,
                                   ID_EDIT_COPY, ID_EDIT_PASTE, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW};

Commands Expected(const Commands& context)
{
    Commands all = kStandardButtons + context;
    all << ID_APP_ABOUT;
    return all;
}

QString StoredPlacement()
{
    auto profile = CVEKApp::OpenProfile();
    return profile->value(QStringLiteral("Settings/WindowPos")).toString();
}

void StorePlacement(const QString& text)
{
    auto profile = CVEKApp::OpenProfile();
    profile->setValue(QStringLiteral("Settings/WindowPos"), text);
}

// Answers the next modal colour dialog: with a colour (OK) or none (cancel).
void AnswerColourDialog(const QColor& colour)
{
    QTimer::singleShot(0, [colour] {
        auto* dialog = qobject_cast<CVEKColorDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (colour.isValid()) {
            dialog->setCurrentColor(colour);
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
}

} // namespace

TEST_F(MainFrameTest, BuildsEveryBarWithTheViewBetweenTheRulers)
{
    CMainFrame frame;
    ASSERT_NE(frame.GetMainToolBar(), nullptr);
    EXPECT_EQ(frame.GetMainToolBar()->windowTitle(), QString::fromUtf8("标准工具栏"));
    ASSERT_NE(frame.GetDesignBar(), nullptr);
    EXPECT_EQ(frame.GetDesignBar()->windowTitle(), QString::fromUtf8("设计工具栏"));
    EXPECT_EQ(frame.GetDesignBar()->actions().size(), 23);
    EXPECT_EQ(frame.toolBarArea(frame.GetDesignBar()), Qt::LeftToolBarArea);
    ASSERT_NE(frame.GetEditingView(), nullptr);
    EXPECT_EQ(frame.GetEditingView()->GetDocument(), frame.GetDocument());
    EXPECT_NE(frame.GetHorizontalRuler(), nullptr);
    EXPECT_NE(frame.GetVerticalRuler(), nullptr);
    // Table matching is on by default.
    ASSERT_NE(frame.statusBar()->findChild<QLabel*>(), nullptr);
    EXPECT_EQ(frame.statusBar()->findChild<QLabel*>()->text(), QString::fromUtf8("匹配表格(F2)"));
    Settings().m_bTableMatching = 0;
    frame.UpdateCommandUI();
    EXPECT_EQ(frame.statusBar()->findChild<QLabel*>()->text(), QString::fromUtf8("不匹配表格(F2)"));
}

TEST_F(MainFrameTest, WithoutAToolTheBarShowsLineColourTypeAndWidthBetweenStandardButtonsAndAbout)
{
    CMainFrame frame;
    EXPECT_EQ(frame.GetMainToolBar()->VisibleCommands(),
              Expected({ID_LINE_COLOR, ID_LINE_TYPE, ID_LINE_TYPE_LIST, ID_LINE_WIDTH}));
}

TEST_F(MainFrameTest, GroupSettersShowTheirGroups)
{
    struct Case {
        const char* name;
        std::function<void(CMainFrame&)> call;
        Commands context;
    };
    const Commands font = {ID_FONT_NAME, ID_FONT_SIZE, ID_CHARSET, ID_FONT_COLOR, ID_FONT_BOLD, ID_FONT_ITALIC,
                           ID_FONT_UNDERLINE};
    const Case cases[] = {
        {"lines off", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); }, {}},
        {"closed curve", [](CMainFrame& f) { f.ShowLineControls(1, 1, 1, 0, 0); },
         {ID_LINE_COLOR, ID_LINE_TYPE, ID_LINE_TYPE_LIST, ID_LINE_WIDTH}},
        {"open curve", [](CMainFrame& f) { f.ShowLineControls(1, 1, 1, 1, 1); },
         {ID_LINE_COLOR, ID_LINE_TYPE, ID_LINE_TYPE_LIST, ID_LINE_WIDTH, ID_START_ARROW, ID_START_ARROW_ANGLE,
          ID_START_ARROW_SIZE, ID_END_ARROW, ID_END_ARROW_ANGLE, ID_END_ARROW_SIZE}},
        {"offset", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowOffsetControls(1); },
         {ID_OFFSET_DISTANCE}},
        {"text", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowFontControls(1); }, font},
        {"table",
         [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowTextControls(1); },
         Commands{ID_MERGE_CELLS, ID_SPLIT_CELLS, ID_CELL_COLOR, ID_DIAGONAL_A, ID_DIAGONAL_B, ID_ROW_BEFORE,
                  ID_ROW_AFTER, ID_COLUMN_LEFT, ID_COLUMN_RIGHT} + font + Commands{ID_ALIGNMENT}},
        {"font after table: alignment goes",
         [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowTextControls(1); f.ShowTextControls(0); f.ShowFontControls(1); },
         font},
        {"fill", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowFillTypeControls(1); f.ShowGradientControls(1, 0); },
         {ID_FILL_TYPE, ID_GRADIENT_START}},
    };
    for (const Case& c : cases) {
        CMainFrame frame;
        c.call(frame);
        EXPECT_EQ(frame.GetMainToolBar()->VisibleCommands(), Expected(c.context)) << c.name;
    }
}

TEST_F(MainFrameTest, ShownGroupsShowTheSettings)
{
    CMainFrame frame;
    CSystemSettings& s = Settings();
    s.m_nOffsetDistance = 250;
    s.m_dStartArrowAngle = 29.5;
    s.m_crFontColor = 0x0000FF;
    frame.ShowOffsetControls(1);
    frame.ShowLineControls(1, 1, 1, 1, 1);
    frame.ShowFontControls(1);
    CMainToolBar* bar = frame.GetMainToolBar();
    EXPECT_EQ(bar->OffsetEdit()->text(), QStringLiteral("0.25")); // centimetres
    EXPECT_EQ(bar->StartAngleEdit()->text(), QStringLiteral("30"));
    EXPECT_EQ(bar->ColorButton(ID_FONT_COLOR)->GetColor(), 0x0000FFu);
    EXPECT_EQ(bar->LineTypeCombo()->count(), int(s.m_aLineTypes.size()));
}

TEST_F(MainFrameTest, OnlyACustomLineTypeShowsItsSpacing)
{
    CMainFrame frame;
    CPointList points;
    points.AddTail(CPoint(0, 0));
    points.AddTail(CPoint(1200, 300));
    ASSERT_TRUE(frame.AddLineType(CLineAttr::Custom(10, 350, {CLineTypeShape(10, 0, points)})));
    CMainToolBar* bar = frame.GetMainToolBar();
    EXPECT_EQ(bar->LineTypeCombo()->count(), 10);

    Settings().m_nCurLineType = 1; // dashed
    frame.RebuildContextToolBar();
    EXPECT_FALSE(bar->IsCommandVisible(ID_PARAM_2));

    Settings().m_nCurLineType = 9;
    frame.RebuildContextToolBar();
    EXPECT_TRUE(bar->IsCommandVisible(ID_PARAM_2));
    EXPECT_EQ(bar->LineParamEdit()->text(), QStringLiteral("0.35"));
    EXPECT_EQ(bar->LineTypeCombo()->currentIndex(), 9);
    for (int id : {ID_PARAM_1, ID_PARAM_3, ID_PARAM_4, ID_PARAM_5, ID_PARAM_6}) EXPECT_FALSE(bar->IsCommandVisible(id));
}

TEST_F(MainFrameTest, RegroupingFromInsideTheLineTypeCombosChoiceKeepsTheCombo)
{
    CMainFrame frame;
    CLineTypeCombo* combo = frame.GetMainToolBar()->LineTypeCombo();
    QObject receiver;
    // What the view does on "LT_SELCHANGE".
    QObject::connect(&CMessageHub::Instance(), &CMessageHub::LineTypeChanged, &receiver, [&frame](int index) {
        Settings().m_nCurLineType = index;
        frame.RebuildContextToolBar();
    });
    combo->setCurrentIndex(3);
    EXPECT_EQ(Settings().m_nCurLineType, 3);
    EXPECT_EQ(frame.GetMainToolBar()->LineTypeCombo(), combo);
    EXPECT_EQ(combo->currentIndex(), 3);
}

TEST_F(MainFrameTest, ColourDialogOkStoresAndReportsTheColour)
{
    CMainFrame frame;
    frame.ShowTextControls(1);
    std::vector<std::pair<COLORREF, int>> sent;
    QObject receiver;
    QObject::connect(&CMessageHub::Instance(), &CMessageHub::ColorChanged, &receiver,
                     [&sent](COLORREF c, int id) { sent.emplace_back(c, id); });
    AnswerColourDialog(QColor(10, 20, 30));
    frame.OnColorButtonDialog(ID_CELL_COLOR);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], std::make_pair(COLORREF(0x1E140A), ID_CELL_COLOR));
    EXPECT_EQ(Settings().m_crCellBackColor, 0x1E140Au);
    EXPECT_EQ(frame.GetMainToolBar()->ColorButton(ID_CELL_COLOR)->GetColor(), 0x1E140Au);
}

TEST_F(MainFrameTest, ColourDialogCancelChangesAndReportsNothing)
{
    CMainFrame frame;
    Settings().m_crLineColor = 0x00FF00;
    std::vector<std::pair<COLORREF, int>> sent;
    QObject receiver;
    QObject::connect(&CMessageHub::Instance(), &CMessageHub::ColorChanged, &receiver,
                     [&sent](COLORREF c, int id) { sent.emplace_back(c, id); });
    AnswerColourDialog(QColor());
    frame.OnColorButtonDialog(ID_LINE_COLOR);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(Settings().m_crLineColor, 0x00FF00u);
    EXPECT_EQ(Settings().m_crLineDialogColor, 0xFFFFFFu);
}

TEST_F(MainFrameTest, WindowPosRoundTrips)
{
    {
        CMainFrame frame;
        frame.setGeometry(QRect(100, 120, 900, 700));
        frame.show();
        frame.close();
    }
    EXPECT_EQ(StoredPlacement(), QStringLiteral("0,1,-1,-1,-1,-1,100,120,1000,820"));
    CMainFrame again;
    EXPECT_EQ(again.geometry(), QRect(100, 120, 900, 700));
}

// 查看 › 状态栏 hides the status bar; the next start keeps it hidden, as it
// keeps the tool bars. A value the profile does not write in its own words,
// or none, shows it.
TEST_F(MainFrameTest, AHiddenStatusBarStaysHiddenAtTheNextStart)
{
    {
        CMainFrame frame;
        frame.show();
        frame.CommandAction(ID_VIEW_STATUS_BAR)->trigger();
        ASSERT_FALSE(frame.statusBar()->isVisible());
        frame.close();
    }
    {
        CMainFrame again;
        again.show();
        EXPECT_FALSE(again.statusBar()->isVisible());
        EXPECT_FALSE(again.CommandAction(ID_VIEW_STATUS_BAR)->isChecked());
        EXPECT_FALSE(again.GetDesignBar()->isHidden());
        // Shown again, it stays shown.
        again.CommandAction(ID_VIEW_STATUS_BAR)->trigger();
        again.close();
    }
    {
        CMainFrame third;
        third.show();
        EXPECT_TRUE(third.statusBar()->isVisible());
        third.close();
    }
    for (const char* value : {"0", "no", "maybe", ""}) {
        SCOPED_TRACE(value);
        CVEKApp::OpenProfile()->setValue(QStringLiteral("General/StatusBar"), QString::fromLatin1(value));
        CMainFrame frame;
        frame.show();
        EXPECT_TRUE(frame.statusBar()->isVisible());
        EXPECT_TRUE(frame.StartWarnings().isEmpty());
        frame.close();
    }
    CVEKApp::OpenProfile()->remove(QStringLiteral("General/StatusBar"));
    CMainFrame without;
    without.show();
    EXPECT_TRUE(without.statusBar()->isVisible());
}

TEST_F(MainFrameTest, MaximisedWindowStoresFlagTwoAndComesBackMaximised)
{
    {
        CMainFrame frame;
        frame.showMaximized();
        frame.close();
    }
    CWindowPlacement wp;
    ASSERT_TRUE(CWindowPlacement::Parse(StoredPlacement(), &wp));
    EXPECT_EQ(wp.flags, CWindowPlacement::WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(wp.showCmd, CWindowPlacement::SW_SHOWMAXIMIZED);
    CMainFrame again;
    EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
}

TEST_F(MainFrameTest, DamagedWindowPosFallsBackToTheDefaultPlacementAndIgnoresTheBars)
{
    const char* damaged[] = {
        "",
        "0,1,-1,-1,-1,-1,100,120,1000",        // nine numbers
        "0,1,-1,-1,-1,-1,100,120,1000,820,5",  // eleven
        "0,1,-1,-1,-1,-1,100,120,1000,8x0",    // not a number
        "-1,1,-1,-1,-1,-1,100,120,1000,820",   // negative flags
        "0,1,-1,-1,-1,-1,100,120,100,820",     // no width
        "0,1,-1,-1,-1,-1,-2147483648,0,2147483647,600",  // wider than any int
        "0,1,-1,-1,-1,-1,100,2000000,1000,2000600",      // on no screen
        "garbage",
    };
    for (const char* text : damaged) {
        {
            // A layout with the design bar hidden, which must not come back.
            CMainFrame frame;
            frame.GetDesignBar()->hide();
            frame.show();
            frame.close();
        }
        StorePlacement(QString::fromLatin1(text));
        CMainFrame frame;
        EXPECT_EQ(frame.geometry(), CMainFrame::DefaultPlacement()) << text;
        EXPECT_FALSE(frame.GetDesignBar()->isHidden()) << text;
    }
}

TEST_F(MainFrameTest, HandWrittenWindowPosWithoutQuotesIsRead)
{
    QDir().mkpath(QFileInfo(CVEKApp::ProfilePath()).absolutePath());
    QFile f(CVEKApp::ProfilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Settings]\nWindowPos=0,1,-1,-1,-1,-1,50,60,850,660\n");
    f.close();
    CMainFrame frame;
    EXPECT_EQ(frame.geometry(), QRect(50, 60, 800, 600));
}

TEST_F(MainFrameTest, ClosingDuringPrintPreviewStillSavesTheSettings)
{
    {
        CMainFrame frame;
        Settings().m_nCaptureRadius = 31;
        frame.SetInPrintPreview(true);
        frame.show();
        frame.close();
    }
    EXPECT_TRUE(QFile::exists(CSystemSettings::ConfigFilePath()));
    EXPECT_FALSE(StoredPlacement().isEmpty());
    Settings().m_nCaptureRadius = 1;
    CMainFrame again;
    EXPECT_EQ(Settings().m_nCaptureRadius, 31);
}

TEST_F(MainFrameTest, DesignBarPicturesFollowTheScreenWidth)
{
    const std::pair<int, int> cases[] = {{800, 138}, {1023, 138}, {1024, 141}, {1279, 141}, {1280, 142}, {1600, 142}};
    for (const auto& [width, resource] : cases) EXPECT_EQ(CMainFrame::DesignBarResource(width), resource) << width;
    const std::pair<int, int> heights[] = {{1024, 900}, {1023, 668}, {768, 668}, {767, 500}, {600, 500}, {599, 320}};
    for (const auto& [height, drop] : heights) EXPECT_EQ(CMainFrame::ComboDropHeight(height, false), drop) << height;
    EXPECT_EQ(CMainFrame::ComboDropHeight(700, true), 350);
}

TEST_F(MainFrameTest, RulersFollowTheSettingAndTheCommand)
{
    {
        CMainFrame frame;
        Settings().m_bShowRulers = 0;
        frame.close();
    }
    CMainFrame frame;
    frame.show();
    EXPECT_FALSE(frame.GetHorizontalRuler()->isVisible());
    EXPECT_FALSE(frame.GetVerticalRuler()->isVisible());
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.CommandAction(ID_VIEW_RULERS)->isChecked());
    frame.CommandAction(ID_VIEW_RULERS)->trigger();
    EXPECT_TRUE(frame.GetHorizontalRuler()->isVisible());
    EXPECT_TRUE(frame.CommandAction(ID_VIEW_RULERS)->isChecked());
    EXPECT_EQ(Settings().m_bShowRulers, 1);
}

TEST_F(MainFrameTest, OptionCommandsToggleTheirSettings)
{
    CMainFrame frame;
    const int snap = Settings().m_bAutoSnap;
    const int dialogs = Settings().m_bValueDialogs;
    frame.CommandAction(ID_AUTO_SNAP)->trigger();
    frame.CommandAction(ID_VALUE_DIALOGS)->trigger();
    EXPECT_EQ(Settings().m_bAutoSnap, !snap);
    EXPECT_EQ(Settings().m_bValueDialogs, !dialogs);
    EXPECT_EQ(frame.CommandAction(ID_AUTO_SNAP)->isChecked(), !snap);
}

TEST_F(MainFrameTest, ToolPromptsReachTheStatusBar)
{
    CMainFrame frame;
    frame.GetEditingView()->ShowStatusPrompt(QStringLiteral("选择终点"));
    EXPECT_EQ(frame.GetStatusText(), QStringLiteral("选择终点"));
}

TEST_F(MainFrameTest, ChoosingAToolShowsItsContextGroups)
{
    CVEKApp app;
    ASSERT_TRUE(app.InitInstance({QStringLiteral("vek")}));
    CMainFrame* frame = app.MainFrame();
    struct Case {
        int command;
        Commands context;
    };
    const Commands lines = {ID_LINE_COLOR, ID_LINE_TYPE, ID_LINE_TYPE_LIST, ID_LINE_WIDTH};
    const Commands arrows = {ID_START_ARROW, ID_START_ARROW_ANGLE, ID_START_ARROW_SIZE,
                             ID_END_ARROW, ID_END_ARROW_ANGLE, ID_END_ARROW_SIZE};
    const Case cases[] = {
        {ID_TOOL_CURVE, lines + arrows},
        {ID_TOOL_CLOSED_CURVE, lines},
        {ID_TOOL_FREEHAND, lines + arrows},
        {ID_TOOL_ZOOM, {}}, // no groups of its own
    };
    for (const Case& c : cases) {
        frame->CommandAction(c.command)->trigger();
        EXPECT_TRUE(frame->CommandAction(c.command)->isChecked()) << c.command;
        EXPECT_EQ(frame->GetMainToolBar()->VisibleCommands(), Expected(c.context)) << c.command;
    }
    app.ExitInstance();
}

TEST_F(MainFrameTest, DroppedDocumentIsOpened)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("dropped.vek"));
    {
        CVEKDoc doc;
        doc.OnNewDocument();
        doc.GetPageSet()->SetPaperSize(12121, 29700);
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    CMainFrame frame;
    frame.NewDocument();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);
    EXPECT_EQ(frame.GetDocument()->GetPageSet()->GetPaperSize().cx, 12121);
}

// --- The view's commands in the frame's menus and bars ----------------------------

// The platform's key entry that QTest drives: a press passes the window's
// shortcuts first, as a key typed by a user does.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                                    const QString& text, bool autorepeat, ushort count);

namespace {

// Shows the frame with a document and waits until it is the active window,
// which window shortcuts need.
void ShowActive(CMainFrame& frame)
{
    frame.NewDocument();
    frame.resize(1000, 760);
    frame.show();
    frame.activateWindow();
    QElapsedTimer waited;
    waited.start();
    while (QApplication::activeWindow() != &frame && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(QApplication::activeWindow(), &frame);
    frame.GetEditingView()->setFocus();
    QCoreApplication::processEvents();
}

void TypeKey(CMainFrame& frame, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    qt_handleKeyEvent(frame.windowHandle(), QEvent::KeyPress, key, modifiers, QString(), false, 1);
    qt_handleKeyEvent(frame.windowHandle(), QEvent::KeyRelease, key, modifiers, QString(), false, 1);
}

// Every action that the window shows or holds: its own, those of its menus
// (also nested ones) and bars, and those behind the bars' own buttons.
QSet<QAction*> PlacedActions(CMainFrame& frame)
{
    QSet<QAction*> placed;
    for (QAction* a : frame.actions()) placed.insert(a);
    for (QMenu* menu : frame.findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && !a->menu()) placed.insert(a);
    for (QToolBar* bar : frame.findChildren<QToolBar*>()) {
        for (QAction* a : bar->actions())
            if (!a->isSeparator() && !qobject_cast<QWidgetAction*>(a)) placed.insert(a);
        for (QToolButton* button : bar->findChildren<QToolButton*>())
            if (button->defaultAction()) placed.insert(button->defaultAction());
    }
    return placed;
}

QAction* MenuActionOf(CMainFrame& frame, int commandId)
{
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        for (QAction* a : menu->actions())
            if (a->data().toInt() == commandId) return a;
    return nullptr;
}

// The commands the standard bar shows as a picker or a combo box of its
// own rather than as their action, and the print without a dialog, which
// the frame offers nowhere.
bool HasNoPlacedAction(UINT id)
{
    switch (id) {
    case ID_LINE_COLOR: case ID_FONT_COLOR: case ID_CELL_COLOR: case ID_GRADIENT_START: case ID_GRADIENT_END:
    case ID_START_ARROW: case ID_END_ARROW: case ID_ALIGNMENT: case ID_FONT_NAME: case ID_FONT_SIZE:
    case ID_FILE_PRINT_DIRECT: return true;
    default: return false;
    }
}

} // namespace

TEST_F(MainFrameTest, EveryViewCommandIsPlacedOnceAsTheViewsOwnAction)
{
    CMainFrame frame;
    CVEKView* view = frame.GetEditingView();
    const QSet<QAction*> placed = PlacedActions(frame);
    for (const CVEKView::CommandEntry& c : view->Commands()) {
        int count = 0;
        for (QAction* a : placed)
            if (a->data().toInt() == int(c.id)) {
                ++count;
                EXPECT_EQ(a, view->CommandAction(int(c.id))) << c.id;
            }
        EXPECT_EQ(count, HasNoPlacedAction(c.id) ? 0 : 1) << c.id;
        EXPECT_EQ(frame.CommandAction(int(c.id)), view->CommandAction(int(c.id))) << c.id;
    }
    // The frame's own commands stay its own.
    for (int id : {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_APP_EXIT, ID_APP_ABOUT, ID_VIEW_RULERS,
                   ID_VIEW_DESIGN_BAR, ID_AUTO_SNAP, ID_VALUE_DIALOGS})
        EXPECT_EQ(frame.CommandAction(id)->parent(), &frame) << id;
}

// Two actions with one shortcut in a window cancel each other out. Also the
// disabled ones count: they are enabled by the state of the moment.
TEST_F(MainFrameTest, NoTwoActionsOfTheWindowShareAShortcut)
{
    CMainFrame frame;
    QHash<QKeySequence, QAction*> seen;
    for (QAction* a : frame.findChildren<QAction*>()) {
        for (const QKeySequence& keys : a->shortcuts()) {
            if (keys.isEmpty()) continue;
            EXPECT_FALSE(seen.contains(keys)) << keys.toString().toStdString() << " "
                                              << a->text().toStdString();
            seen.insert(keys, a);
        }
    }
    // The view's shortcuts are among them, once each.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::Key_C),
          QKeySequence(Qt::CTRL | Qt::Key_P), QKeySequence(Qt::CTRL | Qt::Key_J), QKeySequence(Qt::Key_F2),
          QKeySequence(QKeySequence::New), QKeySequence(QKeySequence::Save)})
        EXPECT_TRUE(seen.contains(keys)) << keys.toString().toStdString();
}

TEST_F(MainFrameTest, AToolChosenFromTheMenuBecomesTheViewsCurrentTool)
{
    CMainFrame frame;
    CVEKView* view = frame.GetEditingView();
    for (int id : {ID_TOOL_SELECT, ID_TOOL_ZOOM, ID_TOOL_CLOSED_CURVE}) {
        QAction* item = MenuActionOf(frame, id);
        ASSERT_NE(item, nullptr) << id;
        item->trigger();
        EXPECT_EQ(view->GetCurrentToolCmd(), UINT(id));
        EXPECT_TRUE(item->isChecked()) << id;
    }
}

TEST_F(MainFrameTest, TheDesignBarButtonOfTheCurrentToolIsChecked)
{
    CMainFrame frame;
    CVEKView* view = frame.GetEditingView();
    QToolBar* bar = frame.GetDesignBar();
    auto* zoom = qobject_cast<QToolButton*>(bar->widgetForAction(view->CommandAction(ID_TOOL_ZOOM)));
    auto* curve = qobject_cast<QToolButton*>(bar->widgetForAction(view->CommandAction(ID_TOOL_CURVE)));
    ASSERT_NE(zoom, nullptr);
    ASSERT_NE(curve, nullptr);
    EXPECT_TRUE(curve->isChecked());
    EXPECT_FALSE(zoom->isChecked());
    zoom->click();
    EXPECT_EQ(view->GetCurrentToolCmd(), UINT(ID_TOOL_ZOOM));
    EXPECT_TRUE(zoom->isChecked());
    EXPECT_FALSE(curve->isChecked());
    // Chosen elsewhere, the bar still follows.
    view->OnToolCommand(ID_TOOL_CURVE);
    view->UpdateCommandActions();
    EXPECT_FALSE(zoom->isChecked());
    EXPECT_TRUE(curve->isChecked());
    // Pictures drawn at the bar's size.
    EXPECT_TRUE(view->CommandAction(ID_TOOL_ZOOM)->icon().availableSizes().contains(bar->iconSize()));
}

TEST_F(MainFrameTest, CtrlZUndoesOneSnapshotOnce)
{
    CMainFrame frame;
    ASSERT_NO_FATAL_FAILURE(ShowActive(frame));
    CVEKDoc* doc = frame.GetDocument();
    doc->GetPageSet()->SetPaperSize(10000, 10000);
    doc->SaveUndoState();
    doc->GetPageSet()->SetPaperSize(20000, 20000);
    doc->SaveUndoState();
    doc->GetPageSet()->SetPaperSize(30000, 30000);
    frame.GetEditingView()->UpdateCommandActions();
    ASSERT_EQ(doc->UndoCount(), 2);

    TypeKey(frame, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc->UndoCount(), 1);
    EXPECT_EQ(doc->GetPageSet()->GetPaperSize(), CSize(20000, 20000));

    TypeKey(frame, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(doc->UndoCount(), 2);
    EXPECT_EQ(doc->GetPageSet()->GetPaperSize(), CSize(30000, 30000));
}

TEST_F(MainFrameTest, F2TogglesTableMatchingAndTheIndicator)
{
    CMainFrame frame;
    ASSERT_NO_FATAL_FAILURE(ShowActive(frame));
    const int before = Settings().m_bTableMatching;
    TypeKey(frame, Qt::Key_F2);
    EXPECT_EQ(Settings().m_bTableMatching, before ? 0 : 1);
    EXPECT_EQ(frame.statusBar()->findChild<QLabel*>()->text(), CMainFrame::TableMatchingText());
    TypeKey(frame, Qt::Key_F2);
    EXPECT_EQ(Settings().m_bTableMatching, before);
}

TEST_F(MainFrameTest, HidingAGroupOfTheBarKeepsItsCommandsInTheMenus)
{
    CMainFrame frame;
    frame.ShowTextControls(0);
    EXPECT_FALSE(frame.GetMainToolBar()->IsCommandVisible(ID_MERGE_CELLS));
    EXPECT_TRUE(frame.CommandAction(ID_MERGE_CELLS)->isVisible());
    EXPECT_EQ(MenuActionOf(frame, ID_MERGE_CELLS), frame.CommandAction(ID_MERGE_CELLS));
}

namespace {

// A tool that counts the commands forwarded to it.
class CountingTool : public CDesignTool {
public:
    using CDesignTool::CDesignTool;
    void OnLineColor() override { ++lineColor; }
    int lineColor = 0;
};

} // namespace

TEST_F(MainFrameTest, ThePickersButtonReachesTheCurrentToolOnce)
{
    CMainFrame frame;
    CVEKView* view = frame.GetEditingView();
    auto tool = std::make_unique<CountingTool>(view);
    CountingTool* counting = tool.get();
    std::unique_ptr<CDesignTool> previous = view->ReplaceTool(CVEKView::kCurveTool, std::move(tool));
    auto* picker = qobject_cast<QToolButton*>(frame.GetMainToolBar()->CommandWidget(ID_LINE_COLOR));
    ASSERT_NE(picker, nullptr);
    picker->click();
    EXPECT_EQ(counting->lineColor, 1);
    view->ReplaceTool(CVEKView::kCurveTool, std::move(previous));
}

// --- Choices of the bar reach a curve being edited ------------------------------------

namespace {

class EditedCurveTest : public MainFrameTest {
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        frame = std::make_unique<CMainFrame>();
        ASSERT_NO_FATAL_FAILURE(ShowActive(*frame));
        view = frame->GetEditingView();
        view->SetViewTransform(10.0, 0, 0);
        frame->CommandAction(ID_TOOL_CURVE)->trigger();
        // Three points and a right click: the curve is made and edited.
        Click(2000, 3000, Qt::LeftButton);
        Click(4000, 4000, Qt::LeftButton);
        Click(6000, 3000, Qt::LeftButton);
        Click(6000, 3500, Qt::RightButton);
        const auto& elements = frame->GetDocument()->GetPageSet()->GetCurrentPage()->Elements();
        ASSERT_EQ(elements.GetCount(), 1);
        curve = dynamic_cast<COpenCurveElement*>(elements.GetHead());
        ASSERT_NE(curve, nullptr);
        snapshots = frame->GetDocument()->UndoCount();
    }
    void TearDown() override { frame.reset(); }

    void Click(int x, int y, Qt::MouseButton button)
    {
        const CPoint d = view->ModelToDevicePoint(x, y);
        const QPointF p(d.x, d.y);
        QMouseEvent move(QEvent::MouseMove, p, view->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &move);
        QMouseEvent press(QEvent::MouseButtonPress, p, view->mapToGlobal(p), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, p, view->mapToGlobal(p), button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(view, &release);
    }
    int NewSnapshots() const { return frame->GetDocument()->UndoCount() - snapshots; }

    std::unique_ptr<CMainFrame> frame;
    CVEKView* view = nullptr;
    COpenCurveElement* curve = nullptr;
    int snapshots = 0;
};

} // namespace

TEST_F(EditedCurveTest, AColourPickedInThePickerRecoloursTheCurveInOneStep)
{
    CMessageHub::Instance().SendColorChange(RGB(200, 0, 0), ID_LINE_COLOR);
    EXPECT_EQ(curve->GetColor(), RGB(200, 0, 0));
    EXPECT_EQ(NewSnapshots(), 1);
    CMessageHub::Instance().SendColorChange(RGB(200, 0, 0), ID_LINE_COLOR);
    EXPECT_EQ(NewSnapshots(), 1);
}

TEST_F(EditedCurveTest, TheLineTypeTheCurveHasTakesNoStep)
{
    CLineTypeCombo* combo = frame->GetMainToolBar()->LineTypeCombo();
    const int current = Settings().m_nCurLineType;
    ASSERT_EQ(curve->GetLineAttr(), Settings().m_aLineTypes[std::size_t(current)]);
    CMessageHub::Instance().SendLineTypeChange(current);
    EXPECT_EQ(NewSnapshots(), 0);
    const int other = current == 1 ? 2 : 1;
    combo->setCurrentIndex(other);
    EXPECT_EQ(curve->GetLineAttr(), Settings().m_aLineTypes[std::size_t(other)]);
    EXPECT_EQ(NewSnapshots(), 1);
}

TEST_F(EditedCurveTest, TheArrowheadTheCurveHasTakesNoStep)
{
    int startKind = -1, startSize = 0, endKind = -1, endSize = 0;
    double startAngle = 0, endAngle = 0;
    curve->GetArrowHeads(startKind, startSize, startAngle, endKind, endSize, endAngle);
    Settings().m_nStartArrowType = startKind;
    Settings().m_nEndArrowType = endKind;
    CMessageHub::Instance().SendArrowTypeChange(startKind, ID_START_ARROW);
    CMessageHub::Instance().SendArrowTypeChange(endKind, ID_END_ARROW);
    EXPECT_EQ(NewSnapshots(), 0);
    CMessageHub::Instance().SendArrowTypeChange(startKind + 1, ID_START_ARROW);
    curve->GetArrowHeads(startKind, startSize, startAngle, endKind, endSize, endAngle);
    EXPECT_EQ(startKind, Settings().m_nStartArrowType);
    EXPECT_EQ(NewSnapshots(), 1);
    CMessageHub::Instance().SendArrowTypeChange(endKind + 1, ID_END_ARROW);
    EXPECT_EQ(NewSnapshots(), 2);
}
