#include "CVEKDoc.h"

#include "settings/CSystemSettings.h"
#include "CUndoSnapshot.h"
#include "settings/FileSaving.h"

#include "geometry/Distance.h"
#include "model/COleArchiveContext.h"
#include "model/CPageSet.h"
#include "platform/CArchive.h"
#include "platform/CAtomicFile.h"
#include "platform/CCompoundFile.h"
#include "platform/CodePage.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

namespace {

const char* const kContentsStream = "Contents";

// No document of the Windows program (a 32-bit program with 32-bit file
// positions) reaches this size; a larger file is no document of ours.
constexpr qint64 kLargestDocument = qint64(1) << 31;

enum class ReadResult { Read, CannotOpen, TooLarge };

ReadResult ReadWholeFile(const QString& path, std::string& bytes)
{
    QFile file;
    if (!OpenRegularFile(path, file)) return ReadResult::CannotOpen;
    // Its size is known before a byte is read; reading stops there even if
    // the file grows meanwhile.
    const qint64 size = file.size();
    if (size >= kLargestDocument) return ReadResult::TooLarge;
    bytes.resize(std::size_t(size));
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(bytes.data() + done, size - done);
        if (got <= 0) break;
        done += got;
    }
    if (file.error() != QFileDevice::NoError) return ReadResult::CannotOpen;
    bytes.resize(std::size_t(done));
    return ReadResult::Read;
}

// A file written as it is made, into a new file that replaces the
// document only when everything was written.
class CSaveFileSink : public CByteSink {
public:
    explicit CSaveFileSink(CAtomicFile& file) : m_file(file) {}
    bool Write(const char* data, std::size_t size) override { return m_file.Write(data, size); }
    bool Seek(std::uint64_t position) override { return m_file.Seek(position); }

private:
    CAtomicFile& m_file;
};

// The stored record's bytes go straight into the open stream.
class CStreamSink : public CArchiveSink {
public:
    explicit CStreamSink(CCompoundWriter& writer) : m_writer(writer) {}
    bool WriteBytes(const char* data, std::size_t size) override { return m_writer.WriteStream(data, size); }

private:
    CCompoundWriter& m_writer;
};

// The record is handed on in pieces of this size at most; a smaller
// document's record in one piece of its last size.
constexpr std::size_t kLargestWriteBuffer = std::size_t(4) << 20;
constexpr std::size_t kSmallestWriteBuffer = std::size_t(64) << 10;

} // namespace

CVEKDoc::CVEKDoc(QObject* parent) : QObject(parent)
{
    m_storage.isStorage = true;
}

CVEKDoc::~CVEKDoc() = default;

void CVEKDoc::ReplacePageSet(std::unique_ptr<CPageSet> pageSet)
{
    m_pageSet = std::move(pageSet);
    Q_EMIT ContentReplaced();
}

bool CVEKDoc::OnNewDocument()
{
    const CSystemSettings& s = Settings();
    auto pageSet = std::make_unique<CPageSet>(PAGESET_VERSION, 100);
    pageSet->InsertPageAtFront();
    const double unitsPerMM = pageSet->GetUnitsPerMM();
    auto toUnits = [unitsPerMM](int hundredths) { return RoundToInt(hundredths / 100.0 * unitsPerMM); };
    pageSet->SetPaperSize(toUnits(s.m_sizeDefaultPaper.cx), toUnits(s.m_sizeDefaultPaper.cy));
    pageSet->SetMargins(toUnits(s.m_nDefaultMargin[0]), toUnits(s.m_nDefaultMargin[1]),
                        toUnits(s.m_nDefaultMargin[2]), toUnits(s.m_nDefaultMargin[3]));
    // Snapshots of the previous document would pour it into this one.
    ClearUndoList();
    ClearRedoList();
    m_storage = CCompoundEntry();
    m_storage.isStorage = true;
    m_pathName.clear();
    m_modified = false;
    ReplacePageSet(std::move(pageSet));
    return true;
}

