#include "CCompoundFile.h"

#include <cstdint>
#include <cstring>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

namespace {

constexpr unsigned char kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
// Guards against a damaged directory that nests without end.
constexpr int kMaxDepth = 64;

void InitLibrary()
{
    static const bool initialised = [] {
        gsf_init();
        return true;
    }();
    (void)initialised;
}

// The stream's bytes copied once into `out`: the library hands out its own
// bytes (where the blocks lie in a row, the file's bytes themselves) and
// they are appended, so nothing is filled with zeros first. A stream cannot
// hold more bytes than the file it lies in: a damaged directory claiming
// more is refused before anything is allocated.
bool ReadStream(GsfInput* input, gsf_off_t fileSize, std::string& out, std::string& error)
{
    const gsf_off_t size = gsf_input_size(input);
    if (size < 0) {
        error = "stream of negative size";
        return false;
    }
    if (size > fileSize) {
        error = "stream larger than its file";
        return false;
    }
    out.clear();
    out.reserve(std::size_t(size));
    while (out.size() < std::size_t(size)) {
        const std::size_t chunk = std::min<std::size_t>(std::size_t(size) - out.size(), 1 << 20);
        const guint8* bytes = gsf_input_read(input, chunk, nullptr);
        if (!bytes) {
            error = "stream cannot be read";
            return false;
        }
        out.append(reinterpret_cast<const char*>(bytes), chunk);
    }
    return true;
}

bool ReadStorage(GsfInfile* storage, CCompoundEntry& entry, int depth, gsf_off_t fileSize, std::string& error)
{
    if (depth > kMaxDepth) {
        error = "storages nested too deep";
        return false;
    }
    entry.isStorage = true;
    if (GSF_IS_INFILE_MSOLE(storage))
        gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(storage), entry.classId.data());
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        GsfInput* child = gsf_infile_child_by_index(storage, i);
        if (!child) {
            error = "directory entry cannot be opened";
            return false;
        }
        CCompoundEntry item;
        const char* name = gsf_infile_name_by_index(storage, i);
        item.name = name ? name : "";
        bool ok = true;
        if (GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0)
            ok = ReadStorage(GSF_INFILE(child), item, depth + 1, fileSize, error);
        else
            ok = ReadStream(child, fileSize, item.data, error);
        g_object_unref(child);
        if (!ok) return false;
        entry.children.push_back(std::move(item));
    }
    return true;
}

bool WriteStorage(GsfOutfile* storage, const CCompoundEntry& entry, std::string& error)
{
    if (GSF_IS_OUTFILE_MSOLE(storage)) gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(storage), entry.classId.data());
    for (const CCompoundEntry& item : entry.children) {
        GsfOutput* child = gsf_outfile_new_child(storage, item.name.c_str(), item.isStorage);
        if (!child) {
            error = "entry cannot be created: " + item.name;
            return false;
        }
        bool ok = true;
        if (item.isStorage)
            ok = WriteStorage(GSF_OUTFILE(child), item, error);
        else if (!item.data.empty())
            ok = gsf_output_write(child, item.data.size(), reinterpret_cast<const guint8*>(item.data.data()));
        if (!ok && error.empty()) error = "stream cannot be written: " + item.name;
        const bool closed = gsf_output_close(child);
        g_object_unref(child);
        if (!ok) return false;
        if (!closed) {
            error = "entry cannot be closed: " + item.name;
            return false;
        }
    }
    return true;
}

// The library builds the root entry's siblings as entries of no storage
// and never frees them, so a damaged directory would leak on every read.
// The root has no siblings in a sound file; the fields are cleared in the
// copy the library reads.
void ClearRootSiblings(char* bytes, std::size_t size)
{
    constexpr std::size_t kShiftField = 0x1E;
    constexpr std::size_t kFirstDirectorySectorField = 0x30;
    constexpr std::size_t kLeftSiblingField = 0x44;  // the right one follows
    if (size < 512) return;
    const unsigned shift = std::uint8_t(bytes[kShiftField]) | (std::uint8_t(bytes[kShiftField + 1]) << 8);
    if (shift < 7 || shift > 20) return;  // sizes the library refuses anyway
    std::uint64_t sector = 0;
    for (int i = 3; i >= 0; --i)
        sector = (sector << 8) | std::uint8_t(bytes[kFirstDirectorySectorField + std::size_t(i)]);
    const std::uint64_t entry = (sector + 1) << shift;
    if (entry + kLeftSiblingField + 8 > size) return;
    // Only when they are not cleared already: a private mapping of the file
    // then stays shared with it.
    char* siblings = bytes + std::size_t(entry + kLeftSiblingField);
    static const char kNone[8] = {char(0xFF), char(0xFF), char(0xFF), char(0xFF),
                                  char(0xFF), char(0xFF), char(0xFF), char(0xFF)};
    if (std::memcmp(siblings, kNone, 8) != 0) std::memset(siblings, 0xFF, 8);
}

