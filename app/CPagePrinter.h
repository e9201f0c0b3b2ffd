// Printing, print preview, page setup and the JPEG image of a page.
//
// Every document page prints on a sheet of the document's own paper, at
// true size, with the paper's top-left corner at the sheet's: the painter
// works in tenths of a millimetre, as the drawing code was laid out for.
// Only the page's elements print; the screen's paper colour, frame and
// margin frame do not.
//
// The page image is the whole paper of the document at a fixed scale (an
// A4 page is 422 x 597 pixels whatever the view shows), drawn as on the
// screen: paper, its frame, the margin frame and the elements. It is
// encoded in memory and written through a temporary file that replaces the
// target only when everything was written.
#pragma once

#include "platform/Types.h"

#include <QImage>
#include <QPageLayout>
#include <QString>

#include <vector>

class CDC;
class CPageSet;
class CVEKDoc;
class QPainter;
class QPrinter;
class QWidget;

class CPagePrinter {
public:
    // Model units per pixel of the page image: the 29700 units of an A4
    // page's height become exactly 597 pixels.
    static constexpr double kImageScale = 49.748743718593;
    static constexpr int kJpegQuality = 100;

    explicit CPagePrinter(const CPageSet& pageSet);

    // --- Printing --------------------------------------------------------
    // The document's paper (turned to landscape when wider than high) and
    // margins, in millimetres.
    QPageLayout GetPageLayout() const;
    // Paper, margins and painting over the whole sheet.
    void OnPreparePrinting(QPrinter& printer) const;
    // The document pages (0-based) the printer's range asks for: all of
    // them, a range (1-based, clamped to the pages), or the current page.
    std::vector<int> GetPagesToPrint(const QPrinter& printer) const;
    // The print loop: one sheet per page, copies repeated here when the
    // printer cannot make them. False, with a reason, when nothing could
    // be printed.
    bool PrintPages(QPrinter& printer, QString* error = nullptr) const;
    // Draws document page `index` on the painter's current sheet, the
    // paper's top-left corner at the device's origin, at the device's
    // resolution.
    void OnPrint(QPainter& painter, int index) const;

    // --- Page image ------------------------------------------------------
    // Page `index` as the image described above; null when the paper has
    // no area or is too large to hold in memory.
    QImage RenderPageToBitmap(int index) const;
    // Writes the current page as a JPEG of quality 100. False, with a
    // reason, when nothing was written.
    bool SaveAsImage(const QString& path, QString* error = nullptr) const;
    static bool WriteJpegFile(const QImage& image, const QString& path, QString* error = nullptr);

    // Paper, frame, margin frame and page `index` as the screen shows them,
    // into a device rectangle of the given size.
    static void DrawSheet(CDC& dc, const CPageSet& pageSet, int index, double scale, int originX,
                          int originY, const CSize& device);

    // The printer that printouts and previews go to, chosen by the print
    // setup for the session; empty for the system's default printer.
    static QString SessionPrinter();
    static void SetSessionPrinter(const QString& name);

    // --- The view's commands ---------------------------------------------
    // File > Print (ID_FILE_PRINT): the print dialog, then printing. False
    // when cancelled or failed (a failure is told in a message box).
    bool OnFilePrint(QWidget* parent) const;
    // File > Print Preview (ID_FILE_PRINT_PREVIEW); enabled only when
    // CanPrintPreview.
    void OnFilePrintPreview(QWidget* parent) const;
    static bool CanPrintPreview(const CPageSet* pageSet);
    // File > Save as Image (ID_SAVE_AS_IMAGE): a save dialog, then
    // SaveAsImage; a failure is told in a message box. True when a file was
    // written.
    bool OnSaveAsImage(QWidget* parent) const;
    // File > Page Setup (ID_PAGE_SETUP): the page-size dialog with the
    // document's paper and margins. When they change, the document takes an
    // undo step (which also marks it modified) and takes them. True when
    // changed; the view then repaints.
    static bool OnPageSetup(QWidget* parent, CVEKDoc& doc);
    // What OnPageSetup does after the dialog: the undo step and the new
    // paper and margins, only when they differ. True when changed.
    static bool ApplyPageSetup(CVEKDoc& doc, const CSize& paper, int top, int bottom, int left, int right);

private:
    bool IsPage(int index) const;

    const CPageSet& m_pageSet;
};
