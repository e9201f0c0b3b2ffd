#include "app/CPagePrinter.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"

#include "PageContent.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr double kPointsPerMM = 72.0 / 25.4;

// A document of `pages` pages on A4; page i holds a filled square of
// 20 mm whose top-left lies at (10 + 30 i) mm on both axes.
std::unique_ptr<CPageSet> Document(int pages, const CSize& paper = CSize(21000, 29700))
{
    auto ps = std::make_unique<CPageSet>();
    for (int i = 0; i < pages; ++i) {
        ps->AppendPage();
        AddFilledSquare(ps->GetPageAt(i), 1000 + 3000 * i, 1000 + 3000 * i, 2000, i % 2 ? kBlue : kRed);
    }
    ps->SetPaperSize(paper.cx, paper.cy);
    ps->SetMargins(500, 500, 500, 500);
    return ps;
}

struct PdfPages {
    int count = 0;
    std::vector<QSizeF> mediaBoxes; // points
};

// The page objects of a PDF file and their media boxes.
PdfPages ReadPdf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(file.readAll());
    PdfPages pdf;
    pdf.count = int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
    const QRegularExpression box(QStringLiteral(
        "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    for (auto it = box.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pdf.mediaBoxes.emplace_back(m.captured(3).toDouble() - m.captured(1).toDouble(),
                                    m.captured(4).toDouble() - m.captured(2).toDouble());
    }
    return pdf;
}

class PagePrinterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        Settings().SetDefaults();
    }

    QString PrintToPdf(const CPageSet& ps, const char* name, const std::function<void(QPrinter&)>& range = {})
    {
        const QString path = dir.filePath(QString::fromUtf8(name));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        const CPagePrinter pagePrinter(ps);
        pagePrinter.OnPreparePrinting(printer);
        if (range) range(printer);
        QString error;
        EXPECT_TRUE(pagePrinter.PrintPages(printer, &error)) << error.toStdString();
        return path;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PagePrinterTest, EveryPagePrintsOnASheetOfTheDocumentsPaper)
{
    struct Case {
        const char* name;
        int pages;
        CSize paper;    // page units
        QSizeF sheetMM; // as the PDF's media box says
    };
    const Case cases[] = {
        {"three A4 pages", 3, CSize(21000, 29700), QSizeF(210, 297)},
        {"A3 landscape", 1, CSize(42000, 29700), QSizeF(420, 297)},
        {"odd size", 2, CSize(15000, 25000), QSizeF(150, 250)},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<CPageSet> ps = Document(c.pages, c.paper);
        const PdfPages pdf = ReadPdf(PrintToPdf(*ps, c.name));
        EXPECT_EQ(pdf.count, c.pages) << c.name;
        ASSERT_EQ(int(pdf.mediaBoxes.size()), c.pages) << c.name;
        for (const QSizeF& box : pdf.mediaBoxes) {
            EXPECT_NEAR(box.width(), c.sheetMM.width() * kPointsPerMM, 1.0) << c.name;
            EXPECT_NEAR(box.height(), c.sheetMM.height() * kPointsPerMM, 1.0) << c.name;
        }
    }
}

TEST_F(PagePrinterTest, ThePrintersRangeChoosesThePages)
{
    const std::unique_ptr<CPageSet> ps = Document(4);
    ps->SetCurrentPageIndex(2);
    struct Case {
        const char* name;
        std::function<void(QPrinter&)> range;
        std::vector<int> pages;
    };
    const Case cases[] = {
        {"all", [](QPrinter& p) { p.setPrintRange(QPrinter::AllPages); }, {0, 1, 2, 3}},
        {"2 to 3", [](QPrinter& p) { p.setPrintRange(QPrinter::PageRange); p.setFromTo(2, 3); }, {1, 2}},
        {"beyond the end", [](QPrinter& p) { p.setPrintRange(QPrinter::PageRange); p.setFromTo(3, 9); }, {2, 3}},
        {"current", [](QPrinter& p) { p.setPrintRange(QPrinter::CurrentPage); }, {2}},
    };
    for (const Case& c : cases) {
        QPrinter printer;
        const CPagePrinter pagePrinter(*ps);
        pagePrinter.OnPreparePrinting(printer);
        c.range(printer);
        EXPECT_EQ(pagePrinter.GetPagesToPrint(printer), c.pages) << c.name;
    }
    EXPECT_EQ(ReadPdf(PrintToPdf(*ps, "range.pdf", cases[1].range)).count, 2);
}

