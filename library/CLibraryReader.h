// Reads a whole drawing-library file into a detached content
// (CLibraryContent): head, preview section (passed over), shared points and
// element records. Counts and sizes are checked against the bytes left and
// every record is read by its element's own library load; anything
// damaged, bytes after the last element included, ends the read with the
// content empty.
#pragma once

#include "library/CLibraryContent.h"

#include <QString>

#include <cstdint>
#include <string>

class CLibraryReader {
public:
    enum class Result {
        Ok,
        // Not there, not readable, or no regular file.
        CannotOpen,
        // The first four bytes are not the library magic.
        NotLibrary,
        // A version newer than this program writes.
        Unsupported,
        // Truncated, a count beyond the bytes, bytes after the last
        // element, an unknown element kind, a node naming no point, or
        // larger than kMaxFileBytes.
        Damaged,
    };

    static constexpr std::int64_t kMaxFileBytes = std::int64_t(512) << 20;

    // Elements of files older than 105 carry no level: they get
    // `baseLevel`, the level new elements of the target page get, as they
    // are read.
    static Result ReadFile(const QString& path, int baseLevel, CLibraryContent& out);
    static Result ReadBytes(const std::string& bytes, int baseLevel, CLibraryContent& out);
};
