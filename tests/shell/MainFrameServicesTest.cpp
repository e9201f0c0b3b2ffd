// The main window's start-up splash, help, print setup, F6, and rulers that
// measure in the document's own units.
#include "tests/app/ViewTestSupport.h"

#include "shell/ApplicationIcon.h"
#include "shell/CMainFrame.h"
#include "shell/CMainToolBar.h"
#include "app/CPagePrinter.h"
#include "app/CRulerBar.h"
#include "shell/CVEKApp.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "ui/CPrintSetupDlg.h"
#include "ui/CToolbarCombo.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QWindow>

// The platform's key entry: a press passes the window's shortcuts first, as
// a key typed by a user does.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
                                    const QString& text, bool autorepeat, ushort count);

namespace {

// The home folder of the test's account while it lives.
class HomeFolder {
public:
    explicit HomeFolder(const QString& path) { qputenv("HOME", QFile::encodeName(path)); }
    ~HomeFolder() { qputenv("HOME", m_was); }
    HomeFolder(const HomeFolder&) = delete;
    HomeFolder& operator=(const HomeFolder&) = delete;

private:
    QByteArray m_was = qgetenv("HOME");
};

class MainFrameServicesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    }

    // Shown with a document and active, as window shortcuts need.
    static void ShowActive(CMainFrame& frame)
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
    }
    static void TypeKey(CMainFrame& frame, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        qt_handleKeyEvent(frame.windowHandle(), QEvent::KeyPress, key, modifiers, QString(), false, 1);
        qt_handleKeyEvent(frame.windowHandle(), QEvent::KeyRelease, key, modifiers, QString(), false, 1);
    }
    // Closes the message box that the next modal loop shows and tells its
    // title.
    static void CloseNextMessageBox(QString* title)
    {
        QTimer::singleShot(0, [title] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *title = box->windowTitle();
                box->close();
            }
        });
    }

    QTemporaryDir home;
};

} // namespace

TEST(StartUp, TheSplashShowsOnAScreenUnlessEmbeddedAutomatedOrTimed)
{
    struct Case {
        QStringList arguments;
        const char* platform;
        bool timed;
        bool shown;
    };
    const QString vek = QStringLiteral("vek");
    const Case cases[] = {
        {{vek}, "xcb", false, true},
        {{vek, QStringLiteral("/tmp/a.vek")}, "wayland", false, true},
        {{vek, QStringLiteral("/Embedding")}, "xcb", false, false},
        {{vek, QStringLiteral("-embedding")}, "xcb", false, false},
        {{vek, QStringLiteral("/Automation")}, "xcb", false, false},
        {{vek}, "offscreen", false, false},
        {{vek}, "minimal", false, false},
        {{vek}, "xcb", true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CVEKApp::WantsSplash(c.arguments, QString::fromLatin1(c.platform), c.timed), c.shown)
            << c.arguments.join(QLatin1Char(' ')).toStdString() << " " << c.platform;
}

TEST_F(MainFrameServicesTest, F6BringsTheKeyboardBackToTheDrawing)
{
    CMainFrame frame;
    ASSERT_NO_FATAL_FAILURE(ShowActive(frame));
    struct FunctionKeyTool : CDesignTool {
        using CDesignTool::CDesignTool;
        std::vector<std::string>* log = nullptr;
        BOOL OnF6Down() override { return log->push_back("F6Down"), TRUE; }
        BOOL OnF6Up() override { return log->push_back("F6Up"), TRUE; }
    };
    std::vector<std::string> log;
    CVEKView* view = frame.GetEditingView();
    auto tool = std::make_unique<FunctionKeyTool>(view);
    tool->log = &log;
    view->ReplaceTool(CVEKView::kCurveTool, std::move(tool));
    QWidget* width = frame.GetMainToolBar()->LineWidthCombo();
    ASSERT_NE(width, nullptr);
    width->setFocus();
    QCoreApplication::processEvents();
    ASSERT_FALSE(view->hasFocus());

    TypeKey(frame, Qt::Key_F6);
    EXPECT_TRUE(view->hasFocus());
    // The press is the window's; the tool hears only the release.
    EXPECT_EQ(log, std::vector<std::string>({"F6Up"}));
}

TEST_F(MainFrameServicesTest, HelpWithoutAHelpFileShowsTheAboutBox)
{
    CMainFrame frame;
    ASSERT_NO_FATAL_FAILURE(ShowActive(frame));
    // F1 and Shift+F1 anywhere in the window, and the help menu.
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        QString title;
        CloseNextMessageBox(&title);
        TypeKey(frame, Qt::Key_F1, modifiers);
        EXPECT_EQ(title, LoadResString(36000)) << int(modifiers);
        ASSERT_NO_FATAL_FAILURE(ShowActive(frame));
    }
    QAction* topics = frame.CommandAction(ID_HELP_FINDER);
    ASSERT_NE(topics, nullptr);
    bool inHelpMenu = false;
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        if (menu->actions().contains(topics)) inHelpMenu = menu->actions().contains(frame.CommandAction(ID_APP_ABOUT));
    EXPECT_TRUE(inHelpMenu);
    QString title;
    CloseNextMessageBox(&title);
    topics->trigger();
    EXPECT_EQ(title, LoadResString(36000));
}

