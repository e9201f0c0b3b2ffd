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

// A stream cannot hold more bytes than the file it lies in: a damaged
// directory claiming more is refused before anything is allocated.
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
    out.resize(std::size_t(size));
    std::size_t done = 0;
    while (done < out.size()) {
        const std::size_t chunk = std::min<std::size_t>(out.size() - done, 1 << 20);
        if (!gsf_input_read(input, chunk, reinterpret_cast<guint8*>(&out[done]))) {
            error = "stream cannot be read";
            return false;
        }
        done += chunk;
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
void ClearRootSiblings(std::string& bytes)
{
    constexpr std::size_t kShiftField = 0x1E;
    constexpr std::size_t kFirstDirectorySectorField = 0x30;
    constexpr std::size_t kLeftSiblingField = 0x44;  // the right one follows
    if (bytes.size() < 512) return;
    const unsigned shift = std::uint8_t(bytes[kShiftField]) | (std::uint8_t(bytes[kShiftField + 1]) << 8);
    if (shift < 7 || shift > 20) return;  // sizes the library refuses anyway
    std::uint64_t sector = 0;
    for (int i = 3; i >= 0; --i)
        sector = (sector << 8) | std::uint8_t(bytes[kFirstDirectorySectorField + std::size_t(i)]);
    const std::uint64_t entry = (sector + 1) << shift;
    if (entry + kLeftSiblingField + 8 > bytes.size()) return;
    std::memset(&bytes[std::size_t(entry + kLeftSiblingField)], 0xFF, 8);
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
    return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

bool CCompoundFile::Parse(std::string bytes, CCompoundEntry& root, std::string& error)
{
    InitLibrary();
    if (!HasSignature(bytes)) {
        error = "not a compound file";
        return false;
    }
    ClearRootSiblings(bytes);
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()), gsf_off_t(bytes.size()), FALSE);
    GError* gerr = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &gerr);
    g_object_unref(input);
    if (!ole) {
        error = gerr && gerr->message ? gerr->message : "compound file cannot be read";
        if (gerr) g_error_free(gerr);
        return false;
    }
    CCompoundEntry result;
    const bool ok = ReadStorage(ole, result, 0, gsf_off_t(bytes.size()), error);
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
