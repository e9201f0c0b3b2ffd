#include "CArchive.h"

#include "CodePage.h"
#include "HugePages.h"

#include <cstring>
#include <limits>
#include <type_traits>

CArchive::CArchive() = default;

CArchive::CArchive(std::string bytes) : m_buffer(std::move(bytes)), m_loading(true) {}

CArchive::CArchive(CArchiveSink& sink, std::size_t bufferBytes)
    : m_sink(&sink), m_bufferBytes(bufferBytes > 0 ? bufferBytes : 1)
{
    m_buffer.reserve(m_bufferBytes);
}

void CArchive::Reserve(std::size_t bytes)
{
    m_buffer.reserve(bytes);
    AdviseHugePages(m_buffer.data(), m_buffer.capacity());
}

void CArchive::Flush()
{
    if (m_loading || !m_sink) return;
    if (m_sinkFailed) throw CArchiveError("archive cannot be written");
    if (m_buffer.empty()) return;
    if (!m_sink->WriteBytes(m_buffer.data(), m_buffer.size())) {
        m_sinkFailed = true;
        throw CArchiveError("archive cannot be written");
    }
    m_sent += m_buffer.size();
    m_buffer.clear();
}

void CArchive::Write(const void* data, std::size_t size)
{
    if (m_loading) throw CArchiveError("archive is not storing");
    if (m_sinkFailed) throw CArchiveError("archive cannot be written");
    if (m_sink && m_buffer.size() + size > m_bufferBytes) {
        Flush();
        if (size > m_bufferBytes) {
            if (!m_sink->WriteBytes(static_cast<const char*>(data), size)) {
                m_sinkFailed = true;
                throw CArchiveError("archive cannot be written");
            }
            m_sent += size;
            return;
        }
    }
    m_buffer.append(static_cast<const char*>(data), size);
}

void CArchive::Require(std::size_t size) const
{
    if (size > BytesLeft()) throw CArchiveError("unexpected end of archive");
}

void CArchive::RequireItems(std::int64_t count, std::size_t itemSize) const
{
    if (count < 0) throw CArchiveError("negative count in archive");
    if (itemSize != 0 && std::uint64_t(count) > BytesLeft() / itemSize)
        throw CArchiveError("count exceeds the archive");
}

void CArchive::Read(void* data, std::size_t size)
{
    if (!m_loading) throw CArchiveError("archive is not loading");
    Require(size);
    std::memcpy(data, m_buffer.data() + m_pos, size);
    m_pos += size;
}

template <class T> void CArchive::WriteLE(T v)
{
    using U = std::make_unsigned_t<T>;
    U u = static_cast<U>(v);
    char bytes[sizeof(T)];
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(bytes, &u, sizeof(T));
#else
    for (std::size_t i = 0; i < sizeof(T); ++i) bytes[i] = char((u >> (8 * i)) & 0xFF);
#endif
    Write(bytes, sizeof(T));
}

template <class T> T CArchive::ReadLE()
{
    using U = std::make_unsigned_t<T>;
    unsigned char bytes[sizeof(T)];
    Read(bytes, sizeof(T));
    U u = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) u |= U(U(bytes[i]) << (8 * i));
    return static_cast<T>(u);
}

