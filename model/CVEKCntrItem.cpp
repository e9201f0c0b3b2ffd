#include "model/CVEKCntrItem.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QPainter>
#include <QRectF>

#include <cstdint>

namespace {

// "嵌入对象" (embedded object), the label of an object of unknown type.
const char* const kDefaultLabel = "\xC7\xB6\xC8\xEB\xB6\xD4\xCF\xF3";

} // namespace

CVEKCntrItem::CVEKCntrItem() = default;

void CVEKCntrItem::Load(CArchive& ar, bool withImage)
{
    std::uint32_t formatTag = 0, number = 0;
    std::uint16_t aspect = 0, moniker = 0;
    ar >> formatTag >> number >> aspect >> moniker;
    // Objects written by an older generation of the format have another
    // body whose length cannot be known.
    if (formatTag != kFormatTag) throw CArchiveError("embedded object of an unknown format");
    std::string image;
    if (withImage) {
        std::uint32_t size = 0;
        ar >> size;
        ar.Require(size);
        image.resize(size);
        ar.Read(image.data(), size);
    }
    CRect rect;
    ar >> rect;

    m_formatTag = formatTag;
    m_itemNumber = number;
    m_drawAspect = aspect;
    m_moniker = moniker;
    m_rect = rect;
    m_image = std::move(image);
    m_hasImage = withImage;
    m_storage = CCompoundEntry();
    m_hasStorage = false;
    m_imageParsed = false;
    m_presentation.reset();
}

void CVEKCntrItem::Store(CArchive& ar, bool withImage) const
{
    ar << std::uint32_t(m_formatTag) << std::uint32_t(m_itemNumber) << std::uint16_t(m_drawAspect)
       << std::uint16_t(m_moniker);
    if (withImage) {
        const std::string image = ImageForStore();
        ar << std::uint32_t(image.size());
        ar.Write(image.data(), image.size());
    }
    ar << m_rect;
}

std::string CVEKCntrItem::GetStorageName() const
{
    return "Embedding " + std::to_string(m_itemNumber);
}

// The image as read goes back unchanged; a storage the document handed in
// is packed into a new image. Without either the object has no data here,
// and an empty image says so.
std::string CVEKCntrItem::ImageForStore() const
{
    if (m_hasImage) return m_image;
    if (!m_hasStorage) return std::string();
    std::string bytes, error;
    if (!CCompoundFile::Build(m_storage, bytes, error))
        throw CArchiveError("embedded object cannot be packed: " + error);
    return bytes;
}

const CCompoundEntry* CVEKCntrItem::GetStorage() const
{
    if (!m_hasStorage && m_hasImage && !m_imageParsed) {
        m_imageParsed = true;
        std::string error;
        CCompoundEntry parsed;
        if (CCompoundFile::Parse(m_image, parsed, error)) {
            m_storage = std::move(parsed);
            m_hasStorage = true;
        }
    }
    return m_hasStorage ? &m_storage : nullptr;
}

void CVEKCntrItem::SetStorage(const CCompoundEntry& storage)
{
    m_storage = storage;
    m_storage.isStorage = true;
    m_hasStorage = true;
    // The storage is now the object's data; an image read earlier is stale.
    m_image.clear();
    m_hasImage = false;
    m_imageParsed = false;
    m_presentation.reset();
}

const COlePresentation& CVEKCntrItem::Presentation() const
{
    if (!m_presentation) {
        const CCompoundEntry* storage = GetStorage();
        m_presentation = storage ? std::make_unique<COlePresentation>(*storage)
                                 : std::make_unique<COlePresentation>();
    }
    return *m_presentation;
}

void CVEKCntrItem::Draw(CDC* dc, const CRect& deviceRect) const
{
    if (!dc) return;
    CRect r = deviceRect;
    r.NormalizeRect();
    if (r.IsRectEmpty()) return;
    const QImage& picture = Presentation().GetPicture();
    if (picture.isNull()) {
        DrawLabelledFrame(dc, r);
        return;
    }
    QPainter* p = dc->Painter();
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    p->drawImage(QRectF(r.left, r.top, r.Width(), r.Height()), picture);
    p->restore();
}

void CVEKCntrItem::DrawLabelledFrame(CDC* dc, const CRect& r) const
{
    QPainter* p = dc->Painter();
    p->save();
    p->setClipRect(QRect(r.left, r.top, r.Width(), r.Height()), Qt::IntersectClip);

    const CPen oldPen = dc->SelectPen(CPen{PS_SOLID, 1, RGB(128, 128, 128)});
    const CBrush oldBrush = dc->SelectBrush(CBrush::Solid(RGB(240, 240, 240)));
    dc->Rectangle(r.left, r.top, r.right, r.bottom);

    LogFont font;
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = GB2312_CHARSET;
    font.SetFaceName("\xCB\xCE\xCC\xE5"); // 宋体
    const LogFont oldFont = dc->SelectFont(font);
    const COLORREF oldColour = dc->SetTextColor(RGB(64, 64, 64));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    const std::string& type = Presentation().GetTypeName();
    dc->TextOut(r.left + 4, r.top + 4, type.empty() ? std::string(kDefaultLabel) : type);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColour);
    dc->SelectFont(oldFont);
    dc->SelectBrush(oldBrush);
    dc->SelectPen(oldPen);
    p->restore();
}
