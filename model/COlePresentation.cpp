#include "model/COlePresentation.h"

#include "platform/CCompoundFile.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>

namespace {

// Clipboard formats of a presentation stream.
constexpr std::uint32_t CF_DIB = 8;
// The flag of the "\001Ole" stream that marks a linked object.
constexpr std::uint32_t kLinkedObjectFlag = 0x00000001;
// Cached pictures beyond this many pixels are not decoded.
constexpr std::int64_t kMaxPicturePixels = 16LL * 1024 * 1024;

// Little-endian reads that refuse to run past the end.
class Reader {
public:
    explicit Reader(const std::string& bytes) : m_bytes(bytes) {}
    bool U32(std::uint32_t& v)
    {
        if (m_bytes.size() - m_pos < 4) return false;
        v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(m_bytes[m_pos + std::size_t(i)]);
        m_pos += 4;
        return true;
    }
    bool Skip(std::uint64_t n)
    {
        if (n > m_bytes.size() - m_pos) return false;
        m_pos += std::size_t(n);
        return true;
    }
    bool Take(std::uint64_t n, std::string& out)
    {
        if (n > m_bytes.size() - m_pos) return false;
        out = m_bytes.substr(m_pos, std::size_t(n));
        m_pos += std::size_t(n);
        return true;
    }

private:
    const std::string& m_bytes;
    std::size_t m_pos = 0;
};

// A string with a 32-bit length that counts its terminating null.
bool ReadLengthPrefixed(Reader& r, std::string& out)
{
    std::uint32_t n = 0;
    if (!r.U32(n) || !r.Take(n, out)) return false;
    const std::size_t end = out.find('\0');
    if (end != std::string::npos) out.resize(end);
    return true;
}

// A clipboard format given by number, by name, or absent; the number is
// 0 unless a standard format is named.
bool ReadClipboardFormat(Reader& r, std::uint32_t& format)
{
    std::uint32_t marker = 0;
    if (!r.U32(marker)) return false;
    format = 0;
    if (marker == 0) return true;
    if (marker == 0xFFFFFFFFu || marker == 0xFFFFFFFEu) return r.U32(format);
    return r.Skip(marker); // a registered format's name
}

std::uint32_t U32At(const std::string& s, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + std::size_t(i)]);
    return v;
}

std::uint16_t U16At(const std::string& s, std::size_t at)
{
    return std::uint16_t(static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8));
}

} // namespace

COlePresentation::COlePresentation(const CCompoundEntry& storage)
{
    if (const CCompoundEntry* ole = storage.Child("\001Ole"); ole && !ole->isStorage) {
        Reader r(ole->data);
        std::uint32_t version = 0, flags = 0;
        if (r.U32(version) && r.U32(flags)) m_linked = (flags & kLinkedObjectFlag) != 0;
    }
    if (const CCompoundEntry* compObj = storage.Child("\001CompObj"); compObj && !compObj->isStorage)
        ReadTypeName(compObj->data);
    // The caches are numbered from 000; the first that shows wins.
    for (int i = 0; i < 1000 && m_picture.isNull(); ++i) {
        char name[24];
        std::snprintf(name, sizeof name, "\002OlePres%03d", i);
        const CCompoundEntry* pres = storage.Child(name);
        if (!pres) break;
        if (!pres->isStorage) m_picture = DecodePresentationStream(pres->data);
    }
}

void COlePresentation::ReadTypeName(const std::string& compObj)
{
    Reader r(compObj);
    std::string userType, progId;
    std::uint32_t format = 0;
    if (!r.Skip(28) || !ReadLengthPrefixed(r, userType)) return;
    m_typeName = userType;
    if (m_typeName.empty() && ReadClipboardFormat(r, format) && ReadLengthPrefixed(r, progId))
        m_typeName = progId;
}

QImage COlePresentation::DecodePresentationStream(const std::string& stream)
{
    Reader r(stream);
    std::uint32_t format = 0, deviceSize = 0, aspect = 0, lindex = 0, advf = 0, reserved = 0, width = 0,
                  height = 0, size = 0;
    if (!ReadClipboardFormat(r, format) || format != CF_DIB) return QImage();
    // The target device size counts its own four bytes.
    if (!r.U32(deviceSize) || deviceSize < 4 || !r.Skip(deviceSize - 4)) return QImage();
    if (!r.U32(aspect) || !r.U32(lindex) || !r.U32(advf) || !r.U32(reserved) || !r.U32(width) ||
        !r.U32(height) || !r.U32(size))
        return QImage();
    std::string dib;
    if (!r.Take(size, dib)) return QImage();
    return DecodeDib(dib);
}

// The bitmap reader wants a file: put the 14-byte file header in front,
// whose one real field is where the bits begin.
QImage COlePresentation::DecodeDib(const std::string& dib)
{
    if (dib.size() < 40) return QImage();
    const std::uint32_t headerSize = U32At(dib, 0);
    if (headerSize < 40 || headerSize > dib.size()) return QImage();
    const std::int32_t width = std::int32_t(U32At(dib, 4));
    const std::int32_t height = std::int32_t(U32At(dib, 8));
    const std::uint16_t bitCount = U16At(dib, 14);
    const std::uint32_t compression = U32At(dib, 16);
    const std::uint32_t coloursUsed = U32At(dib, 32);
    const std::int64_t pixels = std::int64_t(width) * (height < 0 ? -std::int64_t(height) : height);
    if (width <= 0 || height == 0 || pixels > kMaxPicturePixels) return QImage();

    std::uint64_t colourTable = 0;
    if (bitCount <= 8) colourTable = 4ULL * (coloursUsed ? coloursUsed : (1u << bitCount));
    else colourTable = 4ULL * coloursUsed;
    constexpr std::uint32_t BI_BITFIELDS = 3;
    if (compression == BI_BITFIELDS && headerSize == 40) colourTable += 12;
    const std::uint64_t bitsOffset = 14 + std::uint64_t(headerSize) + colourTable;
    if (bitsOffset - 14 > dib.size()) return QImage();

    QByteArray file;
    file.reserve(int(dib.size() + 14));
    const std::uint32_t fileSize = std::uint32_t(dib.size() + 14);
    file.append("BM", 2);
    for (int i = 0; i < 4; ++i) file.append(char((fileSize >> (8 * i)) & 0xFF));
    file.append(4, '\0');
    for (int i = 0; i < 4; ++i) file.append(char((bitsOffset >> (8 * i)) & 0xFF));
    file.append(dib.data(), int(dib.size()));
    QImage image;
    if (!image.loadFromData(file, "BMP")) return QImage();
    return image;
}
