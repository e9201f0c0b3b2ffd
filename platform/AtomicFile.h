// Writing a whole file so that neither a failure nor a power cut can leave
// it half written: the bytes go to a new file beside it, which is synced
// to disk and renamed over the old one, and then the folder is synced, so
// that the new name is on the disk as well. On failure the old file is
// left as it was and the new one removed. What went wrong comes back as
// the step and the system's error number, for the caller's message.
#pragma once

#include <QString>

#include <cstddef>

struct FileWriteFailure {
    enum Step { None, Create, Write, Sync, Rename };
    Step step = None;
    int error = 0;  // the errno of the failed call
};

// Writes `size` bytes to `path` (to the file it links to, for a symbolic
// link), keeping the old file's permissions. False when it failed.
bool WriteFileAtomically(const QString& path, const char* data, std::size_t size, FileWriteFailure* failure = nullptr);