std::unique_ptr<CPageSet> CVEKDoc::LoadPageSetRecord(std::string bytes, const CCompoundEntry* storages,
                                                     RecordEnd end)
{
    auto pageSet = std::make_unique<CPageSet>(PAGESET_VERSION, 100);
    try {
        CArchive ar(std::move(bytes));
        COleArchiveContext objects(ar, storages ? COleArchiveContext::InStorages : COleArchiveContext::InRecord);
        if (pageSet->Load(ar) != 1) return nullptr;
        if (end == RecordEnd::AtEnd && ar.BytesLeft() != 0) return nullptr;
        if (storages) {
            for (const CVEKCntrItemPtr& item : objects.Items())
                if (const CCompoundEntry* storage = storages->Child(item->GetStorageName())) item->SetStorage(*storage);
        }
    } catch (const std::exception&) {
        return nullptr;
    }
    return pageSet;
}

std::string CVEKDoc::StorePageSetRecord(const CPageSet& pageSet, CCompoundEntry* storages, std::size_t expectedBytes)
{
    CArchive ar;
    ar.Reserve(expectedBytes);
    StorePageSetRecord(ar, pageSet, storages);
    return ar.TakeBuffer();
}

void CVEKDoc::StorePageSetRecord(CArchive& ar, const CPageSet& pageSet, CCompoundEntry* storages)
{
    COleArchiveContext objects(ar, storages ? COleArchiveContext::InStorages : COleArchiveContext::InRecord);
    pageSet.Store(ar);
    if (storages) {
        for (const CVEKCntrItemPtr& item : objects.Items()) {
            const CCompoundEntry* storage = item->GetStorage();
            if (!storage) continue;
            CCompoundEntry entry = *storage;
            entry.name = item->GetStorageName();
            entry.isStorage = true;
            if (CCompoundEntry* existing = storages->Child(entry.name)) *existing = std::move(entry);
            else storages->children.push_back(std::move(entry));
        }
    }
}

CVEKDoc::LoadResult CVEKDoc::ReadDocumentFile(const QString& path, CCompoundEntry& storage, std::string& record,
                                              bool& compound)
{
    compound = false;
    QFile file;
    if (!OpenRegularFile(path, file)) return LoadResult::CannotOpen;
    const qint64 size = file.size();
    if (size >= kLargestDocument) return LoadResult::Damaged;
    // A compound file is read through a private mapping of the file: each
    // stream's bytes are copied out once, and the file is never held whole
    // in the process's own memory.
    if (size > 0) {
        if (uchar* mapped = file.map(0, size, QFileDevice::MapPrivateOption)) {
            char* bytes = reinterpret_cast<char*>(mapped);
            compound = CCompoundFile::HasSignature(bytes, std::size_t(size));
            bool parsed = true;
            if (compound) {
                std::string why;
                parsed = CCompoundFile::ParseInPlace(bytes, std::size_t(size), storage, why);
            } else {
                record.assign(bytes, std::size_t(size));
            }
            file.unmap(mapped);
            if (!parsed) return LoadResult::Damaged;
            return compound ? TakeContents(storage, record) : LoadResult::Ok;
        }
    }
    file.close();
    std::string bytes;
    switch (ReadWholeFile(path, bytes)) {
    case ReadResult::Read: break;
    case ReadResult::CannotOpen: return LoadResult::CannotOpen;
    case ReadResult::TooLarge: return LoadResult::Damaged;
    }
    compound = CCompoundFile::HasSignature(bytes);
    if (!compound) {
        record = std::move(bytes);
        return LoadResult::Ok;
    }
    std::string why;
    // The parsed streams hold their own bytes; the file's are done with.
    if (!CCompoundFile::Parse(std::move(bytes), storage, why)) return LoadResult::Damaged;
    return TakeContents(storage, record);
}

CVEKDoc::LoadResult CVEKDoc::TakeContents(CCompoundEntry& storage, std::string& record)
{
    CCompoundEntry* contents = storage.Child(kContentsStream);
    if (!contents || contents->isStorage || contents->data.empty()) return LoadResult::Damaged;
    // The stream is dropped from the kept storage after the load in any case.
    record = std::move(contents->data);
    return LoadResult::Ok;
}

