// What stands on each shared point of a page: the curves whose nodes use
// it, and the points mirrored from it or across it. Moving a point marks
// exactly these dirty, so a drag or a batch of moves costs what the moved
// points carry instead of a walk over the whole page per point.
//
// Curves are filed by the pool number of each point they use (the page
// keeps the numbers up to date). Everything is built on the first question
// after a reset, so pages whose points never move with notification cost
// nothing. The page reports its changes: elements added or removed, a
// curve that may have new nodes (it is filed again at the next question),
// points added to or taken off the pool, and mirror links that changed
// (the mirror dependants are gathered again at the next question).
//
// Other kinds of elements are few and are asked on every question, and so
// is a curve standing on a point outside the pool (it cannot be filed by
// number); a question about a point outside the pool asks every element.
// So the answers are always those of a walk over the page.
#pragma once

#include "platform/CList.h"

#include <unordered_map>
#include <vector>

class CGraphElement;
class CSharedPoint;

class CPointUsers {
public:
    using Elements = CList<CGraphElement*>;
    using Pool = std::vector<CSharedPoint*>;

    void Reset();

    void ElementAdded(CGraphElement* element);
    void ElementRemoved(const CGraphElement* element);
    void ElementChanged(const CGraphElement* element);
    // A point was appended to the pool.
    void PointAdded();
    // The point numbered `number` is leaving the pool (told before it goes);
    // the numbers after it then move down by one.
    void PointRemoved(const CSharedPoint* point, int number);
    void LinksChanged() { m_dependantsBuilt = false; }

    // Appends the elements standing on `point` to `out` (an element may
    // come more than once when asked about several points).
    void AddUsersOf(const CSharedPoint* point, const Elements& elements, const Pool& pool,
                    std::vector<CGraphElement*>& out);
    // The points whose mirror source or axis `point` is.
    const std::vector<CSharedPoint*>& DependantsOf(const CSharedPoint* point, const Pool& pool);

private:
    struct Filed {
        // The pooled points the curve stood on when it was filed.
        std::vector<const CSharedPoint*> points;
        // Asked on every question: not a curve, or a curve on a point
        // outside the pool.
        bool askAlways = false;
        bool stale = false;
    };

    void Build(const Elements& elements, const Pool& pool);
    void File(CGraphElement* element, const Pool& pool);
    void Unfile(const CGraphElement* element, const Pool& pool);
    void Refresh(const Elements& elements, const Pool& pool);

    bool m_built = false;
    // Curves by the pool number of the point they stand on.
    std::vector<std::vector<CGraphElement*>> m_curvesOn;
    std::unordered_map<const CGraphElement*, Filed> m_filed;
    std::vector<CGraphElement*> m_stale;
    std::vector<CGraphElement*> m_askAlways;

    bool m_dependantsBuilt = false;
    std::unordered_map<const CSharedPoint*, std::vector<CSharedPoint*>> m_dependants;
};
