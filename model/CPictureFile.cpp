#include "model/CPictureFile.h"

#include "model/CMetafileConverter.h"
#include "platform/RegularFile.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QRectF>
#include <QSvgRenderer>

#include <algorithm>

namespace {

// Enough for the WMF placeable header and the EMF header signature.
constexpr qint64 kSniffBytes = 64;
// Metafiles are read whole into memory; no sheet picture comes near this.
constexpr qint64 kMaxMetafileBytes = qint64(256) << 20;
// How far, in raster sizes, a metafile's drawing may reach past the raster.
constexpr int kMetafileReach = 16;

bool Fail(CPixelBlock& pixels, std::string* reason, const char* why)
{
    pixels.Clear();
    if (reason) *reason = why;
    return false;
}

// Qt draws a thin antialiased line in time proportional to its whole
// length, also where it lies off the raster, so a damaged metafile with a
// point millions of units away takes minutes. Such a drawing is refused:
// recorded first (which draws nothing), it must stay within a margin of
// the raster.
bool StaysNearRaster(QSvgRenderer& renderer, int width, int height)
{
    QPicture recorded;
    QPainter recorder(&recorded);
    renderer.render(&recorder, QRectF(0, 0, width, height));
    recorder.end();
    const QRect reach = recorded.boundingRect();
    const int margin = kMetafileReach * std::max(width, height);
    return reach.isEmpty() || QRect(-margin, -margin, width + 2 * margin, height + 2 * margin).contains(reach);
}

// The metafile's SVG drawn on a transparent raster of the size it asked
// for; a null image when the SVG cannot be rendered.
QImage Rasterise(const CMetafileConverter::Result& metafile)
{
    QSvgRenderer renderer(QByteArray::fromStdString(metafile.svg));
    if (!renderer.isValid()) return QImage();
    if (metafile.viewWidth > 0 && metafile.viewHeight > 0)
        renderer.setViewBox(
            QRectF(metafile.viewX, metafile.viewY, metafile.viewWidth, metafile.viewHeight));
    if (!StaysNearRaster(renderer, metafile.width, metafile.height)) return QImage();
    QImage image(metafile.width, metafile.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return QImage();
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(0, 0, metafile.width, metafile.height));
    painter.end();
    return image;
}

bool ReadMetafile(QFile& file, bool wmf, CPixelBlock& pixels, std::string* reason)
{
    if (file.size() > kMaxMetafileBytes) return Fail(pixels, reason, "metafile too large");
    const std::string bytes = file.readAll().toStdString();
    CMetafileConverter::Result result;
    const bool played = wmf ? CMetafileConverter::WmfToSvg(bytes, CPictureFile::kMaxMetafileSide, result)
                            : CMetafileConverter::EmfToSvg(bytes, CPictureFile::kMaxMetafileSide, result);
    if (!played) return Fail(pixels, reason, "metafile cannot be played");
    const QImage image = Rasterise(result);
    if (image.isNull()) return Fail(pixels, reason, "metafile cannot be drawn");
    pixels.SetImage(image);
    return true;
}

} // namespace

bool CPictureFile::Read(const QString& path, CPixelBlock& pixels, std::string* reason)
{
    // Only a regular file: a pipe or a device would hold the reader up.
    QFile file;
    if (!OpenRegularFile(path, file)) return Fail(pixels, reason, "picture file cannot be opened");
    const std::string head = file.peek(kSniffBytes).toStdString();
    if (CMetafileConverter::IsWmf(head)) return ReadMetafile(file, true, pixels, reason);
    if (CMetafileConverter::IsEmf(head)) return ReadMetafile(file, false, pixels, reason);
    file.close();

    if (!pixels.LoadFile(path)) return Fail(pixels, reason, "picture cannot be decoded");
    if (pixels.Width() > kMaxSide || pixels.Height() > kMaxSide)
        return Fail(pixels, reason, "picture too large");
    return true;
}

CPixelBlock CPictureFile::ReadOrThrow(const QString& path)
{
    CPixelBlock pixels;
    std::string reason;
    if (!Read(path, pixels, &reason)) throw CPictureFileError(reason, RefusalMessageId);
    return pixels;
}
