#include "app/CMainFrame.h"
#include "app/CMainToolBar.h"
#include "app/CMessageHub.h"
#include "app/CSystemSettings.h"
#include "app/CVEKApp.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"

#include "ui/CColorMenuButton.h"
#include "ui/CLineTypeCombo.h"
#include "ui/CToolbarEdit.h"
#include "ui/CVEKColorDialog.h"

#include "model/CPageSet.h"

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
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Test programs run side by side: each test gets folders of its own.
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        QFile::remove(CSystemSettings::ConfigFilePath());
        QFile::remove(CSystemSettings::LineTypeFilePath());
        QFile::remove(CVEKApp::ProfilePath());
    }
    QTemporaryDir home;
};

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

namespace {

using Commands = QList<int>;

const Commands kStandardButtons = {57600, 57601, 57603, 57643, 57644, 57635, 57634, 57637, 57607, 57609};

Commands Expected(const Commands& context)
{
    Commands all = kStandardButtons + context;
    all << 57664;
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
    EXPECT_EQ(frame.GetMainToolBar()->VisibleCommands(), Expected({32797, 32796, 32776, 32798}));
}

TEST_F(MainFrameTest, GroupSettersShowTheirGroups)
{
    struct Case {
        const char* name;
        std::function<void(CMainFrame&)> call;
        Commands context;
    };
    const Commands font = {32827, 32829, 32872, 32835, 32836, 32837, 32838};
    const Case cases[] = {
        {"lines off", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); }, {}},
        {"closed curve", [](CMainFrame& f) { f.ShowLineControls(1, 1, 1, 0, 0); }, {32797, 32796, 32776, 32798}},
        {"open curve", [](CMainFrame& f) { f.ShowLineControls(1, 1, 1, 1, 1); },
         {32797, 32796, 32776, 32798, 32801, 32868, 32869, 32802, 32870, 32871}},
        {"offset", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowOffsetControls(1); }, {32825}},
        {"text", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowFontControls(1); }, font},
        {"table",
         [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowTextControls(1); },
         Commands{32822, 32824, 32842, 32843, 32844, 32828, 32830, 32833, 32834} + font + Commands{32856}},
        {"font after table: alignment goes",
         [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowTextControls(1); f.ShowTextControls(0); f.ShowFontControls(1); },
         font},
        {"fill", [](CMainFrame& f) { f.ShowLineControls(0, 0, 0, 0, 0); f.ShowFillTypeControls(1); f.ShowGradientControls(1, 0); },
         {32852, 32853}},
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
    EXPECT_EQ(bar->ColorButton(32835)->GetColor(), 0x0000FFu);
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
    EXPECT_FALSE(bar->IsCommandVisible(32804));

    Settings().m_nCurLineType = 9;
    frame.RebuildContextToolBar();
    EXPECT_TRUE(bar->IsCommandVisible(32804));
    EXPECT_EQ(bar->LineParamEdit()->text(), QStringLiteral("0.35"));
    EXPECT_EQ(bar->LineTypeCombo()->currentIndex(), 9);
    for (int id : {32803, 32805, 32806, 32807, 32808}) EXPECT_FALSE(bar->IsCommandVisible(id));
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
    frame.OnColorButtonDialog(32842);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], std::make_pair(COLORREF(0x1E140A), 32842));
    EXPECT_EQ(Settings().m_crCellBackColor, 0x1E140Au);
    EXPECT_EQ(frame.GetMainToolBar()->ColorButton(32842)->GetColor(), 0x1E140Au);
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
    frame.OnColorButtonDialog(32797);
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

TEST_F(MainFrameTest, MaximisedWindowStoresFlagTwoAndComesBackMaximised)
{
    {
        CMainFrame frame;
        frame.showMaximized();
        frame.close();
    }
    CMainFrame::WINDOWPLACEMENT wp;
    ASSERT_TRUE(CMainFrame::ParseWindowPlacement(StoredPlacement(), &wp));
    EXPECT_EQ(wp.flags, CMainFrame::WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(wp.showCmd, CMainFrame::SW_SHOWMAXIMIZED);
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
    EXPECT_FALSE(frame.CommandAction(32777)->isChecked());
    frame.CommandAction(32777)->trigger();
    EXPECT_TRUE(frame.GetHorizontalRuler()->isVisible());
    EXPECT_TRUE(frame.CommandAction(32777)->isChecked());
    EXPECT_EQ(Settings().m_bShowRulers, 1);
}

TEST_F(MainFrameTest, OptionCommandsToggleTheirSettings)
{
    CMainFrame frame;
    const int snap = Settings().m_bAutoSnap;
    const int dialogs = Settings().m_bValueDialogs;
    frame.CommandAction(32780)->trigger();
    frame.CommandAction(32814)->trigger();
    EXPECT_EQ(Settings().m_bAutoSnap, !snap);
    EXPECT_EQ(Settings().m_bValueDialogs, !dialogs);
    EXPECT_EQ(frame.CommandAction(32780)->isChecked(), !snap);
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
    const Commands lines = {32797, 32796, 32776, 32798};
    const Case cases[] = {
        {32772, lines + Commands{32801, 32868, 32869, 32802, 32870, 32871}}, // open curve
        {32773, lines},                                                      // closed curve
        {32818, lines + Commands{32801, 32868, 32869, 32802, 32870, 32871}}, // freehand
        {32774, {}},                                                         // zoom: no groups of its own
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
        doc.GetPageSet()->SetPaperSize(12121, 100);
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
