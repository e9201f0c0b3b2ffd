#include "library/CLibraryPreviewReader.h"

#include "platform/CArchive.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace LibraryFormat;

// The least bytes one entry of each list can take, so that a count can be
// checked against what is left before anything is made for it.
constexpr std::int64_t kMinOutline = 4;
constexpr std::int64_t kPointBytes = 8;
// Text, colour, five LOGFONT numbers, eight LOGFONT bytes, face name.
constexpr std::int64_t kMinTextFont = 1 + 4 + 20 + 8 + 1;
constexpr std::int64_t kMinText = kMinTextFont + kPointBytes + 4;
constexpr std::int64_t kCornerBytes = 3 * kPointBytes;
constexpr std::int64_t kPictureHead = 4 * kPointBytes + 7 * 4;
constexpr std::int64_t kTableBytes = 4 * kPointBytes;

[[noreturn]] void Damaged(const char* what)
{
    throw CArchiveError(std::string("library preview: ") + what);
}

// A count read from the file, checked against the bytes left for entries of
// at least `entryBytes` each.
std::int32_t CheckedCount(std::int32_t count, std::int64_t entryBytes, std::int64_t left)
{
    if (count < 0) Damaged("negative count");
    if (std::int64_t(count) * entryBytes > left) Damaged("count beyond the bytes left");
    return count;
}

// Reads from an archive that holds the whole file.
class ArchiveSource {
public:
    explicit ArchiveSource(CArchive& ar) : m_ar(ar) {}
    std::int64_t Left() const { return std::int64_t(m_ar.BytesLeft()); }
    std::uint32_t U32()
    {
        std::uint32_t v = 0;
        m_ar >> v;
        return v;
    }
    std::int32_t I32()
    {
        std::int32_t v = 0;
        m_ar >> v;
        return v;
    }
    CPoint Point()
    {
        CPoint p;
        m_ar >> p;
        return p;
    }
    void TextFont(CTextFont& out) { out.Load(m_ar); }
    void Skip(std::int64_t n)
    {
        if (n < 0 || n > Left()) Damaged("data beyond the end");
        char chunk[4096];
        while (n > 0) {
            const std::size_t part = std::size_t(std::min<std::int64_t>(n, sizeof chunk));
            m_ar.Read(chunk, part);
            n -= std::int64_t(part);
        }
    }

private:
    CArchive& m_ar;
};

// Reads from a file without taking more of it than the preview: picture
// pixels are passed over by seeking.
class DeviceSource {
public:
    explicit DeviceSource(QIODevice& device) : m_device(device), m_pos(device.pos()), m_size(device.size()) {}
    std::int64_t Left() const { return m_size - m_pos; }
    void Read(void* out, std::int64_t n)
    {
        if (n < 0 || n > Left()) Damaged("data beyond the end");
        if (n > 0 && m_device.read(static_cast<char*>(out), n) != n) Damaged("read failed");
        m_pos += n;
    }
    std::string Bytes(std::int64_t n)
    {
        if (n < 0 || n > Left()) Damaged("data beyond the end");
        std::string s(std::size_t(n), '\0');
        Read(s.data(), n);
        return s;
    }
    std::uint32_t U32()
    {
        unsigned char b[4];
        Read(b, 4);
        return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
               (std::uint32_t(b[3]) << 24);
    }
    std::int32_t I32() { return std::int32_t(U32()); }
    CPoint Point()
    {
        const std::int32_t x = I32();
        const std::int32_t y = I32();
        return CPoint(x, y);
    }
    // The record's bytes are gathered first (their lengths come with the
    // strings), then read by the text font's own loader.
    void TextFont(CTextFont& out)
    {
        std::string record;
        AppendString(record);
        record += Bytes(4 + 20 + 8);
        AppendString(record);
        CArchive ar(std::move(record));
        out.Load(ar);
    }
    void Skip(std::int64_t n)
    {
        if (n < 0 || n > Left()) Damaged("data beyond the end");
        m_pos += n;
        if (!m_device.seek(m_pos)) Damaged("seek failed");
    }

private:
    // A framework string: its length prefix (a wide-string marker included)
    // and its characters.
    void AppendString(std::string& record)
    {
        bool wide = false;
        std::int64_t length = 0;
        for (;;) {
            const std::string b = Bytes(1);
            record += b;
            const auto first = static_cast<unsigned char>(b[0]);
            if (first < 0xFF) {
                length = first;
                break;
            }
            const std::string w = Bytes(2);
            record += w;
            const unsigned word = unsigned(static_cast<unsigned char>(w[0])) |
                                  (unsigned(static_cast<unsigned char>(w[1])) << 8);
            if (word == 0xFFFE) {
                if (wide) Damaged("repeated wide-string marker");
                wide = true;
                continue;
            }
            if (word < 0xFFFF) {
                length = word;
                break;
            }
            const std::string d = Bytes(4);
            record += d;
            length = std::int64_t(static_cast<unsigned char>(d[0])) |
                     (std::int64_t(static_cast<unsigned char>(d[1])) << 8) |
                     (std::int64_t(static_cast<unsigned char>(d[2])) << 16) |
                     (std::int64_t(static_cast<unsigned char>(d[3])) << 24);
            break;
        }
        record += Bytes(wide ? 2 * length : length);
    }

    QIODevice& m_device;
    std::int64_t m_pos;
    std::int64_t m_size;
};

