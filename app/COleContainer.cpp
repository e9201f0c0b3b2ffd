#include "app/COleContainer.h"

#include "app/CVEKDoc.h"
#include "settings/FileSaving.h"

#include "geometry/Mapping.h"
#include "model/COleObjectElement.h"
#include "model/CPage.h"
#include "model/CVEKCntrItem.h"
#include "platform/CCompoundFile.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>

namespace {

constexpr int IDS_ITEM_NOT_SAVED = 36124;
constexpr int IDS_ITEM_HAS_NO_DATA = 36125;

QString ResText(int id, const char* fallback)
{
    const QString text = LoadResString(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

void SetError(QString* error, const QString& text)
{
    if (error) *error = text;
}

bool HasStream(const CCompoundEntry& storage, const char* name)
{
    const CCompoundEntry* child = storage.Child(name);
    return child && !child->isStorage;
}

} // namespace

const std::vector<COleContainer::OleCommand>& COleContainer::OleCommands()
{
    static const std::vector<OleCommand> commands = {
        {ID_OLE_INSERT_NEW, "插入新对象(&N)..."},
        {ID_EDIT_PASTE_LINK, "粘贴链接(&L)"},
        {ID_OLE_EDIT_LINKS, "链接(&K)..."},
        {ID_OLE_EDIT_CONVERT, "转换(&V)..."},
        {ID_OLE_VERB_FIRST, "对象(&O)"},
    };
    return commands;
}

bool COleContainer::IsOleCommand(UINT id)
{
    return id == ID_EDIT_PASTE_LINK || id == ID_OLE_INSERT_NEW || id == ID_OLE_EDIT_LINKS
           || id == ID_OLE_EDIT_CONVERT || (id >= ID_OLE_VERB_FIRST && id <= ID_OLE_VERB_LAST);
}

bool COleContainer::IsOleCommandEnabled(UINT)
{
    // Every one of them needs the object's program running under an
    // object-linking runtime.
    return false;
}

std::vector<QAction*> COleContainer::CreateOleActions(QObject* parent)
{
    std::vector<QAction*> actions;
    for (const OleCommand& command : OleCommands()) {
        auto* action = new QAction(QString::fromUtf8(command.text), parent);
        action->setData(command.id);
        action->setEnabled(IsOleCommandEnabled(command.id));
        actions.push_back(action);
    }
    return actions;
}

void COleContainer::OnChangeItemPosition(CVEKDoc& doc, COleObjectElement& element, const CRect& pageRect,
                                         double scale, int originX, int originY)
{
    doc.SaveUndoState();
    element.SetRect(pageRect);
    if (const CVEKCntrItemPtr& item = element.GetClientItem()) {
        CRect device = ModelToDeviceRect(pageRect.left, pageRect.top, pageRect.right, pageRect.bottom, scale,
                                         originX, originY);
        device.NormalizeRect();
        item->SetRect(device);
    }
}

void COleContainer::DeleteItem(CVEKDoc& doc, COleObjectElement* element)
{
    if (!element || !element->GetLayer()) return;
    CPage* page = element->GetLayer();
    if (!page->FindElement(element)) return;
    doc.SaveUndoState();
    page->RemoveElement(element);
    delete element;
}

bool COleContainer::SaveItemData(const CVEKCntrItem& item, const QString& path, QString* error)
{
    const CCompoundEntry* storage = item.GetStorage();
    if (!storage || storage->children.empty()) {
        SetError(error, ResText(IDS_ITEM_HAS_NO_DATA, "该对象没有可以保存的数据。"));
        return false;
    }
    // The object's storage is the file its program writes for it.
    CCompoundEntry root = *storage;
    root.isStorage = true;
    root.name = "Root Entry";
    std::string bytes, why;
    if (!CCompoundFile::Build(root, bytes, why)) {
        SetError(error, QString::fromStdString(why));
        return false;
    }
    return SaveWholeFile(path, bytes, error);
}

QString COleContainer::SuggestedFileName(const CVEKCntrItem& item)
{
    QString suffix = QStringLiteral("ole");
    if (const CCompoundEntry* storage = item.GetStorage()) {
        if (HasStream(*storage, "Workbook") || HasStream(*storage, "Book"))
            suffix = QStringLiteral("xls");
        else if (HasStream(*storage, "WordDocument"))
            suffix = QStringLiteral("doc");
        else if (HasStream(*storage, "PowerPoint Document"))
            suffix = QStringLiteral("ppt");
    }
    return QStringLiteral("对象.") + suffix;
}

bool COleContainer::OnSaveItemData(QWidget* parent, const COleObjectElement& element)
{
    const CVEKCntrItemPtr& item = element.GetClientItem();
    if (!item) return false;
    const QString path = QFileDialog::getSaveFileName(parent, QString(), SuggestedFileName(*item));
    if (path.isEmpty()) return false;
    QString error;
    if (SaveItemData(*item, path, &error)) return true;
    QMessageBox::critical(parent, LoadResString(Ids::IDS_APP_TITLE),
                          ResText(IDS_ITEM_NOT_SAVED, "对象的数据没有保存：%1").arg(error));
    return false;
}
