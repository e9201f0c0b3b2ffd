// The whole content of a document: paper size and margins shared by every
// page, the units of all lengths, the page being edited and the pages. The
// page-set record is the body of the document file, the backup file and the
// clipboard and server formats.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <vector>

class CArchive;
class CCurveElement;
class CCurveNode;
class CDC;
class CGraphElement;
class CPage;
class CSharedPoint;

constexpr DWORD PAGESET_MAGIC = 0x9C56DF8A;
constexpr int PAGESET_VERSION = 107;

class CPageSet {
public:
    CPageSet(int version = PAGESET_VERSION, int unitsPerMM = 100);
    ~CPageSet();

    CPageSet(const CPageSet&) = delete;
    CPageSet& operator=(const CPageSet&) = delete;

    // While pages load this is the file's version; 107 otherwise.
    int GetVersion() const { return m_version; }
    int GetUnitsPerMM() const { return m_unitsPerMM; }
    CSize GetPaperSize() const { return m_paper; }
    void SetPaperSize(int cx, int cy) { m_paper = CSize(cx, cy); }
    void GetMargins(int& top, int& bottom, int& left, int& right) const;
    void SetMargins(int top, int bottom, int left, int right);
    int GetReserved() const { return m_reserved; }
    // Not range-checked: the document and the view keep it in range.
    int GetCurrentPageIndex() const { return m_currentPage; }
    void SetCurrentPageIndex(int index) { m_currentPage = index; }
    int GetPageCount() const { return int(m_pages.size()); }

    // No range check.
    CPage* GetPageAt(int i) const { return m_pages[std::size_t(i)]; }
    CPage* GetCurrentPage() const { return GetPageAt(m_currentPage); }

    // A new empty page at 0 <= i <= count; any other i does nothing. The
    // current page index is left to the caller.
    void InsertPage(int i);
    void InsertPageAtFront() { InsertPage(0); }
    void AppendPage() { InsertPage(GetPageCount()); }
    // Deletes the page at 0 <= i < count; any other i does nothing.
    void RemovePage(int i);

    // Per-page operations: the first form names the page, the second acts
    // on the current page.
    void AddPointToPage(int i, CSharedPoint* point);
    void AddPoint(CSharedPoint* point);
    void InvalidateElementsUsingPoint(int i, CSharedPoint* point);
    void InvalidateElementsUsingPoint(CSharedPoint* point);
    int GetPageMaxLevel(int i) const;
    int GetPageMaxLevel() const;
    int GetElementCount(int i) const;
    int GetElementCount() const;
    POSITION GetFirstElementPosition(int i) const;
    POSITION GetFirstElementPosition() const;
    CGraphElement* GetNextElement(int i, POSITION& pos) const;
    CGraphElement* GetNextElement(POSITION& pos) const;
    void AddElementToPage(int i, CGraphElement* element);
    void AddElementToPage(CGraphElement* element);
    void RemoveElementFromPage(int i, CGraphElement* element);
    void RemoveElementFromPage(CGraphElement* element);
    int FindNearestCornerNode(int i, int x, int y, double tolerance, CCurveElement*& curve,
                              CCurveNode*& node, double& distance) const;
    int FindNearestCornerNode(int x, int y, double tolerance, CCurveElement*& curve,
                              CCurveNode*& node, double& distance) const;
    int FindNearestNode(int i, int x, int y, double tolerance, CCurveElement*& curve,
                        CCurveNode*& node, double& distance) const;
    int FindNearestNode(int x, int y, double tolerance, CCurveElement*& curve, CCurveNode*& node,
                        double& distance) const;
    int HitTestElement(int i, int x, int y, double tolerance, int kindMask,
                       CGraphElement*& element, CPoint& point, double& distance) const;
    int HitTestElement(int x, int y, double tolerance, int kindMask, CGraphElement*& element,
                       CPoint& point, double& distance) const;
    int HitTestOpenCurve(int i, int x, int y, double tolerance, CCurveElement*& curve,
                         CPoint& point, double& distance) const;
    int HitTestOpenCurve(int x, int y, double tolerance, CCurveElement*& curve, CPoint& point,
                         double& distance) const;
    int HitTestClosedCurve(int i, int x, int y, double tolerance, CCurveElement*& curve,
                           CPoint& point, double& distance) const;
    int HitTestClosedCurve(int x, int y, double tolerance, CCurveElement*& curve, CPoint& point,
                           double& distance) const;
    int FindClosedCurveAt(int i, int x, int y, CCurveElement*& curve) const;
    int FindClosedCurveAt(int x, int y, CCurveElement*& curve) const;
    // Current page only: the rectangle spanned by the two points, both
    // included.
    int GetElementsInDragRect(const CPoint& a, const CPoint& b, int kindMask,
                              CList<CGraphElement*>& out) const;
    int FindNearestIntersection(int i, int x, int y, double tolerance, CCurveElement*& curve1,
                                CCurveElement*& curve2, CPoint& point, double& distance) const;
    int FindNearestIntersection(int x, int y, double tolerance, CCurveElement*& curve1,
                                CCurveElement*& curve2, CPoint& point, double& distance) const;
    CCurveElement* FindNearestIntersectionWith(int i, int x, int y, double tolerance,
                                               CCurveElement* curve, CPoint& point,
                                               double& distance) const;
    CCurveElement* FindNearestIntersectionWith(int x, int y, double tolerance,
                                               CCurveElement* curve, CPoint& point,
                                               double& distance) const;
    int HitTestImage(int i, int x, int y, CGraphElement*& element) const;
    int HitTestImage(int x, int y, CGraphElement*& element) const;
    int HitTestText(int i, int x, int y, CGraphElement*& element) const;
    int HitTestText(int x, int y, CGraphElement*& element) const;
    int HitTestTable(int i, int x, int y, CGraphElement*& element) const;
    int HitTestTable(int x, int y, CGraphElement*& element) const;
    void DrawPage(int i, CDC* dc, double scale, int originX, int originY,
                  const CRect& clip) const;
    void DrawCurrentPage(CDC* dc, double scale, int originX, int originY,
                         const CRect& clip) const;

    // The bounds of a paper side a document may have: more than the
    // page-size dialog's smallest, and at most 100 m, well past the 10 m
    // our dialog gives, so that no paper another version made is refused.
    static constexpr int kSmallestPaperSideMM = 50;
    static constexpr int kLargestPaperSideMM = 100000;
    // Paper and margins a document may have: each side of the paper within
    // the bounds above, no margin below 0, and the two margins across a
    // side less than the paper there. All lengths in units of `unitsPerMM`
    // to the millimetre; anything else comes only from damage.
    static bool IsSoundLayout(int unitsPerMM, const CSize& paper, int top, int bottom, int left, int right);

    // Record. Load returns 0 for a wrong magic (nothing else read, the page
    // set unchanged) and throws CArchiveError on a damaged record, a page
    // set without pages and paper or margins out of IsSoundLayout's bounds
    // included. Load into a fresh page set: a failed load leaves it partly
    // filled.
    int Load(CArchive& ar);
    int Store(CArchive& ar) const;
    // Deep copy; shares nothing with the source but the client items of
    // embedded objects.
    void CopyFrom(const CPageSet& other);

private:
    void DeleteAllPages();

    int m_version;
    int m_unitsPerMM;
    CSize m_paper{21000, 29700};
    int m_marginTop = 0;
    int m_marginBottom = 0;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    int m_reserved = 0;
    int m_currentPage = 0;
    std::vector<CPage*> m_pages;
};
