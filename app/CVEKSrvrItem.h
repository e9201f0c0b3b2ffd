// The document's server item: what other programs get of this program's
// drawing. It keeps a page set of its own (a copy of the page the last copy
// came from), puts copied selections on the clipboard through its
// CDataTransfer together with its own data, and pastes.
//
// Embedding and in-place editing in other programs need an object-linking
// runtime that Linux desktops do not have, so the item is not a live
// server: it renders and stores its page set, and carries the clipboard.
// Each document has one item, made on first use and owned by the document.
#pragma once

#include "app/CDataTransfer.h"

#include "model/CGraphElement.h"
#include "platform/Types.h"

#include <QObject>
#include <QString>

#include <memory>

class CArchive;
class CDC;
class CPage;
class CPageSet;
class CVEKDoc;
class QMimeData;
class QWidget;

class CVEKSrvrItem : public QObject {
    Q_OBJECT
public:
    // The drawing aspect whose size the item answers itself.
    static constexpr int DVASPECT_CONTENT = 1;
    // Native size of the item, hundredths of a millimetre.
    static constexpr int kExtent = 3000;
    // The item's own data on the clipboard: its page-set record.
    static const QString& NativeFormatName();

    // The document's item, made (and owned by the document) on first use.
    static CVEKSrvrItem* GetEmbeddedItem(CVEKDoc* doc);

    explicit CVEKSrvrItem(CVEKDoc* doc);
    ~CVEKSrvrItem() override;

    CVEKDoc* GetDocument() const { return m_doc; }
    const CPageSet* GetPageSet() const { return m_pageSet.get(); }
    CPage* GetPage() const { return m_page; }

    // Copies one element; a null element copies nothing.
    void CopyElementToClipboard(CGraphElement* element);
    // Copies a selection (all on one page): the item's page becomes a copy
    // of that page, and the clipboard gets the selection (CDataTransfer),
    // its picture and the item's data. An empty list changes nothing.
    void CopySelectionToClipboard(const CElementList& selection);

    BOOL CanPaste() const;
    // Pastes into the page set's current page; see CDataTransfer::Paste.
    CDataTransfer::PasteResult Paste(CPageSet* pageSet, QString* message = nullptr) const;
    // Edit > Paste on the document: reads the clipboard first and takes the
    // undo step only when something sound is pasted. `message` as Paste.
    CDataTransfer::PasteResult PasteIntoDocument(QString* message = nullptr);
    // The view's Edit > Paste: PasteIntoDocument, and the refusal or the
    // lost characters told in a message box. True when the page changed.
    bool OnEditPaste(QWidget* parent);

    // The data the item adds to a copy: its page-set record under
    // NativeFormatName(). The caller owns the result.
    QMimeData* OnGetClipboardData() const;
    // The content aspect is kExtent square; other aspects are not known.
    BOOL OnGetExtent(int aspect, CSize& size) const;
    // Draws the item's current page with the top-left of its elements'
    // bounds at (0, 0), one device unit per hundredth of a millimetre, and
    // sets `extent` to the bounds' size and 20 units to spare. The caller's
    // painter transformation fits that onto its target.
    BOOL OnDraw(CDC* dc, CSize& extent) const;
    // Stores the item's page set, or loads a new one; a record that does
    // not load leaves the page set as it was and throws CArchiveError.
    void Serialize(CArchive& ar);

private:
    void ResetPageSet();

    CVEKDoc* m_doc;
    CDataTransfer m_dataTransfer;
    std::unique_ptr<CPageSet> m_pageSet;
    CPage* m_page = nullptr;
};
