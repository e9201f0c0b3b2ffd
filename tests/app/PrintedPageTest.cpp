// A printed page against the same page on the screen: every line type,
// arrowhead, fill and a tiny picture, drawn once as the view draws it (at
// 0.1 mm per pixel) and once through the print loop, into a high-resolution
// printer image and into a PDF file. Both printouts are brought back to
// 0.1 mm per pixel and compared with the screen image region by region.
#include "app/CPagePrinter.h"
#include "settings/CSystemSettings.h"

#include "PageContent.h"

#include "geometry/Distance.h"

#include "model/CImageElement.h"
#include "model/CLineTypeShape.h"
#include "model/CPixelBlock.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The screen image shows 0.1 mm per pixel (254 dots per inch), as the
// printed drawing is laid out.
constexpr double kScreenScale = 10.0;
constexpr int kScreenDpi = 254;
// 101.6 x 127 mm: whole points (288 x 360), so the PDF's page is exact.
constexpr int kPaperW = 10160;
constexpr int kPaperH = 12700;

struct Region {
    std::string name;
    CRect area;  // page units
};

CCurveNodeList Line(CPage* page, int x0, int y0, int x1, int y1)
{
    return Corners({AddPoint(page, x0, y0), AddPoint(page, x1, y1)});
}

COpenCurveElement* AddLine(CPage* page, const CLineAttr& attr, int y, int startArrow = 0, int endArrow = 0)
{
    auto* curve = new COpenCurveElement(page, 0, attr, RGB(0, 0, 0), Line(page, 1000, y, 9000, y), startArrow,
                                        600, 53.0, endArrow, 600, 53.0);
    page->AddElement(curve);
    return curve;
}

CLineTypeShapeArray ZigZagPattern()
{
    CPointList zig;
    for (const CPoint& p : {CPoint(0, 100), CPoint(50, 0), CPoint(100, 100), CPoint(150, 0)}) zig.AddTail(p);
    CLineTypeShapeArray shapes;
    shapes.push_back(CLineTypeShape(10, 0, zig));
    return shapes;
}

// The page: a row per line kind (0.1 mm wide, side lines 1 mm away), rows
// with each arrowhead, a square of hatch lines, a gradient square and a
// picture of 4 x 4 pixels stretched to 20 mm.
std::unique_ptr<CPageSet> LineTypePage(std::vector<Region>& regions)
{
    auto ps = std::make_unique<CPageSet>();
    ps->AppendPage();
    ps->SetPaperSize(kPaperW, kPaperH);
    ps->SetMargins(0, 0, 0, 0);
    CPage* page = ps->GetPageAt(0);

    struct Row {
        const char* name;
        CLineAttr attr;
        int startArrow, endArrow;
    };
    const std::vector<Row> rows = {
        {"plain", CLineAttr::Plain(10), 0, 0},
        {"dashed", CLineAttr::Dashed(10), 0, 0},
        {"dotted", CLineAttr::Dotted(20), 0, 0},
        {"dash pair", CLineAttr::DashPair(10), 0, 0},
        {"dash triple", CLineAttr::DashTriple(10), 0, 0},
        {"side line +", CLineAttr::SideLines(5, 10), 0, 0},
        {"side line -", CLineAttr::SideLines(6, 10), 0, 0},
        {"both sides", CLineAttr::SideLines(7, 10), 0, 0},
        {"double line", CLineAttr::SideLines(8, 10), 0, 0},
        {"custom pattern", CLineAttr::Custom(100, 50, ZigZagPattern()), 0, 0},
        {"filled and open arrowheads", CLineAttr::Plain(10), 1, 2},
        {"notched arrowhead", CLineAttr::Plain(20), 0, 3},
    };
    int y = 500;
    for (const Row& row : rows) {
        AddLine(page, row.attr, y, row.startArrow, row.endArrow);
        regions.push_back({row.name, CRect(800, y - 250, 9200, y + 250)});
        y += 500;
    }

    // Hatch lines at 45 degrees, 1 mm apart, inside a square.
    CSharedPoint* a = AddPoint(page, 1000, y + 200);
    CSharedPoint* b = AddPoint(page, 4000, y + 200);
    CSharedPoint* c = AddPoint(page, 4000, y + 3200);
    CSharedPoint* d = AddPoint(page, 1000, y + 3200);
    auto* hatch = new CClosedCurveElement(page, 0, CLineAttr::Plain(10), RGB(0, 0, 0), Corners({a, b, c, d}),
                                          nullptr, RGB(0, 0, 0));
    hatch->SetFillKind(FILL_LINES);
    hatch->SetLineFillAttr(CLineAttr::Plain(10));
    hatch->SetLineFillColor(RGB(0, 0, 0));
    hatch->SetLineFillAngle(45.0);
    hatch->SetLineFillSpacing(100);
    hatch->SetLineFillOrigin(1000, y + 200);
    page->AddElement(hatch);
    regions.push_back({"hatch fill", CRect(800, y, 4200, y + 3400)});

    CClosedCurveElement* gradient = AddFilledSquare(page, 5000, y + 200, 3000, RGB(255, 255, 255));
    gradient->SetFillKind(FILL_LINEAR);
    gradient->SetGradientColors(RGB(255, 0, 0), RGB(0, 0, 255));
    gradient->SetGradientPoints(5000, y + 200, 8000, y + 200);
    gradient->SetBlendPosition(0.5);
    regions.push_back({"gradient fill", CRect(4800, y, 8200, y + 3400)});
    y += 3400;

    QImage tiny(4, 4, QImage::Format_RGB32);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) tiny.setPixel(i, j, (i + j) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    auto* picture = new CImageElement(page, 0);
    const CPixelBlock pixels(tiny);
    picture->SetBitmapCopy(&pixels);
    picture->SetUpperLeft(1000, y);
    picture->SetUpperRight(3000, y);
    picture->SetLowerRight(3000, y + 2000);
    picture->SetLowerLeft(1000, y + 2000);
    page->AddElement(picture);
    regions.push_back({"tiny picture", CRect(800, y - 200, 3200, y + 2200)});

    // The same pixels as a bitmap fill, tiles of 10 mm.
    CClosedCurveElement* tiled = AddFilledSquare(page, 5000, y, 2000, RGB(255, 255, 255));
    tiled->SetFillKind(FILL_BITMAP);
    tiled->SetFillBitmap(tiny.copy(0, 0, 2, 2));
    tiled->SetBitmapTileSize(1000, 1000);
    tiled->SetBitmapCenter(5500, y + 500);
    regions.push_back({"bitmap fill", CRect(4800, y - 200, 7200, y + 2200)});
    return ps;
}

