#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"

#include "model/COleObjectElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CVEKCntrItem.h"
#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

class VEKDocTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        Settings().SetDefaults();
        Settings().m_strBackupFile = (dir.filePath(QStringLiteral("backup.vek"))).toStdString();
        ASSERT_TRUE(doc.OnNewDocument());
    }

    std::string ReadFile(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        return std::string(data.constData(), std::size_t(data.size()));
    }
    void WriteFile(const QString& path, const std::string& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    // Marks a step: the paper width says which step the content is at (on
    // paper that a document may have).
    static constexpr int kMarkerBase = 10000;
    void Step(int n)
    {
        doc.SaveUndoState();
        Mark(*doc.GetPageSet(), n);
    }
    static void Mark(CPageSet& pages, int n) { pages.SetPaperSize(kMarkerBase + n, 29700); }
    static int MarkerOf(const CPageSet& pages) { return pages.GetPaperSize().cx - kMarkerBase; }
    int Marker() const { return MarkerOf(*doc.GetPageSet()); }

    QTemporaryDir dir;
    CVEKDoc doc;
};

} // namespace

TEST_F(VEKDocTest, NewDocumentTakesPaperAndMarginsFromTheSettings)
{
    const CPageSet* ps = doc.GetPageSet();
    ASSERT_NE(ps, nullptr);
    EXPECT_EQ(ps->GetPageCount(), 1);
    EXPECT_EQ(ps->GetPaperSize(), CSize(21000, 29700));
    int top, bottom, left, right;
    ps->GetMargins(top, bottom, left, right);
    EXPECT_EQ(top, 500);
    EXPECT_EQ(right, 500);
}

