#include "library/CLibraryContent.h"

#include "model/CGraphElement.h"
#include "model/CImageElement.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "tables/CTableElement.h"

CLibraryContent::CLibraryContent() : m_scratch(std::make_unique<CPage>(nullptr)) {}

CLibraryContent::~CLibraryContent() = default;

void CLibraryContent::Clear()
{
    m_elements.clear();
    m_points.clear();
    m_scratch = std::make_unique<CPage>(nullptr);
    m_version = 0;
    m_bounds = CRect();
    m_hasExtent = false;
}

std::vector<CGraphElement*> CLibraryContent::Elements() const
{
    std::vector<CGraphElement*> elements;
    elements.reserve(m_elements.size());
    for (const auto& e : m_elements) elements.push_back(e.get());
    return elements;
}

std::vector<CSharedPoint*> CLibraryContent::Points() const
{
    std::vector<CSharedPoint*> points;
    points.reserve(m_points.size());
    for (const auto& p : m_points) points.push_back(p.get());
    return points;
}

void CLibraryContent::Include(const CPoint& p)
{
    if (!m_hasExtent) {
        m_minX = m_maxX = p.x;
        m_minY = m_maxY = p.y;
        m_hasExtent = true;
        return;
    }
    m_minX = std::min<std::int64_t>(m_minX, p.x);
    m_minY = std::min<std::int64_t>(m_minY, p.y);
    m_maxX = std::max<std::int64_t>(m_maxX, p.x);
    m_maxY = std::max<std::int64_t>(m_maxY, p.y);
}

bool CLibraryContent::CanPlaceAt(const CPoint& offset) const
{
    if (!m_hasExtent) return true;
    const auto within = [](std::int64_t v) { return v >= -kMaxPlacedCoordinate && v <= kMaxPlacedCoordinate; };
    return within(m_minX + offset.x) && within(m_maxX + offset.x) && within(m_minY + offset.y) &&
           within(m_maxY + offset.y);
}

namespace {

// The box moves as the file gives it: laid out again from measurement, it
// would take this machine's fonts' size instead of the one it was saved
// with.
void MoveText(CTextElement* text, const CPoint& d)
{
    text->SetCorners(text->GetOrigin() + d, text->GetCorner2() + d, text->GetCorner4() + d,
                     text->GetCorner3() + d);
}

void MovePicture(CImageElement* picture, const CPoint& d)
{
    const CPoint ul = picture->GetUpperLeft() + d;
    const CPoint ur = picture->GetUpperRight() + d;
    const CPoint lr = picture->GetLowerRight() + d;
    const CPoint ll = picture->GetLowerLeft() + d;
    picture->SetUpperLeft(ul.x, ul.y);
    picture->SetUpperRight(ur.x, ur.y);
    picture->SetLowerRight(lr.x, lr.y);
    picture->SetLowerLeft(ll.x, ll.y);
    picture->InvalidateBounds();
}

} // namespace

std::vector<CGraphElement*> CLibraryContent::PlaceOn(CPage* page, const CPoint& offset)
{
    std::vector<CGraphElement*> placed;
    if (!page || !CanPlaceAt(offset)) return placed;
    for (auto& point : m_points) {
        const CPoint at = point->GetPosition() + offset;
        point->SetLayer(page);
        point->MoveTo(at.x, at.y, 0);
        point->InvalidatePosition();
        page->AddPoint(point.release());
    }
    m_points.clear();
    placed.reserve(m_elements.size());
    for (auto& owned : m_elements) {
        CGraphElement* e = owned.release();
        e->SetLayer(page);
        switch (e->GetType()) {
        case ELEMENT_TEXT: MoveText(static_cast<CTextElement*>(e), offset); break;
        case ELEMENT_IMAGE: MovePicture(static_cast<CImageElement*>(e), offset); break;
        case ELEMENT_TABLE: {
            auto* table = static_cast<CTableElement*>(e);
            const CPoint origin = table->GetOrigin() + offset;
            table->MoveTo(origin.x, origin.y);
            break;
        }
        default: e->InvalidateBounds(); break;
        }
        page->RaiseMaxLevel(e->GetLevel());
        page->AddElement(e);
        placed.push_back(e);
    }
    m_elements.clear();
    Clear();
    return placed;
}
