// Reads a plotter file, or plotter bytes, through the scanner and the
// interpreter into a plotter state.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

struct HpglState;

class CHpglReader {
public:
    enum class Result {
        Ok,
        // Not there, not readable, or no regular file (a FIFO or a device
        // would block or never end).
        CannotOpen,
        // A digit after DF or SS, or not one command of the plotter
        // language in the whole file.
        NotHpgl,
        // Larger than kMaxFileBytes, or more points, labels or values than
        // an import takes.
        TooLarge,
    };

    static constexpr std::int64_t kMaxFileBytes = std::int64_t(64) << 20;

    // The state is reset first; its polylines and labels are emptied too.
    static Result ReadFile(const QString& path, HpglState& state);
    static Result ReadBytes(const char* data, std::size_t size, HpglState& state);
};
