// A raster picture placed on a page (element kind 2). Its placement is
// four corners in page units, so a picture is moved, scaled, turned and
// skewed by moving corners. It is drawn by mapping the pixels onto the
// parallelogram of corners 0 (upper-left), 1 (upper-right) and 3
// (lower-left) — corner 2 follows the editors but takes no part in drawing
// — and hit-tested against the quadrilateral of all four. The pixels are
// kept inside the document; nothing links back to the picture file.
#pragma once

#include "model/CGraphElement.h"
#include "model/CPixelBlock.h"

#include <QImage>
#include <QString>

#include <array>
#include <string>

class CImageElement : public CGraphElement {
public:
    // An empty picture for the loaders and copies, which set the corners
    // and pixels right after.
    CImageElement(CPage* page, int level);
    // A picture read from a file (GBK path as the model keeps strings, or a
    // Unicode one) with the corners (x, y), (x + w, y), (x + w, y + h),
    // (x, y + h). Throws CPictureFileError when the file cannot be read: a
    // picture without pixels is never made from a file. Nothing is changed
    // on the page when it throws.
    CImageElement(CPage* page, int level, const std::string& path, int x, int y, int width,
                  int height);
    CImageElement(CPage* page, int level, const QString& path, int x, int y, int width,
                  int height);

    // The rectangle from the least to the greatest corner coordinates;
    // right and bottom are the greatest coordinates themselves.
    CRect GetBoundRect() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // The four-corner outline with the pen the caller selected.
    void DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    int ContainsPoint(int x, int y) override { return PtInImage(x, y); }
    // Corners and a clone of the pixels of another picture; nothing for
    // another kind.
    void CopyFrom(const CGraphElement& other) override;
    // The body after the header, read at the page set's record version.
    // Throws CArchiveError on a damaged record.
    int Load(CArchive& ar) override;
    int Store(CArchive& ar) const override;

    // All four corners moved by (dx, dy).
    void OffsetBy(int dx, int dy) override;

    // The pixels; null when the picture has none.
    const CPixelBlock* GetBitmap() const { return m_bitmap.IsEmpty() ? nullptr : &m_bitmap; }

    // Corners one by one; the setters change that corner only.
    CPoint GetUpperLeft() const { return m_corners[0]; }
    CPoint GetUpperRight() const { return m_corners[1]; }
    CPoint GetLowerRight() const { return m_corners[2]; }
    CPoint GetLowerLeft() const { return m_corners[3]; }
    void SetUpperLeft(int x, int y) { m_corners[0] = CPoint(x, y); }
    void SetUpperRight(int x, int y) { m_corners[1] = CPoint(x, y); }
    void SetLowerRight(int x, int y) { m_corners[2] = CPoint(x, y); }
    void SetLowerLeft(int x, int y) { m_corners[3] = CPoint(x, y); }
    // The list replaced by corners 0, 1, 2, 3.
    void GetCorners(CPointList& out) const;

    // Replaces the pixels with those of a picture file. 1 and the bounds
    // marked dirty on success; 0 and no pixels when it cannot be read.
    int LoadImageFile(const std::string& gbkPath);
    int LoadImageFile(const QString& path);
    // Replaces the pixels with a copy of `bitmap`; 0 and no pixels when it
    // is null or empty.
    int SetBitmapCopy(const CPixelBlock* bitmap);
    // Pixel width and height; 0, 0 without pixels.
    CSize GetImageSize() const { return m_bitmap.GetSize(); }
    // 1 when the point lies inside the quadrilateral of the four corners.
    int PtInImage(int x, int y) const;

    // The pixel block of the record. LoadPixels returns 1 when it held a
    // picture. StorePixels always writes a block — an empty one without
    // pixels, so the record can always be read again — and returns 1 when
    // it held a picture.
    int LoadPixels(CArchive& ar);
    int StorePixels(CArchive& ar) const;

    // The record in a drawing library file: the library reader has read the
    // kind; the level comes first and raises the page's highest level.
    int LoadFromLibrary(CArchive& ar, int version);
    // The same bytes as Store.
    int StoreForLibrary(CArchive& ar) const { return Store(ar); }

private:
    CImageElement(CPage* page, int level, CPixelBlock&& pixels, int x, int y, int width,
                  int height);
    // Everything after the level; `alwaysTurned` for the library's older
    // layout, which always carries the angle.
    void LoadBody(CArchive& ar, int version, bool alwaysTurned);
    void LoadOldPlacement(CArchive& ar, bool withAngle);
    // Every change of m_bitmap goes through here or calls it.
    void PixelsChanged() { m_drawCache = QImage(); }
    const QImage& DrawImage() const;

    std::array<CPoint, 4> m_corners{};
    CPixelBlock m_bitmap;
    // The pixels premultiplied, as the painter blends them; made on first
    // drawing so a large picture is not converted again on every paint.
    mutable QImage m_drawCache;
};
