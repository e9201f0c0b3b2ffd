// File > 输入HPGL文件 on a document: one undo step with the modified flag,
// the messages of files that cannot be imported with the document left as
// it was, pages rendered from real plotter files, and the command in the
// main window's File menu.
#include "library/tool/CHpglImport.h"
#include "shell/CMainFrame.h"
#include "settings/CSystemSettings.h"
#include "shell/CVEKApp.h"
#include "app/CVEKDoc.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "library/CHpglDrawing.h"
#include "library/CHpglReader.h"
#include "library/HpglEncodedPolyline.h"
#include "library/HpglState.h"
#include "model/CClosedCurveElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "platform/CDC.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

#include <string>

namespace {

class HpglImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        Settings().SetDefaults();
        Settings().m_strBackupFile = dir.filePath(QStringLiteral("backup.vek")).toStdString();
        ASSERT_TRUE(doc.OnNewDocument());
    }

    QString Write(const char* name, const std::string& bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), qint64(bytes.size()));
        return path;
    }

    CPage* Page() const { return doc.GetPageSet()->GetCurrentPage(); }

    std::vector<CGraphElement*> Elements() const
    {
        std::vector<CGraphElement*> out;
        for (int i = 0; i < Page()->GetElementCount(); ++i) out.push_back(Page()->ElementAt(i));
        return out;
    }

    QTemporaryDir dir;
    CVEKDoc doc;
};

QString RealFile(const char* name)
{
    return QStringLiteral(VEK_REALDATA_DIR "/hpgl/") + QString::fromLatin1(name);
}

std::vector<CPoint> NodePositions(CGraphElement* element)
{
    std::vector<CPoint> out;
    auto* curve = dynamic_cast<CCurveElement*>(element);
    if (!curve) return out;
    CCurveNodeList nodes;
    curve->GetNodes(nodes);
    for (CCurveNode* n : nodes) out.push_back(n->GetPosition());
    return out;
}

QImage RenderPage(const CPageSet& pageSet, double scale, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        CDC dc(&painter);
        pageSet.DrawPage(pageSet.GetCurrentPageIndex(), &dc, scale, 0, 0, CRect(0, 0, size.width(), size.height()));
    }
    painter.end();
    return image;
}

int RoundToIntTenth(int plot)
{
    return RoundToInt(plot * 0.1);
}

bool Ink(const QImage& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.width() && y < image.height() && qGray(image.pixel(x, y)) < 160;
}

QRect InkBounds(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Ink(image, x, y)) r |= QRect(x, y, 1, 1);
    return r;
}

// Pixels inked in `a` with no ink of `b` within one pixel.
int InkMissingFrom(const QImage& a, const QImage& b)
{
    int missing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (!Ink(a, x, y)) continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx) near = Ink(b, x + dx, y + dy);
            missing += near ? 0 : 1;
        }
    return missing;
}

} // namespace

TEST_F(HpglImportTest, OneUndoStepMarksTheDocumentModified)
{
    ASSERT_FALSE(doc.IsModified());
    const CHpglImport::Result r = CHpglImport::ImportFile(doc, RealFile("inkscape_ext_tests_test.hpgl"));
    EXPECT_EQ(r.messageId, 0);
    EXPECT_EQ(r.curves, 5);
    EXPECT_EQ(r.texts, 0);
    EXPECT_EQ(Page()->GetElementCount(), 5);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_FALSE(doc.HasPendingUndoStep());

    // The same file again adds its elements again.
    CHpglImport::ImportFile(doc, RealFile("inkscape_ext_tests_test.hpgl"));
    EXPECT_EQ(Page()->GetElementCount(), 10);
    EXPECT_EQ(doc.UndoCount(), 2);

    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.GetPageSet()->GetCurrentPage()->GetElementCount(), 5);
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.GetPageSet()->GetCurrentPage()->GetElementCount(), 0);
}