CArchive& CArchive::operator<<(std::int32_t v) { WriteLE(v); return *this; }
CArchive& CArchive::operator<<(std::uint32_t v) { WriteLE(v); return *this; }
CArchive& CArchive::operator<<(std::int16_t v) { WriteLE(v); return *this; }
CArchive& CArchive::operator<<(std::uint16_t v) { WriteLE(v); return *this; }
CArchive& CArchive::operator<<(std::uint8_t v) { WriteLE(v); return *this; }
CArchive& CArchive::operator<<(float v)
{
    std::uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    WriteLE(u);
    return *this;
}
CArchive& CArchive::operator<<(double v)
{
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    WriteLE(u);
    return *this;
}
CArchive& CArchive::operator<<(const CPoint& v) { return *this << std::int32_t(v.x) << std::int32_t(v.y); }
CArchive& CArchive::operator<<(const CSize& v) { return *this << std::int32_t(v.cx) << std::int32_t(v.cy); }
CArchive& CArchive::operator<<(const CRect& v)
{
    return *this << std::int32_t(v.left) << std::int32_t(v.top) << std::int32_t(v.right)
                 << std::int32_t(v.bottom);
}
CArchive& CArchive::operator<<(const std::string& v)
{
    WriteString(v);
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& v) { v = ReadLE<std::int32_t>(); return *this; }
CArchive& CArchive::operator>>(std::uint32_t& v) { v = ReadLE<std::uint32_t>(); return *this; }
CArchive& CArchive::operator>>(std::int16_t& v) { v = ReadLE<std::int16_t>(); return *this; }
CArchive& CArchive::operator>>(std::uint16_t& v) { v = ReadLE<std::uint16_t>(); return *this; }
CArchive& CArchive::operator>>(std::uint8_t& v) { v = ReadLE<std::uint8_t>(); return *this; }
CArchive& CArchive::operator>>(float& v)
{
    std::uint32_t u = ReadLE<std::uint32_t>();
    std::memcpy(&v, &u, sizeof v);
    return *this;
}
CArchive& CArchive::operator>>(double& v)
{
    std::uint64_t u = ReadLE<std::uint64_t>();
    std::memcpy(&v, &u, sizeof v);
    return *this;
}
CArchive& CArchive::operator>>(CPoint& v)
{
    std::int32_t x, y;
    *this >> x >> y;
    v = CPoint(x, y);
    return *this;
}
CArchive& CArchive::operator>>(CSize& v)
{
    std::int32_t cx, cy;
    *this >> cx >> cy;
    v = CSize(cx, cy);
    return *this;
}
CArchive& CArchive::operator>>(CRect& v)
{
    std::int32_t l, t, r, b;
    *this >> l >> t >> r >> b;
    v = CRect(l, t, r, b);
    return *this;
}
CArchive& CArchive::operator>>(std::string& v)
{
    v = ReadString();
    return *this;
}

// Length prefix: one byte below 0xFF; else 0xFF and a 16-bit length below
// 0xFFFE (0xFFFE itself marks a wide string); else 0xFF 0xFFFF and a 32-bit
// length.
void CArchive::WriteString(const std::string& v)
{
    const std::size_t n = v.size();
    if (n > std::numeric_limits<std::uint32_t>::max() - 1)
        throw CArchiveError("string too long for the archive");
    if (n < 0xFF) {
        WriteLE(std::uint8_t(n));
    } else if (n < 0xFFFE) {
        WriteLE(std::uint8_t(0xFF));
        WriteLE(std::uint16_t(n));
    } else {
        WriteLE(std::uint8_t(0xFF));
        WriteLE(std::uint16_t(0xFFFF));
        WriteLE(std::uint32_t(n));
    }
    Write(v.data(), n);
}

// Strings written by a wide-character build carry the marker 0xFF 0xFFFE
// before their length; their characters are 16-bit and are converted to the
// model's code page here.
std::size_t CArchive::ReadStringLength(bool& wide)
{
    wide = false;
    for (;;) {
        const std::uint8_t b = ReadLE<std::uint8_t>();
        if (b < 0xFF) return b;
        const std::uint16_t w = ReadLE<std::uint16_t>();
        if (w == 0xFFFE) {
            if (wide) throw CArchiveError("repeated wide-string marker");
            wide = true;
            continue;
        }
        if (w < 0xFFFF) return w;
        const std::uint32_t d = ReadLE<std::uint32_t>();
        if (d == 0xFFFFFFFFu) throw CArchiveError("string length beyond 32 bits");
        return d;
    }
}

std::string CArchive::ReadString()
{
    bool wide = false;
    const std::size_t n = ReadStringLength(wide);
    if (!wide) {
        Require(n);
        std::string s(m_buffer.data() + m_pos, n);
        m_pos += n;
        return s;
    }
    RequireItems(std::int64_t(n), 2);
    std::u16string units(n, u'\0');
    for (std::size_t i = 0; i < n; ++i) units[i] = char16_t(ReadLE<std::uint16_t>());
    return Utf16ToGbk(units);
}
