#include "app/CPagePrinter.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "settings/FileSaving.h"
#include "app/CPageSizeDlg.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"
#include "res/StringTable.h"

#include <QBuffer>
#include <QFileDialog>
#include <QImageWriter>
#include <QMessageBox>
#include <QPageRanges>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int IDS_IMAGE_NOT_WRITTEN = 36121;
constexpr int IDS_NO_JPEG_ENCODER = 36122;
constexpr int IDS_PRINT_FAILED = 36123;
constexpr int IDS_JPG_FILTER = 32893;

// The printed drawing is laid out in tenths of a millimetre.
constexpr double kLogicalUnitsPerInch = 254.0;
// The largest page image made, in pixels: far beyond any paper, well
// within memory.
constexpr qint64 kLargestImagePixels = qint64(1) << 27;

QString ResText(int id, const char* fallback)
{
    const QString text = LoadResString(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

void SetError(QString* error, const QString& text)
{
    if (error) *error = text;
}

// "Description|pattern|...|" as a file dialog's filter.
QString DialogFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}

void DrawOutline(CDC& dc, const CPoint& a, const CPoint& b)
{
    const CPoint corners[] = {a, CPoint(b.x, a.y), b, CPoint(a.x, b.y), a};
    dc.Polyline(corners, 5);
}

} // namespace

CPagePrinter::CPagePrinter(const CPageSet& pageSet) : m_pageSet(pageSet) {}

bool CPagePrinter::IsPage(int index) const
{
    return index >= 0 && index < m_pageSet.GetPageCount();
}

// ---------------------------------------------------------------------------
// Printing

QPageLayout CPagePrinter::GetPageLayout() const
{
    const double upm = std::max(1, m_pageSet.GetUnitsPerMM());
    const CSize paper = m_pageSet.GetPaperSize();
    const double width = std::abs(paper.cx) / upm;
    const double height = std::abs(paper.cy) / upm;
    const bool landscape = width > height;
    const QSizeF portrait = landscape ? QSizeF(height, width) : QSizeF(width, height);
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);

    int top = 0, bottom = 0, left = 0, right = 0;
    m_pageSet.GetMargins(top, bottom, left, right);
    const QMarginsF margins(std::max(0, left) / upm, std::max(0, top) / upm, std::max(0, right) / upm,
                            std::max(0, bottom) / upm);
    QPageLayout layout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
    // The margins are only the document's layout frame: the drawing is
    // placed by the paper's corner, so they may be anything.
    layout.setMode(QPageLayout::FullPageMode);
    layout.setMargins(margins);
    return layout;
}

void CPagePrinter::OnPreparePrinting(QPrinter& printer) const
{
    printer.setFullPage(true);
    if (!printer.setPageLayout(GetPageLayout())) {
        const QPageLayout layout = GetPageLayout();
        printer.setPageSize(layout.pageSize());
        printer.setPageOrientation(layout.orientation());
    }
    printer.setFromTo(1, std::max(1, m_pageSet.GetPageCount()));
    printer.setPrintRange(QPrinter::AllPages);
}

std::vector<int> CPagePrinter::GetPagesToPrint(const QPrinter& printer) const
{
    const int count = m_pageSet.GetPageCount();
    std::vector<int> pages;
    switch (printer.printRange()) {
    case QPrinter::CurrentPage:
        if (IsPage(m_pageSet.GetCurrentPageIndex())) pages.push_back(m_pageSet.GetCurrentPageIndex());
        return pages;
    case QPrinter::PageRange:
        for (const QPageRanges::Range& range : printer.pageRanges().toRangeList()) {
            for (int n = std::max(1, range.from); n <= std::min(count, range.to); ++n) pages.push_back(n - 1);
        }
        return pages;
    default:
        for (int i = 0; i < count; ++i) pages.push_back(i);
        return pages;
    }
}

bool CPagePrinter::PrintPages(QPrinter& printer, QString* error) const
{
    const std::vector<int> pages = GetPagesToPrint(printer);
    if (pages.empty()) {
        SetError(error, QStringLiteral("no page to print"));
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        SetError(error, QStringLiteral("the printer could not be started"));
        return false;
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int index : pages) {
            if (!first && !printer.newPage()) {
                painter.end();
                SetError(error, QStringLiteral("the printer refused a new sheet"));
                return false;
            }
            first = false;
            OnPrint(painter, index);
        }
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        SetError(error, QStringLiteral("the printer reported an error"));
        return false;
    }
    return true;
}

