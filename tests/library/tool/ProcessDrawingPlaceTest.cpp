// Placing library and plotter files with the process-drawing tool, through
// the view; damaged files that must leave the document untouched; saving
// the selection as a library file, a line type and a bitmap.
#include "library/tool/CVTProcessDrawing.h"

#include "tests/tools/CurveTestSupport.h"

#include "library/CLibraryReader.h"
#include "library/CLibraryWriter.h"
#include "model/CImageElement.h"
#include "model/CTextElement.h"
#include "platform/CodePage.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "tables/CTableElement.h"
#include "tests/library/LibraryTestSupport.h"
#include "tests/ui/ModalDriver.h"
#include "ui/CDrawingLibraryDlg.h"
#include "ui/CLibraryListBox.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <climits>

#include <sys/stat.h>

namespace {

constexpr int kTool = CVEKView::kProcessDrawingTool;

class PlaceTest : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        ASSERT_TRUE(files.isValid());
        SelectTool(kTool);
        Tool()->SetFileChooser([this](const QString& start) {
            startPaths.push_back(start);
            return chosen;
        });
    }
    CVTProcessDrawing* Tool() { return CurveViewFixture::Tool<CVTProcessDrawing>(kTool); }

    // A library file of a picture from (1000, 2000) to (3000, 4000), a line
    // across it on two points and a text.
    QString WriteDrawing(const QString& name)
    {
        libtest::Sheet sheet;
        std::vector<CGraphElement*> elements = {
            sheet.Picture({1000, 2000}, {3000, 2000}, {3000, 4000}, {1000, 4000}),
            sheet.Open({sheet.Point(1200, 2500), sheet.Point(2800, 3500)}),
            sheet.Text({1500, 3000}, {2100, 3000}, {2100, 3400}, {1500, 3400}),
        };
        return WriteBytes(name, CLibraryWriter::Build(elements));
    }
    QString WriteBytes(const QString& name, const std::string& bytes)
    {
        const QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
        return path;
    }
    // Shift-click where the placing box starts, click where it ends.
    void PlaceBox(CPoint from, CPoint to)
    {
        Click(from.x, from.y, Qt::ShiftModifier);
        MoveTo(to.x, to.y);
        Click(to.x, to.y);
    }

    QTemporaryDir files;
    QString chosen;
    std::vector<QString> startPaths;
};

CRect BoundsOf(const std::vector<CGraphElement*>& elements)
{
    CRect all;
    for (CGraphElement* e : elements) all.UnionRect(all, e->GetBoundRect());
    return all;
}

} // namespace

TEST_F(PlaceTest, ALibraryFileLandsAtTheBoxsTopLeftAsOneUndoStep)
{
    chosen = WriteDrawing(QStringLiteral("pocket.vkl"));
    const int steps = doc.UndoCount();
    // Dragged from lower right to upper left: (4000, 300) is the top-left.
    PlaceBox({5000, 900}, {4000, 300});
    ASSERT_EQ(Page()->GetElementCount(), 3);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_TRUE(doc.IsModified());
    auto* picture = static_cast<CImageElement*>(Page()->ElementAt(0));
    EXPECT_EQ(picture->GetUpperLeft(), CPoint(4000, 300));
    auto* line = static_cast<CCurveElement*>(Page()->ElementAt(1));
    EXPECT_EQ(line->GetNodeAt(0)->GetPosition(), CPoint(4200, 800));
    EXPECT_EQ(static_cast<CTextElement*>(Page()->ElementAt(2))->GetOrigin(), CPoint(4500, 1300));
    // The placed drawing stands in the frame, selected.
    EXPECT_TRUE(Tool()->HasSelection());
    EXPECT_EQ(Tool()->GetSelectedElements().size(), 3u);
    EXPECT_EQ(Tool()->GetFrame().Q(0), CPoint(4000, 300));
    // The browser opened at the library folder and the path is kept.
    ASSERT_EQ(startPaths.size(), 1u);
    EXPECT_EQ(GbkToQString(Settings().m_strLibraryFolder), chosen);

    // Placed again, the copies share nothing with the first.
    RightClick(20000, 20000);
    PlaceBox({8000, 8000}, {9000, 9000});
    ASSERT_EQ(Page()->GetElementCount(), 6);
    EXPECT_EQ(Page()->GetPointCount(), 4);
    EXPECT_EQ(doc.UndoCount(), steps + 2);

    // While the frame is shown, undo closes it; then it undoes the placing.
    view->OnEditUndo();
    EXPECT_FALSE(Tool()->HasSelection());
    EXPECT_EQ(Page()->GetElementCount(), 6);
    view->OnEditUndo();
    view->OnEditUndo();
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(Page()->GetPointCount(), 0);
}