template <class Source>
void ReadOutlines(Source& in, CLibraryPreview& out, bool keep)
{
    const std::int32_t count = CheckedCount(in.I32(), kMinOutline, in.Left());
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t n = in.I32();
        if (n < 1) {
            out.outlinesSound = false;
            if (keep) out.outlines.emplace_back();
            continue;
        }
        CheckedCount(n, kPointBytes, in.Left());
        std::vector<CPoint> points;
        if (keep) points.reserve(std::size_t(n));
        for (std::int32_t k = 0; k < n; ++k) {
            const CPoint p = in.Point();
            if (keep) points.push_back(p);
        }
        if (keep) out.outlines.push_back(std::move(points));
    }
}

template <class Source>
void ReadTexts(Source& in, CLibraryPreview& out, bool keep)
{
    const bool corners = out.version >= kFirstCornerVersion;
    const std::int32_t count = CheckedCount(in.I32(), kMinText + (corners ? kCornerBytes : 0), in.Left());
    for (std::int32_t i = 0; i < count; ++i) {
        CLibraryPreview::Text text;
        in.TextFont(text.textFont);
        text.origin = in.Point();
        text.bkMode = in.I32();
        if (corners) {
            text.hasCorners = true;
            text.corner2 = in.Point();
            text.corner4 = in.Point();
            text.corner3 = in.Point();
        }
        if (keep) out.texts.push_back(std::move(text));
    }
}

template <class Source>
void ReadPictures(Source& in, CLibraryPreview& out, bool keep)
{
    const std::int32_t count = CheckedCount(in.I32(), kPictureHead, in.Left());
    for (std::int32_t i = 0; i < count; ++i) {
        CLibraryPreview::Picture picture;
        for (CPoint& corner : picture.corners) corner = in.Point();
        const std::uint32_t width = in.U32();
        const std::uint32_t height = in.U32();
        in.U32(); // pixel format
        const std::uint32_t dataWidth = in.U32();
        const std::uint32_t dataHeight = in.U32();
        const std::int32_t stride = in.I32();
        in.U32(); // pixel format of the data
        if (width > kMaxPictureSide || height > kMaxPictureSide || dataWidth > kMaxPictureSide ||
            dataHeight > kMaxPictureSide)
            Damaged("picture too large");
        // The absolute stride in 64 bits: abs(INT_MIN) does not fit in 32.
        const std::int64_t rowBytes = std::llabs(std::int64_t(stride));
        if (rowBytes < 4 * std::int64_t(width) || rowBytes > 4 * kMaxPictureSide + 3)
            Damaged("picture stride does not fit its width");
        in.Skip(rowBytes * std::int64_t(dataHeight));
        picture.width = int(width);
        picture.height = int(height);
        if (keep) out.pictures.push_back(picture);
    }
}

template <class Source>
void ReadTables(Source& in, CLibraryPreview& out, bool keep)
{
    const std::int32_t count = CheckedCount(in.I32(), kTableBytes, in.Left());
    for (std::int32_t i = 0; i < count; ++i) {
        std::array<CPoint, 4> corners{};
        for (CPoint& corner : corners) corner = in.Point();
        if (keep) out.tables.push_back(corners);
    }
}

template <class Source>
void ReadSection(Source& in, CLibraryPreview& out, bool keep)
{
    ReadOutlines(in, out, keep);
    if (out.version >= kFirstTextVersion) ReadTexts(in, out, keep);
    if (out.version >= kFirstPictureVersion) ReadPictures(in, out, keep);
    if (out.version >= kFirstTableVersion) ReadTables(in, out, keep);
    out.complete = true;
}

template <class Source>
CLibraryPreviewReader::Result ReadFrom(Source& in, CLibraryPreview& out)
{
    out = CLibraryPreview();
    try {
        if (in.Left() < 4 || in.U32() != kMagic) return CLibraryPreviewReader::Result::NotLibrary;
        const std::uint32_t version = in.U32();
        if (version > std::uint32_t(kVersion)) return CLibraryPreviewReader::Result::Unsupported;
        out.version = int(version);
        CRect bounds;
        bounds.left = in.I32();
        bounds.top = in.I32();
        bounds.right = in.I32();
        bounds.bottom = in.I32();
        out.bounds = bounds;
        ReadSection(in, out, true);
    } catch (const CArchiveError&) {
        return CLibraryPreviewReader::Result::Damaged;
    }
    return CLibraryPreviewReader::Result::Ok;
}

} // namespace

CLibraryPreviewReader::Result CLibraryPreviewReader::ReadFile(const QString& path, CLibraryPreview& out)
{
    out = CLibraryPreview();
    // A FIFO or a device would block or never end.
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return Result::NotLibrary;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Result::NotLibrary;
    return ReadDevice(file, out);
}

CLibraryPreviewReader::Result CLibraryPreviewReader::ReadDevice(QIODevice& device, CLibraryPreview& out)
{
    out = CLibraryPreview();
    if (!device.isOpen() || !device.isReadable() || device.isSequential()) return Result::NotLibrary;
    DeviceSource source(device);
    return ReadFrom(source, out);
}

CLibraryPreviewReader::Result CLibraryPreviewReader::ReadBytes(const std::string& bytes, CLibraryPreview& out)
{
    CArchive ar(bytes);
    ArchiveSource source(ar);
    return ReadFrom(source, out);
}

void CLibraryPreviewReader::PassOver(CArchive& ar, int version)
{
    CLibraryPreview dropped;
    dropped.version = version;
    ArchiveSource source(ar);
    ReadSection(source, dropped, false);
}