TEST_F(HpglImportTest, FilesThatCannotBeImportedLeaveTheDocumentAsItWas)
{
    std::string manyPoints = "IN;";
    for (int i = 0; i < 4100; ++i) manyPoints += "CI1,0.36;";
    const QString fifo = dir.filePath(QStringLiteral("pipe.plt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    const struct {
        const char* name;
        QString path;
        int message;
    } cases[] = {
        {"missing", dir.filePath(QStringLiteral("none.plt")), Ids::IDS_CANNOT_OPEN},
        {"a folder", dir.path(), Ids::IDS_CANNOT_OPEN},
        // Opening a pipe would wait for a writer for ever.
        {"a pipe", fifo, Ids::IDS_CANNOT_OPEN},
        {"digit after DF", Write("df.plt", "IN;PD0,0,100,100;DF1;"), Ids::IDS_NOT_HPGL},
        {"no plotter data", Write("picture.plt", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0", 20)),
         Ids::IDS_NOT_HPGL},
        // "please" holds EA, a plotter command, but nothing draws.
        {"prose", Write("text.plt", "Dear customer,\nplease find the marker attached.\n"), Ids::IDS_HPGL_NOTHING_DRAWN},
        {"nothing drawable", Write("empty.plt", "IN;SP1;PU100,100;SP0;PG;"), Ids::IDS_HPGL_NOTHING_DRAWN},
        {"too many points", Write("many.plt", manyPoints), Ids::IDS_HPGL_TOO_MUCH},
        {"beyond any sheet", Write("huge.plt", "IN;PD0,0,400000000,0;"), Ids::IDS_HPGL_TOO_LARGE},
    };
    for (const auto& c : cases) {
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(CHpglImport::ImportFile(doc, c.path).messageId, c.message) << c.name;
        EXPECT_LT(timer.elapsed(), 5000) << c.name;
        EXPECT_EQ(Page()->GetElementCount(), 0) << c.name;
        EXPECT_EQ(Page()->GetPointCount(), 0) << c.name;
        EXPECT_FALSE(doc.IsModified()) << c.name;
        EXPECT_EQ(doc.UndoCount(), 0) << c.name;
        EXPECT_FALSE(doc.HasPendingUndoStep()) << c.name;
    }
    EXPECT_FALSE(LoadResString(Ids::IDS_HPGL_NOTHING_DRAWN).isEmpty());
    EXPECT_FALSE(LoadResString(Ids::IDS_HPGL_TOO_MUCH).isEmpty());
    EXPECT_FALSE(LoadResString(Ids::IDS_HPGL_TOO_LARGE).isEmpty());

    // A sound file after a refused one shows nothing of the refused one.
    Write("labels.plt", "IN;LBleft over\x03SS1;");
    EXPECT_EQ(CHpglImport::ImportFile(doc, dir.filePath(QStringLiteral("labels.plt"))).messageId, Ids::IDS_NOT_HPGL);
    EXPECT_EQ(CHpglImport::ImportFile(doc, Write("ok.plt", "IN;PD400,0;")).messageId, 0);
    ASSERT_EQ(Page()->GetElementCount(), 1);
    EXPECT_EQ(Page()->ElementAt(0)->GetType(), ELEMENT_CURVE);
}

TEST_F(HpglImportTest, PlacedAtATenthWithTheTopLeftAtThePageOrigin)
{
    // Two lines and a label: a 10 mm line along the top, a closed square
    // below it, a label at the square's corner.
    const std::string file = "IN;SP1;PU0,800;PD400,800;PU0,0;PD400,0,400,400,0,400,0,0;LT2;PU0,400;LBA1\x03";
    ASSERT_EQ(CHpglImport::ImportFile(doc, Write("two.plt", file)).messageId, 0);
    const std::vector<CGraphElement*> e = Elements();
    ASSERT_EQ(e.size(), 3u);
    const int level = Page()->GetMaxLevel();
    for (CGraphElement* element : e) EXPECT_EQ(element->GetLevel(), level);

    ASSERT_NE(dynamic_cast<COpenCurveElement*>(e[0]), nullptr);
    // 10 mm plotted is 1 mm on the page; the topmost point is at y = 0.
    EXPECT_EQ(NodePositions(e[0]), (std::vector<CPoint>{{0, 0}, {100, 0}}));
    auto* square = dynamic_cast<CClosedCurveElement*>(e[1]);
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(NodePositions(e[1]), (std::vector<CPoint>{{0, 200}, {100, 200}, {100, 100}, {0, 100}, {0, 200}}));
    // The settings' entry 4 and the current width; open lines a thirtieth.
    const CSystemSettings& s = Settings();
    EXPECT_EQ(square->GetLineAttr().GetKind(), s.m_aLineTypes[4].GetKind());
    EXPECT_EQ(square->GetLineAttr().GetWidth(), s.m_aLineTypePreviews[std::size_t(s.m_nCurLineType)].GetWidth());
    EXPECT_EQ(static_cast<CCurveElement*>(e[0])->GetLineAttr().GetWidth(), square->GetLineAttr().GetWidth() / 30);

    auto* text = dynamic_cast<CTextElement*>(e[2]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetTextFont().GetText(), "A1");
    EXPECT_EQ(text->GetTextFont().GetColor(), s.m_crFontColor);
    // Anchored at the square's top-left (0, 100) and moved up by the
    // character height, 375 plot units.
    EXPECT_EQ(text->GetOrigin(), CPoint(0, 63));
}

// A CAD program's encoded polylines: a square in base 64 with a pen-up
// absolute first move, a circle's worth of relative steps, and the
// 7-bit variant of the same square.
TEST_F(HpglImportTest, EncodedPolylinesImport)
{
    auto enc = [](long long v, bool seven = false) { return EncodeHpglNumber(v, seven); };
    std::string file = "IN;SP1;PE<=" + enc(0) + enc(0) + enc(2000) + enc(0) + enc(0) + enc(2000) + enc(-2000) +
                       enc(0) + enc(0) + enc(-2000) + ";";
    file += "PE7<=" + enc(4000, true) + enc(0, true) + enc(2000, true) + enc(0, true) + enc(0, true) +
            enc(2000, true) + enc(-2000, true) + enc(0, true) + enc(0, true) + enc(-2000, true) + ";";
    ASSERT_EQ(CHpglImport::ImportFile(doc, Write("encoded.plt", file)).messageId, 0);
    const std::vector<CGraphElement*> e = Elements();
    ASSERT_EQ(e.size(), 2u);
    // 2000 plotter units are 50 mm plotted, 500 page units.
    EXPECT_NE(dynamic_cast<CClosedCurveElement*>(e[0]), nullptr);
    EXPECT_EQ(NodePositions(e[0]), (std::vector<CPoint>{{0, 500}, {500, 500}, {500, 0}, {0, 0}, {0, 500}}));
    EXPECT_NE(dynamic_cast<CClosedCurveElement*>(e[1]), nullptr);
    EXPECT_EQ(NodePositions(e[1]),
              (std::vector<CPoint>{{1000, 500}, {1500, 500}, {1500, 0}, {1000, 0}, {1000, 500}}));
}

// Pages rendered from two real files: the ink covers exactly the drawing
// at a tenth, and every line of the drawing is on the page.
TEST_F(HpglImportTest, RenderedPagesShowTheDrawing)
{
    // Plain hairlines throughout, so that every drawn pixel can be
    // compared.
    CSystemSettings& s = Settings();
    s.m_aLineTypes[4].SetKind(LINE_PLAIN);
    s.m_aLineTypePreviews[std::size_t(s.m_nCurLineType)].SetWidth(0);
    for (const char* name : {"inkscape_ext_tests_test.hpgl", "hp2xx_acad.hp"}) {
        SCOPED_TRACE(name);
        CVEKDoc fresh;
        ASSERT_TRUE(fresh.OnNewDocument());
        ASSERT_EQ(CHpglImport::ImportFile(fresh, RealFile(name)).messageId, 0);
        constexpr double kScale = 3.0;
        const QImage page = RenderPage(*fresh.GetPageSet(), kScale, QSize(700, 700));

        HpglState state;
        ASSERT_EQ(CHpglReader::ReadFile(RealFile(name), state), CHpglReader::Result::Ok);
        CHpglDrawing drawing;
        ASSERT_EQ(drawing.Build(state), CHpglDrawing::Result::Ok);
        const QRect ink = InkBounds(page);
        const CPoint corner = ModelToDevicePoint(RoundToIntTenth(drawing.Bounds().right),
                                                 RoundToIntTenth(drawing.Bounds().bottom), kScale, 0, 0);
        EXPECT_LE(std::abs(ink.left()), 1);
        EXPECT_LE(std::abs(ink.top()), 1);
        EXPECT_LE(std::abs(ink.right() - corner.x), 1);
        EXPECT_LE(std::abs(ink.bottom() - corner.y), 1);

        // The drawing's lines drawn straight onto a raster of the same size.
        QImage expected(page.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        QPainter painter(&expected);
        painter.setPen(QPen(Qt::black, 0));
        for (const CHpglPolyline& p : drawing.Polylines()) {
            QPolygon polygon;
            for (const CPoint& q : p.points) {
                const CPoint d = ModelToDevicePoint(RoundToIntTenth(q.x), RoundToIntTenth(q.y), kScale, 0, 0);
                polygon << QPoint(d.x, d.y);
            }
            painter.drawPolyline(polygon);
        }
        painter.end();
        int expectedInk = 0;
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) expectedInk += Ink(expected, x, y) ? 1 : 0;
        ASSERT_GT(expectedInk, 1000);
        EXPECT_LT(InkMissingFrom(expected, page), expectedInk / 100);
        EXPECT_LT(InkMissingFrom(page, expected), expectedInk / 100);
    }
}

TEST(HpglImportCommand, InTheFileMenuAndRefusingWithTheMessage)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    CMainFrame frame;
    ASSERT_TRUE(frame.NewDocument());
    QAction* action = frame.CommandAction(ID_IMPORT_HPGL);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), QString::fromUtf8("输入HPGL文件(&H)"));
    bool inFileMenu = false;
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        if (menu->title() == QString::fromUtf8("文件(&F)")) inFileMenu = menu->actions().contains(action);
    EXPECT_TRUE(inFileMenu);

    const QString path = home.filePath(QStringLiteral("bad.plt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("DF9;");
    }
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    EXPECT_FALSE(frame.ImportHpglFile(path));
    EXPECT_EQ(shown, QString::fromUtf8("不是HP-GL文件 ！"));
    EXPECT_FALSE(frame.GetDocument()->IsModified());

    EXPECT_TRUE(frame.ImportHpglFile(RealFile("hp2xx_fwedges.plt")));
    EXPECT_TRUE(frame.GetDocument()->IsModified());
    EXPECT_EQ(frame.GetDocument()->GetPageSet()->GetCurrentPage()->GetElementCount(), 7);
}
