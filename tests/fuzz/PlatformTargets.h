// What the fuzz targets of the platform layer do with one input; the
// fuzzers and the replay tests of their findings both call these.
#pragma once

#include "FuzzSupport.h"

#include "platform/CCompoundFile.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace fuzz {

namespace detail {

inline std::vector<const CCompoundEntry*> Sorted(const CCompoundEntry& storage)
{
    std::vector<const CCompoundEntry*> entries;
    for (const CCompoundEntry& child : storage.children) entries.push_back(&child);
    std::sort(entries.begin(), entries.end(), [](const CCompoundEntry* x, const CCompoundEntry* y) {
        return std::tie(x->name, x->isStorage, x->data) < std::tie(y->name, y->isStorage, y->data);
    });
    return entries;
}

// Throws with the place where the trees differ.
inline void ExpectSame(const CCompoundEntry& a, const CCompoundEntry& b, const std::string& path)
{
    auto differ = [&path](const char* what) { throw Broken("rebuilt file differs at " + path + ": " + what); };
    if (a.name != b.name) differ("name");
    if (a.isStorage != b.isStorage) differ("storage or stream");
    if (a.data != b.data) differ("stream bytes");
    if (a.isStorage && a.classId != b.classId) differ("class id");
    // The library may list a storage's entries in another order than they
    // were written, and a damaged file may name two entries alike.
    if (a.children.size() != b.children.size()) differ("entry count");
    const std::vector<const CCompoundEntry*> left = Sorted(a), right = Sorted(b);
    for (std::size_t i = 0; i < left.size(); ++i) ExpectSame(*left[i], *right[i], path + left[i]->name + "/");
}

} // namespace detail

// Compound files through libgsf: the document file's container and the
// storage images of embedded objects. A file that parses must build again
// and parse to the same tree.
inline bool CompoundFile(const std::string& bytes)
{
    CCompoundEntry root;
    std::string error;
    if (!CCompoundFile::Parse(bytes, root, error)) return false;
    std::string built;
    if (!CCompoundFile::Build(root, built, error)) return true;
    CCompoundEntry again;
    if (!CCompoundFile::Parse(built, again, error)) throw Broken("rebuilt file cannot be read: " + error);
    detail::ExpectSame(root, again, "/");
    return true;
}

} // namespace fuzz
