#include "model/CImageElement.h"

#include "geometry/Distance.h"
#include "geometry/Lines.h"
#include "geometry/Mapping.h"
#include "geometry/Polyline.h"
#include "model/CPictureFile.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include <QLineF>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// Records before this version place a picture by one corner, a size and
// (from kFirstAngleVersion on) an angle.
constexpr int kFirstCornerVersion = 104;
constexpr int kFirstAngleVersion = 103;

int AddClamped(int a, int b)
{
    return RoundToInt(double(a) + double(b));
}

// The image's (0, 0), (w, 0) and (0, h) go to p0, p1 and p3.
// The sides in doubles: corners far apart lie further apart in device
// pixels than an int can count.
QTransform ParallelogramTransform(const CPoint& p0, const CPoint& p1, const CPoint& p3, int w, int h)
{
    return QTransform((double(p1.x) - p0.x) / w, (double(p1.y) - p0.y) / w, (double(p3.x) - p0.x) / h,
                      (double(p3.y) - p0.y) / h, p0.x, p0.y);
}

// Device rectangle the parallelogram can paint, one pixel wider all round
// for the smoothed edges.
CRect ParallelogramExtent(const CPoint& p0, const CPoint& p1, const CPoint& p3)
{
    // The fourth corner can lie beyond the int range; where it does, so far
    // from any clip, it stops at the range's end.
    const CPoint p2(SaturateToInt(static_cast<long long>(p1.x) + p3.x - p0.x),
                    SaturateToInt(static_cast<long long>(p1.y) + p3.y - p0.y));
    const int xs[] = {p0.x, p1.x, p2.x, p3.x};
    const int ys[] = {p0.y, p1.y, p2.y, p3.y};
    return CRect(DifferenceToInt(*std::min_element(xs, xs + 4), 1), DifferenceToInt(*std::min_element(ys, ys + 4), 1),
                 SumToInt(*std::max_element(xs, xs + 4), 2), SumToInt(*std::max_element(ys, ys + 4), 2));
}

