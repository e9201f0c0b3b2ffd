// The work the plotter benchmark and the side-by-side program time: a
// plotter file imported into a fresh document, and the page written as a
// JPEG at a given resolution.
#pragma once

#include "library/tool/CHpglImport.h"
#include "app/CPagePrinter.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"

#include "model/CPageSet.h"
#include "platform/CDC.h"
#include "res/StringTable.h"

#include <QImage>
#include <QPainter>
#include <QString>

namespace bench {

// 0 on success, otherwise the message the import gave.
inline int ImportHpgl(CVEKDoc& doc, const QString& path)
{
    doc.OnNewDocument();
    return CHpglImport::ImportFile(doc, path).messageId;
}

// The current page as the screen shows it, at `dpi` pixels per inch.
inline QImage RenderPage(const CPageSet& pageSet, int dpi)
{
    const double unitsPerPixel = 25.4 * pageSet.GetUnitsPerMM() / dpi;
    const CSize paper = pageSet.GetPaperSize();
    const CSize size(int(paper.cx / unitsPerPixel + 0.5), int(paper.cy / unitsPerPixel + 0.5));
    QImage image(size.cx, size.cy, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        CDC dc(&painter);
        CPagePrinter::DrawSheet(dc, pageSet, pageSet.GetCurrentPageIndex(), unitsPerPixel, 0, 0, size);
    }
    painter.end();
    return image;
}

inline bool ImportAndWriteJpeg(const QString& plt, const QString& jpeg, int dpi, QString* error)
{
    CVEKDoc doc;
    if (const int message = ImportHpgl(doc, plt)) {
        if (error) *error = LoadResString(message);
        return false;
    }
    return CPagePrinter::WriteJpegFile(RenderPage(*doc.GetPageSet(), dpi), jpeg, error);
}

} // namespace bench