TEST_F(VEKDocTest, SavedDocumentIsACompoundFileThatOpensAgain)
{
    doc.GetPageSet()->SetPaperSize(12345, 6789);
    doc.GetPageSet()->AppendPage();
    const QString path = dir.filePath(QStringLiteral("a.vek"));
    QString error;
    ASSERT_TRUE(doc.OnSaveDocument(path, &error)) << error.toStdString();
    EXPECT_EQ(doc.GetPathName(), path);

    CCompoundEntry root;
    std::string why;
    ASSERT_TRUE(CCompoundFile::Parse(ReadFile(path), root, why)) << why;
    ASSERT_NE(root.Child("Contents"), nullptr);
    EXPECT_EQ(root.Child("Contents")->data, CVEKDoc::StorePageSetRecord(*doc.GetPageSet()));

    CVEKDoc other;
    ASSERT_EQ(other.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    EXPECT_EQ(other.GetPageSet()->GetPaperSize(), CSize(12345, 6789));
    EXPECT_EQ(other.GetPageSet()->GetPageCount(), 2);
}

TEST_F(VEKDocTest, EmbeddedStoragesAreWrittenBackAsTheyWereRead)
{
    CCompoundEntry root;
    root.isStorage = true;
    CCompoundEntry contents;
    contents.name = "Contents";
    contents.data = CVEKDoc::StorePageSetRecord(*doc.GetPageSet());
    CCompoundEntry embedding;
    embedding.name = "Embedding 1";
    embedding.isStorage = true;
    CCompoundEntry native;
    native.name = "\001Ole10Native";
    native.data = std::string(5000, '\x42');
    embedding.children.push_back(native);
    root.children = {contents, embedding};
    std::string bytes, why;
    ASSERT_TRUE(CCompoundFile::Build(root, bytes, why));
    const QString in = dir.filePath(QStringLiteral("in.vek"));
    WriteFile(in, bytes);

    ASSERT_EQ(doc.OnOpenDocument(in), CVEKDoc::LoadResult::Ok);
    const QString out = dir.filePath(QStringLiteral("out.vek"));
    ASSERT_TRUE(doc.OnSaveDocument(out));
    CCompoundEntry back;
    ASSERT_TRUE(CCompoundFile::Parse(ReadFile(out), back, why));
    ASSERT_NE(back.Child("Embedding 1"), nullptr);
    ASSERT_NE(back.Child("Embedding 1")->Child("\001Ole10Native"), nullptr);
    EXPECT_EQ(back.Child("Embedding 1")->Child("\001Ole10Native")->data, native.data);
}

TEST_F(VEKDocTest, BareRecordOpensLikeTheBackupFile)
{
    Mark(*doc.GetPageSet(), 4242);
    ASSERT_TRUE(doc.WriteBackupFile());
    CVEKDoc other;
    ASSERT_EQ(other.OnOpenDocument(CVEKDoc::BackupFilePath()), CVEKDoc::LoadResult::Ok);
    EXPECT_EQ(MarkerOf(*other.GetPageSet()), 4242);
}

TEST_F(VEKDocTest, DamagedFilesLeaveTheDocumentAsItWas)
{
    Step(7);
    const CPageSet* before = doc.GetPageSet();
    const QString path = dir.filePath(QStringLiteral("bad.vek"));
    const std::string good = CVEKDoc::StorePageSetRecord(*doc.GetPageSet());

    CCompoundEntry noContents;
    noContents.isStorage = true;
    CCompoundEntry other;
    other.name = "Other";
    other.data = good;
    noContents.children.push_back(other);
    std::string withoutContents, why;
    ASSERT_TRUE(CCompoundFile::Build(noContents, withoutContents, why));
    CCompoundEntry emptyContents = noContents;
    emptyContents.children[0].name = "Contents";
    emptyContents.children[0].data.clear();
    std::string withEmptyContents;
    ASSERT_TRUE(CCompoundFile::Build(emptyContents, withEmptyContents, why));
    const std::string noPages = CVEKDoc::StorePageSetRecord(CPageSet());

    const std::string cases[] = {
        "",
        std::string("\x00\x00\x00\x00", 4) + good.substr(4), // wrong magic
        good.substr(0, good.size() - 1),                      // truncated
        good.substr(0, 10),
        withoutContents,
        withEmptyContents,
        noPages,
        std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(100, '\0'),
    };
    for (const std::string& bytes : cases) {
        WriteFile(path, bytes);
        EXPECT_EQ(doc.OnOpenDocument(path), CVEKDoc::LoadResult::Damaged) << bytes.size();
        EXPECT_EQ(doc.GetPageSet(), before);
        EXPECT_EQ(Marker(), 7);
        EXPECT_TRUE(doc.GetPathName().isEmpty());
        EXPECT_EQ(doc.CanUndo(), 1);
    }
    EXPECT_EQ(doc.OnOpenDocument(dir.filePath(QStringLiteral("missing.vek"))), CVEKDoc::LoadResult::CannotOpen);
}

TEST_F(VEKDocTest, SixSnapshotsAreKept)
{
    Step(1);
    for (int n = 2; n <= 7; ++n) Step(n);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.Undo(), 0);
    EXPECT_EQ(Marker(), 1); // the content before the second step
    EXPECT_EQ(doc.Redo(), 1);
    EXPECT_EQ(Marker(), 2);
}

TEST_F(VEKDocTest, NewStepClearsRedo)
{
    Step(1);
    Step(2);
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(doc.CanRedo(), 1);
    Step(3);
    EXPECT_EQ(doc.CanRedo(), 0);
}

// A held step that is dropped leaves everything as it was: the full undo
// list (nothing evicted at depth six), the redo list, the modified flag and
// the backup file.
TEST_F(VEKDocTest, DroppedDeferredStepLeavesHistoryFlagAndBackupAlone)
{
    Settings().m_bAutoBackup = 1;
    Settings().m_bBackupEveryStep = 1;
    for (int n = 1; n <= 7; ++n) Step(n);
    ASSERT_EQ(doc.UndoCount(), CVEKDoc::kUndoDepth);
    ASSERT_EQ(doc.Undo(), 1);
    doc.SetModifiedFlag(false);
    const std::string backupBefore = ReadFile(CVEKDoc::BackupFilePath());

    doc.BeginUndoStep();
    EXPECT_TRUE(doc.HasPendingUndoStep());
    doc.DropUndoStep();

    EXPECT_FALSE(doc.HasPendingUndoStep());
    EXPECT_EQ(doc.UndoCount(), CVEKDoc::kUndoDepth - 1);
    EXPECT_EQ(doc.CanRedo(), 1);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ReadFile(CVEKDoc::BackupFilePath()), backupBefore);
    EXPECT_FALSE(doc.CommitUndoStep()); // nothing held any more
    EXPECT_EQ(doc.UndoCount(), CVEKDoc::kUndoDepth - 1);
}

