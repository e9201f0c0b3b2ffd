#include "app/CCapturePoint.h"

#include "model/CCurveNode.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"

CCapturePoint::CCapturePoint(CCurveNode* node) : m_bExisting(1), m_pNode(node)
{
    if (node) {
        const CPoint p = node->GetPosition();
        x = p.x;
        y = p.y;
    }
}

CSharedPoint* CCapturePoint::GetSharedPoint(CPageSet* pageSet) const
{
    if (m_bExisting) return m_pNode ? m_pNode->GetPoint() : nullptr;
    if (!pageSet || pageSet->GetPageCount() == 0) return nullptr;
    CPage* page = pageSet->GetCurrentPage();
    auto* point = new CSharedPoint(page, x, y);
    page->AddPoint(point);
    return point;
}