// A text's box is stored in the file as it was saved, wider here than its
// text measures: placed where it was and written back, the file comes out
// byte for byte as it went in, also after an unchanged frame is applied.
TEST_F(PlaceTest, APlacedTextKeepsTheBoxItWasSavedWith)
{
    libtest::Sheet sheet;
    CTextElement* wide = sheet.Text({1500, 3000}, {8000, 3000}, {8000, 3400}, {1500, 3400});
    ASSERT_LT(CTextElement::MeasureTextFont(wide->GetTextFont()).cx, 2000) << "the box is not the measured one";
    std::vector<CGraphElement*> elements = {
        sheet.Picture({1000, 2000}, {3000, 2000}, {3000, 4000}, {1000, 4000}),
        wide,
    };
    const std::string original = CLibraryWriter::Build(elements);
    chosen = WriteBytes(QStringLiteral("label.vkl"), original);

    PlaceBox({1000, 2000}, {1600, 2600});
    ASSERT_EQ(Page()->GetElementCount(), 2);
    auto* placed = static_cast<CTextElement*>(Page()->ElementAt(1));
    view->repaint();
    EXPECT_EQ(placed->GetCorner2(), CPoint(8000, 3000));
    const QString written = files.filePath(QStringLiteral("written.vkl"));
    ASSERT_TRUE(Tool()->WriteLibraryFile(written));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(libtest::ToHex(bytes.toStdString()), libtest::ToHex(original));

    // An unchanged frame applied leaves the box as it is.
    RightClick(90000, 90000);
    view->repaint();
    CPoint origin, corner2, corner4, corner3;
    placed->GetCorners(origin, corner2, corner4, corner3);
    EXPECT_EQ(origin, CPoint(1500, 3000));
    EXPECT_EQ(corner2, CPoint(8000, 3000));
    EXPECT_EQ(corner4, CPoint(8000, 3400));
    EXPECT_EQ(corner3, CPoint(1500, 3400));
}

TEST_F(PlaceTest, AFirstBoxThatMeetsNothingPlacesToo)
{
    chosen = WriteDrawing(QStringLiteral("POCKET.VKL"));
    Click(2000, 2000);
    MoveTo(2600, 2400);
    Click(2600, 2400);
    ASSERT_EQ(Page()->GetElementCount(), 3);
    EXPECT_EQ(static_cast<CImageElement*>(Page()->ElementAt(0))->GetUpperLeft(), CPoint(2000, 2000));

    // A box smaller than five units in either direction is no box.
    SelectTool(kTool);
    const int before = Page()->GetElementCount();
    Click(50000, 50000, Qt::ShiftModifier);
    MoveTo(50003, 50100);
    Click(50003, 50100);
    EXPECT_TRUE(Tool()->IsPlacing());
    EXPECT_EQ(Page()->GetElementCount(), before);
    EXPECT_EQ(startPaths.size(), 1u);
}

TEST_F(PlaceTest, NothingHappensWhenTheBrowserIsCancelledOrTheFileIsNoDrawing)
{
    const int steps = doc.UndoCount();
    chosen.clear();
    PlaceBox({1000, 1000}, {2000, 2000});
    chosen = WriteBytes(QStringLiteral("notes.txt"), "just text");
    SelectTool(kTool);
    PlaceBox({1000, 1000}, {2000, 2000});
    EXPECT_EQ(startPaths.size(), 2u);
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(doc.UndoCount(), steps);
    EXPECT_FALSE(Tool()->HasSelection());
    EXPECT_FALSE(Tool()->IsPlacing());
}

