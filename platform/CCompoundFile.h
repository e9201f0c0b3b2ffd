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

class CCompoundFile {
public:
    // True when the bytes start with the compound file signature.
    static bool HasSignature(const std::string& bytes);

    // Reads a whole compound file into `root` (a storage). Returns false
    // with a reason in `error` when the bytes are not a readable file, a
    // stream claiming more bytes than the file holds included. The bytes
    // are taken by value: a caller done with them moves them in.
    static bool Parse(std::string bytes, CCompoundEntry& root, std::string& error);

    // Writes the tree under `root` as a compound file image. Returns false
    // with a reason in `error` when the library could not build it.
    static bool Build(const CCompoundEntry& root, std::string& bytes, std::string& error);
};
