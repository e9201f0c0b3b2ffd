// A byte archive for the document and settings records: little-endian
// fixed-width fields and strings with the classic variable length prefix.
// Loading reads from a byte buffer and throws CArchiveError when a read
// would run past the end, so a damaged file can never be read beyond its
// bytes; the load boundary turns the error into the user's message.
#pragma once

#include "Types.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

class CArchiveError : public std::runtime_error {
public:
    explicit CArchiveError(const std::string& what) : std::runtime_error(what) {}
};

// Where a storing archive sends its bytes when they are not kept whole.
class CArchiveSink {
public:
    virtual ~CArchiveSink() = default;
    // False when the bytes could not be written.
    virtual bool WriteBytes(const char* data, std::size_t size) = 0;
};

class CArchive {
public:
    // An archive that stores into an empty buffer.
    CArchive();
    // An archive that loads from the given bytes.
    explicit CArchive(std::string bytes);
    // An archive that stores through a buffer of `bufferBytes` into the
    // sink, never holding more; Flush sends what is left. When the sink
    // refuses bytes, that write and every later one throw CArchiveError.
    CArchive(CArchiveSink& sink, std::size_t bufferBytes);

    // Room for this many stored bytes, so that storing never grows the
    // buffer by copying.
    void Reserve(std::size_t bytes);
    // Sends the buffered bytes to the sink (nothing without one).
    void Flush();
    // Bytes stored so far, sent or not.
    std::size_t BytesStored() const { return m_sent + (m_loading ? 0 : m_buffer.size()); }

    bool IsStoring() const { return !m_loading; }

    // Stored bytes (storing) or the whole input (loading).
    const std::string& Buffer() const { return m_buffer; }
    // Hands the stored bytes over without a copy; the archive is empty
    // afterwards.
    std::string TakeBuffer()
    {
        m_pos = 0;
        return std::move(m_buffer);
    }
    std::size_t Position() const { return m_pos; }
    std::size_t BytesLeft() const { return m_buffer.size() - m_pos; }

    void Write(const void* data, std::size_t size);
    void Read(void* data, std::size_t size);
    // Throws unless at least `size` bytes are left; for checking counts
    // read from a file before allocating for them.
    void Require(std::size_t size) const;
    // Throws unless count items of itemSize bytes each can still follow.
    void RequireItems(std::int64_t count, std::size_t itemSize) const;

    CArchive& operator<<(std::int32_t v);
    CArchive& operator<<(std::uint32_t v);
    CArchive& operator<<(std::int16_t v);
    CArchive& operator<<(std::uint16_t v);
    CArchive& operator<<(std::uint8_t v);
    CArchive& operator<<(float v);
    CArchive& operator<<(double v);
    CArchive& operator<<(const CPoint& v);
    CArchive& operator<<(const CSize& v);
    CArchive& operator<<(const CRect& v);
    CArchive& operator<<(const std::string& v);

    CArchive& operator>>(std::int32_t& v);
    CArchive& operator>>(std::uint32_t& v);
    CArchive& operator>>(std::int16_t& v);
    CArchive& operator>>(std::uint16_t& v);
    CArchive& operator>>(std::uint8_t& v);
    CArchive& operator>>(float& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(CPoint& v);
    CArchive& operator>>(CSize& v);
    CArchive& operator>>(CRect& v);
    CArchive& operator>>(std::string& v);

    void WriteString(const std::string& v);
    std::string ReadString();

    // Points one after another, two little-endian ints each, the way the
    // records keep their outlines: a settings file may hold millions, so
    // their bytes are checked once and stored a block at a time rather
    // than a field at a time.
    template <class Points> void WritePoints(const Points& points);
    // Reads `count` such points and hands each to `take` in order.
    template <class Take> void ReadPoints(std::int64_t count, Take take);

private:
    template <class T> void WriteLE(T v);
    template <class T> T ReadLE();
    std::size_t ReadStringLength(bool& wide);

    std::string m_buffer;
    std::size_t m_pos = 0;
    bool m_loading = false;
    CArchiveSink* m_sink = nullptr;
    std::size_t m_bufferBytes = 0;
    std::size_t m_sent = 0;
    bool m_sinkFailed = false;
};

namespace archive_detail {

inline void PutInt32(char* to, std::int32_t v)
{
    auto u = static_cast<std::uint32_t>(v);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(to, &u, 4);
#else
    for (int i = 0; i < 4; ++i) to[i] = char((u >> (8 * i)) & 0xFF);
#endif
}

inline std::int32_t Int32At(const char* from)
{
    std::uint32_t u = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(&u, from, 4);
#else
    for (int i = 0; i < 4; ++i) u |= std::uint32_t(static_cast<unsigned char>(from[i])) << (8 * i);
#endif
    return static_cast<std::int32_t>(u);
}

} // namespace archive_detail

template <class Points> void CArchive::WritePoints(const Points& points)
{
    char block[8 * 512];
    std::size_t used = 0;
    for (const CPoint& p : points) {
        archive_detail::PutInt32(block + used, p.x);
        archive_detail::PutInt32(block + used + 4, p.y);
        used += 8;
        if (used == sizeof block) {
            Write(block, used);
            used = 0;
        }
    }
    if (used > 0) Write(block, used);
}

template <class Take> void CArchive::ReadPoints(std::int64_t count, Take take)
{
    if (!m_loading) throw CArchiveError("archive is not loading");
    RequireItems(count, 8);
    for (std::int64_t i = 0; i < count; ++i) {
        const char* at = m_buffer.data() + m_pos;
        m_pos += 8;
        take(CPoint(archive_detail::Int32At(at), archive_detail::Int32At(at + 4)));
    }
}