bool Overlaps(const CRect& a, const CRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The most pixels a picture is enlarged to for a printer: a whole A4 page
// at about 400 dots per inch.
constexpr double kLargestPrintedImagePixels = double(1 << 24);

// A picture the printer shows larger than its pixels, enlarged smoothly to
// about the printer's pixels; null when it needs no enlarging. The screen
// blends neighbouring pixels as it draws, but a printer or a PDF file gets
// the picture's own pixels and may show each as a sharp block.
QImage EnlargedForPrinting(const QImage& image, const QTransform& device, const CPoint& p0, const CPoint& p1,
                           const CPoint& p3)
{
    if (image.isNull()) return QImage();
    const QPointF d0 = device.map(QPointF(p0.x, p0.y));
    double w = QLineF(d0, device.map(QPointF(p1.x, p1.y))).length();
    double h = QLineF(d0, device.map(QPointF(p3.x, p3.y))).length();
    if (!std::isfinite(w) || !std::isfinite(h)) return QImage();
    if (w <= image.width() && h <= image.height()) return QImage();
    if (w * h > kLargestPrintedImagePixels) {
        const double shrink = std::sqrt(kLargestPrintedImagePixels / (w * h));
        w *= shrink;
        h *= shrink;
    }
    const QSize size(std::max(image.width(), int(std::ceil(w))), std::max(image.height(), int(std::ceil(h))));
    if (size == image.size()) return QImage();
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

CImageElement::CImageElement(CPage* page, int level) : CGraphElement(page, ELEMENT_IMAGE, level) {}

CImageElement::CImageElement(CPage* page, int level, const std::string& path, int x, int y,
                             int width, int height)
    : CImageElement(page, level, GbkToQString(path), x, y, width, height)
{
}

// The file is read before the element exists, so a refused file leaves no
// trace on the page (not even a raised highest level).
CImageElement::CImageElement(CPage* page, int level, const QString& path, int x, int y, int width,
                             int height)
    : CImageElement(page, level, CPictureFile::ReadOrThrow(path), x, y, width, height)
{
}

CImageElement::CImageElement(CPage* page, int level, CPixelBlock&& pixels, int x, int y, int width,
                             int height)
    : CGraphElement(page, ELEMENT_IMAGE, level), m_bitmap(std::move(pixels))
{
    const int right = AddClamped(x, width);
    const int bottom = AddClamped(y, height);
    m_corners = {CPoint(x, y), CPoint(right, y), CPoint(right, bottom), CPoint(x, bottom)};
}

CRect CImageElement::GetBoundRect()
{
    CRect r(m_corners[0], m_corners[0]);
    for (const CPoint& p : m_corners) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    return r;
}

void CImageElement::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    if (!dc || m_bitmap.IsEmpty() || !(scale > 0)) return;
    const CPoint p0 = ModelToDevicePoint(m_corners[0].x, m_corners[0].y, scale, originX, originY);
    const CPoint p1 = ModelToDevicePoint(m_corners[1].x, m_corners[1].y, scale, originX, originY);
    const CPoint p3 = ModelToDevicePoint(m_corners[3].x, m_corners[3].y, scale, originX, originY);
    const QTransform transform =
        ParallelogramTransform(p0, p1, p3, m_bitmap.Width(), m_bitmap.Height());
    // Corners on one line leave no area to paint.
    if (!transform.isInvertible()) return;
    if (!dc->IsPrinting() && !Overlaps(ParallelogramExtent(p0, p1, p3), clip)) return;

    QPainter* painter = dc->Painter();
    if (dc->IsPrinting()) {
        const QImage enlarged = EnlargedForPrinting(DrawImage(), painter->deviceTransform(), p0, p1, p3);
        if (!enlarged.isNull()) {
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter->setTransform(ParallelogramTransform(p0, p1, p3, enlarged.width(), enlarged.height()), true);
            painter->drawImage(QPointF(0, 0), enlarged);
            painter->restore();
            return;
        }
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->setTransform(transform, true);
    painter->drawImage(QPointF(0, 0), DrawImage());
    painter->restore();
}

void CImageElement::DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    if (!dc || !(scale > 0)) return;
    const CPoint first = ModelToDevicePoint(m_corners[0].x, m_corners[0].y, scale, originX, originY);
    dc->MoveTo(first.x, first.y);
    for (int i = 1; i < 4; ++i) {
        const CPoint p = ModelToDevicePoint(m_corners[i].x, m_corners[i].y, scale, originX, originY);
        dc->LineTo(p.x, p.y);
    }
    dc->LineTo(first.x, first.y);
}

void CImageElement::CopyFrom(const CGraphElement& other)
{
    const auto* picture = dynamic_cast<const CImageElement*>(&other);
    if (!picture || picture == this) return;
    CGraphElement::CopyFrom(other);
    m_corners = picture->m_corners;
    SetBitmapCopy(picture->GetBitmap());
}

int CImageElement::Load(CArchive& ar)
{
    CGraphElement::Load(ar);
    LoadBody(ar, GetRecordVersion(), false);
    return 1;
}

int CImageElement::Store(CArchive& ar) const
{
    CGraphElement::Store(ar);
    for (const CPoint& p : m_corners) ar << p;
    StorePixels(ar);
    return 1;
}

int CImageElement::LoadFromLibrary(CArchive& ar, int version)
{
    std::int32_t level = 0;
    ar >> level;
    SetLevel(level);
    LoadBody(ar, version, true);
    return 1;
}

void CImageElement::LoadBody(CArchive& ar, int version, bool alwaysTurned)
{
    ar >> m_corners[0];
    if (version >= kFirstCornerVersion) {
        ar >> m_corners[1] >> m_corners[2] >> m_corners[3];
        LoadPixels(ar);
        return;
    }
    LoadOldPlacement(ar, alwaysTurned || version >= kFirstAngleVersion);
}

void CImageElement::LoadOldPlacement(CArchive& ar, bool withAngle)
{
    CSize size;
    ar >> size;
    double angle = 0.0;
    if (withAngle) {
        ar >> angle;
        if (!std::isfinite(angle)) throw CArchiveError("bad picture angle");
    }
    LoadPixels(ar);

    const CPoint origin = m_corners[0];
    const int right = AddClamped(origin.x, size.cx);
    const int bottom = AddClamped(origin.y, size.cy);
    m_corners[1] = CPoint(right, origin.y);
    m_corners[2] = CPoint(right, bottom);
    m_corners[3] = CPoint(origin.x, bottom);
    if (!withAngle) return;
    // The stored angle turns the other way round from RotatePoint's.
    const double s = std::sin(-angle);
    const double c = std::cos(-angle);
    for (int i = 1; i < 4; ++i) RotatePoint(m_corners[i], origin.x, origin.y, s, c);
}

void CImageElement::OffsetBy(int dx, int dy)
{
    for (CPoint& corner : m_corners) corner = OffsetPoint(corner, dx, dy);
}

void CImageElement::GetCorners(CPointList& out) const
{
    CPointList corners;
    for (const CPoint& p : m_corners) corners.AddTail(p);
    out = std::move(corners);
}

int CImageElement::LoadImageFile(const std::string& gbkPath)
{
    return LoadImageFile(GbkToQString(gbkPath));
}

const QImage& CImageElement::DrawImage() const
{
    if (m_drawCache.isNull() && !m_bitmap.IsEmpty())
        m_drawCache = m_bitmap.Image().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return m_drawCache;
}

int CImageElement::LoadImageFile(const QString& path)
{
    PixelsChanged();
    if (!CPictureFile::Read(path, m_bitmap)) return 0;
    InvalidateBounds();
    return 1;
}

int CImageElement::SetBitmapCopy(const CPixelBlock* bitmap)
{
    if (bitmap == &m_bitmap) return m_bitmap.IsEmpty() ? 0 : 1;
    PixelsChanged();
    m_bitmap.Clear();
    if (!bitmap || bitmap->IsEmpty()) return 0;
    m_bitmap = *bitmap;
    return 1;
}

int CImageElement::PtInImage(int x, int y) const
{
    CPointList outline;
    GetCorners(outline);
    return IsPointInPolyline(x, y, outline);
}

int CImageElement::LoadPixels(CArchive& ar)
{
    CPixelBlock pixels;
    pixels.Load(ar);
    m_bitmap = std::move(pixels);
    PixelsChanged();
    return m_bitmap.IsEmpty() ? 0 : 1;
}

int CImageElement::StorePixels(CArchive& ar) const
{
    m_bitmap.Store(ar);
    return m_bitmap.IsEmpty() ? 0 : 1;
}
