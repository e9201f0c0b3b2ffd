// Reads the head and the preview section of a drawing-library file and
// stops there: the browser's thumbnails come from it, and the full reader
// passes over the section with it. Every count and size read is checked
// against the bytes that are left before anything is taken for it, and
// picture pixels are skipped, never read.
#pragma once

#include "library/CLibraryPreview.h"

#include <QString>

#include <string>

class CArchive;
class QIODevice;

class CLibraryPreviewReader {
public:
    enum class Result {
        // The whole preview section was read.
        Ok,
        // Not there, no regular file, or not starting with the magic.
        NotLibrary,
        // A version newer than this program writes.
        Unsupported,
        // Truncated or damaged: `complete` is false and the preview holds
        // what came before the damage.
        Damaged,
    };

    static Result ReadFile(const QString& path, CLibraryPreview& out);
    // From the device's current position to its end; the device must be
    // open for reading and random access.
    static Result ReadDevice(QIODevice& device, CLibraryPreview& out);
    static Result ReadBytes(const std::string& bytes, CLibraryPreview& out);

    // The preview section of a file of that version, read from the archive
    // and dropped. Throws CArchiveError where it is damaged.
    static void PassOver(CArchive& ar, int version);
};