namespace {

QImage Picture(const QIcon& icon, int size)
{
    return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

// The program's icon is the application's from start-up on, so that every
// window shows it; the about box shows it at its full size.
TEST_F(MainFrameServicesTest, EveryWindowAndTheAboutBoxShowTheProgramsIcon)
{
    const QIcon icon = ApplicationIcon();
    ASSERT_EQ(icon.availableSizes(), QList<QSize>{QSize(kAboutIconSize, kAboutIconSize)});
    const QImage full = Picture(icon, kAboutIconSize);
    EXPECT_EQ(full.pixelColor(32, 32).alpha(), 255) << "a picture, not an empty frame";

    CVEKApp app;
    ASSERT_TRUE(app.InitInstance({QStringLiteral("vek")}));
    EXPECT_EQ(Picture(QApplication::windowIcon(), 32), Picture(icon, 32));
    EXPECT_EQ(Picture(app.MainFrame()->windowIcon(), 32), Picture(icon, 32));
    {
        QDialog dialog(app.MainFrame());
        EXPECT_EQ(Picture(dialog.windowIcon(), 16), Picture(icon, 16));
    }

    QImage shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->iconPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
            box->close();
        }
    });
    app.MainFrame()->CommandAction(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(shown, full);
    app.ExitInstance();
}

TEST_F(MainFrameServicesTest, TheHelpFileIsLookedForBesideTheProgram)
{
    const QDir bin(home.filePath(QStringLiteral("bin")));
    ASSERT_TRUE(QDir().mkpath(bin.path()));
    EXPECT_TRUE(CMainFrame::HelpFilePath(bin.path()).isEmpty());

    // Installed under share/doc beside bin.
    ASSERT_TRUE(QDir().mkpath(home.filePath(QStringLiteral("share/doc/vek"))));
    QFile installed(home.filePath(QStringLiteral("share/doc/vek/index.html")));
    ASSERT_TRUE(installed.open(QIODevice::WriteOnly));
    installed.close();
    EXPECT_EQ(CMainFrame::HelpFilePath(bin.path()), QFileInfo(installed).absoluteFilePath());

    // A help folder right beside the program comes first.
    ASSERT_TRUE(QDir().mkpath(bin.filePath(QStringLiteral("help"))));
    QFile beside(bin.filePath(QStringLiteral("help/index.html")));
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(CMainFrame::HelpFilePath(bin.path()), QFileInfo(beside).absoluteFilePath());
}

// An account without a documents folder: File > Open starts in the nearest
// folder that is there, the home folder, with no name typed for the user.
TEST_F(MainFrameServicesTest, FileOpenWithoutADocumentsFolderStartsInAFolderThatExists)
{
    const QString account = home.filePath(QStringLiteral("account"));
    ASSERT_TRUE(QDir().mkpath(account));
    const HomeFolder accountHome(account);
    ASSERT_FALSE(QFileInfo::exists(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    CMainFrame frame;
    frame.NewDocument();
    QString folder;
    QString typed = QStringLiteral("(no file dialog)");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        folder = dialog->directory().absolutePath();
        if (const auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) typed = name->text();
        dialog->reject();
    });
    frame.CommandAction(57601)->trigger();
    EXPECT_EQ(folder, QDir(account).absolutePath());
    EXPECT_TRUE(typed.isEmpty()) << qPrintable(typed);
}

