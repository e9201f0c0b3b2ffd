// A set of shared points, quick for the points of one page's pool: they
// are marked by their pool number, and only points outside the pool go
// into a hashed set. Walks over tens of thousands of moved points (a
// whole page dragged) cost a flag each instead of a hash insert.
#pragma once

#include "model/CPage.h"
#include "model/CSharedPoint.h"

#include <unordered_set>
#include <vector>

class CPointMarks {
public:
    // For the pool of `page` (none: every point is hashed), about
    // `expected` points to mark: a few points of a large pool are hashed,
    // as clearing a flag for each pooled point would cost more.
    CPointMarks(const CPage* page, std::size_t expected)
        : m_page(page && expected * kPoolPointsPerMark >= page->Points().size() ? page : nullptr),
          m_inPool(m_page ? m_page->Points().size() : 0, false)
    {
    }

    // True when the point was not marked before.
    bool Insert(const CSharedPoint* point)
    {
        const int n = m_page ? m_page->GetPointIndex(point) : -1;
        if (n < 0) return m_outside.insert(point).second;
        if (m_inPool[std::size_t(n)]) return false;
        m_inPool[std::size_t(n)] = true;
        return true;
    }

private:
    static constexpr std::size_t kPoolPointsPerMark = 1024;

    const CPage* m_page;
    std::vector<bool> m_inPool;
    std::unordered_set<const CSharedPoint*> m_outside;
};
