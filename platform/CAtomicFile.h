// Writing a whole file so that neither a failure nor a power cut can leave
// it half written: the bytes go to a new file beside it, which is synced
// to disk and renamed over the old one, and then the folder is synced, so
// that the new name is on the disk as well. On failure the old file is
// left as it was and the new one removed. What went wrong comes back as
// the step and the system's error number, for the caller's message.
//
// Only a regular file (or a name not yet taken) is replaced: a named pipe,
// a device or a socket at the name is refused before anything is written
// and left as it is, for renaming over it would put a plain file in its
// place.
//
// The new file is hidden beside the old one (".<name>.XXXXXX") and locked
// while it is written. A save killed midway leaves it behind; the next
// save of the same file removes such leftovers, recognised by their name,
// their lock being free (the kernel drops a lock with its process, so a
// locked one belongs to a save still running) and their not having been
// written to for kStaleSeconds (which covers the instant between making a
// new file and locking it, and writers that do not lock).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

struct FileWriteFailure {
    // NotAFile: the name is taken by a named pipe, a device or a socket.
    enum Step { None, Create, Write, Sync, Rename, NotAFile };
    Step step = None;
    int error = 0;  // the errno of the failed call
};

// A file being written in pieces (a document made as it is stored), with
// moves back to fill in what is known only at the end. Nothing replaces
// the old file until Commit; a file dropped uncommitted leaves no trace.
class CAtomicFile {
public:
    // A leftover new file untouched for this long is no save's any more.
    static constexpr int kStaleSeconds = 120;

    // `path` may name a symbolic link (or a chain of them): the file it
    // leads to is written, keeping the old file's permissions, and the
    // links stay.
    explicit CAtomicFile(const QString& path);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    bool Open();
    bool Write(const char* data, std::size_t size);
    // Moves to an absolute position in the new file.
    bool Seek(std::uint64_t position);
    // Syncs, renames over the old file and syncs the folder.
    bool Commit();
    // Removes the new file; the old one stays as it was.
    void Cancel();

    const FileWriteFailure& Failure() const { return m_failure; }

private:
    // True when nothing is at the target's name, or a file or folder that
    // a rename may take the place of (a folder makes the rename fail).
    bool TargetMayBeReplaced() const;
    void RemoveStaleTemporaries() const;
    bool Flush();
    bool Fail(FileWriteFailure::Step step, int error);

    QByteArray m_target;
    QByteArray m_folder;
    QByteArray m_temporary;
    int m_fd = -1;
    // Small pieces are gathered so that each does not cost a system call.
    std::string m_pending;
    FileWriteFailure m_failure;
};

// Writes `size` bytes to `path` in one go. False when it failed.
bool WriteFileAtomically(const QString& path, const char* data, std::size_t size, FileWriteFailure* failure = nullptr);
