// An embedded object selected with the object tool can be deleted and its
// data saved out, from the Edit menu's commands, the Delete key and the
// menu a right click on the object opens.
#include "ViewTestSupport.h"

#include "model/COleObjectElement.h"
#include "model/CVEKCntrItem.h"
#include "platform/CCompoundFile.h"
#include "res/CommandIds.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QTimer>

namespace {

class EmbeddedObjectCommandsTest : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        view->SetViewTransform(10.0, 0, 0);
        auto item = std::make_shared<CVEKCntrItem>();
        CCompoundEntry storage;
        storage.isStorage = true;
        CCompoundEntry stream;
        stream.name = "WordDocument";
        stream.data = std::string(600, 'd');
        storage.children = {stream};
        item->SetStorage(storage);
        object = new COleObjectElement(Pages().GetCurrentPage(), 0, item);
        object->SetRect(CRect(1000, 1000, 3000, 2000)); // pixels 100,100 - 300,200
        Pages().AddElementToPage(object);
        view->OnToolCommand(ID_TOOL_OLE_ITEM);
    }

    bool Enabled(UINT id)
    {
        view->UpdateCommandActions();
        return view->CommandAction(int(id))->isEnabled();
    }
    int Objects() { return Pages().GetElementCount(); }

    COleObjectElement* object = nullptr;
};

} // namespace

TEST_F(EmbeddedObjectCommandsTest, TheDeleteKeyDeletesTheSelectedObjectAsOneUndoStep)
{
    // Nothing selected: the key deletes nothing.
    SendKey(*view, QEvent::KeyPress, Qt::Key_Delete);
    EXPECT_EQ(Objects(), 1);

    Click(*view, QPoint(200, 150));
    ASSERT_EQ(view->GetSelection(), object);
    SendKey(*view, QEvent::KeyPress, Qt::Key_Delete);
    EXPECT_EQ(Objects(), 0);
    EXPECT_EQ(view->GetSelection(), nullptr);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.IsModified());

    view->OnEditUndo();
    EXPECT_EQ(Objects(), 1);
}

TEST_F(EmbeddedObjectCommandsTest, TheCommandsWorkOnlyOnASelectionOfTheObjectTool)
{
    EXPECT_FALSE(Enabled(ID_OLE_DELETE));
    EXPECT_FALSE(Enabled(ID_OLE_SAVE_DATA));
    Click(*view, QPoint(200, 150));
    EXPECT_TRUE(Enabled(ID_OLE_DELETE));
    EXPECT_TRUE(Enabled(ID_OLE_SAVE_DATA));

    // Another tool: the object is no selection of its.
    view->OnToolCommand(ID_TOOL_CURVE);
    EXPECT_FALSE(Enabled(ID_OLE_DELETE));
    SendKey(*view, QEvent::KeyPress, Qt::Key_Delete);
    EXPECT_EQ(Objects(), 1);

    view->OnToolCommand(ID_TOOL_OLE_ITEM);
    Click(*view, QPoint(200, 150));
    EXPECT_TRUE(view->OnCommand(ID_OLE_DELETE));
    EXPECT_EQ(Objects(), 0);
    EXPECT_FALSE(Enabled(ID_OLE_DELETE));
}

TEST_F(EmbeddedObjectCommandsTest, ARightClickOnTheObjectSelectsItAndOffersBothCommands)
{
    Click(*view, QPoint(500, 400), Qt::RightButton); // on the paper: no menu
    EXPECT_EQ(view->GetOleContextMenu(), nullptr);
    EXPECT_EQ(view->GetSelection(), nullptr);

    Click(*view, QPoint(200, 150), Qt::RightButton);
    EXPECT_EQ(view->GetSelection(), object);
    QMenu* menu = view->GetOleContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    std::vector<int> ids;
    for (QAction* a : menu->actions()) {
        ids.push_back(a->data().toInt());
        EXPECT_TRUE(a->isEnabled());
    }
    EXPECT_EQ(ids, (std::vector<int>{int(ID_OLE_DELETE), int(ID_OLE_SAVE_DATA)}));

    menu->actions().front()->trigger();
    menu->hide();
    EXPECT_EQ(Objects(), 0);
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(EmbeddedObjectCommandsTest, SavingTheDataWritesTheFileThatIsChosen)
{
    Click(*view, QPoint(200, 150));
    const QString path = home.filePath(QStringLiteral("object.doc"));
    QString suggested;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        suggested = dialog->selectedFiles().value(0);
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_TRUE(view->OnCommand(ID_OLE_SAVE_DATA));
    EXPECT_TRUE(suggested.endsWith(QStringLiteral(".doc")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(QByteArray(600, 'd')));
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_EQ(Objects(), 1);
}
