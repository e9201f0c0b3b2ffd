#include "model/CPixelBlock.h"

#include <QColorSpace>
#include <QImageReader>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Pixel formats whose rows hold four bytes per pixel in blue-green-red-alpha
// order; only the meaning of the alpha byte differs.
constexpr DWORD kFormat32bppRGB = 0x00022009;
constexpr DWORD kFormat32bppPARGB = 0x000E200B;
constexpr DWORD kFormatAlphaFlag = 0x00040000;
constexpr DWORD kFormatPremultipliedFlag = 0x00080000;

// Far beyond any texture or picture a sheet carries; keeps width x height
// and the row arithmetic within int.
constexpr DWORD kMaxSide = 32767;

bool IsFourByteFormat(DWORD format)
{
    return format == CPixelBlock::PixelFormat32bppARGB || format == kFormat32bppRGB
        || format == kFormat32bppPARGB;
}

QImage ToStraightArgb(const QImage& image)
{
    if (image.isNull()) return QImage();
    QImage converted = image.convertToFormat(QImage::Format_ARGB32);
    // convertToFormat may share pixels with its source when nothing
    // changes; a block owns its own.
    converted.detach();
    return converted;
}

// The QImage format that reads rows of the given pixel format as they are.
QImage::Format QtFormatOf(DWORD format)
{
    if (format == kFormat32bppPARGB) return QImage::Format_ARGB32_Premultiplied;
    if (format == kFormat32bppRGB) return QImage::Format_RGB32;
    return QImage::Format_ARGB32;
}

} // namespace

CPixelBlock::CPixelBlock(const QImage& image) : m_image(ToStraightArgb(image)) {}

CPixelBlock::CPixelBlock(const CPixelBlock& other) : m_image(other.m_image.copy()) {}

CPixelBlock& CPixelBlock::operator=(const CPixelBlock& other)
{
    if (this != &other) m_image = other.m_image.copy();
    return *this;
}

void CPixelBlock::SetImage(const QImage& image)
{
    m_image = ToStraightArgb(image);
}

bool CPixelBlock::LoadFile(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull()) {
        Clear();
        return false;
    }
    image.setColorSpace(QColorSpace());
    m_image = ToStraightArgb(image);
    return true;
}

void CPixelBlock::Load(CArchive& ar)
{
    DWORD width = 0;
    DWORD height = 0;
    DWORD format = 0;
    DWORD dataWidth = 0;
    DWORD dataHeight = 0;
    std::int32_t stride = 0;
    DWORD dataFormat = 0;
    ar >> width >> height >> format >> dataWidth >> dataHeight >> stride >> dataFormat;

    if (width > kMaxSide || height > kMaxSide || dataWidth > kMaxSide || dataHeight > kMaxSide)
        throw CArchiveError("pixel block too large");
    if (stride == INT32_MIN) throw CArchiveError("bad pixel block stride");
    const std::int64_t rowBytes = std::llabs(std::int64_t(stride));
    if (rowBytes < 4 * std::int64_t(width))
        throw CArchiveError("pixel block stride too small");
    if (dataHeight < height) throw CArchiveError("pixel block rows missing");
    ar.RequireItems(std::int64_t(dataHeight), std::size_t(rowBytes));

    std::vector<char> rows(std::size_t(rowBytes * dataHeight));
    if (!rows.empty()) ar.Read(rows.data(), rows.size());

    if (width == 0 || height == 0) {
        m_image = QImage();
        return;
    }
    if (!IsFourByteFormat(dataFormat)) throw CArchiveError("unknown pixel block format");
    if (((format >> 8) & 0xFF) == 0) throw CArchiveError("unknown pixel block format");

    QImage image(int(width), int(height), QtFormatOf(dataFormat));
    if (image.isNull()) throw CArchiveError("pixel block cannot be allocated");
    for (DWORD y = 0; y < height; ++y) {
        // Bottom-up data starts with the bottom row.
        const DWORD sourceRow = stride < 0 ? dataHeight - 1 - y : y;
        std::memcpy(image.scanLine(int(y)), rows.data() + std::size_t(rowBytes) * sourceRow,
                    std::size_t(width) * 4);
    }
    // The bitmap is made in the record's own format: one without alpha
    // shows every pixel opaque.
    const bool hasAlpha = (format & (kFormatAlphaFlag | kFormatPremultipliedFlag)) != 0;
    if (!hasAlpha) image = image.convertToFormat(QImage::Format_RGB32);
    m_image = ToStraightArgb(image);
}

void CPixelBlock::Store(CArchive& ar) const
{
    const DWORD width = DWORD(m_image.width());
    const DWORD height = DWORD(m_image.height());
    const std::int32_t stride = std::int32_t(width * 4);
    ar << width << height << PixelFormat32bppARGB << width << height << stride
       << PixelFormat32bppARGB;
    for (int y = 0; y < m_image.height(); ++y)
        ar.Write(m_image.constScanLine(y), std::size_t(stride));
}
