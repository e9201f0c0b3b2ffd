#include "model/CPageSet.h"

#include "model/CPage.h"
#include "platform/CArchive.h"

#include <algorithm>

namespace {
// maxLevel, point count and element count of an empty page.
constexpr std::size_t kMinPageRecord = 12;
}  // namespace

bool CPageSet::IsSoundLayout(int unitsPerMM, const CSize& paper, int top, int bottom, int left, int right)
{
    if (unitsPerMM <= 0) return false;
    const long long smallest = static_cast<long long>(kSmallestPaperSideMM) * unitsPerMM;
    const long long largest = static_cast<long long>(kLargestPaperSideMM) * unitsPerMM;
    auto sideFits = [&](long long side, long long low, long long high) {
        return side > smallest && side <= largest && low >= 0 && high >= 0 && low + high < side;
    };
    return sideFits(paper.cx, left, right) && sideFits(paper.cy, top, bottom);
}

CPageSet::CPageSet(int version, int unitsPerMM) : m_version(version), m_unitsPerMM(unitsPerMM) {}

CPageSet::~CPageSet()
{
    DeleteAllPages();
}

void CPageSet::DeleteAllPages()
{
    for (CPage* page : m_pages) delete page;
    m_pages.clear();
}

void CPageSet::GetMargins(int& top, int& bottom, int& left, int& right) const
{
    top = m_marginTop;
    bottom = m_marginBottom;
    left = m_marginLeft;
    right = m_marginRight;
}

void CPageSet::SetMargins(int top, int bottom, int left, int right)
{
    m_marginTop = top;
    m_marginBottom = bottom;
    m_marginLeft = left;
    m_marginRight = right;
}

void CPageSet::InsertPage(int i)
{
    if (i < 0 || i > GetPageCount()) return;
    m_pages.insert(m_pages.begin() + i, new CPage(this));
}

void CPageSet::RemovePage(int i)
{
    if (i < 0 || i >= GetPageCount()) return;
    delete m_pages[std::size_t(i)];
    m_pages.erase(m_pages.begin() + i);
    m_pages.shrink_to_fit();
}

// Per-page forwarding --------------------------------------------------------

void CPageSet::AddPointToPage(int i, CSharedPoint* point) { GetPageAt(i)->AddPoint(point); }
void CPageSet::AddPoint(CSharedPoint* point) { AddPointToPage(m_currentPage, point); }

void CPageSet::InvalidateElementsUsingPoint(int i, CSharedPoint* point)
{
    GetPageAt(i)->InvalidateElementsUsingPoint(point);
}
void CPageSet::InvalidateElementsUsingPoint(CSharedPoint* point)
{
    InvalidateElementsUsingPoint(m_currentPage, point);
}

int CPageSet::GetPageMaxLevel(int i) const { return GetPageAt(i)->GetMaxLevel(); }
int CPageSet::GetPageMaxLevel() const { return GetPageMaxLevel(m_currentPage); }

int CPageSet::GetElementCount(int i) const { return GetPageAt(i)->GetElementCount(); }
int CPageSet::GetElementCount() const { return GetElementCount(m_currentPage); }

POSITION CPageSet::GetFirstElementPosition(int i) const
{
    return GetPageAt(i)->GetFirstElementPosition();
}
POSITION CPageSet::GetFirstElementPosition() const { return GetFirstElementPosition(m_currentPage); }

CGraphElement* CPageSet::GetNextElement(int i, POSITION& pos) const
{
    return GetPageAt(i)->GetNextElement(pos);
}
CGraphElement* CPageSet::GetNextElement(POSITION& pos) const
{
    return GetNextElement(m_currentPage, pos);
}

void CPageSet::AddElementToPage(int i, CGraphElement* element) { GetPageAt(i)->AddElement(element); }
void CPageSet::AddElementToPage(CGraphElement* element) { AddElementToPage(m_currentPage, element); }

void CPageSet::RemoveElementFromPage(int i, CGraphElement* element)
{
    GetPageAt(i)->RemoveElement(element);
}
void CPageSet::RemoveElementFromPage(CGraphElement* element)
{
    RemoveElementFromPage(m_currentPage, element);
}