// A committed step is the content from before BeginUndoStep, whenever the
// commit comes, and counts as SaveUndoState would.
TEST_F(VEKDocTest, CommittedDeferredStepIsTheContentBeforeTheChange)
{
    Settings().m_bAutoBackup = 1;
    Settings().m_bBackupEveryStep = 1;
    Step(1);
    ASSERT_EQ(doc.Undo(), 1);
    ASSERT_EQ(doc.CanRedo(), 1);
    doc.SetModifiedFlag(false);

    Mark(*doc.GetPageSet(), 5);
    doc.BeginUndoStep();
    Mark(*doc.GetPageSet(), 6);
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_TRUE(doc.CommitUndoStep());

    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.CanRedo(), 0);
    EXPECT_EQ(doc.UndoCount(), 1);
    auto backedUp = CVEKDoc::LoadPageSetRecord(ReadFile(CVEKDoc::BackupFilePath()));
    ASSERT_NE(backedUp, nullptr);
    EXPECT_EQ(MarkerOf(*backedUp), 5);
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_EQ(Marker(), 5);
}

TEST_F(VEKDocTest, UndoRedoNewAndAnImmediateStepForgetAHeldStep)
{
    Step(1);
    doc.BeginUndoStep();
    ASSERT_EQ(doc.Undo(), 1);
    EXPECT_FALSE(doc.HasPendingUndoStep());
    doc.BeginUndoStep();
    ASSERT_EQ(doc.Redo(), 1);
    EXPECT_FALSE(doc.HasPendingUndoStep());
    doc.BeginUndoStep();
    doc.SaveUndoState();
    EXPECT_FALSE(doc.HasPendingUndoStep());
    doc.BeginUndoStep();
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.HasPendingUndoStep());
}

