#include "app/COleContainer.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "model/COleObjectElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CVEKCntrItem.h"
#include "platform/CCompoundFile.h"
#include "platform/CDC.h"
#include "res/CommandIds.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

namespace {

CCompoundEntry Stream(const char* name, const std::string& data)
{
    CCompoundEntry stream;
    stream.name = name;
    stream.data = data;
    return stream;
}

CCompoundEntry Storage(std::initializer_list<CCompoundEntry> children)
{
    CCompoundEntry storage;
    storage.isStorage = true;
    storage.children = children;
    return storage;
}

class OleContainerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        Settings().SetDefaults();
        Settings().m_strBackupFile = dir.filePath(QStringLiteral("backup.vek")).toStdString();
        ASSERT_TRUE(doc.OnNewDocument());
        item = std::make_shared<CVEKCntrItem>();
        item->SetStorage(Storage({Stream("Workbook", std::string(700, 'w')), Stream("\001CompObj", "x")}));
        page = doc.GetPageSet()->GetCurrentPage();
        element = new COleObjectElement(page, 0, item);
        element->SetRect(CRect(1000, 1000, 3000, 2000));
        page->AddElement(element);
    }

    // Draws the current page as the screen does, with the given mapping.
    static void DrawOnScreen(CVEKDoc& d, double scale)
    {
        QImage screen(800, 800, QImage::Format_RGB32);
        QPainter painter(&screen);
        CDC dc(&painter);
        d.GetPageSet()->DrawCurrentPage(&dc, scale, 0, 0, CRect(0, 0, 800, 800));
    }

    QTemporaryDir dir;
    CVEKDoc doc;
    CVEKCntrItemPtr item;
    CPage* page = nullptr;
    COleObjectElement* element = nullptr;
};

} // namespace

TEST_F(OleContainerTest, AMovedObjectKeepsItsPlaceThroughSaveAndOpen)
{
    doc.SetModifiedFlag(false);
    const CRect moved(2000, 3000, 6000, 5000);
    COleContainer::OnChangeItemPosition(doc, *element, moved, 10.0, 0, 0);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_EQ(element->GetRect(), moved);
    EXPECT_EQ(item->GetRect(), CRect(200, 300, 600, 500));

    const QString path = dir.filePath(QStringLiteral("moved.vek"));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    CVEKDoc reopened;
    ASSERT_EQ(reopened.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    DrawOnScreen(reopened, 10.0);
    auto* back = dynamic_cast<COleObjectElement*>(reopened.GetPageSet()->GetCurrentPage()->ElementAt(0));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetRect(), moved);

    // Undo puts the object back where it was.
    ASSERT_EQ(doc.Undo(), 1);
    auto* before = dynamic_cast<COleObjectElement*>(doc.GetPageSet()->GetCurrentPage()->ElementAt(0));
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->GetRect(), CRect(1000, 1000, 3000, 2000));
}

TEST_F(OleContainerTest, ADeletedObjectComesBackWithUndo)
{
    COleContainer::DeleteItem(doc, element);
    EXPECT_EQ(doc.GetPageSet()->GetCurrentPage()->GetElementCount(), 0);
    EXPECT_EQ(doc.UndoCount(), 1);
    ASSERT_EQ(doc.Undo(), 1);
    auto* back = dynamic_cast<COleObjectElement*>(doc.GetPageSet()->GetCurrentPage()->ElementAt(0));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetClientItem(), item);

    // An element that is not on its page any more is left alone.
    COleContainer::DeleteItem(doc, nullptr);
    EXPECT_EQ(doc.UndoCount(), 0);
}

TEST_F(OleContainerTest, TheObjectsDataIsWrittenAsTheFileItsProgramOpens)
{
    EXPECT_EQ(COleContainer::SuggestedFileName(*item), QStringLiteral("对象.xls"));
    const QString path = dir.filePath(COleContainer::SuggestedFileName(*item));
    QString error;
    ASSERT_TRUE(COleContainer::SaveItemData(*item, path, &error)) << error.toStdString();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    CCompoundEntry root;
    std::string why;
    ASSERT_TRUE(CCompoundFile::Parse(std::string(bytes.constData(), std::size_t(bytes.size())), root, why)) << why;
    ASSERT_NE(root.Child("Workbook"), nullptr);
    EXPECT_EQ(root.Child("Workbook")->data, std::string(700, 'w'));
    ASSERT_NE(root.Child("\001CompObj"), nullptr);
}

TEST_F(OleContainerTest, DataThatCannotBeWrittenIsReported)
{
    struct Case {
        const char* name;
        CVEKCntrItemPtr item;
        QString path;
    };
    const Case cases[] = {
        {"no data", std::make_shared<CVEKCntrItem>(), dir.filePath(QStringLiteral("empty.ole"))},
        {"no folder", item, dir.filePath(QStringLiteral("missing/x.xls"))},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(COleContainer::SaveItemData(*c.item, c.path, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_FALSE(QFile::exists(c.path)) << c.name;
    }
    EXPECT_EQ(COleContainer::SuggestedFileName(CVEKCntrItem()), QStringLiteral("对象.ole"));
}

TEST_F(OleContainerTest, TheObjectCommandsArePresentAndDisabled)
{
    QObject owner;
    const std::vector<QAction*> actions = COleContainer::CreateOleActions(&owner);
    ASSERT_EQ(actions.size(), COleContainer::OleCommands().size());
    for (QAction* action : actions) {
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
        EXPECT_TRUE(COleContainer::IsOleCommand(action->data().toUInt()));
    }
    EXPECT_EQ(actions.front()->data().toUInt(), ID_OLE_INSERT_NEW);
    EXPECT_EQ(actions.front()->text(), QStringLiteral("插入新对象(&N)..."));
    for (UINT id : {ID_EDIT_PASTE_LINK, ID_OLE_INSERT_NEW, ID_OLE_EDIT_LINKS, ID_OLE_EDIT_CONVERT, ID_OLE_VERB_FIRST,
                    ID_OLE_VERB_LAST})
        EXPECT_FALSE(COleContainer::IsOleCommandEnabled(id));
    EXPECT_FALSE(COleContainer::IsOleCommand(ID_EDIT_PASTE));
}