TEST_F(MainFrameServicesTest, PrintSetupIsInTheFileMenuAndChoosesThePrinter)
{
    CMainFrame frame;
    QAction* setup = frame.CommandAction(ID_FILE_PRINT_SETUP);
    ASSERT_NE(setup, nullptr);
    bool inFileMenu = false;
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        inFileMenu = inFileMenu ||
                     (menu->actions().contains(setup) && menu->actions().contains(frame.CommandAction(ID_FILE_OPEN)));
    EXPECT_TRUE(inFileMenu);
    EXPECT_TRUE(setup->isEnabled());

    CPrintSetupDlg dialog({QStringLiteral("A3 plotter"), QStringLiteral("office")}, QStringLiteral("office"));
    EXPECT_EQ(dialog.SelectedPrinter(), QStringLiteral("office"));
    dialog.PrinterList()->setCurrentIndex(0);
    EXPECT_EQ(dialog.SelectedPrinter(), QStringLiteral("A3 plotter"));

    // Without printers there is nothing to accept.
    CPrintSetupDlg none({}, QString());
    EXPECT_TRUE(none.SelectedPrinter().isEmpty());
    EXPECT_FALSE(none.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());

    // The choice lasts for the session's printouts.
    CPagePrinter::SetSessionPrinter(QStringLiteral("office"));
    EXPECT_EQ(CPagePrinter::SessionPrinter(), QStringLiteral("office"));
    CPagePrinter::SetSessionPrinter(QString());
}

// Without a printer the print setup says so, and where a printout can go
// instead, in words the user sees above the greyed OK; with printers it
// has nothing to say.
TEST_F(MainFrameServicesTest, WithoutAPrinterPrintSetupSaysWhyThereIsNothingToChoose)
{
    CPrintSetupDlg none({}, QString());
    none.show();
    QLabel* note = none.NoPrinterNote();
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(), LoadResString(36196));
    EXPECT_TRUE(note->text().contains(QStringLiteral("打印机")));
    EXPECT_TRUE(note->text().contains(QStringLiteral("PDF")));
    QImage shot(none.size(), QImage::Format_RGB32);
    none.render(&shot);
    const QRect where(note->mapTo(&none, QPoint(0, 0)), note->size());
    const QColor paper = shot.pixelColor(where.topLeft());
    int ink = 0;
    for (int y = where.top(); y <= where.bottom(); ++y)
        for (int x = where.left(); x <= where.right(); ++x) ink += shot.pixelColor(x, y) != paper;
    EXPECT_GT(ink, 50);

    CPrintSetupDlg some({QStringLiteral("office")}, QStringLiteral("office"));
    EXPECT_EQ(some.NoPrinterNote(), nullptr);
}

// Units per millimetre come from the document: the same screen centimetre
// is 1000 units of a document of 100 per millimetre and 10000 of one of
// 1000, and the labels stay whole centimetres.
TEST_F(MainFrameServicesTest, TheRulersMeasureInTheDocumentsOwnUnits)
{
    Settings().SetDefaults(); // centimetres
    CMainFrame frame;
    auto* ruler = qobject_cast<CRulerBar*>(frame.GetHorizontalRuler());
    ASSERT_NE(ruler, nullptr);
    ruler->SetPixelsPerCm(37.795);

    struct Case {
        int upm;
        double scale;
        double major;
    };
    for (const Case& c : {Case{100, 26.4583, 1000.0}, Case{1000, 264.583, 10000.0}, Case{100, 26.4583, 1000.0}}) {
        CPageSet set(107, c.upm);
        set.AppendPage();
        set.SetPaperSize(210 * c.upm, 297 * c.upm);
        const QString path = QDir(home.path()).filePath(QStringLiteral("upm%1.vek").arg(c.upm));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string record = CVEKDoc::StorePageSetRecord(set);
        file.write(record.data(), qint64(record.size()));
        file.close();
        ASSERT_TRUE(frame.OpenDocumentFile(path));
        ruler->SetScale(c.scale, 0);
        double major = 0, minor = 0;
        ruler->GetSteps(major, minor);
        EXPECT_DOUBLE_EQ(major, c.major) << c.upm;
        EXPECT_DOUBLE_EQ(minor, c.major / 10) << c.upm;
    }
}
