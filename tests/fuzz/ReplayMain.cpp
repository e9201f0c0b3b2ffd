// A fuzz target's entry without libFuzzer: hands every file named on the
// command line, and every file in a folder named there, to the target
// once, in name order. A target that rejects an input the way its reader
// promises returns normally; a broken promise throws or aborts, and the
// sanitizer build stops on any memory fault, so each replay is a test.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Not every target needs to start anything first.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

// A folder that is not there holds nothing: not every target has seeds.
QStringList InputsOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) return {};
    if (!info.isDir()) return {path};
    QStringList files;
    const QDir dir(path);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) files << dir.filePath(name);
    return files;
}

bool Replay(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    try {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), e.what());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    int replayed = 0;
    int failed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QString& input : InputsOf(QString::fromLocal8Bit(argv[i]))) {
            ++replayed;
            if (!Replay(input)) ++failed;
        }
    }
    std::printf("%d inputs replayed, %d failed\n", replayed, failed);
    // No input at all means the seeds were not written: a fault of the run.
    return replayed > 0 && failed == 0 ? 0 : 1;
}