CVEKDoc::LoadResult CVEKDoc::OnOpenDocument(const QString& path)
{
    // A file too large for memory, or damaged into asking for more than
    // there is, is refused like any damaged file; the open document stays.
    try {
        return OpenDocumentFile(path);
    } catch (const std::bad_alloc&) {
        return LoadResult::Damaged;
    } catch (const std::length_error&) {
        return LoadResult::Damaged;
    }
}

CVEKDoc::LoadResult CVEKDoc::OpenDocumentFile(const QString& path)
{
    CCompoundEntry storage;
    storage.isStorage = true;
    std::string record;
    bool compound = false;
    const LoadResult read = ReadDocumentFile(path, storage, record, compound);
    if (read != LoadResult::Ok) return read;
    // A bare page-set record, as the backup file holds, is read as well.
    const std::size_t recordBytes = record.size();

    // The record is the whole stream: bytes after the last page mean its
    // counts were damaged and some of the content was not read.
    std::unique_ptr<CPageSet> pageSet =
        LoadPageSetRecord(std::move(record), compound ? &storage : nullptr, RecordEnd::AtEnd);
    if (!pageSet) return LoadResult::Damaged;

    // The whole file is sound: only now does the document change.
    storage.children.erase(std::remove_if(storage.children.begin(), storage.children.end(),
                                          [](const CCompoundEntry& e) { return e.name == kContentsStream; }),
                           storage.children.end());
    m_storage = std::move(storage);
    m_lastRecordBytes = recordBytes;
    ClearUndoList();
    ClearRedoList();
    m_pathName = path;
    m_modified = false;
    Settings().m_strDocumentFolder = QStringToGbk(QFileInfo(path).absolutePath() + QStringLiteral("/*.vek"));
    ReplacePageSet(std::move(pageSet));
    return LoadResult::Ok;
}

bool CVEKDoc::OnSaveDocument(const QString& path, QString* error)
{
    if (!m_pageSet) {
        if (error) *error = QStringLiteral("no content");
        return false;
    }
    if (!WriteDocumentFile(path, error)) return false;
    // Record the path actually written.
    m_pathName = path;
    m_modified = false;
    Settings().m_strDocumentFolder = QStringToGbk(QFileInfo(path).absolutePath() + QStringLiteral("/*.vek"));
    return true;
}

bool CVEKDoc::WriteDocumentFile(const QString& path, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    CAtomicFile file(path);
    if (!file.Open()) return fail(FileWriteFailureText(path, file.Failure()));

    // The record goes into the "Contents" stream of the new file as it is
    // stored, through a buffer as large as the last record (within bounds),
    // and the embedded objects' storages follow it.
    CCompoundEntry root = m_storage;
    root.isStorage = true;
    std::string why;
    bool written = false;
    std::size_t recordBytes = 0;
    {
        CSaveFileSink sink(file);
        CCompoundWriter writer(sink);
        writer.SetRootClassId(root.classId);
        if (writer.OpenStream(kContentsStream)) {
            CStreamSink stream(writer);
            CArchive ar(stream, std::clamp(m_lastRecordBytes, kSmallestWriteBuffer, kLargestWriteBuffer));
            try {
                StorePageSetRecord(ar, *m_pageSet, &root);
                ar.Flush();
                recordBytes = ar.BytesStored();
                written = true;
            } catch (const std::exception&) {
                written = false;
            }
        }
        for (const CCompoundEntry& entry : root.children) {
            if (!written) break;
            if (entry.name == kContentsStream) continue;
            written = writer.WriteEntry(entry);
        }
        if (!writer.Finish(why)) written = false;
    }
    if (!written) {
        // A failed write says what the system said; otherwise the library
        // could not make the file.
        const bool systemFailure = file.Failure().step != FileWriteFailure::None;
        file.Cancel();
        if (systemFailure || why.empty()) return fail(FileWriteFailureText(path, file.Failure()));
        return fail(QString::fromStdString(why));
    }
    if (!file.Commit()) return fail(FileWriteFailureText(path, file.Failure()));
    m_lastRecordBytes = recordBytes;
    return true;
}

void CVEKDoc::SaveUndoState()
{
    m_pendingUndo.reset();
    if (!m_pageSet) {
        SetModifiedFlag(true);
        return;
    }
    auto copy = std::make_unique<CPageSet>(PAGESET_VERSION, 100);
    copy->CopyFrom(*m_pageSet);
    PushUndoStep(std::move(copy));
}