// Every damaged file ends with the document as it was: no element, no
// point, no undo step, not modified; a message says why where the file is
// one of ours but broken.
TEST_F(PlaceTest, DamagedFilesLeaveTheDocumentUntouched)
{
    libtest::Sheet sheet;
    std::vector<CGraphElement*> elements = {
        sheet.Open({sheet.Point(0, 0), sheet.Point(1000, 0)}),
        sheet.Closed({sheet.Point(0, 500), sheet.Point(1000, 500), sheet.Point(500, 900)}),
        sheet.Text({0, 1000}, {600, 1000}, {600, 1300}, {0, 1300}),
    };
    const std::string good = CLibraryWriter::Build(elements);
    // The records follow the five points and the element count.
    const std::size_t points = good.find(libtest::Hex("05000000 00000000 00000000"));
    ASSERT_NE(points, std::string::npos);
    const std::size_t records = points + 4 + 5 * 8 + 4;
    ASSERT_EQ(good.substr(records, 8), libtest::Hex("01000000 00000000"));
    // The first record's first node names point 9 of five.
    std::string nodeBeyond = good;
    nodeBeyond[records + 28] = 9;
    std::string badKindFirst = good;
    badKindFirst.replace(records, 4, libtest::Hex("20000000"));
    std::string newer = good;
    newer[4] = char(108);
    std::string wrongMagic = good;
    wrongMagic[0] = 'X';
    struct Case {
        const char* name;
        std::string bytes;
        bool message;
    };
    const Case cases[] = {
        {"truncated in the preview", good.substr(0, 40), true},
        {"truncated in the points", good.substr(0, records - 6), true},
        {"truncated in the last record", good.substr(0, good.size() - 3), true},
        {"an element of kind 32", badKindFirst, true},
        {"a node naming no point", nodeBeyond, true},
        {"a newer version", newer, true},
        {"another file's magic", wrongMagic, false},
        {"empty", std::string(), false},
    };
    const int steps = doc.UndoCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chosen = WriteBytes(QStringLiteral("damaged.vkl"), c.bytes);
        ModalDriver driver;
        SelectTool(kTool);
        PlaceBox({1000, 1000}, {3000, 3000});
        EXPECT_EQ(driver.messages.size(), c.message ? 1u : 0u);
        EXPECT_EQ(Page()->GetElementCount(), 0);
        EXPECT_EQ(Page()->GetPointCount(), 0);
        EXPECT_EQ(doc.UndoCount(), steps);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(Tool()->HasSelection());
    }

    // A drawing that would land beyond the page's coordinates.
    libtest::Sheet far;
    std::vector<CGraphElement*> wide = {far.Picture({-90000000, 0}, {90000000, 0}, {90000000, 10}, {-90000000, 10})};
    chosen = WriteBytes(QStringLiteral("wide.vkl"), CLibraryWriter::Build(wide));
    ModalDriver driver;
    SelectTool(kTool);
    PlaceBox({50000, 1000}, {51000, 2000});
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0], LoadResString(36201));
    EXPECT_EQ(Page()->GetElementCount(), 0);
    EXPECT_EQ(doc.UndoCount(), steps);
}

// --- Plotter files -------------------------------------------------------------------------