int CPageSet::FindNearestCornerNode(int i, int x, int y, double tolerance, CCurveElement*& curve,
                                    CCurveNode*& node, double& distance) const
{
    return GetPageAt(i)->FindNearestCornerNode(x, y, tolerance, curve, node, distance);
}
int CPageSet::FindNearestCornerNode(int x, int y, double tolerance, CCurveElement*& curve,
                                    CCurveNode*& node, double& distance) const
{
    return FindNearestCornerNode(m_currentPage, x, y, tolerance, curve, node, distance);
}

int CPageSet::FindNearestNode(int i, int x, int y, double tolerance, CCurveElement*& curve,
                              CCurveNode*& node, double& distance) const
{
    return GetPageAt(i)->FindNearestNode(x, y, tolerance, curve, node, distance);
}
int CPageSet::FindNearestNode(int x, int y, double tolerance, CCurveElement*& curve,
                              CCurveNode*& node, double& distance) const
{
    return FindNearestNode(m_currentPage, x, y, tolerance, curve, node, distance);
}

int CPageSet::HitTestElement(int i, int x, int y, double tolerance, int kindMask,
                             CGraphElement*& element, CPoint& point, double& distance) const
{
    return GetPageAt(i)->HitTestElement(x, y, tolerance, kindMask, element, point, distance);
}
int CPageSet::HitTestElement(int x, int y, double tolerance, int kindMask,
                             CGraphElement*& element, CPoint& point, double& distance) const
{
    return HitTestElement(m_currentPage, x, y, tolerance, kindMask, element, point, distance);
}

int CPageSet::HitTestOpenCurve(int i, int x, int y, double tolerance, CCurveElement*& curve,
                               CPoint& point, double& distance) const
{
    return GetPageAt(i)->HitTestOpenCurve(x, y, tolerance, curve, point, distance);
}
int CPageSet::HitTestOpenCurve(int x, int y, double tolerance, CCurveElement*& curve,
                               CPoint& point, double& distance) const
{
    return HitTestOpenCurve(m_currentPage, x, y, tolerance, curve, point, distance);
}

int CPageSet::HitTestClosedCurve(int i, int x, int y, double tolerance, CCurveElement*& curve,
                                 CPoint& point, double& distance) const
{
    return GetPageAt(i)->HitTestClosedCurve(x, y, tolerance, curve, point, distance);
}
int CPageSet::HitTestClosedCurve(int x, int y, double tolerance, CCurveElement*& curve,
                                 CPoint& point, double& distance) const
{
    return HitTestClosedCurve(m_currentPage, x, y, tolerance, curve, point, distance);
}

int CPageSet::FindClosedCurveAt(int i, int x, int y, CCurveElement*& curve) const
{
    return GetPageAt(i)->FindClosedCurveAt(x, y, curve);
}
int CPageSet::FindClosedCurveAt(int x, int y, CCurveElement*& curve) const
{
    return FindClosedCurveAt(m_currentPage, x, y, curve);
}

int CPageSet::GetElementsInDragRect(const CPoint& a, const CPoint& b, int kindMask,
                                    CList<CGraphElement*>& out) const
{
    const CRect rect(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
                     std::max(a.y, b.y) + 1);
    return GetCurrentPage()->GetElementsInRect(rect, kindMask, out);
}

int CPageSet::FindNearestIntersection(int i, int x, int y, double tolerance,
                                      CCurveElement*& curve1, CCurveElement*& curve2,
                                      CPoint& point, double& distance) const
{
    return GetPageAt(i)->FindNearestIntersection(x, y, tolerance, curve1, curve2, point, distance);
}
int CPageSet::FindNearestIntersection(int x, int y, double tolerance, CCurveElement*& curve1,
                                      CCurveElement*& curve2, CPoint& point,
                                      double& distance) const
{
    return FindNearestIntersection(m_currentPage, x, y, tolerance, curve1, curve2, point, distance);
}

CCurveElement* CPageSet::FindNearestIntersectionWith(int i, int x, int y, double tolerance,
                                                     CCurveElement* curve, CPoint& point,
                                                     double& distance) const
{
    return GetPageAt(i)->FindNearestIntersectionWith(x, y, tolerance, curve, point, distance);
}
CCurveElement* CPageSet::FindNearestIntersectionWith(int x, int y, double tolerance,
                                                     CCurveElement* curve, CPoint& point,
                                                     double& distance) const
{
    return FindNearestIntersectionWith(m_currentPage, x, y, tolerance, curve, point, distance);
}

