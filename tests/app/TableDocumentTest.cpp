// Documents holding tables: they open, draw and save back byte for byte;
// damaged table records are refused with the damaged-file message and the
// open document stays; tables travel through the clipboard and the undo
// snapshots as copies of their own.
#include "app/CDataTransfer.h"
#include "shell/CMainFrame.h"
#include "settings/CSystemSettings.h"
#include "shell/CVEKApp.h"
#include "app/CVEKDoc.h"

#include "tables/CTableElement.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "platform/CArchive.h"
#include "platform/CCompoundFile.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include "PageContent.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

LogFont Song()
{
    return CSystemSettings::DefaultTextFont();
}

CTableElement* AddTable(CPage* page, int level, int rows, int columns, const CRect& rect)
{
    auto* table = new CTableElement(page, level, rows, columns, RGB(0, 0, 0), 35, 25, CRect(50, 50, 50, 50), 4,
                                    Song(), RGB(0, 0, 0), RGB(255, 255, 255), rect);
    page->AddElement(table);
    return table;
}

// Two pages: a measurement table with merged cells, diagonals and texts
// beside a curve and a text; a small table on the second page.
void FillDocument(CPageSet& pageSet)
{
    while (pageSet.GetPageCount() < 2) pageSet.AppendPage();
    CPage* page = pageSet.GetPageAt(0);
    AddFilledSquare(page, 1000, 1000, 2000, RGB(200, 200, 0));
    CTableElement* sizes = AddTable(page, 2, 4, 4, CRect(1000, 5000, 13000, 7800));
    const char* texts[] = {"部位", "S", "M", "L", "衣长", "68", "70", "72", "胸围", "100", "104", "108"};
    for (int k = 0; k < 12; ++k) sizes->SetCellText(1 + k / 4, 1 + k % 4, QStringToGbk(QString::fromUtf8(texts[k])));
    sizes->SetCellDiagonal({1, 1}, true, false, RGB(0, 0, 0), 25);
    CScreenDC dc;
    sizes->MergeCells(&dc, {{4, 1}, {4, 2}, {4, 3}, {4, 4}});
    sizes->SetCellText(4, 1, QStringToGbk(QString::fromUtf8("备注：\r\n测量时平铺")));
    page->AddElement(new CTextElement(page, 3, CTextFont("\xB3\xDF\xB4\xE7", Song(), RGB(0, 0, 0)), 1000, 4400, 1));
    AddTable(pageSet.GetPageAt(1), 0, 1, 2, CRect(500, 500, 4500, 1200));
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

std::string Contents(const std::string& file)
{
    CCompoundEntry root;
    std::string why;
    EXPECT_TRUE(CCompoundFile::Parse(file, root, why)) << why;
    const CCompoundEntry* contents = root.Child("Contents");
    return contents ? contents->data : std::string();
}

QImage DrawPage(const CPageSet& pageSet, int index)
{
    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    pageSet.DrawPage(index, &dc, 25.0, 0, 0, CRect(0, 0, 600, 400));
    return image;
}

class TableDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        Settings().SetDefaults();
        Settings().m_strBackupFile = dir.filePath(QStringLiteral("backup.vek")).toStdString();
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(TableDocumentTest, OpensDrawsAndSavesBackByteForByte)
{
    CPageSet made;
    FillDocument(made);
    const std::string record = CVEKDoc::StorePageSetRecord(made);
    CCompoundEntry root;
    root.isStorage = true;
    CCompoundEntry contents;
    contents.name = "Contents";
    contents.data = record;
    root.children.push_back(contents);
    std::string file;
    std::string why;
    ASSERT_TRUE(CCompoundFile::Build(root, file, why)) << why;
    WriteFile(Path("tables.vek"), file);

    CVEKDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(Path("tables.vek")), CVEKDoc::LoadResult::Ok);
    const CPageSet& opened = *doc.GetPageSet();
    ASSERT_EQ(opened.GetPageCount(), 2);
    ASSERT_EQ(opened.GetPageAt(0)->GetElementCount(), 3);
    auto* table = dynamic_cast<CTableElement*>(opened.GetPageAt(0)->ElementAt(1));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->GetLevel(), 2);
    EXPECT_EQ(GbkToQString(table->GetCellText(1, 1)), QString::fromUtf8("部位"));
    EXPECT_EQ(table->Grid().GetRowCellCount(4), 1);

    // Drawn: the merged row's text inside the table, the frame round it.
    const QImage page = DrawPage(opened, 0);
    EXPECT_TRUE(page == DrawPage(made, 0));
    EXPECT_EQ(page.pixel(40, 250), qRgb(0, 0, 0));  // left line at x 1000
    EXPECT_EQ(page.pixel(300, 312), qRgb(0, 0, 0)); // bottom line at y 7800

    ASSERT_TRUE(doc.OnSaveDocument(Path("again.vek")));
    EXPECT_EQ(Contents(ReadFile(Path("again.vek"))), record);
}