void CPagePrinter::OnPrint(QPainter& painter, int index) const
{
    const QPaintDevice* device = painter.device();
    if (!IsPage(index) || !device) return;
    painter.save();
    painter.scale(device->logicalDpiX() / kLogicalUnitsPerInch, device->logicalDpiY() / kLogicalUnitsPerInch);
    {
        CDC dc(&painter, true);
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        // Model units per tenth of a millimetre.
        const double scale = m_pageSet.GetUnitsPerMM() / 10.0;
        const CSize paper = m_pageSet.GetPaperSize();
        const CRect sheet(0, 0, int(std::ceil(std::abs(paper.cx) / scale)) + 1,
                          int(std::ceil(std::abs(paper.cy) / scale)) + 1);
        m_pageSet.DrawPage(index, &dc, scale, 0, 0, sheet);
        dc.SetBkMode(oldMode);
    }
    painter.restore();
}

// ---------------------------------------------------------------------------
// Page image

void CPagePrinter::DrawSheet(CDC& dc, const CPageSet& pageSet, int index, double scale, int originX,
                             int originY, const CSize& device)
{
    const CSystemSettings& s = Settings();
    const CPen oldPen = dc.SelectPen(CPen{PS_SOLID, 1, s.m_crOutsidePaperColor});
    const CBrush oldBrush = dc.SelectBrush(CBrush::Solid(s.m_crOutsidePaperColor));
    dc.Rectangle(0, 0, device.cx, device.cy);

    // The paper, kept inside the device so that its frame shows all round.
    const CSize paper = pageSet.GetPaperSize();
    const CPoint a = ModelToDevicePoint(0, 0, scale, originX, originY);
    const CPoint b = ModelToDevicePoint(paper.cx, paper.cy, scale, originX, originY);
    const CPoint topLeft(std::max(a.x, 0), std::max(a.y, 0));
    const CPoint bottomRight(std::min(b.x, device.cx - 1), std::min(b.y, device.cy - 1));
    if (topLeft.x < bottomRight.x && topLeft.y < bottomRight.y) {
        dc.SelectPen(CPen{PS_SOLID, 1, s.m_crPaperColor});
        dc.SelectBrush(CBrush::Solid(s.m_crPaperColor));
        dc.Rectangle(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
        dc.SelectPen(CPen{PS_SOLID, 1, RGB(0, 0, 0)});
        DrawOutline(dc, topLeft, bottomRight);
    }

    int top = 0, bottom = 0, left = 0, right = 0;
    pageSet.GetMargins(top, bottom, left, right);
    if (top != 0 || bottom != 0 || left != 0 || right != 0) {
        dc.SelectPen(CPen{PS_SOLID, 1, s.m_crMarginFrameColor});
        DrawOutline(dc, ModelToDevicePoint(left, top, scale, originX, originY),
                    ModelToDevicePoint(paper.cx - right, paper.cy - bottom, scale, originX, originY));
    }
    dc.SelectPen(oldPen);
    dc.SelectBrush(oldBrush);

    const int oldMode = dc.SetBkMode(TRANSPARENT);
    pageSet.DrawPage(index, &dc, scale, originX, originY, CRect(0, 0, device.cx, device.cy));
    dc.SetBkMode(oldMode);
}

QImage CPagePrinter::RenderPageToBitmap(int index) const
{
    if (!IsPage(index)) return {};
    const CSize paper = m_pageSet.GetPaperSize();
    const CPoint corner = ModelToDevicePoint(paper.cx, paper.cy, kImageScale, 0, 0);
    const int width = corner.x;
    const int height = corner.y;
    if (width <= 0 || height <= 0 || qint64(width) * height > kLargestImagePixels) return {};

    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(ToQColor(Settings().m_crPaperColor));
    QPainter painter(&image);
    {
        CDC dc(&painter);
        DrawSheet(dc, m_pageSet, index, kImageScale, 0, 0, CSize(width, height));
    }
    painter.end();
    return image;
}

bool CPagePrinter::WriteJpegFile(const QImage& image, const QString& path, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Only the JPEG encoder is looked up: asking for every supported format
    // would load every image plugin there is.
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(kJpegQuality);
    if (!writer.write(image)) {
        if (writer.error() == QImageWriter::UnsupportedFormatError)
            SetError(error, ResText(IDS_NO_JPEG_ENCODER, "找不到JPEG图像编码器。"));
        else
            SetError(error, writer.errorString());
        return false;
    }
    buffer.close();

    return SaveWholeFile(path, bytes, error);
}

bool CPagePrinter::SaveAsImage(const QString& path, QString* error) const
{
    const QImage image = RenderPageToBitmap(m_pageSet.GetCurrentPageIndex());
    if (image.isNull()) {
        SetError(error, QStringLiteral("the paper size cannot be made into an image"));
        return false;
    }
    return WriteJpegFile(image, path, error);
}

// ---------------------------------------------------------------------------
// Commands

namespace {

QString& SessionPrinterName()
{
    static QString name;
    return name;
}

} // namespace

QString CPagePrinter::SessionPrinter()
{
    return SessionPrinterName();
}

void CPagePrinter::SetSessionPrinter(const QString& name)
{
    SessionPrinterName() = name;
}

bool CPagePrinter::OnFilePrint(QWidget* parent) const
{
    if (m_pageSet.GetPageCount() < 1) return false;
    QPrinter printer(QPrinter::HighResolution);
    if (!SessionPrinter().isEmpty()) printer.setPrinterName(SessionPrinter());
    OnPreparePrinting(printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, m_pageSet.GetPageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    if (dialog.exec() != QDialog::Accepted) return false;
    QString error;
    if (PrintPages(printer, &error)) return true;
    QMessageBox::critical(parent, LoadResString(Ids::IDS_APP_TITLE),
                          ResText(IDS_PRINT_FAILED, "打印失败：%1").arg(error));
    return false;
}

bool CPagePrinter::CanPrintPreview(const CPageSet* pageSet)
{
    return pageSet && pageSet->GetPageCount() >= 1;
}

void CPagePrinter::OnFilePrintPreview(QWidget* parent) const
{
    if (!CanPrintPreview(&m_pageSet)) return;
    QPrinter printer(QPrinter::HighResolution);
    if (!SessionPrinter().isEmpty()) printer.setPrinterName(SessionPrinter());
    OnPreparePrinting(printer);
    QPrintPreviewDialog preview(&printer, parent);
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [this](QPrinter* target) { PrintPages(*target); });
    preview.exec();
}

bool CPagePrinter::OnSaveAsImage(QWidget* parent) const
{
    const QString filter = DialogFilter(ResText(IDS_JPG_FILTER, "JPG文件(*.jpg)|*.jpg|所有文件(*.*)|*.*|"));
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const QString path = dialog.selectedFiles().constFirst();
    QString error;
    if (SaveAsImage(path, &error)) return true;
    QMessageBox::critical(parent, LoadResString(Ids::IDS_APP_TITLE),
                          ResText(IDS_IMAGE_NOT_WRITTEN, "图像文件没有保存：%1").arg(error));
    return false;
}

bool CPagePrinter::OnPageSetup(QWidget* parent, CVEKDoc& doc)
{
    CPageSet* pageSet = doc.GetPageSet();
    if (!pageSet) return false;
    CPageSizeDlg dialog(parent);
    dialog.m_nUnitsPerMM = pageSet->GetUnitsPerMM();
    const CSize paper = pageSet->GetPaperSize();
    dialog.m_nPaperWidth = paper.cx;
    dialog.m_nPaperHeight = paper.cy;
    pageSet->GetMargins(dialog.m_nMarginTop, dialog.m_nMarginBottom, dialog.m_nMarginLeft, dialog.m_nMarginRight);
    if (dialog.DoModal() != QDialog::Accepted) return false;
    return ApplyPageSetup(doc, CSize(dialog.m_nPaperWidth, dialog.m_nPaperHeight), dialog.m_nMarginTop,
                          dialog.m_nMarginBottom, dialog.m_nMarginLeft, dialog.m_nMarginRight);
}

bool CPagePrinter::ApplyPageSetup(CVEKDoc& doc, const CSize& paper, int top, int bottom, int left, int right)
{
    CPageSet* pageSet = doc.GetPageSet();
    if (!pageSet) return false;
    int oldTop = 0, oldBottom = 0, oldLeft = 0, oldRight = 0;
    pageSet->GetMargins(oldTop, oldBottom, oldLeft, oldRight);
    const bool changed = paper != pageSet->GetPaperSize() || top != oldTop || bottom != oldBottom
                         || left != oldLeft || right != oldRight;
    if (!changed) return false;
    // A new paper is an editing step like any other: it can be undone and
    // the document knows it has changed.
    doc.SaveUndoState();
    pageSet = doc.GetPageSet();
    pageSet->SetPaperSize(paper.cx, paper.cy);
    pageSet->SetMargins(top, bottom, left, right);
    return true;
}