// An output that hands its bytes to a CByteSink. A failure is remembered
// and reported by the writer, while the library is told all went well: it
// has loops that would never end on a write that does not advance.
struct VekSinkOutput {
    GsfOutput output;
    CByteSink* sink;
    gboolean failed;
};
struct VekSinkOutputClass {
    GsfOutputClass output_class;
};

G_DEFINE_TYPE(VekSinkOutput, vek_sink_output, GSF_OUTPUT_TYPE)

gboolean vek_sink_output_write(GsfOutput* output, size_t size, const guint8* data)
{
    auto* self = reinterpret_cast<VekSinkOutput*>(output);
    if (!self->failed && !(self->sink && self->sink->Write(reinterpret_cast<const char*>(data), size)))
        self->failed = TRUE;
    return TRUE;
}

gboolean vek_sink_output_seek(GsfOutput* output, gsf_off_t offset, GSeekType whence)
{
    auto* self = reinterpret_cast<VekSinkOutput*>(output);
    gsf_off_t position = offset;
    if (whence == G_SEEK_CUR) position = output->cur_offset + offset;
    else if (whence == G_SEEK_END) position = output->cur_size + offset;
    if (!self->failed && !(position >= 0 && self->sink && self->sink->Seek(std::uint64_t(position))))
        self->failed = TRUE;
    return TRUE;
}

gboolean vek_sink_output_close(GsfOutput*)
{
    return TRUE;
}

void vek_sink_output_class_init(VekSinkOutputClass* klass)
{
    GsfOutputClass* output = GSF_OUTPUT_CLASS(klass);
    output->Write = vek_sink_output_write;
    output->Seek = vek_sink_output_seek;
    output->Close = vek_sink_output_close;
}

void vek_sink_output_init(VekSinkOutput* self)
{
    self->sink = nullptr;
    self->failed = FALSE;
}

} // namespace

const CCompoundEntry* CCompoundEntry::Child(const std::string& childName) const
{
    for (const CCompoundEntry& c : children)
        if (c.name == childName) return &c;
    return nullptr;
}

CCompoundEntry* CCompoundEntry::Child(const std::string& childName)
{
    for (CCompoundEntry& c : children)
        if (c.name == childName) return &c;
    return nullptr;
}

bool CCompoundFile::HasSignature(const std::string& bytes)
{
    return HasSignature(bytes.data(), bytes.size());
}

bool CCompoundFile::HasSignature(const char* data, std::size_t size)
{
    return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

bool CCompoundFile::Parse(std::string bytes, CCompoundEntry& root, std::string& error)
{
    if (!HasSignature(bytes)) {
        error = "not a compound file";
        return false;
    }
    return ParseInPlace(bytes.data(), bytes.size(), root, error);
}

bool CCompoundFile::ParseInPlace(char* data, std::size_t size, CCompoundEntry& root, std::string& error)
{
    InitLibrary();
    if (!HasSignature(data, size)) {
        error = "not a compound file";
        return false;
    }
    ClearRootSiblings(data, size);
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(data), gsf_off_t(size), FALSE);
    GError* gerr = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &gerr);
    g_object_unref(input);
    if (!ole) {
        error = gerr && gerr->message ? gerr->message : "compound file cannot be read";
        if (gerr) g_error_free(gerr);
        return false;
    }
    CCompoundEntry result;
    const bool ok = ReadStorage(ole, result, 0, gsf_off_t(size), error);
    g_object_unref(ole);
    if (ok) root = std::move(result);
    return ok;
}

bool CCompoundFile::Build(const CCompoundEntry& root, std::string& bytes, std::string& error)
{
    InitLibrary();
    GsfOutput* sink = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(sink);
    if (!ole) {
        g_object_unref(sink);
        error = "compound file cannot be created";
        return false;
    }
    bool ok = WriteStorage(ole, root, error);
    if (!gsf_output_close(GSF_OUTPUT(ole)) && ok) {
        error = "compound file cannot be finished";
        ok = false;
    }
    g_object_unref(ole);
    if (ok) {
        const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
        const gsf_off_t size = gsf_output_size(sink);
        if (data && size > 0) bytes.assign(reinterpret_cast<const char*>(data), std::size_t(size));
        else bytes.clear();
    }
    if (!gsf_output_is_closed(sink)) gsf_output_close(sink);
    g_object_unref(sink);
    return ok;
}