TEST_F(PagePrinterTest, APrintedPageShowsItsOwnElementsAtTrueSize)
{
    const std::unique_ptr<CPageSet> ps = Document(3);
    // 127 dots per inch: five pixels per millimetre.
    constexpr int kPerMM = 5;
    QImage sheet(210 * kPerMM, 297 * kPerMM, QImage::Format_RGB32);
    sheet.setDotsPerMeterX(5000);
    sheet.setDotsPerMeterY(5000);
    const CPagePrinter printer(*ps);
    auto at = [&sheet](int xMM, int yMM) { return sheet.pixelColor(xMM * kPerMM, yMM * kPerMM); };
    for (int i = 0; i < 3; ++i) {
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        printer.OnPrint(painter, i);
        painter.end();
        const COLORREF colour = i % 2 ? kBlue : kRed;
        const int corner = 10 + 30 * i; // the square's top-left in millimetres
        for (const QPoint& inside : {QPoint(1, 1), QPoint(10, 10), QPoint(19, 1), QPoint(19, 19)})
            EXPECT_TRUE(Near(at(corner + inside.x(), corner + inside.y()), colour, 0)) << i;
        // Its edges at 20 mm, and nothing around it.
        EXPECT_TRUE(Near(sheet.pixelColor((corner + 20) * kPerMM + 2, (corner + 10) * kPerMM), kWhite, 0)) << i;
        EXPECT_TRUE(Near(sheet.pixelColor((corner + 10) * kPerMM, (corner + 20) * kPerMM + 2), kWhite, 0)) << i;
        EXPECT_TRUE(Near(sheet.pixelColor(corner * kPerMM - 2, (corner + 10) * kPerMM), kWhite, 0)) << i;
        // Nothing of the other pages, and no paper frame or margin frame.
        const int other = 10 + 30 * ((i + 1) % 3);
        EXPECT_TRUE(Near(at(other + 10, other + 10), kWhite, 0)) << i;
        EXPECT_TRUE(Near(sheet.pixelColor(0, 150 * kPerMM), kWhite, 0)) << i;
        EXPECT_TRUE(Near(at(5, 150), kWhite, 0)) << i;
    }
}

TEST_F(PagePrinterTest, ThePageImageIsTheDocumentsWholePaper)
{
    // The settings' default paper plays no part.
    Settings().m_sizeDefaultPaper = CSize(10000, 10000);
    struct Case {
        const char* name;
        CSize paper;
        QSize pixels;
    };
    const Case cases[] = {
        {"A4", CSize(21000, 29700), QSize(422, 597)},
        {"A3 landscape", CSize(42000, 29700), QSize(844, 597)},
        {"A5", CSize(14800, 21000), QSize(297, 422)},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<CPageSet> ps = Document(2, c.paper);
        ps->SetCurrentPageIndex(1);
        const QString path = dir.filePath(QString::fromUtf8(c.name) + QStringLiteral(".jpg"));
        QString error;
        ASSERT_TRUE(CPagePrinter(*ps).SaveAsImage(path, &error)) << c.name << error.toStdString();

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(3) == QByteArray("\xFF\xD8\xFF", 3)) << c.name;
        file.close();
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray("jpeg")) << c.name;
        const QImage image = reader.read();
        ASSERT_EQ(image.size(), c.pixels) << c.name;

        // The current page's blue square from 40 to 60 mm: pixels 80 to 120.
        EXPECT_TRUE(Near(image.pixelColor(100, 100), kBlue)) << c.name;
        EXPECT_TRUE(Near(image.pixelColor(85, 115), kBlue)) << c.name;
        // The other page's red square is not there; paper elsewhere.
        EXPECT_TRUE(Near(image.pixelColor(40, 40), kWhite)) << c.name;
        EXPECT_TRUE(Near(image.pixelColor(c.pixels.width() - 30, c.pixels.height() - 30), kWhite)) << c.name;
        // The paper's black frame on all four edges.
        for (const QPoint& edge : {QPoint(0, 200), QPoint(200, 0), QPoint(c.pixels.width() - 1, 200),
                                   QPoint(200, c.pixels.height() - 1)})
            EXPECT_LT(image.pixelColor(edge).lightness(), 100) << c.name << " " << edge.x() << "," << edge.y();
    }
}

TEST_F(PagePrinterTest, TheImageIsWrittenWithoutAnyOtherFile)
{
    const std::unique_ptr<CPageSet> ps = Document(1);
    const QString path = dir.filePath(QStringLiteral("page.jpg"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old content");
    }
    ASSERT_TRUE(CPagePrinter(*ps).SaveAsImage(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("page.jpg")});
    EXPECT_EQ(QImageReader(path).size(), QSize(422, 597));
}

TEST_F(PagePrinterTest, AFailureToWriteIsReported)
{
    const std::unique_ptr<CPageSet> ps = Document(1);
    QString error;
    const QString path = dir.filePath(QStringLiteral("no such folder/page.jpg"));
    EXPECT_FALSE(CPagePrinter(*ps).SaveAsImage(path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));

    // A paper without area cannot become an image.
    ps->SetPaperSize(0, 29700);
    error.clear();
    EXPECT_FALSE(CPagePrinter(*ps).SaveAsImage(dir.filePath(QStringLiteral("flat.jpg")), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(PagePrinterTest, PageSetupIsAnUndoableStep)
{
    CVEKDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    ASSERT_FALSE(doc.IsModified());

    EXPECT_FALSE(CPagePrinter::ApplyPageSetup(doc, CSize(21000, 29700), 500, 500, 500, 500));
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());

    ASSERT_TRUE(CPagePrinter::ApplyPageSetup(doc, CSize(29700, 42000), 100, 200, 300, 400));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPageSet()->GetPaperSize(), CSize(29700, 42000));
    int top = 0, bottom = 0, left = 0, right = 0;
    doc.GetPageSet()->GetMargins(top, bottom, left, right);
    EXPECT_EQ(std::vector<int>({top, bottom, left, right}), std::vector<int>({100, 200, 300, 400}));

    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.GetPageSet()->GetPaperSize(), CSize(21000, 29700));
}

TEST_F(PagePrinterTest, PreviewNeedsAPage)
{
    EXPECT_FALSE(CPagePrinter::CanPrintPreview(nullptr));
    CPageSet empty;
    EXPECT_FALSE(CPagePrinter::CanPrintPreview(&empty));
    EXPECT_TRUE(CPagePrinter::CanPrintPreview(Document(1).get()));
}
