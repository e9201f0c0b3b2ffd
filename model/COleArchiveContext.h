// The archive's object table for embedded-object items, and where their
// data goes. Items are written with the classic object protocol: the first
// item of an archive brings its class name, later ones refer to the class
// by number, and an item written a second time (two elements sharing it) is
// only a reference to the first. That numbering lives as long as one
// archive is read or written, so whoever loads or stores a record that may
// hold embedded objects declares a context for the archive first:
//
//     COleArchiveContext objects(ar);             // backup, clipboard, library
//     COleArchiveContext objects(ar, COleArchiveContext::InStorages);
//                                                 // a document's page stream
//
// A context declared while another is active for the same archive shares
// its table. Without any context each item is written as if it were the
// first, and reading accepts only such records.
//
// In a document file each item's data is a storage "Embedding N" beside
// the page stream: after loading, the document hands each item of Items()
// its storage; after storing, it writes the storage of each item of Items()
// (numbers are made unique while storing). Everywhere else the data is a
// compound-file image inside the item's record.
#pragma once

#include "model/CVEKCntrItem.h"

#include <memory>
#include <vector>

class CArchive;

class COleArchiveContext {
public:
    enum ItemData { InRecord, InStorages };

    explicit COleArchiveContext(const CArchive& ar, ItemData data = InRecord);
    ~COleArchiveContext();
    COleArchiveContext(const COleArchiveContext&) = delete;
    COleArchiveContext& operator=(const COleArchiveContext&) = delete;

    // The context active for the archive, null when none.
    static COleArchiveContext* Find(const CArchive& ar);

    // Items read or written through the archive, in order of first
    // appearance, each once.
    const std::vector<CVEKCntrItemPtr>& Items() const;

    // An item (or null) as the object protocol writes it. Reading throws
    // CArchiveError for an unknown class, a reference to nothing loaded or
    // a damaged item record.
    static CVEKCntrItemPtr ReadItem(CArchive& ar);
    static void WriteItem(CArchive& ar, const CVEKCntrItemPtr& item);

private:
    struct Table;
    std::shared_ptr<Table> m_table;
    const CArchive* m_archive;
};
