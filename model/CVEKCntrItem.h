// An object of another program embedded in (or linked into) the document:
// the container item that an embedded-object element shows. The object
// cannot be run here, so the item keeps everything of it byte for byte: its
// record in the page stream and its storage ("Embedding N" in the document
// file, or a compound-file image inside the record of a backup file or a
// clipboard block), and shows the picture its program cached there.
//
// Items are shared: an element, its copies on undo snapshots and pasted
// copies hold the same item (std::shared_ptr), as the document's live items
// are meant to be.
//
// The item's record, after the archive's object tag:
//   DWORD  format tag, 256 for every object of this generation
//   DWORD  item number: the object's storage is "Embedding <number>"
//   WORD   drawing aspect (1 content, 4 icon, ...)
//   WORD   moniker flag
//   DWORD n + n bytes   the storage as a compound-file image; only where the
//                       object does not live in a storage of its own (every
//                       archive except a document file's page stream)
//   4 x int  position rectangle (left, top, right, bottom), view pixels
#pragma once

#include "model/COlePresentation.h"

#include "platform/CCompoundFile.h"
#include "platform/Types.h"

#include <memory>
#include <string>

class CArchive;
class CDC;

class CVEKCntrItem {
public:
    static constexpr DWORD kFormatTag = 256;
    static constexpr WORD kAspectContent = 1;
    // The class name under which the archive's object table records items.
    static constexpr const char* kClassName = "CVEKCntrItem";

    // Item states; an open or in-place active object is drawn hatched.
    enum ItemState { emptyState, loadedState, openState, activeState, activeUIState };

    // A new item: number 0, content aspect, the default position.
    CVEKCntrItem();

    CVEKCntrItem(const CVEKCntrItem&) = delete;
    CVEKCntrItem& operator=(const CVEKCntrItem&) = delete;

    // The record after the object tag. `withImage` says whether the storage
    // image is part of it. Load throws CArchiveError on a damaged record and
    // then leaves the item unchanged.
    void Load(CArchive& ar, bool withImage);
    void Store(CArchive& ar, bool withImage) const;

    DWORD GetItemNumber() const { return m_itemNumber; }
    void SetItemNumber(DWORD number) { m_itemNumber = number; }
    // "Embedding <number>": the storage of the object in a document file.
    std::string GetStorageName() const;
    WORD GetClassSchema() const { return m_classSchema; }
    void SetClassSchema(WORD schema) { m_classSchema = schema; }

    // The position rectangle in view pixels, as stored.
    const CRect& GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }

    // The object's storage: the one the document handed in, else the image
    // read with the record. Null when neither is known.
    const CCompoundEntry* GetStorage() const;
    void SetStorage(const CCompoundEntry& storage);
    // The storage image exactly as it was read (empty when none was read).
    const std::string& GetImage() const { return m_image; }

    bool IsLinked() const { return Presentation().IsLinked(); }
    int GetItemState() const { return m_state; }
    void SetItemState(int state) { m_state = state; }
    // What can be shown of the object, read from its storage on first use.
    const COlePresentation& Presentation() const;

    // Draws the cached picture stretched over the device rectangle, or a
    // frame labelled with the object's type where there is none.
    void Draw(CDC* dc, const CRect& deviceRect) const;

private:
    std::string ImageForStore() const;
    void DrawLabelledFrame(CDC* dc, const CRect& r) const;

    DWORD m_formatTag = kFormatTag;
    DWORD m_itemNumber = 0;
    WORD m_drawAspect = kAspectContent;
    WORD m_moniker = 0;
    WORD m_classSchema = 0;
    CRect m_rect{230, 20, 330, 120};
    int m_state = loadedState;

    // The image as read, kept so that it is written back unchanged.
    std::string m_image;
    bool m_hasImage = false;
    // The storage the document handed in (or the image, once parsed).
    mutable CCompoundEntry m_storage;
    mutable bool m_hasStorage = false;
    mutable bool m_imageParsed = false;
    mutable std::unique_ptr<COlePresentation> m_presentation;
};

using CVEKCntrItemPtr = std::shared_ptr<CVEKCntrItem>;
