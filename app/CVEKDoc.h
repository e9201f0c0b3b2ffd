// The document: the page set that holds the content, the undo and redo
// snapshots, the document file (a compound file whose "Contents" stream
// holds the page-set record) and the backup file.
#pragma once

#include "platform/CCompoundFile.h"

#include <QObject>
#include <QString>

#include <cstddef>
#include <deque>
#include <memory>
#include <string>

class CArchive;
class CPageSet;
class CUndoSnapshot;

class CVEKDoc : public QObject {
    Q_OBJECT
public:
    static constexpr int kUndoDepth = 6;

    enum class LoadResult { Ok, CannotOpen, Damaged };

    explicit CVEKDoc(QObject* parent = nullptr);
    ~CVEKDoc() override;

    CPageSet* GetPageSet() const { return m_pageSet.get(); }
    const QString& GetPathName() const { return m_pathName; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    // A fresh document of one page with the settings' paper and margins.
    bool OnNewDocument();
    // Reads a document file, or a bare page-set record such as the backup
    // file. The content is replaced only when the whole file loaded; on
    // failure the document is left exactly as it was. Only regular files
    // are read (a pipe or a device cannot be opened); a file of 2 GB or
    // more, a record followed by more bytes, and a file that would take
    // more memory than there is are damaged.
    LoadResult OnOpenDocument(const QString& path);
    // Writes the document file through a temporary file and a rename, so a
    // failed save leaves the previous file whole. Returns false on failure
    // with a reason in `error`.
    bool OnSaveDocument(const QString& path, QString* error = nullptr);

    // Where a page-set record may end: anywhere in its bytes (a clipboard
    // block is padded), or only at their end (a file holds nothing else).
    enum class RecordEnd { Anywhere, AtEnd };
    // Loads a page-set record into a fresh page set; null when the bytes do
    // not hold a whole, sound record. With `storages` (the document file's
    // root) embedded objects take their data from its "Embedding N"
    // storages; without, their data lies inside the record.
    // The bytes are taken by value, so a caller done with them can move
    // them in rather than hold a second copy of a large document.
    static std::unique_ptr<CPageSet> LoadPageSetRecord(std::string bytes,
                                                       const CCompoundEntry* storages = nullptr,
                                                       RecordEnd end = RecordEnd::Anywhere);
    // The record; with `storages`, embedded objects' data goes there as
    // "Embedding N" storages instead of into the record. `expectedBytes`
    // reserves room for it at once (the size of the last one, say).
    static std::string StorePageSetRecord(const CPageSet& pageSet, CCompoundEntry* storages = nullptr,
                                          std::size_t expectedBytes = 0);
    // The same into an archive that is storing.
    static void StorePageSetRecord(CArchive& ar, const CPageSet& pageSet, CCompoundEntry* storages);

    // Undo snapshots. SaveUndoState makes an undo step of the content as
    // it is now, at once: the oldest step goes beyond six, the redo list is
    // cleared, the document is marked modified and, in the every-step
    // backup mode, the backup file is written.
    void SaveUndoState();
    // A deferred step, for editing steps that may end up changing nothing
    // (a cancelled dialog, a press without a drag): BeginUndoStep copies
    // the content and holds the copy aside; CommitUndoStep, called when the
    // first real change is made (before or after it), turns the copy into
    // an undo step exactly as SaveUndoState would have; DropUndoStep
    // forgets it and leaves undo, redo, the modified flag and the backup
    // file as they were. A new BeginUndoStep replaces a held copy; a
    // commit without a held copy does nothing and answers false.
    void BeginUndoStep();
    bool CommitUndoStep();
    void DropUndoStep();
    bool HasPendingUndoStep() const { return m_pendingUndo != nullptr; }
    int Undo();
    int Redo();
    int CanUndo() const { return m_undoList.empty() ? 0 : 1; }
    int CanRedo() const { return m_redoList.empty() ? 0 : 1; }
    void ClearUndoList();
    void ClearRedoList();
    int UndoCount() const { return int(m_undoList.size()); }

    // Writes the content as a bare page-set record to the backup path of
    // the settings (or the default backup file). Returns false when it
    // could not be written.
    bool WriteBackupFile(QString* error = nullptr) const;
    static QString BackupFilePath();
    // A backup name as the settings hold it, made absolute: a relative name
    // lies in the user's data folder, an empty one is the default file.
    static QString ResolveBackupPath(const QString& configured);

    // The archive-directory rule: true when `path` lies inside `folder` or
    // a folder below it, comparing whole components of canonical paths.
    static bool IsInsideFolder(const QString& path, const QString& folder);

Q_SIGNALS:
    // The page set was replaced (new, open, undo, redo): views rebuild their
    // page tabs and redraw.
    void ContentReplaced();

private:
    LoadResult OpenDocumentFile(const QString& path);
    void ReplacePageSet(std::unique_ptr<CPageSet> pageSet);
    // The file's page-set record and, for a compound file, everything else
    // in it. CannotOpen when the file cannot be read (or is no regular
    // file); Damaged when it is too large or holds no readable compound
    // file or no "Contents" stream.
    static LoadResult ReadDocumentFile(const QString& path, CCompoundEntry& storage, std::string& record,
                                       bool& compound);
    static LoadResult TakeContents(CCompoundEntry& storage, std::string& record);
    bool WriteDocumentFile(const QString& path, QString* error);
    void PushUndoStep(std::unique_ptr<CPageSet> before);
    bool WriteBackupOf(const CPageSet& pageSet, QString* error) const;

    std::unique_ptr<CPageSet> m_pageSet;
    std::deque<std::unique_ptr<CUndoSnapshot>> m_undoList; // newest at the back
    std::deque<std::unique_ptr<CUndoSnapshot>> m_redoList;
    // The copy of a deferred step, until it is committed or dropped.
    std::unique_ptr<CPageSet> m_pendingUndo;
    // Everything of the document file beside "Contents" (the storages of
    // embedded objects), written back as it was read.
    CCompoundEntry m_storage;
    QString m_pathName;
    bool m_modified = false;
    // The size of the record last read or written, which the next one is
    // likely to have.
    std::size_t m_lastRecordBytes = 0;
};