TEST_F(VEKDocTest, NewAndOpenStartWithEmptyUndoLists)
{
    Step(1);
    Step(2);
    const QString path = dir.filePath(QStringLiteral("x.vek"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    ASSERT_EQ(doc.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    EXPECT_EQ(doc.CanUndo(), 0);
    Step(3);
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.CanUndo(), 0);
    EXPECT_EQ(doc.CanRedo(), 0);
}

TEST_F(VEKDocTest, BackupIsWrittenOnlyInTheEveryStepMode)
{
    const QString backup = CVEKDoc::BackupFilePath();
    Settings().m_bBackupEveryStep = 0;
    Step(1);
    EXPECT_FALSE(QFile::exists(backup));
    Settings().m_bBackupEveryStep = 1;
    Step(2);
    ASSERT_TRUE(QFile::exists(backup));
    // The backup holds the content as it was before the step.
    auto backedUp = CVEKDoc::LoadPageSetRecord(ReadFile(backup));
    ASSERT_NE(backedUp, nullptr);
    EXPECT_EQ(MarkerOf(*backedUp), 1);
}

TEST_F(VEKDocTest, FailedWritesAreReported)
{
    Settings().m_strBackupFile = "/proc/no-such-dir/backup.vek";
    QString error;
    EXPECT_FALSE(doc.WriteBackupFile(&error));
    EXPECT_EQ(error, QString::fromUtf8("无法保存文件“backup.vek”：文件夹不存在。"));
    EXPECT_FALSE(doc.OnSaveDocument(QStringLiteral("/proc/no-such-dir/a.vek"), &error));
    EXPECT_EQ(error, QString::fromUtf8("无法保存文件“a.vek”：文件夹不存在。"));
}

// A named pipe where the document would go is refused and left a pipe.
TEST_F(VEKDocTest, SavingOntoAPipeIsRefusedAndLeavesIt)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("图.vek"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QString error;
    EXPECT_FALSE(doc.OnSaveDocument(pipe, &error));
    EXPECT_EQ(error, QString::fromUtf8("无法保存文件“图.vek”：已有同名的管道、设备或套接字。"));
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(VEKDocArchiveFolder, WholePathComponentsDecide)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("arch/sub"));
    QDir(dir.path()).mkpath(QStringLiteral("archive"));
    const QString arch = dir.filePath(QStringLiteral("arch"));
    struct Case {
        const char* relative;
        bool inside;
    };
    const Case cases[] = {
        {"arch/a.vek", true},
        {"arch/sub/b.vek", true},
        {"archive/b.vek", false}, // a longer name is not inside
        {"ar.vek", false},
        {"arch/../ar.vek", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CVEKDoc::IsInsideFolder(dir.filePath(QString::fromUtf8(c.relative)), arch), c.inside) << c.relative;
    EXPECT_TRUE(CVEKDoc::IsInsideFolder(dir.filePath(QStringLiteral("arch/a.vek")), arch + QStringLiteral("/")));
}

TEST_F(VEKDocTest, EmbeddedObjectKeepsItsStorageThroughSaveAndOpen)
{
    CCompoundEntry storage;
    storage.isStorage = true;
    CCompoundEntry stream;
    stream.name = "CONTENTS";
    stream.data = std::string(3000, '\x7E');
    storage.children.push_back(stream);
    auto item = std::make_shared<CVEKCntrItem>();
    item->SetStorage(storage);
    item->SetRect(CRect(10, 10, 110, 60));
    CPage* page = doc.GetPageSet()->GetPageAt(0);
    page->AddElement(new COleObjectElement(page, 1, item));

    const QString path = dir.filePath(QStringLiteral("ole.vek"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CCompoundEntry root;
    std::string why;
    ASSERT_TRUE(CCompoundFile::Parse(ReadFile(path), root, why));
    const std::string name = item->GetStorageName();
    ASSERT_NE(root.Child(name), nullptr) << name;
    EXPECT_EQ(root.Child(name)->Child("CONTENTS")->data, stream.data);

    CVEKDoc other;
    ASSERT_EQ(other.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    CPage* back = other.GetPageSet()->GetPageAt(0);
    POSITION pos = back->GetFirstElementPosition();
    ASSERT_NE(pos, nullptr);
    auto* element = dynamic_cast<COleObjectElement*>(back->GetNextElement(pos));
    ASSERT_NE(element, nullptr);
    ASSERT_NE(element->GetClientItem()->GetStorage(), nullptr);
    EXPECT_EQ(element->GetClientItem()->GetStorage()->Child("CONTENTS")->data, stream.data);
}

// A full disk in the middle of a save: the previous file stays whole and the
// save reports failure. Needs a small filesystem of its own, so it runs
// where a tmpfs can be mounted (as root) and is skipped elsewhere.
TEST_F(VEKDocTest, FullDiskLeavesThePreviousFileWhole)
{
    const QString mountPoint = dir.filePath(QStringLiteral("small"));
    QDir().mkpath(mountPoint);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=64k"), QStringLiteral("tmpfs"), mountPoint})
        != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    struct Unmount {
        QString path;
        ~Unmount() { QProcess::execute(QStringLiteral("umount"), {path}); }
    } unmount{mountPoint};

    const QString path = QDir(mountPoint).filePath(QStringLiteral("doc.vek"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const std::string before = ReadFile(path);

    // Enough pages to overflow the 64 KB filesystem.
    for (int i = 0; i < 7000; ++i) doc.GetPageSet()->AppendPage();
    doc.GetPageSet()->SetPaperSize(31111, 29700);
    ASSERT_GT(CVEKDoc::StorePageSetRecord(*doc.GetPageSet()).size(), 64u * 1024);
    QString error;
    EXPECT_FALSE(doc.OnSaveDocument(path, &error));
    EXPECT_EQ(error, QString::fromUtf8("无法保存文件“doc.vek”：磁盘空间不足。"));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(QDir(mountPoint).entryList(QDir::Files), QStringList{QStringLiteral("doc.vek")});
}