QImage ScreenImage(const CPageSet& ps)
{
    QImage image(RoundToInt(kPaperW / kScreenScale), RoundToInt(kPaperH / kScreenScale), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    dc.SetBkMode(TRANSPARENT);
    ps.DrawPage(0, &dc, kScreenScale, 0, 0, CRect(0, 0, image.width(), image.height()));
    return image;
}

// The page printed into an image of the given resolution and brought back
// to the screen's pixels by averaging, as a scanner would see the paper.
QImage PrinterImage(const CPageSet& ps, int dpi)
{
    const double factor = double(dpi) / kScreenDpi;
    const QSize screenSize(RoundToInt(kPaperW / kScreenScale), RoundToInt(kPaperH / kScreenScale));
    QImage sheet(RoundToInt(screenSize.width() * factor), RoundToInt(screenSize.height() * factor),
                 QImage::Format_RGB32);
    const int dotsPerMeter = RoundToInt(dpi / 0.0254);
    sheet.setDotsPerMeterX(dotsPerMeter);
    sheet.setDotsPerMeterY(dotsPerMeter);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        CPagePrinter(ps).OnPrint(painter, 0);
    }
    return sheet.scaled(screenSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// The page printed to a PDF file and rasterised at the screen's resolution
// by poppler; a null image when pdftoppm is not installed.
QImage PdfImage(const CPageSet& ps, const QTemporaryDir& dir)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty()) return QImage();
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    const CPagePrinter pagePrinter(ps);
    pagePrinter.OnPreparePrinting(printer);
    EXPECT_TRUE(pagePrinter.PrintPages(printer));
    const QString stem = dir.filePath(QStringLiteral("page"));
    // The size forced to the screen image's: the PDF's page is in whole
    // points, which rounds the pixels differently.
    const QSize size(RoundToInt(kPaperW / kScreenScale), RoundToInt(kPaperH / kScreenScale));
    QProcess::execute(tool, {QStringLiteral("-scale-to-x"), QString::number(size.width()),
                             QStringLiteral("-scale-to-y"), QString::number(size.height()),
                             QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    QImage image(stem + QStringLiteral(".png"));
    return image.convertToFormat(QImage::Format_RGB32);
}

// Ink of a pixel: how far it is from white, 0 ... 765.
int Ink(QRgb c)
{
    return 765 - qRed(c) - qGreen(c) - qBlue(c);
}

// Mean ink of the 3 x 3 pixels about (x, y): a line drawn a fraction of a
// pixel thinner or further over still covers the same places.
int BlurredInk(const QImage& image, int x, int y)
{
    int sum = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i)
            sum += Ink(image.pixel(std::clamp(x + i, 0, image.width() - 1), std::clamp(y + j, 0, image.height() - 1)));
    return sum / 9;
}

struct Comparison {
    double inkRatio = 0.0;       // printed ink over screen ink
    double missing = 0.0;        // part of the screen's inked places without print
    double stray = 0.0;          // part of the printed places the screen leaves blank
    QPoint firstMismatch{-1, -1};
};

// Where the screen has clear ink (a fifth of black, after blurring) the
// print must have some (a twentieth), and the other way round; missing
// stretches of a line, scattered dots and blots all show up here, while a
// line half a pixel wider or thinner only changes the ink ratio a little.
Comparison Compare(const QImage& screen, const QImage& printed, const CRect& area)
{
    const int left = std::max(0, RoundToInt(area.left / kScreenScale));
    const int top = std::max(0, RoundToInt(area.top / kScreenScale));
    const int right = std::min(screen.width(), RoundToInt(area.right / kScreenScale));
    const int bottom = std::min(screen.height(), RoundToInt(area.bottom / kScreenScale));
    constexpr int kClear = 765 / 5;
    constexpr int kSome = 765 / 20;
    long long screenInk = 0, printedInk = 0;
    int screenPlaces = 0, printedPlaces = 0, missing = 0, stray = 0;
    Comparison result;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            screenInk += Ink(screen.pixel(x, y));
            printedInk += Ink(printed.pixel(x, y));
            const int s = BlurredInk(screen, x, y);
            const int p = BlurredInk(printed, x, y);
            const bool miss = s >= kClear && p < kSome;
            const bool extra = p >= kClear && s < kSome;
            screenPlaces += s >= kClear;
            printedPlaces += p >= kClear;
            missing += miss;
            stray += extra;
            if ((miss || extra) && result.firstMismatch.x() < 0) result.firstMismatch = QPoint(x, y);
        }
    }
    result.inkRatio = screenInk > 0 ? double(printedInk) / double(screenInk) : 0.0;
    result.missing = screenPlaces > 0 ? double(missing) / screenPlaces : 0.0;
    result.stray = printedPlaces > 0 ? double(stray) / printedPlaces : 0.0;
    return result;
}

