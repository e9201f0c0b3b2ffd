#include "model/CPointUsers.h"

#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CSharedPoint.h"

#include <algorithm>

namespace {

// The point's place in the pool, -1 when it is not there.
int PoolNumber(const CSharedPoint* point, const CPointUsers::Pool& pool)
{
    if (!point) return -1;
    const int n = point->GetNumber();
    return n >= 0 && std::size_t(n) < pool.size() && pool[std::size_t(n)] == point ? n : -1;
}

void Erase(std::vector<CGraphElement*>& elements, const CGraphElement* element)
{
    const auto it = std::find(elements.begin(), elements.end(), element);
    if (it != elements.end()) elements.erase(it);
}

}  // namespace

void CPointUsers::Reset()
{
    m_built = false;
    m_curvesOn.clear();
    m_filed.clear();
    m_stale.clear();
    m_askAlways.clear();
    m_dependantsBuilt = false;
    m_dependants.clear();
}

void CPointUsers::ElementAdded(CGraphElement* element)
{
    // Filed at the next question, with the pool as it is then.
    if (!m_built || !element) return;
    Filed& filed = m_filed[element];
    if (filed.stale) return;
    filed.stale = true;
    m_stale.push_back(element);
}

void CPointUsers::ElementRemoved(const CGraphElement* element)
{
    if (!m_built) return;
    const auto it = m_filed.find(element);
    if (it == m_filed.end()) return;
    for (const CSharedPoint* point : it->second.points) {
        const int n = point->GetNumber();
        if (n >= 0 && std::size_t(n) < m_curvesOn.size()) Erase(m_curvesOn[std::size_t(n)], element);
    }
    if (it->second.askAlways) Erase(m_askAlways, element);
    if (it->second.stale) Erase(m_stale, element);
    m_filed.erase(it);
}

void CPointUsers::ElementChanged(const CGraphElement* element)
{
    if (!m_built) return;
    const auto it = m_filed.find(element);
    if (it == m_filed.end() || it->second.stale) return;
    it->second.stale = true;
    m_stale.push_back(const_cast<CGraphElement*>(element));
}

void CPointUsers::PointAdded()
{
    m_dependantsBuilt = false;
    if (m_built) m_curvesOn.emplace_back();
}

void CPointUsers::PointRemoved(const CSharedPoint* point, int number)
{
    m_dependantsBuilt = false;
    if (!m_built || number < 0 || std::size_t(number) >= m_curvesOn.size()) return;
    // The curves filed under the point forget it: it may be deleted next.
    const auto slot = m_curvesOn.begin() + number;
    for (CGraphElement* curve : *slot) {
        const auto it = m_filed.find(curve);
        if (it == m_filed.end()) continue;
        std::vector<const CSharedPoint*>& points = it->second.points;
        const auto gone = std::find(points.begin(), points.end(), point);
        if (gone != points.end()) points.erase(gone);
    }
    m_curvesOn.erase(slot);
}

void CPointUsers::File(CGraphElement* element, const Pool& pool)
{
    Filed& filed = m_filed[element];
    filed.stale = false;
    if (element->GetType() != ELEMENT_CURVE) {
        filed.askAlways = true;
        m_askAlways.push_back(element);
        return;
    }
    for (const CCurveNode* node : static_cast<CCurveElement*>(element)->Nodes()) {
        const CSharedPoint* point = node ? node->GetPoint() : nullptr;
        if (!point) continue;
        const int n = PoolNumber(point, pool);
        if (n < 0) {
            filed.askAlways = true;
            continue;
        }
        std::vector<CGraphElement*>& on = m_curvesOn[std::size_t(n)];
        // Nodes of one curve may share a point: it is filed once.
        if (std::find(on.begin(), on.end(), element) != on.end()) continue;
        on.push_back(element);
        filed.points.push_back(point);
    }
    if (filed.askAlways) m_askAlways.push_back(element);
}

void CPointUsers::Unfile(const CGraphElement* element, const Pool& pool)
{
    const auto it = m_filed.find(element);
    if (it == m_filed.end()) return;
    for (const CSharedPoint* point : it->second.points) {
        const int n = PoolNumber(point, pool);
        if (n >= 0) Erase(m_curvesOn[std::size_t(n)], element);
    }
    it->second.points.clear();
    if (it->second.askAlways) Erase(m_askAlways, element);
    it->second.askAlways = false;
}

void CPointUsers::Build(const Elements& elements, const Pool& pool)
{
    Reset();
    m_built = true;
    m_curvesOn.resize(pool.size());
    for (CGraphElement* element : elements)
        if (element) File(element, pool);
}

void CPointUsers::Refresh(const Elements& elements, const Pool& pool)
{
    if (!m_built || m_curvesOn.size() != pool.size()) {
        Build(elements, pool);
        return;
    }
    std::vector<CGraphElement*> stale;
    stale.swap(m_stale);
    for (CGraphElement* element : stale) {
        Unfile(element, pool);
        File(element, pool);
    }
}

void CPointUsers::AddUsersOf(const CSharedPoint* point, const Elements& elements, const Pool& pool,
                            std::vector<CGraphElement*>& out)
{
    const int n = PoolNumber(point, pool);
    if (n < 0) {
        for (CGraphElement* element : elements)
            if (element && element->UsesPoint(point)) out.push_back(element);
        return;
    }
    Refresh(elements, pool);
    const std::vector<CGraphElement*>& on = m_curvesOn[std::size_t(n)];
    out.insert(out.end(), on.begin(), on.end());
    for (CGraphElement* element : m_askAlways)
        if (element->UsesPoint(point) && std::find(on.begin(), on.end(), element) == on.end())
            out.push_back(element);
}

const std::vector<CSharedPoint*>& CPointUsers::DependantsOf(const CSharedPoint* point, const Pool& pool)
{
    if (!m_dependantsBuilt) {
        m_dependants.clear();
        for (CSharedPoint* q : pool) {
            CSharedPoint *source = nullptr, *axis1 = nullptr, *axis2 = nullptr;
            q->GetMirror(source, axis1, axis2);
            for (const CSharedPoint* on : {source, axis1, axis2})
                if (on) m_dependants[on].push_back(q);
        }
        m_dependantsBuilt = true;
    }
    static const std::vector<CSharedPoint*> kNone;
    const auto it = m_dependants.find(point);
    return it == m_dependants.end() ? kNone : it->second;
}