TEST_F(PlaceTest, RealPlotterFilesAreMovedWholeOntoTheBox)
{
    const QDir real(QStringLiteral(VEK_REALDATA_DIR "/hpgl"));
    const QStringList names = real.entryList({QStringLiteral("*.plt"), QStringLiteral("*.hp"), QStringLiteral("*.hpgl")},
                                             QDir::Files, QDir::Name);
    ASSERT_GE(names.size(), 5);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        // Any case of the suffix names a plotter file.
        chosen = files.filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".PLT"));
        QFile::remove(chosen);
        ASSERT_TRUE(QFile::copy(real.filePath(name), chosen));
        ModalDriver driver;
        SelectTool(kTool);
        const int steps = doc.UndoCount();
        const int before = Page()->GetElementCount();
        PlaceBox({3000, 2000}, {5000, 4000});
        EXPECT_TRUE(driver.messages.empty());
        ASSERT_GT(Page()->GetElementCount(), before);
        EXPECT_EQ(doc.UndoCount(), steps + 1);
        EXPECT_TRUE(Tool()->HasSelection());
        // Every line, open or closed, lies right and below the insertion
        // point, and the least coordinates of the lines are on it.
        // A drawing of labels alone has its least label origin there.
        CPoint least(INT_MAX, INT_MAX);
        CPoint leastText(INT_MAX, INT_MAX);
        const auto take = [](CPoint& into, const CPoint& p) {
            into = CPoint(std::min(into.x, p.x), std::min(into.y, p.y));
        };
        for (CGraphElement* e : Tool()->GetSelectedElements()) {
            if (e->GetType() == ELEMENT_TEXT) take(leastText, static_cast<CTextElement*>(e)->GetOrigin());
            if (e->GetType() != ELEMENT_CURVE) continue;
            for (const CCurveNode* node : static_cast<CCurveElement*>(e)->Nodes()) take(least, node->GetPosition());
        }
        EXPECT_EQ(least.x == INT_MAX ? leastText : least, CPoint(3000, 2000));
        // Labels came along: they stay near the drawing.
        const CRect all = BoundsOf(Tool()->GetSelectedElements());
        EXPECT_GT(all.left, 3000 - 2000);
        EXPECT_GT(all.top, 2000 - 2000);
        RightClick(90000, 90000);
        view->OnEditUndo();
        EXPECT_EQ(Page()->GetElementCount(), before);
    }
}

TEST_F(PlaceTest, PlotterFilesThatCannotBePlacedSaySoAndChangeNothing)
{
    struct Case {
        const char* name;
        QString path;
        int message;
    };
    const Case cases[] = {
        {"not plotter language", WriteBytes(QStringLiteral("text.plt"), "1234 hello"), 36065},
        {"missing", files.filePath(QStringLiteral("missing.plt")), 36066},
        {"draws nothing", WriteBytes(QStringLiteral("nothing.plt"), "IN;SP1;PU100,100;"), 36150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chosen = c.path;
        ModalDriver driver;
        SelectTool(kTool);
        const int steps = doc.UndoCount();
        PlaceBox({1000, 1000}, {2000, 2000});
        ASSERT_EQ(driver.messages.size(), 1u);
        EXPECT_EQ(driver.messages[0], LoadResString(c.message));
        EXPECT_EQ(Page()->GetElementCount(), 0);
        EXPECT_EQ(doc.UndoCount(), steps);
        EXPECT_FALSE(doc.IsModified());
        // No empty frame is left behind.
        EXPECT_FALSE(Tool()->HasSelection());
    }
}

// --- Saving the selection --------------------------------------------------------------------

TEST_F(PlaceTest, TheSelectionSavedAsALibraryFileReadsBack)
{
    AddCurve({{1000, 1000}, {5000, 1000}, {5000, 3000}}, 0);
    AddCurve({{1000, 6000}, {5000, 6000}}, 1);
    Click(500, 500);
    MoveTo(6000, 7000);
    Click(6000, 7000);
    RightClick(9000, 9000);
    ASSERT_TRUE(Tool()->HasSelection());

    const QString path = files.filePath(QStringLiteral("saved.vkl"));
    ASSERT_TRUE(Tool()->WriteLibraryFile(path));
    CLibraryContent content;
    ASSERT_EQ(CLibraryReader::ReadFile(path, 0, content), CLibraryReader::Result::Ok);
    EXPECT_EQ(content.GetElementCount(), 2);
    EXPECT_EQ(content.GetPointCount(), 5);

    // A folder that is not there: the failure is said as a document save
    // says it, nothing is left.
    ModalDriver driver;
    EXPECT_FALSE(Tool()->WriteLibraryFile(files.filePath(QStringLiteral("no/such/folder.vkl"))));
    ASSERT_EQ(driver.messages.size(), 1u);
    EXPECT_EQ(driver.messages[0], LoadResString(36180).arg(QStringLiteral("folder.vkl"), LoadResString(36185)));
    EXPECT_FALSE(QFileInfo::exists(files.filePath(QStringLiteral("no"))));
}

// A library file saved onto a named pipe, or a link to one, is refused as
// a document save refuses it, and the pipe stays a pipe: no regular file
// takes its place.
TEST_F(PlaceTest, SavingALibraryFileOntoAPipeIsRefusedAndThePipeLeft)
{
    AddCurve({{1000, 1000}, {5000, 1000}, {5000, 3000}}, 0);
    Click(500, 500);
    MoveTo(6000, 7000);
    Click(6000, 7000);
    RightClick(9000, 9000);
    ASSERT_TRUE(Tool()->HasSelection());

    const QString pipe = files.filePath(QStringLiteral("pipe.vkl"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString link = files.filePath(QStringLiteral("link.vkl"));
    ASSERT_TRUE(QFile::link(pipe, link));
    for (const QString& path : {pipe, link}) {
        SCOPED_TRACE(qPrintable(path));
        ModalDriver driver;
        EXPECT_FALSE(Tool()->WriteLibraryFile(path));
        ASSERT_EQ(driver.messages.size(), 1u);
        EXPECT_EQ(driver.messages[0],
                  LoadResString(36180).arg(QFileInfo(path).fileName(), LoadResString(36198)));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode));
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }
    EXPECT_EQ(QDir(files.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("link.vkl"), QStringLiteral("pipe.vkl")}));
}