void CVEKDoc::BeginUndoStep()
{
    m_pendingUndo.reset();
    if (!m_pageSet) return;
    m_pendingUndo = std::make_unique<CPageSet>(PAGESET_VERSION, 100);
    m_pendingUndo->CopyFrom(*m_pageSet);
}

bool CVEKDoc::CommitUndoStep()
{
    if (!m_pendingUndo) return false;
    PushUndoStep(std::move(m_pendingUndo));
    return true;
}

void CVEKDoc::DropUndoStep()
{
    m_pendingUndo.reset();
}

void CVEKDoc::PushUndoStep(std::unique_ptr<CPageSet> before)
{
    SetModifiedFlag(true);
    const CSystemSettings& s = Settings();
    // The backup holds the content before the step, whenever the step is
    // committed.
    if (s.m_bAutoBackup && s.m_bBackupEveryStep) WriteBackupOf(*before, nullptr);
    if (int(m_undoList.size()) >= kUndoDepth) m_undoList.pop_front();
    m_undoList.push_back(std::make_unique<CUndoSnapshot>(std::move(before)));
    ClearRedoList();
}

int CVEKDoc::Undo()
{
    m_pendingUndo.reset();
    if (m_undoList.empty()) return 0;
    if (m_pageSet) m_redoList.push_back(std::make_unique<CUndoSnapshot>(std::move(m_pageSet)));
    std::unique_ptr<CUndoSnapshot> snapshot = std::move(m_undoList.back());
    m_undoList.pop_back();
    ReplacePageSet(snapshot->TakePageSet());
    return 1;
}

int CVEKDoc::Redo()
{
    m_pendingUndo.reset();
    if (m_redoList.empty()) return 0;
    if (int(m_undoList.size()) >= kUndoDepth) m_undoList.pop_front();
    if (m_pageSet) m_undoList.push_back(std::make_unique<CUndoSnapshot>(std::move(m_pageSet)));
    std::unique_ptr<CUndoSnapshot> snapshot = std::move(m_redoList.back());
    m_redoList.pop_back();
    ReplacePageSet(snapshot->TakePageSet());
    return 1;
}

void CVEKDoc::ClearUndoList()
{
    m_undoList.clear();
    m_pendingUndo.reset();
}

void CVEKDoc::ClearRedoList()
{
    m_redoList.clear();
}

QString CVEKDoc::BackupFilePath()
{
    return ResolveBackupPath(GbkToQString(Settings().m_strBackupFile));
}

QString CVEKDoc::ResolveBackupPath(const QString& configured)
{
    // Relative to the data folder, not to whatever folder the program was
    // started from.
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    if (configured.isEmpty()) return folder.filePath(QStringLiteral("backup.vek"));
    return QDir::cleanPath(folder.absoluteFilePath(configured));
}

bool CVEKDoc::WriteBackupFile(QString* error) const
{
    if (!m_pageSet) return true;
    return WriteBackupOf(*m_pageSet, error);
}

bool CVEKDoc::WriteBackupOf(const CPageSet& pageSet, QString* error) const
{
    const QString path = BackupFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SaveWholeFile(path, StorePageSetRecord(pageSet, nullptr, m_lastRecordBytes), error);
}

bool CVEKDoc::IsInsideFolder(const QString& path, const QString& folder)
{
    if (folder.isEmpty()) return false;
    // Canonical forms where the files exist, clean absolute forms otherwise
    // (a file about to be created has no canonical path yet).
    auto canonicalDir = [](const QString& dir) {
        const QString c = QFileInfo(dir).canonicalFilePath();
        return c.isEmpty() ? QDir::cleanPath(QFileInfo(dir).absoluteFilePath()) : c;
    };
    const QFileInfo file(path);
    const QString parent = canonicalDir(file.absolutePath());
    const QString root = canonicalDir(folder);
    const QStringList fileParts = parent.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QStringList rootParts = root.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (fileParts.size() < rootParts.size()) return false;
    for (int i = 0; i < rootParts.size(); ++i)
        if (fileParts[i] != rootParts[i]) return false;
    return true;
}
