#include "app/CDataTransfer.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"

#include "geometry/Distance.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "model/CTextFont.h"
#include "model/ElementFactory.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <unordered_map>

namespace {

// The characters a text lost on its way into the code page.
constexpr int IDS_TEXT_NOT_CONVERTED = 36120;

QString ResText(int id, const char* fallback)
{
    const QString text = LoadResString(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

// Copies of shared points by the point they were made from.
class PointMap {
public:
    explicit PointMap(CPage* target) : m_target(target) {}

    // A plain point at the source's present position.
    CSharedPoint* Add(const CSharedPoint* source)
    {
        const CPoint at = source->GetPosition();
        auto* point = new CSharedPoint(m_target, at.x, at.y);
        m_target->AddPoint(point);
        m_copies.emplace(source, point);
        return point;
    }
    CSharedPoint* Find(const CSharedPoint* source) const
    {
        const auto it = m_copies.find(source);
        return it == m_copies.end() ? nullptr : it->second;
    }
    // The copy, made now when the point was not carried.
    CSharedPoint* Resolve(const CSharedPoint* source)
    {
        CSharedPoint* copy = Find(source);
        return copy ? copy : Add(source);
    }

private:
    CPage* m_target;
    std::unordered_map<const CSharedPoint*, CSharedPoint*> m_copies;
};

using ElementMap = std::unordered_map<const CGraphElement*, CGraphElement*>;

// A curve like `source` on `target`, its nodes on the copies of its points.
std::unique_ptr<CGraphElement> CopyCurve(CPage* target, const CCurveElement& source, PointMap& points)
{
    std::unique_ptr<CGraphElement> element =
        CreateElement(target, ELEMENT_CURVE, source.GetLevel(), source.IsClosed() != 0);
    auto* curve = static_cast<CCurveElement*>(element.get());
    {
        // The curve's own copy takes line, colour, arrowheads and fill, and
        // maps nodes by point number, which only holds between whole pages.
        // Against a page without points it makes no nodes at all; they are
        // made here from the point map instead.
        CPage noPoints(nullptr);
        curve->SetLayer(&noPoints);
        curve->CopyFrom(source);
        curve->SetLayer(target);
    }
    CCurveNodeList nodes;
    for (const CCurveNode* node : source.Nodes()) {
        if (!node->GetPoint()) continue;
        auto* copy = new CCurveNode(points.Resolve(node->GetPoint()), node->GetKind());
        copy->CopyAttributes(*node);
        nodes.AddTail(copy);
    }
    curve->SetNodes(nodes);
    curve->SetMirrorSource(nullptr);
    return element;
}

std::unique_ptr<CGraphElement> CopyElement(CPage* target, const CGraphElement& source, PointMap& points)
{
    if (const auto* curve = dynamic_cast<const CCurveElement*>(&source)) return CopyCurve(target, *curve, points);
    std::unique_ptr<CGraphElement> element = CreateElement(target, source.GetType(), source.GetLevel(), false);
    element->CopyFrom(source);
    return element;
}

// Curves that mirrored a copied curve mirror its copy; links to curves
// that were not copied are dropped.
void CarryMirrorSources(const ElementMap& copies)
{
    for (const auto& [source, copy] : copies) {
        const auto* sourceCurve = dynamic_cast<const CCurveElement*>(source);
        auto* copyCurve = dynamic_cast<CCurveElement*>(copy);
        if (!sourceCurve || !copyCurve || !sourceCurve->GetMirrorSource()) continue;
        const auto it = copies.find(sourceCurve->GetMirrorSource());
        copyCurve->SetMirrorSource(it == copies.end() ? nullptr : dynamic_cast<CCurveElement*>(it->second));
    }
}

void CopyElements(CPage* target, const CElementList& elements, PointMap& points)
{
    ElementMap copies;
    for (const CGraphElement* e : elements) {
        if (!e) continue;
        std::unique_ptr<CGraphElement> copy = CopyElement(target, *e, points);
        copies.emplace(e, copy.get());
        target->AddElement(copy.release());
    }
    CarryMirrorSources(copies);
}

// The union of the elements' bounds, degenerate bounds (a straight
// horizontal line) included. Empty when no element has bounds.
CRect SelectionBounds(const CElementList& selection)
{
    bool any = false;
    CRect all;
    for (CGraphElement* e : selection) {
        if (!e) continue;
        CRect r = e->GetBoundRect();
        r.NormalizeRect();
        if (r.IsRectNull()) continue;
        if (!any) {
            all = r;
            any = true;
            continue;
        }
        all.left = std::min(all.left, r.left);
        all.top = std::min(all.top, r.top);
        all.right = std::max(all.right, r.right);
        all.bottom = std::max(all.bottom, r.bottom);
    }
    return all;
}

// GB18030 writes a character of the GBK set as one byte (ASCII) or two;
// everything else as four, the second of which is a digit.
std::size_t SequenceLength(const std::string& bytes, std::size_t at)
{
    const auto b = static_cast<unsigned char>(bytes[at]);
    if (b < 0x80) return 1;
    if (at + 1 < bytes.size()) {
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        if (second >= 0x30 && second <= 0x39) return 4;
    }
    return 2;
}

} // namespace

const QString& CDataTransfer::FormatName()
{
    static const QString name = QStringLiteral("VEK_DATA");
    return name;
}

void CDataTransfer::CopySelection(CPage* target, const CElementList& selection, const CRect* keepPointsIn)
{
    if (!target || selection.IsEmpty()) return;
    const CGraphElement* first = nullptr;
    for (const CGraphElement* e : selection)
        if (e && !first) first = e;
    if (!first) return;

    const CPage* source = first->GetLayer();
    PointMap points(target);
    if (source) {
        for (const CSharedPoint* p : source->Points())
            if (!keepPointsIn || keepPointsIn->PtInRect(p->GetPosition())) points.Add(p);
    }
    CopyElements(target, selection, points);
}

std::unique_ptr<CPageSet> CDataTransfer::MakeClipboardPageSet(const CElementList& selection)
{
    if (selection.IsEmpty()) return nullptr;
    auto pageSet = std::make_unique<CPageSet>(PAGESET_VERSION, kClipboardUnitsPerMM);
    pageSet->InsertPageAtFront();
    pageSet->SetCurrentPageIndex(0);
    CRect keep = SelectionBounds(selection);
    keep.InflateRect(1, 1);
    CopySelection(pageSet->GetPageAt(0), selection, &keep);
    return pageSet;
}

void CDataTransfer::CopyToClipboard(const CElementList& selection, QMimeData* dataSource) const
{
    if (!dataSource) return;
    const std::unique_ptr<CPageSet> pageSet = MakeClipboardPageSet(selection);
    if (!pageSet) return;
    const std::string record = CVEKDoc::StorePageSetRecord(*pageSet);
    dataSource->setData(FormatName(), QByteArray(record.data(), qsizetype(record.size())));
    const QImage picture = RenderPicture(*pageSet);
    if (!picture.isNull()) dataSource->setImageData(picture);
}

BOOL CDataTransfer::CanPaste(const QMimeData* data)
{
    if (!data) return FALSE;
    return (data->hasFormat(FormatName()) || data->hasText() || data->hasImage()) ? TRUE : FALSE;
}

BOOL CDataTransfer::CanPaste() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return clipboard ? CanPaste(clipboard->mimeData()) : FALSE;
}

CDataTransfer::PasteResult CDataTransfer::Paste(CPageSet* pageSet, QString* message) const
{
    if (!pageSet) return PasteNothing;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    PasteData data = ReadPasteData(clipboard ? clipboard->mimeData() : nullptr);
    if (message) *message = data.message;
    return InsertPasteData(pageSet, data);
}

CDataTransfer::PasteData CDataTransfer::ReadPasteData(const QMimeData* mime)
{
    PasteData data;
    if (!CanPaste(mime)) return data;

    if (mime->hasFormat(FormatName())) {
        const QByteArray bytes = mime->data(FormatName());
        std::unique_ptr<CPageSet> pageSet =
            CVEKDoc::LoadPageSetRecord(std::string(bytes.constData(), std::size_t(bytes.size())));
        const int current = pageSet ? pageSet->GetCurrentPageIndex() : -1;
        if (!pageSet || current < 0 || current >= pageSet->GetPageCount()) {
            data.result = PasteRefused;
            data.message = LoadResString(Ids::IDS_BAD_FILE);
            return data;
        }
        data.result = Pasted;
        data.pageSet = std::move(pageSet);
        return data;
    }

    if (mime->hasImage() || !mime->hasText()) return data;
    const QString text = mime->text();
    if (text.isEmpty()) return data;
    QString unconvertible;
    data.text = ToCodePage(text, &unconvertible);
    data.result = Pasted;
    if (!unconvertible.isEmpty())
        data.message = ResText(IDS_TEXT_NOT_CONVERTED, "以下字符不能保存在文档中，已用“?”代替：%1").arg(unconvertible);
    return data;
}

CDataTransfer::PasteResult CDataTransfer::InsertPasteData(CPageSet* pageSet, PasteData& data)
{
    if (!pageSet || data.result != Pasted) return data.result;
    const int current = pageSet->GetCurrentPageIndex();
    if (current < 0 || current >= pageSet->GetPageCount()) return PasteNothing;
    if (data.pageSet) {
        InsertElements(*data.pageSet->GetCurrentPage(), pageSet->GetCurrentPage());
        data.pageSet.reset();
    } else {
        PasteText(pageSet, data.text);
    }
    return Pasted;
}

void CDataTransfer::PasteText(CPageSet* pageSet, const std::string& text)
{
    if (!pageSet) return;
    const int current = pageSet->GetCurrentPageIndex();
    if (current < 0 || current >= pageSet->GetPageCount()) return;
    const CSystemSettings& settings = Settings();
    CPage* page = pageSet->GetCurrentPage();
    const CTextFont textFont(text, settings.m_lfDefaultFont, settings.m_crFontColor);
    auto* element = new CTextElement(page, page->GetMaxLevel(), textFont, 0, 0, TRANSPARENT);
    page->AddElement(element);
}

void CDataTransfer::InsertElements(const CPage& source, CPage* target)
{
    if (!target || &source == target) return;
    PointMap points(target);
    for (const CSharedPoint* p : source.Points()) points.Add(p);
    for (const CSharedPoint* p : source.Points()) {
        if (!p->IsMirrored()) continue;
        CSharedPoint *from = nullptr, *axis1 = nullptr, *axis2 = nullptr;
        p->GetMirror(from, axis1, axis2);
        CSharedPoint* copy = points.Find(p);
        CSharedPoint* copyFrom = points.Find(from);
        CSharedPoint* copyAxis1 = points.Find(axis1);
        CSharedPoint* copyAxis2 = points.Find(axis2);
        if (!copyFrom || !copyAxis1 || !copyAxis2) continue;
        copy->SetMirror(copyFrom, copyAxis1, copyAxis2);
        copy->InvalidatePosition();
    }
    CopyElements(target, source.Elements(), points);
}

std::string CDataTransfer::ToCodePage(const QString& text, QString* unconvertible)
{
    bool ok = true;
    const std::string encoded = QStringToGbk(text, &ok);
    std::string out;
    out.reserve(encoded.size());
    QStringList lost;
    std::size_t at = 0;
    for (qsizetype i = 0; i < text.size() && at < encoded.size(); ++i) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QString character = pair ? text.mid(i, 2) : QString(c);
        if (pair) ++i;
        if (c.isSurrogate() && !pair) {
            // The encoder wrote '?' for the lone half of a pair.
            out += '?';
            at += 1;
            if (!lost.contains(QString(QChar::ReplacementCharacter))) lost << QString(QChar::ReplacementCharacter);
            continue;
        }
        const std::size_t length = SequenceLength(encoded, at);
        if (length == 4) {
            out += '?';
            if (!lost.contains(character)) lost << character;
        } else {
            out.append(encoded, at, length);
        }
        at += length;
    }
    if (unconvertible) *unconvertible = lost.join(QString());
    return out;
}

