#include "grading/CResultPageLayout.h"

#include "grading/GradingIds.h"
#include "grading/GradingTexts.h"

#include "geometry/Distance.h"
#include "model/CPageSet.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

int Clamp(long long v)
{
    return int(std::max<long long>(INT_MIN + 1LL, std::min<long long>(INT_MAX - 1LL, v)));
}

// The page set's margin: 0 top, 1 bottom, 2 left, 3 right.
int Margin(const CPageSet& pageSet, int which)
{
    int m[4];
    pageSet.GetMargins(m[0], m[1], m[2], m[3]);
    return m[which];
}

} // namespace

CResultPageLayout::CResultPageLayout(const CPageSet& pageSet, const CResultStyle& style, Kind kind)
    : CResultPageLayout(pageSet.GetPaperSize(), Margin(pageSet, 0), Margin(pageSet, 1), Margin(pageSet, 2),
                        Margin(pageSet, 3), style, kind)
{
}

CResultPageLayout::CResultPageLayout(const CSize& paper, int top, int bottom, int left, int right,
                                     const CResultStyle& style, Kind kind)
    : m_kind(kind), m_workUnit(style.workUnit), m_top(top), m_left(left)
{
    // A font height below 0 means the same size as above it (the height
    // of the characters rather than of the cell).
    m_fontHeight = std::abs(double(style.font.lfHeight));
    const long long e1 = style.borderWidth - style.innerWidth / 2;
    const long long e2 = style.borderWidth + style.innerWidth / 2;
    m_full = CRect(Clamp(left + e1), Clamp(3LL * top + e1), Clamp(paper.cx - 2LL * right - e2),
                   Clamp(paper.cy - 2LL * bottom - e2));
    m_rowStep = RoundToInt(1.5 * m_fontHeight);
    if (m_rowStep <= 0) return;
    const long long from = kind == Kind::Body ? m_full.top : top + e1;
    const long long rows = ((long long)m_full.bottom - from) / m_rowStep;
    m_rowsPerPage = int(std::max<long long>(0, std::min<long long>(rows, INT_MAX)));
}

std::vector<int> CResultPageLayout::PageRows(int rows) const
{
    const int n = m_rowsPerPage;
    bool onePage = false;
    switch (m_kind) {
    case Kind::Body:
    case Kind::Result: onePage = rows <= n; break;
    case Kind::Special: onePage = rows - 1 <= n; break;
    }
    if (onePage || n < 2) return {rows};
    const int data = rows - 1;
    const int perPage = n - 1;
    const int pages = data / perPage + (data % perPage ? 1 : 0);
    std::vector<int> out(std::size_t(pages), n);
    out.back() = data - (pages - 1) * perPage + 1;
    return out;
}

int CResultPageLayout::Bottom(long long rows) const
{
    return Clamp(3LL * m_top + RoundToInt(double(rows) * 1.5 * m_fontHeight));
}

CRect CResultPageLayout::TableRect(int page, int pageCount, int rowsOnPage) const
{
    CRect r = m_full;
    if (pageCount <= 1) {
        r.bottom = Bottom(m_kind == Kind::Result ? rowsOnPage + 1LL : rowsOnPage);
    } else if (page == pageCount - 1) {
        r.bottom = Bottom(rowsOnPage);
    }
    return r;
}

std::string CResultPageLayout::UnitText() const
{
    int id = IDS_UNIT_MM;
    if (m_workUnit == 0 || m_workUnit == 1) id = IDS_UNIT_INCH;
    else if (m_workUnit == 2) id = IDS_UNIT_CM;
    return GbkResString(id) + ")";
}

std::string CResultPageLayout::PageLabel(int page, int pageCount)
{
    if (pageCount <= 1) return GbkResString(IDS_ONE_PAGE_LABEL);
    return std::to_string(page + 1) + "/" + std::to_string(pageCount);
}
