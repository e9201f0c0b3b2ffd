// Structured storage files (the OLE compound file format) held in memory:
// a tree of storages and streams. Documents keep their page-set record in
// the stream "Contents" and each embedded object in a storage
// "Embedding N", all of which must come back out byte for byte.
// This header stays free of glib so that Qt code can include it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct CCompoundEntry {
    std::string name;   // as stored (UTF-8)
    bool isStorage = false;
    std::string data;   // stream bytes; empty for a storage
    std::array<std::uint8_t, 16> classId{}; // storages only
    std::vector<CCompoundEntry> children;

    const CCompoundEntry* Child(const std::string& childName) const;
    CCompoundEntry* Child(const std::string& childName);
};

// Where a compound file is written as it is made: the library writes the
// streams' blocks as they come and goes back to the start for the header
// when it finishes.
class CByteSink {
public:
    virtual ~CByteSink() = default;
    // False when the bytes could not be written.
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Moves to an absolute position; false when it cannot.
    virtual bool Seek(std::uint64_t position) = 0;
};

class CCompoundFile {
public:
    // True when the bytes start with the compound file signature.
    static bool HasSignature(const std::string& bytes);
    static bool HasSignature(const char* data, std::size_t size);

    // Reads a whole compound file into `root` (a storage). Returns false
    // with a reason in `error` when the bytes are not a readable file, a
    // stream claiming more bytes than the file holds included. The bytes
    // are taken by value: a caller done with them moves them in.
    static bool Parse(std::string bytes, CCompoundEntry& root, std::string& error);
    // The same over bytes the caller lets it change (a private mapping of
    // the file): nothing is copied but each stream's own bytes, once.
    static bool ParseInPlace(char* data, std::size_t size, CCompoundEntry& root, std::string& error);

    // Writes the tree under `root` as a compound file image. Returns false
    // with a reason in `error` when the library could not build it.
    static bool Build(const CCompoundEntry& root, std::string& bytes, std::string& error);
};

// Writes a compound file into a sink as it goes: a stream written through
// OpenStream reaches the sink block by block, never held whole, and the
// entries held in memory follow it. Nothing is written once a write failed.
class CCompoundWriter {
public:
    explicit CCompoundWriter(CByteSink& sink);
    ~CCompoundWriter();
    CCompoundWriter(const CCompoundWriter&) = delete;
    CCompoundWriter& operator=(const CCompoundWriter&) = delete;

    // Starts a stream at the top level; the one before is ended.
    bool OpenStream(const std::string& name);
    // Appends to the open stream.
    bool WriteStream(const char* data, std::size_t size);
    bool CloseStream();
    // A whole entry (a storage with everything under it, or a stream) at
    // the top level.
    bool WriteEntry(const CCompoundEntry& entry);
    // Sets the root storage's class identifier.
    void SetRootClassId(const std::array<std::uint8_t, 16>& classId);
    // Writes the directory and the header. False with a reason when
    // anything failed on the way.
    bool Finish(std::string& error);

private:
    struct Impl;
    Impl* m_impl;
};
