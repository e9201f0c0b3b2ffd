#include "app/CVEKSrvrItem.h"

#include "app/CVEKDoc.h"

#include "geometry/Distance.h"
#include "model/COleArchiveContext.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"
#include "res/StringTable.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>

const QString& CVEKSrvrItem::NativeFormatName()
{
    static const QString name = QStringLiteral("QX_VEK_DATA");
    return name;
}

CVEKSrvrItem* CVEKSrvrItem::GetEmbeddedItem(CVEKDoc* doc)
{
    if (!doc) return nullptr;
    if (auto* item = doc->findChild<CVEKSrvrItem*>(QString(), Qt::FindDirectChildrenOnly)) return item;
    return new CVEKSrvrItem(doc);
}

CVEKSrvrItem::CVEKSrvrItem(CVEKDoc* doc) : QObject(doc), m_doc(doc)
{
    ResetPageSet();
}

CVEKSrvrItem::~CVEKSrvrItem() = default;

void CVEKSrvrItem::ResetPageSet()
{
    m_pageSet = std::make_unique<CPageSet>(PAGESET_VERSION, 100);
    m_pageSet->InsertPageAtFront();
    m_pageSet->SetCurrentPageIndex(0);
    m_page = m_pageSet->GetPageAt(0);
}

void CVEKSrvrItem::CopyElementToClipboard(CGraphElement* element)
{
    if (!element) return;
    CElementList selection;
    selection.AddTail(element);
    CopySelectionToClipboard(selection);
}

void CVEKSrvrItem::CopySelectionToClipboard(const CElementList& selection)
{
    const CGraphElement* first = nullptr;
    for (const CGraphElement* e : selection)
        if (e && !first) first = e;
    if (!first) return;

    ResetPageSet();
    if (const CPage* source = first->GetLayer()) m_page->CopyFrom(*source);

    QMimeData* data = OnGetClipboardData();
    m_dataTransfer.CopyToClipboard(selection, data);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setMimeData(data);
    else
        delete data;
}

BOOL CVEKSrvrItem::CanPaste() const
{
    return m_dataTransfer.CanPaste();
}

CDataTransfer::PasteResult CVEKSrvrItem::Paste(CPageSet* pageSet, QString* message) const
{
    return m_dataTransfer.Paste(pageSet, message);
}

CDataTransfer::PasteResult CVEKSrvrItem::PasteIntoDocument(QString* message)
{
    CPageSet* pageSet = m_doc ? m_doc->GetPageSet() : nullptr;
    if (!pageSet) return CDataTransfer::PasteNothing;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    CDataTransfer::PasteData data = CDataTransfer::ReadPasteData(clipboard ? clipboard->mimeData() : nullptr);
    if (message) *message = data.message;
    if (data.result != CDataTransfer::Pasted) return data.result;
    m_doc->SaveUndoState();
    return CDataTransfer::InsertPasteData(pageSet, data);
}

bool CVEKSrvrItem::OnEditPaste(QWidget* parent)
{
    QString message;
    const CDataTransfer::PasteResult result = PasteIntoDocument(&message);
    if (!message.isEmpty()) {
        const QString title = LoadResString(Ids::IDS_APP_TITLE);
        if (result == CDataTransfer::PasteRefused)
            QMessageBox::critical(parent, title, message);
        else
            QMessageBox::warning(parent, title, message);
    }
    return result == CDataTransfer::Pasted;
}

QMimeData* CVEKSrvrItem::OnGetClipboardData() const
{
    auto* data = new QMimeData;
    if (m_pageSet) {
        const std::string record = CVEKDoc::StorePageSetRecord(*m_pageSet);
        data->setData(NativeFormatName(), QByteArray(record.data(), qsizetype(record.size())));
    }
    return data;
}

BOOL CVEKSrvrItem::OnGetExtent(int aspect, CSize& size) const
{
    if (aspect != DVASPECT_CONTENT) return FALSE;
    size = CSize(kExtent, kExtent);
    return TRUE;
}

BOOL CVEKSrvrItem::OnDraw(CDC* dc, CSize& extent) const
{
    if (!m_pageSet || !dc) return TRUE;
    const int current = m_pageSet->GetCurrentPageIndex();
    if (current < 0 || current >= m_pageSet->GetPageCount()) return TRUE;
    CRect bounds = m_pageSet->GetCurrentPage()->GetBoundRect();
    bounds.NormalizeRect();
    const double s = m_pageSet->GetUnitsPerMM() / 100.0;
    extent = CSize(RoundToInt(bounds.Width() / s) + 20, RoundToInt(bounds.Height() / s) + 20);
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    m_pageSet->DrawCurrentPage(dc, s, bounds.left, bounds.top, CRect(0, 0, extent.cx, extent.cy));
    dc->SetBkMode(oldMode);
    return TRUE;
}

void CVEKSrvrItem::Serialize(CArchive& ar)
{
    COleArchiveContext objects(ar);
    if (ar.IsStoring()) {
        if (m_pageSet) m_pageSet->Store(ar);
        return;
    }
    auto pageSet = std::make_unique<CPageSet>(PAGESET_VERSION, 100);
    if (pageSet->Load(ar) != 1) throw CArchiveError("not a page-set record");
    m_pageSet = std::move(pageSet);
    if (m_pageSet->GetCurrentPageIndex() < 0 || m_pageSet->GetCurrentPageIndex() >= m_pageSet->GetPageCount())
        m_pageSet->SetCurrentPageIndex(0);
    m_page = m_pageSet->GetCurrentPage();
}