void ExpectLooksLikeTheScreen(const QImage& screen, const QImage& printed, const std::vector<Region>& regions,
                              const char* route)
{
    ASSERT_EQ(printed.size(), screen.size()) << route;
    for (const Region& region : regions) {
        SCOPED_TRACE(std::string(route) + ": " + region.name);
        const Comparison c = Compare(screen, printed, region.area);
        // Thin slanted lines cover up to 1.4 times the pixels of the
        // screen's one-pixel steps, and a PDF viewer widens them a little.
        EXPECT_GT(c.inkRatio, 0.75);
        EXPECT_LT(c.inkRatio, 1.7);
        EXPECT_LT(c.missing, 0.02) << "first at pixel " << c.firstMismatch.x() << ", " << c.firstMismatch.y();
        EXPECT_LT(c.stray, 0.02) << "first at pixel " << c.firstMismatch.x() << ", " << c.firstMismatch.y();
    }
}

class PrintedPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        Settings().SetDefaults();
        pageSet = LineTypePage(regions);
        screen = ScreenImage(*pageSet);
    }

    std::vector<Region> regions;
    std::unique_ptr<CPageSet> pageSet;
    QImage screen;
};

}  // namespace

TEST_F(PrintedPageTest, APrinterImageLooksLikeTheScreen)
{
    for (int dpi : {600, 1200}) {
        SCOPED_TRACE(dpi);
        ExpectLooksLikeTheScreen(screen, PrinterImage(*pageSet, dpi), regions, "printer image");
    }
}

TEST_F(PrintedPageTest, APdfLooksLikeTheScreen)
{
    QTemporaryDir dir;
    const QImage pdf = PdfImage(*pageSet, dir);
    if (pdf.isNull()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    ExpectLooksLikeTheScreen(screen, pdf, regions, "PDF");
}

TEST_F(PrintedPageTest, ATinyPicturePrintsSmoothly)
{
    // Across the middle of the second row of the 4 x 4 picture, stretched
    // to 200 screen pixels, and across the first row of the bitmap fill's
    // 2 x 2 pixels on tiles of 100: the screen blends neighbouring pixels
    // over 50 pixels, so no step from one printed pixel to the next is sharp.
    QTemporaryDir dir;
    const QImage pdf = PdfImage(*pageSet, dir);
    const QImage printer = PrinterImage(*pageSet, 600);
    const CRect picture = regions[regions.size() - 2].area;
    const CRect tiles = regions.back().area;
    struct Run {
        const char* name;
        int y, fromX, toX;  // screen pixels
    };
    const Run runs[] = {
        {"picture", RoundToInt((picture.top + 200 + 750) / kScreenScale), 110, 290},
        {"bitmap fill", RoundToInt((tiles.top + 200 + 250) / kScreenScale), 510, 690},
    };
    for (const Run& run : runs) {
        for (const QImage* image : {&std::as_const(screen), &printer, &pdf}) {
            if (image->isNull()) continue;
            int steepest = 0;
            for (int x = run.fromX; x < run.toX; ++x)
                steepest = std::max(steepest, std::abs(Ink(image->pixel(x + 1, run.y)) - Ink(image->pixel(x, run.y))));
            EXPECT_LT(steepest, 100) << run.name << " on "
                                     << (image == &screen ? "screen" : image == &printer ? "printer" : "PDF");
        }
    }
}
