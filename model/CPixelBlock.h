// A raster image kept inside a record: the texture of a bitmap fill and the
// pixels of a picture element. The image is held as straight (not
// premultiplied) 32-bit ARGB, which is byte for byte the pixel layout the
// record carries, so storing and loading copy rows without conversion.
//
// Record layout (little-endian):
//   DWORD width, DWORD height, DWORD pixel format (0x26200A),
//   DWORD data width, DWORD data height, int stride, DWORD data pixel format,
//   then |stride| x data height bytes of pixel rows.
// A positive stride holds the top row first; a negative stride marks
// bottom-up rows, whose bottom row comes first.
//
// An empty block (no image) is stored as width 0, height 0, stride 0 and no
// rows, and reads back as an empty block: an element without a bitmap still
// writes a record that can be read again.
//
// Copies are deep: each block owns its own pixels.
#pragma once

#include "platform/CArchive.h"
#include "platform/Types.h"

#include <QImage>
#include <QString>

class CPixelBlock {
public:
    // 32 bits per pixel, blue-green-red-alpha in memory, straight alpha.
    static constexpr DWORD PixelFormat32bppARGB = 0x0026200A;

    CPixelBlock() = default;
    // Takes a deep copy of the image, converted to straight ARGB.
    explicit CPixelBlock(const QImage& image);
    CPixelBlock(const CPixelBlock& other);
    CPixelBlock& operator=(const CPixelBlock& other);
    CPixelBlock(CPixelBlock&& other) noexcept = default;
    CPixelBlock& operator=(CPixelBlock&& other) noexcept = default;
    ~CPixelBlock() = default;

    bool IsEmpty() const { return m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    CSize GetSize() const { return {Width(), Height()}; }

    // The pixels as QImage::Format_ARGB32; a null image when empty.
    const QImage& Image() const { return m_image; }
    // Replaces the pixels with a deep copy of the image (a null image
    // empties the block).
    void SetImage(const QImage& image);
    void Clear() { m_image = QImage(); }

    // Decodes a picture file (without colour management). False, and the
    // block empty, when it cannot be decoded.
    bool LoadFile(const QString& path);

    // Reads a block; throws CArchiveError on a damaged block (a stride too
    // small for the width, rows beyond the bytes left, an unknown pixel
    // format, sizes beyond any sane bitmap). Leaves the block unchanged
    // when it throws.
    void Load(CArchive& ar);
    // Writes the block; an empty block writes the empty record.
    void Store(CArchive& ar) const;

private:
    QImage m_image;
};