QImage CDataTransfer::RenderPicture(const CPageSet& pageSet)
{
    const int current = pageSet.GetCurrentPageIndex();
    if (current < 0 || current >= pageSet.GetPageCount()) return {};
    CRect bounds = pageSet.GetCurrentPage()->GetBoundRect();
    bounds.NormalizeRect();
    if (bounds.IsRectEmpty()) return {};

    constexpr double kPixelsPerInch = 96.0;
    constexpr int kBorder = 10;
    constexpr int kLargestSide = 4096;
    const double unitsPerInch = pageSet.GetUnitsPerMM() * 25.4;
    double scale = unitsPerInch / kPixelsPerInch;
    const double largest = std::max(bounds.Width(), bounds.Height());
    if (largest / scale > kLargestSide - 2 * kBorder) scale = largest / (kLargestSide - 2 * kBorder);

    const int width = RoundToInt(bounds.Width() / scale) + 2 * kBorder;
    const int height = RoundToInt(bounds.Height() / scale) + 2 * kBorder;
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull()) return {};
    picture.fill(Qt::white);
    QPainter painter(&picture);
    {
        CDC dc(&painter);
        dc.SetBkMode(TRANSPARENT);
        const int originX = bounds.left - RoundToInt(kBorder * scale);
        const int originY = bounds.top - RoundToInt(kBorder * scale);
        pageSet.DrawCurrentPage(&dc, scale, originX, originY, CRect(0, 0, width, height));
    }
    painter.end();
    return picture;
}
