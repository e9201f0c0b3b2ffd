#include "model/COleObjectElement.h"

#include "model/COleArchiveContext.h"

#include "geometry/Lines.h"
#include "geometry/Mapping.h"

#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <QBrush>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// Side of the tracker's resize handles, in pixels.
constexpr int kHandleSize = 4;

CRect Normalized(CRect r)
{
    r.NormalizeRect();
    return r;
}

} // namespace

COleObjectElement::COleObjectElement(CPage* owner, int level)
    : CGraphElement(owner, ELEMENT_OLEOBJECT, level)
{
}

COleObjectElement::COleObjectElement(CPage* owner, int level, CVEKCntrItemPtr item)
    : CGraphElement(owner, ELEMENT_OLEOBJECT, level), m_item(std::move(item))
{
}

void COleObjectElement::SetClientItem(CVEKCntrItemPtr item)
{
    m_item = std::move(item);
}

CRect COleObjectElement::GetBoundRect()
{
    return m_hasRect ? Normalized(m_rect) : CRect();
}

void COleObjectElement::SetRect(const CRect& rect)
{
    m_rect = Normalized(rect);
    m_hasRect = true;
    InvalidateBounds();
}

void COleObjectElement::OffsetBy(int dx, int dy)
{
    if (!m_hasRect) return;
    const CPoint topLeft = OffsetPoint(CPoint(m_rect.left, m_rect.top), dx, dy);
    const CPoint bottomRight = OffsetPoint(CPoint(m_rect.right, m_rect.bottom), dx, dy);
    SetRect(CRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y));
}

CRect COleObjectElement::DeviceRect(double scale, int originX, int originY) const
{
    return Normalized(ModelToDeviceRect(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom, scale, originX,
                                        originY));
}

void COleObjectElement::TakeRectFromItem(double scale, int originX, int originY)
{
    const CRect& d = m_item->GetRect();
    m_rect = Normalized(DeviceToModelRect(d.left, d.top, d.right, d.bottom, scale, originX, originY));
    m_hasRect = true;
    InvalidateBounds();
}

void COleObjectElement::Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip)
{
    if (!dc || !m_item || !(scale > 0)) return;
    if (!m_hasRect) TakeRectFromItem(scale, originX, originY);
    const CRect device = DeviceRect(scale, originX, originY);

    if (dc->IsPrinting()) {
        m_item->Draw(dc, device);
        return;
    }
    CRect frame = device;
    frame.InflateRect(1, 1);
    CRect meet;
    if (!meet.IntersectRect(frame, clip)) return;
    m_item->Draw(dc, device);
    DrawTracker(dc, SetupTracker(m_item.get(), device));
}

COleObjectElement::Tracker COleObjectElement::SetupTracker(const CVEKCntrItem* item,
                                                           const CRect& deviceRect) const
{
    Tracker t;
    t.rect = deviceRect;
    if (!item) return t;
    if (item == m_item.get()) t.style |= resizeInside;
    t.style |= item->IsLinked() ? dottedLine : solidLine;
    const int state = item->GetItemState();
    if (state == CVEKCntrItem::openState || state == CVEKCntrItem::activeUIState) t.style |= hatchInside;
    return t;
}

void COleObjectElement::DrawTracker(CDC* dc, const Tracker& tracker)
{
    CRect r = tracker.rect;
    if (tracker.style & hatchInside) {
        QPainter* p = dc->Painter();
        p->save();
        p->setPen(Qt::NoPen);
        p->setBrush(QBrush(Qt::black, Qt::BDiagPattern));
        p->drawRect(DeviceBounded(r));
        p->restore();
    }
    if (tracker.style & (solidLine | dottedLine)) {
        const CPen oldPen =
            dc->SelectPen(CPen{(tracker.style & dottedLine) ? PS_DOT : PS_SOLID, 1, RGB(0, 0, 0)});
        const CBrush oldBrush = dc->SelectBrush(CBrush::Null());
        // The frame lies one pixel outside the object.
        CRect frame = r;
        frame.InflateRect(1, 1);
        dc->Rectangle(frame.left, frame.top, frame.right, frame.bottom);
        dc->SelectBrush(oldBrush);
        dc->SelectPen(oldPen);
    }
    if (tracker.style & (resizeInside | resizeOutside)) {
        // The handles' places in 64 bits, for the same reason.
        const bool inside = (tracker.style & resizeInside) != 0;
        const long long s = kHandleSize;
        const long long left = r.left, top = r.top, right = r.right, bottom = r.bottom;
        const long long x[3] = {inside ? left : left - s, (left + right - s) / 2, inside ? right - s : right};
        const long long y[3] = {inside ? top : top - s, (top + bottom - s) / 2, inside ? bottom - s : bottom};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                if (i != 1 || j != 1)
                    dc->FillSolidRect(CRect(SaturateToInt(x[i]), SaturateToInt(y[j]), SaturateToInt(x[i] + s),
                                            SaturateToInt(y[j] + s)),
                                      RGB(0, 0, 0));
    }
}

void COleObjectElement::CopyFrom(const CGraphElement& other)
{
    CGraphElement::CopyFrom(other);
    const auto* source = dynamic_cast<const COleObjectElement*>(&other);
    if (!source) return;
    m_rect = source->m_rect;
    m_hasRect = source->m_hasRect;
    m_item = source->m_item;
    InvalidateBounds();
}

int COleObjectElement::Load(CArchive& ar)
{
    CGraphElement::Load(ar);
    m_item = COleArchiveContext::ReadItem(ar);
    // The page rectangle is not stored: the next draw derives it.
    m_rect = CRect();
    m_hasRect = false;
    InvalidateBounds();
    return 1;
}

int COleObjectElement::Store(CArchive& ar) const
{
    CGraphElement::Store(ar);
    COleArchiveContext::WriteItem(ar, m_item);
    return 1;
}