// ---------------------------------------------------------------------------
// Writing as it goes

struct CCompoundWriter::Impl {
    GsfOutput* sink = nullptr;
    GsfOutfile* ole = nullptr;
    GsfOutput* stream = nullptr;
    std::string error;
    bool finished = false;

    bool Fail(const std::string& why)
    {
        if (error.empty()) error = why;
        return false;
    }
    // Whether the sink refused bytes; the reason is then the sink's.
    bool SinkFailed()
    {
        if (!reinterpret_cast<VekSinkOutput*>(sink)->failed) return false;
        return Fail("the file cannot be written");
    }
};

CCompoundWriter::CCompoundWriter(CByteSink& sink) : m_impl(new Impl)
{
    InitLibrary();
    auto* output = static_cast<VekSinkOutput*>(g_object_new(vek_sink_output_get_type(), nullptr));
    output->sink = &sink;
    m_impl->sink = GSF_OUTPUT(output);
    m_impl->ole = gsf_outfile_msole_new(m_impl->sink);
    if (!m_impl->ole) m_impl->Fail("compound file cannot be created");
}

CCompoundWriter::~CCompoundWriter()
{
    // An unfinished file is closed all the same (the library insists); the
    // caller throws its bytes away.
    if (m_impl->stream) {
        gsf_output_close(m_impl->stream);
        g_object_unref(m_impl->stream);
    }
    if (m_impl->ole) {
        if (!gsf_output_is_closed(GSF_OUTPUT(m_impl->ole))) gsf_output_close(GSF_OUTPUT(m_impl->ole));
        g_object_unref(m_impl->ole);
    }
    if (!gsf_output_is_closed(m_impl->sink)) gsf_output_close(m_impl->sink);
    g_object_unref(m_impl->sink);
    delete m_impl;
}

bool CCompoundWriter::OpenStream(const std::string& name)
{
    if (!CloseStream() || !m_impl->ole) return false;
    m_impl->stream = gsf_outfile_new_child(m_impl->ole, name.c_str(), FALSE);
    return m_impl->stream ? true : m_impl->Fail("entry cannot be created: " + name);
}

bool CCompoundWriter::WriteStream(const char* data, std::size_t size)
{
    if (!m_impl->error.empty()) return false;
    if (!m_impl->stream) return m_impl->Fail("no stream is open");
    if (size == 0) return true;
    if (!gsf_output_write(m_impl->stream, size, reinterpret_cast<const guint8*>(data)))
        return m_impl->Fail("stream cannot be written");
    return !m_impl->SinkFailed();
}

bool CCompoundWriter::CloseStream()
{
    if (!m_impl->stream) return m_impl->error.empty();
    const bool closed = gsf_output_close(m_impl->stream);
    g_object_unref(m_impl->stream);
    m_impl->stream = nullptr;
    if (!closed) return m_impl->Fail("stream cannot be closed");
    return m_impl->error.empty();
}

bool CCompoundWriter::WriteEntry(const CCompoundEntry& entry)
{
    if (!CloseStream() || !m_impl->ole) return false;
    GsfOutput* child = gsf_outfile_new_child(m_impl->ole, entry.name.c_str(), entry.isStorage);
    if (!child) return m_impl->Fail("entry cannot be created: " + entry.name);
    std::string why;
    bool ok = true;
    if (entry.isStorage)
        ok = WriteStorage(GSF_OUTFILE(child), entry, why);
    else if (!entry.data.empty())
        ok = gsf_output_write(child, entry.data.size(), reinterpret_cast<const guint8*>(entry.data.data()));
    const bool closed = gsf_output_close(child);
    g_object_unref(child);
    if (!ok) return m_impl->Fail(why.empty() ? "stream cannot be written: " + entry.name : why);
    if (!closed) return m_impl->Fail("entry cannot be closed: " + entry.name);
    return !m_impl->SinkFailed();
}

void CCompoundWriter::SetRootClassId(const std::array<std::uint8_t, 16>& classId)
{
    if (m_impl->ole && GSF_IS_OUTFILE_MSOLE(m_impl->ole))
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(m_impl->ole), classId.data());
}

bool CCompoundWriter::Finish(std::string& error)
{
    bool ok = CloseStream();
    if (m_impl->ole && !m_impl->finished) {
        m_impl->finished = true;
        if (!gsf_output_close(GSF_OUTPUT(m_impl->ole)) && ok) ok = m_impl->Fail("compound file cannot be finished");
    }
    if (m_impl->SinkFailed()) ok = false;
    if (!m_impl->error.empty()) ok = false;
    error = m_impl->error;
    return ok;
}
