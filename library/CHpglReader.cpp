#include "library/CHpglReader.h"

#include "library/CHpglInterpreter.h"
#include "library/CHpglScanner.h"
#include "library/CImportBuffer.h"
#include "library/HpglState.h"

#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

constexpr qint64 kChunkBytes = 1 << 16;

void StartFresh(HpglState& state)
{
    state.primitives.clear();
    state.labels.clear();
    state.Reset();
}

CHpglReader::Result Finish(CHpglScanner& scanner, const CHpglInterpreter& interpreter, HpglState& state)
{
    scanner.Finish();
    CHpglReader::Result result = CHpglReader::Result::Ok;
    switch (scanner.GetStatus()) {
    case CHpglScanner::Status::Reading:
        if (interpreter.KnownCommandCount() == 0) result = CHpglReader::Result::NotHpgl;
        break;
    case CHpglScanner::Status::NotHpgl: result = CHpglReader::Result::NotHpgl; break;
    case CHpglScanner::Status::OverLimit: result = CHpglReader::Result::TooLarge; break;
    }
    // Nothing of a refused file is kept.
    if (result != CHpglReader::Result::Ok) StartFresh(state);
    return result;
}

} // namespace

CHpglReader::Result CHpglReader::ReadBytes(const char* data, std::size_t size, HpglState& state)
{
    StartFresh(state);
    if (std::int64_t(size) > kMaxFileBytes) return Result::TooLarge;
    CHpglInterpreter interpreter(state);
    CImportBuffer record;
    CHpglScanner scanner(interpreter, record);
    scanner.Feed(data, size);
    return Finish(scanner, interpreter, state);
}

CHpglReader::Result CHpglReader::ReadFile(const QString& path, HpglState& state)
{
    StartFresh(state);
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) return Result::CannotOpen;
    if (info.size() > kMaxFileBytes) return Result::TooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Result::CannotOpen;

    CHpglInterpreter interpreter(state);
    CImportBuffer record;
    CHpglScanner scanner(interpreter, record);
    std::vector<char> chunk(static_cast<std::size_t>(kChunkBytes));
    qint64 total = 0;
    for (;;) {
        const qint64 got = file.read(chunk.data(), kChunkBytes);
        if (got < 0) {
            StartFresh(state);
            return Result::CannotOpen;
        }
        if (got == 0) break;
        total += got;
        if (total > kMaxFileBytes) {
            StartFresh(state);
            return Result::TooLarge;
        }
        if (!scanner.Feed(chunk.data(), std::size_t(got))) break;
    }
    return Finish(scanner, interpreter, state);
}