TEST_F(TableDocumentTest, DamagedTableRecordsAreRefusedAndTheDocumentStays)
{
    CPageSet made;
    made.AppendPage();
    AddTable(made.GetPageAt(0), 0, 2, 2, CRect(1000, 1000, 5000, 2000));
    const std::string good = CVEKDoc::StorePageSetRecord(made);
    // The table record is the last thing in the record: its header is at
    // the end minus the table's own length.
    CArchive tableRecord;
    made.GetPageAt(0)->ElementAt(0)->Store(tableRecord);
    const std::size_t table = good.size() - tableRecord.Buffer().size();
    auto patched = [&](std::size_t at, std::uint32_t v) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) bytes[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
        return bytes;
    };
    const std::size_t rowCount = table + 8 + 36;
    const std::string cases[] = {
        patched(rowCount, 0xFFFFFFFF),
        patched(rowCount, 0x7FFFFFFF),
        patched(rowCount + 4, 0x40000000),
        patched(rowCount + 49, 0x0FFFFFFF), // first cell's line count
        good.substr(0, good.size() - 10),
        good.substr(0, table + 20),
    };

    CVEKDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.SaveUndoState();
    doc.GetPageSet()->SetPaperSize(7777, 100);
    const CPageSet* before = doc.GetPageSet();
    for (const std::string& bytes : cases) {
        WriteFile(Path("bad.vek"), bytes);
        EXPECT_EQ(doc.OnOpenDocument(Path("bad.vek")), CVEKDoc::LoadResult::Damaged);
        EXPECT_EQ(doc.GetPageSet(), before);
        EXPECT_EQ(doc.GetPageSet()->GetPaperSize().cx, 7777);
        EXPECT_EQ(doc.CanUndo(), 1);
    }
    WriteFile(Path("good.vek"), good);
    EXPECT_EQ(doc.OnOpenDocument(Path("good.vek")), CVEKDoc::LoadResult::Ok);
}

TEST_F(TableDocumentTest, MainWindowShowsTheDamagedFileMessage)
{
    CPageSet made;
    made.AppendPage();
    AddTable(made.GetPageAt(0), 0, 2, 2, CRect(1000, 1000, 5000, 2000));
    const std::string good = CVEKDoc::StorePageSetRecord(made);
    WriteFile(Path("cut.vek"), good.substr(0, good.size() - 1));

    CMainFrame frame;
    frame.NewDocument();
    const CPageSet* before = frame.GetDocument()->GetPageSet();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    EXPECT_FALSE(frame.OpenDocumentFile(Path("cut.vek")));
    EXPECT_EQ(shown, QString::fromUtf8("非MorvaneVEK格式或者文件已经损坏。"));
    EXPECT_EQ(frame.GetDocument()->GetPageSet(), before);
}

TEST_F(TableDocumentTest, CopiedTablesPasteAsTheSameRecord)
{
    CPageSet source;
    source.AppendPage();
    CTableElement* table = AddTable(source.GetPageAt(0), 4, 2, 3, CRect(1000, 1000, 4000, 2200));
    table->SetCellText(2, 3, "x");
    CElementList selection;
    selection.AddTail(table);
    QMimeData data;
    CDataTransfer().CopyToClipboard(selection, &data);
    ASSERT_TRUE(data.hasFormat(CDataTransfer::FormatName()));
    EXPECT_TRUE(data.hasImage());

    CPageSet target;
    target.AppendPage();
    CDataTransfer::PasteData paste = CDataTransfer::ReadPasteData(&data);
    ASSERT_EQ(paste.result, CDataTransfer::Pasted);
    ASSERT_EQ(CDataTransfer::InsertPasteData(&target, paste), CDataTransfer::Pasted);
    ASSERT_EQ(target.GetPageAt(0)->GetElementCount(), 1);
    EXPECT_EQ(ElementRecord(*target.GetPageAt(0)->ElementAt(0)), ElementRecord(*table));
    // Pasting gives a copy of its own.
    table->SetCellText(2, 3, "changed");
    EXPECT_STREQ(static_cast<CTableElement*>(target.GetPageAt(0)->ElementAt(0))->GetCellText(2, 3), "x");
}

TEST_F(TableDocumentTest, UndoBringsBackTheTableAsItWas)
{
    CVEKDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    CPage* page = doc.GetPageSet()->GetPageAt(0);
    CTableElement* table = AddTable(page, 0, 2, 2, CRect(1000, 1000, 5000, 2000));
    table->SetCellText(1, 1, "first");
    const std::string before = ElementRecord(*table);

    doc.SaveUndoState();
    CScreenDC dc;
    ASSERT_EQ(table->MergeCells(&dc, {{1, 1}, {1, 2}}), 1);
    table->SetCellText(1, 1, "merged");
    ASSERT_EQ(doc.Undo(), 1);

    auto* restored = dynamic_cast<CTableElement*>(doc.GetPageSet()->GetPageAt(0)->ElementAt(0));
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(ElementRecord(*restored), before);
    EXPECT_EQ(doc.Redo(), 1);
    restored = dynamic_cast<CTableElement*>(doc.GetPageSet()->GetPageAt(0)->ElementAt(0));
    EXPECT_STREQ(restored->GetCellText(1, 1), "merged");
}