TEST_F(PlaceTest, SaveAsLineTypeAddsTheSelectedCurvesAsAPattern)
{
    AddCurve({{1000, 1000}, {1500, 1400}, {2000, 1000}}, 0);
    auto* text = new CTextElement(Page(), 0, CTextFont("A", Settings().m_lfDefaultFont, 0), 1000, 3000, TRANSPARENT);
    Pages().AddElementToPage(text);
    const std::size_t types = Settings().m_aLineTypes.size();
    Click(1250, 1200);
    RightClick(9000, 9000);
    view->OnCommand(ID_SAVE_AS_LINE_TYPE);
    ASSERT_EQ(Settings().m_aLineTypes.size(), types + 1);
    const CLineAttr& added = Settings().m_aLineTypes.back();
    EXPECT_EQ(added.GetKind(), LINE_CUSTOM);
    EXPECT_EQ(added.GetWidth(), 300);
    EXPECT_EQ(added.GetParam(2), 100);
    EXPECT_FALSE(added.GetShapes().empty());

    // Texts alone make no pattern.
    SelectTool(kTool);
    const CPoint inText = text->GetOrigin() + CPoint(20, 20);
    Click(inText.x, inText.y);
    RightClick(9000, 9000);
    view->OnCommand(ID_SAVE_AS_LINE_TYPE);
    EXPECT_EQ(Settings().m_aLineTypes.size(), types + 1);
}

TEST_F(PlaceTest, TheBitmapCopyHoldsTheSelectionAtTwiceTheScreenSize)
{
    AddCurve({{1000, 1000}, {5000, 1000}, {5000, 3000}}, 0);
    Click(3000, 1000);
    RightClick(9000, 9000);
    const CRect r = Tool()->GetSelectionRect();
    ASSERT_TRUE(view->OnCommand(ID_COPY_BITMAP));
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), int(r.Width() / (view->GetScale() / 2)) + 5);
    EXPECT_EQ(image.height(), int(r.Height() / (view->GetScale() / 2)) + 5);
    // The line is in the picture: dark pixels along its top.
    int dark = 0;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < 8 && y < image.height(); ++y) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, image.width() / 2);
}

