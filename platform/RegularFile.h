// Opening files that come from outside for reading. Only regular files are
// opened: reading a named pipe waits for a writer that may never come, and
// a device such as /dev/zero never ends, so either would hold the program
// up for good. They are refused before a single read.
#pragma once

#include <QString>

class QFile;

// Opens `path` read-only into `file` when it names a regular file (or a
// link to one). Otherwise returns false with the reason in `why`, the
// file left closed.
bool OpenRegularFile(const QString& path, QFile& file, QString* why = nullptr);

// Whether `path` names a regular file (or a link to one), found without
// opening it, so asking never waits on a pipe or wakes a device. A
// settings file is read only when this holds (or there is none yet).
bool IsRegularFile(const QString& path);