int CPageSet::HitTestImage(int i, int x, int y, CGraphElement*& element) const
{
    return GetPageAt(i)->HitTestImage(x, y, element);
}
int CPageSet::HitTestImage(int x, int y, CGraphElement*& element) const
{
    return HitTestImage(m_currentPage, x, y, element);
}

int CPageSet::HitTestText(int i, int x, int y, CGraphElement*& element) const
{
    return GetPageAt(i)->HitTestText(x, y, element);
}
int CPageSet::HitTestText(int x, int y, CGraphElement*& element) const
{
    return HitTestText(m_currentPage, x, y, element);
}

int CPageSet::HitTestTable(int i, int x, int y, CGraphElement*& element) const
{
    return GetPageAt(i)->HitTestTable(x, y, element);
}
int CPageSet::HitTestTable(int x, int y, CGraphElement*& element) const
{
    return HitTestTable(m_currentPage, x, y, element);
}

void CPageSet::DrawPage(int i, CDC* dc, double scale, int originX, int originY,
                        const CRect& clip) const
{
    GetPageAt(i)->Draw(dc, scale, originX, originY, clip);
}
void CPageSet::DrawCurrentPage(CDC* dc, double scale, int originX, int originY,
                               const CRect& clip) const
{
    DrawPage(m_currentPage, dc, scale, originX, originY, clip);
}

// Record and copy -------------------------------------------------------------

int CPageSet::Load(CArchive& ar)
{
    std::uint32_t magic = 0;
    ar >> magic;
    if (magic != PAGESET_MAGIC) return 0;

    std::uint32_t version = 0;
    ar >> version;
    // The pages' records test the file's version while they load; the page
    // set holds the current version again afterwards, also after a failure.
    m_version = int(version);
    struct VersionReset {
        int& version;
        ~VersionReset() { version = PAGESET_VERSION; }
    } versionReset{m_version};

    std::uint16_t reservedWord = 0;
    ar >> reservedWord;
    for (int k = 0; k < 17; ++k) {
        std::uint32_t reserved = 0;
        ar >> reserved;
    }
    std::int32_t unitsPerMM = 0;
    std::int32_t top = 0, bottom = 0, left = 0, right = 0, reserved = 0, count = 0;
    CSize paper;
    ar >> unitsPerMM >> paper >> top >> bottom >> left >> right >> reserved >> count;
    // Every length is a multiple of this; nothing sensible follows from a
    // page set that claims none.
    if (unitsPerMM <= 0) throw CArchiveError("bad units per millimetre");
    // Painting and printing work out the margin frame from these; values
    // no page-size dialog lets through come only from damage.
    if (!IsSoundLayout(unitsPerMM, paper, top, bottom, left, right))
        throw CArchiveError("paper or margins out of bounds");
    // The view always shows a current page.
    if (count <= 0) throw CArchiveError("page set without pages");
    ar.RequireItems(count, kMinPageRecord);

    m_unitsPerMM = unitsPerMM;
    m_paper = paper;
    SetMargins(top, bottom, left, right);
    m_reserved = reserved;
    DeleteAllPages();
    m_pages.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        m_pages.push_back(new CPage(this));
        m_pages.back()->Load(ar);
    }
    return 1;
}

int CPageSet::Store(CArchive& ar) const
{
    ar << std::uint32_t(PAGESET_MAGIC) << std::uint32_t(m_version) << std::uint16_t(0);
    for (int k = 0; k < 17; ++k) ar << std::uint32_t(0);
    ar << std::int32_t(m_unitsPerMM) << m_paper;
    ar << std::int32_t(m_marginTop) << std::int32_t(m_marginBottom) << std::int32_t(m_marginLeft)
       << std::int32_t(m_marginRight) << std::int32_t(m_reserved);
    ar << std::int32_t(GetPageCount());
    for (const CPage* page : m_pages) page->Store(ar);
    return 1;
}

void CPageSet::CopyFrom(const CPageSet& other)
{
    if (&other == this) return;
    m_version = other.m_version;
    m_unitsPerMM = other.m_unitsPerMM;
    m_paper = other.m_paper;
    SetMargins(other.m_marginTop, other.m_marginBottom, other.m_marginLeft, other.m_marginRight);
    m_reserved = other.m_reserved;
    m_currentPage = other.m_currentPage;
    DeleteAllPages();
    m_pages.reserve(other.m_pages.size());
    for (const CPage* source : other.m_pages) {
        m_pages.push_back(new CPage(this));
        m_pages.back()->CopyFrom(*source);
    }
}