// The whole way a user goes: the browser opens at the last library path,
// the user picks a thumbnail and confirms.
TEST_F(PlaceTest, ThroughTheLibraryBrowser)
{
    const QString path = WriteDrawing(QStringLiteral("sleeve.vkl"));
    WriteDrawing(QStringLiteral("collar.vkl"));
    Settings().m_strLibraryFolder = QStringToGbk(files.filePath(QStringLiteral("*.vkl")));
    // The tool's own chooser: the library browser.
    view->ReplaceTool(kTool, std::make_unique<CVTProcessDrawing>(view.get()));
    SelectTool(kTool);
    ModalDriver driver;
    driver.Then([](QWidget* w) {
        auto* dialog = qobject_cast<CDrawingLibraryDlg*>(w);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->ListBox()->count(), 2);
        dialog->ListBox()->setCurrentRow(1);
        dialog->accept();
    });
    PlaceBox({7000, 7000}, {8000, 8000});
    EXPECT_TRUE(driver.Idle());
    EXPECT_EQ(driver.unexpected, 0);
    ASSERT_EQ(Page()->GetElementCount(), 3);
    EXPECT_EQ(static_cast<CImageElement*>(Page()->ElementAt(0))->GetUpperLeft(), CPoint(7000, 7000));
    EXPECT_EQ(GbkToQString(Settings().m_strLibraryFolder), path);
}

// A table comes with a library drawing, stands in the frame with it and
// follows a move and a scaling, never a turn.
TEST_F(PlaceTest, PlacedTablesMoveAndScaleWithTheFrame)
{
    libtest::Sheet sheet;
    std::vector<CGraphElement*> elements = {sheet.Table(CRect(1000, 1000, 4000, 2200))};
    chosen = WriteBytes(QStringLiteral("table.vkl"), CLibraryWriter::Build(elements));
    PlaceBox({2000, 3000}, {2600, 3600});
    ASSERT_EQ(Page()->GetElementCount(), 1);
    auto* table = static_cast<CTableElement*>(Page()->ElementAt(0));
    const CRect placed = table->GetTableRect();
    EXPECT_EQ(placed.TopLeft() - table->GetBoundRect().TopLeft(), CPoint(23, 23));
    ASSERT_TRUE(Tool()->HasSelection());

    // Moved by (1000, 500).
    const CPoint centre = Tool()->GetFrame().Centre();
    MoveTo(centre.x, centre.y);
    Click(centre.x, centre.y);
    MoveTo(centre.x + 1000, centre.y + 500);
    Click(centre.x + 1000, centre.y + 500);
    const int steps = doc.UndoCount();
    RightClick(90000, 90000);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_EQ(table->GetTableRect(), CRect(placed.left + 1000, placed.top + 500, placed.right + 1000,
                                           placed.bottom + 500));

    // Picked by a click inside it, made twice as wide from the right edge.
    Click(table->GetTableRect().left + 100, table->GetTableRect().top + 100);
    ASSERT_EQ(Tool()->GetSelectedElements(), std::vector<CGraphElement*>{table});
    RightClick(90000, 90000);
    const CTransformFrame& frame = Tool()->GetFrame();
    const CPoint right((frame.P(1).x + frame.P(2).x) / 2, (frame.P(1).y + frame.P(2).y) / 2);
    const int width = frame.Width();
    MoveTo(right.x, right.y);
    ASSERT_EQ(Tool()->GetHoverKind(), CTransformFrame::kEdgeRight);
    Click(right.x, right.y);
    MoveTo(right.x + width, right.y);
    Click(right.x + width, right.y);
    const CRect before = table->GetTableRect();
    RightClick(90000, 90000);
    const CRect after = table->GetTableRect();
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.Height(), before.Height());
    EXPECT_NEAR(after.Width(), 2 * before.Width(), 60);

    // A box gathers it too.
    SelectTool(kTool);
    Click(after.left - 500, after.top - 500);
    MoveTo(after.left + 200, after.top + 200);
    Click(after.left + 200, after.top + 200);
    EXPECT_EQ(Tool()->GetSelectedElements(), std::vector<CGraphElement*>{table});
}
