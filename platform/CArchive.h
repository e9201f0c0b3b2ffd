// A byte archive for the document and settings records: little-endian
// fixed-width fields and strings with the classic variable length prefix.
// Loading reads from a byte buffer and throws CArchiveError when a read
// would run past the end, so a damaged file can never be read beyond its
// bytes; the load boundary turns the error into the user's message.
#pragma once

#include "Types.h"

#include <cstddef>
#include <cstdint>
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
    void Reserve(std::size_t bytes) { m_buffer.reserve(bytes); }
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
