// The container side of embedded objects, as far as it goes without the
// objects' programs: an embedded object (a COleObjectElement showing a
// CVEKCntrItem) is kept byte for byte, drawn from its cached picture, moved,
// resized and deleted as an element, and its data can be written out as a
// file that its program opens.
//
// What needs the objects' programs running (Insert Object, Paste Link,
// Links, Convert, the object verbs, activation in place) cannot exist on
// Linux: those commands are present and always disabled.
#pragma once

#include "platform/Types.h"

#include <QString>

#include <vector>

class COleObjectElement;
class CVEKCntrItem;
class CVEKDoc;
class QAction;
class QObject;
class QWidget;

class COleContainer {
public:
    struct OleCommand {
        UINT id;
        const char* text; // menu text, UTF-8
    };
    // The object commands, in menu order (the verbs by their first id).
    static const std::vector<OleCommand>& OleCommands();
    // Whether an object command can run: never on this platform.
    static bool IsOleCommandEnabled(UINT id);
    static bool IsOleCommand(UINT id);
    // One disabled action per object command, the command id as its data,
    // owned by `parent`.
    static std::vector<QAction*> CreateOleActions(QObject* parent);

    // The object was moved or resized to `pageRect` (page units) in a view
    // with that mapping: an undo step (which marks the document modified),
    // then the element takes the rectangle and its item the device one.
    static void OnChangeItemPosition(CVEKDoc& doc, COleObjectElement& element, const CRect& pageRect,
                                     double scale, int originX, int originY);
    // Deletes the object's element from its page after an undo step. The
    // item lives on while undo snapshots still show it.
    static void DeleteItem(CVEKDoc& doc, COleObjectElement* element);

    // The object's data as the file its program keeps it in (a compound
    // file). False, with a reason, when the item has no data or the file
    // could not be written; an existing file is replaced only on success.
    static bool SaveItemData(const CVEKCntrItem& item, const QString& path, QString* error = nullptr);
    // A file name for the data: the object's kind where it is known
    // ("对象.xls", "对象.doc", "对象.ppt"), else "对象.ole".
    static QString SuggestedFileName(const CVEKCntrItem& item);
    // The command: a save dialog, SaveItemData, a failure told in a message
    // box. True when a file was written.
    static bool OnSaveItemData(QWidget* parent, const COleObjectElement& element);
};
