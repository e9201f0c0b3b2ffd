#include "model/CPageIndex.h"

#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CGraphElement.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// A curve covering more cells than this is tested on every search instead
// (a frame round the whole page would otherwise sit in every cell).
constexpr std::int64_t kBigCurveCells = 64;
// A search over more cells than this walks all records instead.
constexpr std::int64_t kMaxSearchCells = 4096;

int CellOf(int v, int size)
{
    const std::int64_t q = std::int64_t(v) / size;
    return int(v < 0 && std::int64_t(v) % size != 0 ? q - 1 : q);
}

std::uint64_t KeyOf(int cx, int cy)
{
    return (std::uint64_t(std::uint32_t(cx)) << 32) | std::uint32_t(cy);
}

bool Meets(const CRect& a, const CRect& b)
{
    CRect common;
    return common.IntersectRect(a, b) != FALSE;
}

// The cells (inclusive) that a rectangle with exclusive right and bottom
// covers; false for an empty rectangle.
bool CellRange(const CRect& r, int size, int& left, int& top, int& right, int& bottom)
{
    if (r.IsRectEmpty()) return false;
    left = CellOf(r.left, size);
    top = CellOf(r.top, size);
    right = CellOf(r.right - 1, size);
    bottom = CellOf(r.bottom - 1, size);
    return true;
}

std::int64_t CellCount(int left, int top, int right, int bottom)
{
    return (std::int64_t(right) - left + 1) * (std::int64_t(bottom) - top + 1);
}

int SaturatedNext(int v)
{
    return v == INT_MAX ? v : v + 1;
}

}  // namespace

void CPageIndex::Reset()
{
    m_built = false;
    m_builtCurves = 0;
    m_records.clear();
    m_freeSlots.clear();
    m_slotOf.clear();
    m_stale.clear();
    m_big.clear();
    m_others.clear();
    m_curveCells.clear();
    m_nodeCells.clear();
}

std::uint32_t CPageIndex::NewSlot(CGraphElement* element)
{
    std::uint32_t slot;
    if (!m_freeSlots.empty()) {
        slot = m_freeSlots.back();
        m_freeSlots.pop_back();
        m_records[slot] = Record();
    } else {
        slot = std::uint32_t(m_records.size());
        m_records.emplace_back();
    }
    Record& record = m_records[slot];
    record.element = element;
    record.order = m_nextOrder++;
    record.curve = element->GetType() == ELEMENT_CURVE;
    m_slotOf.emplace(element, slot);
    return slot;
}

std::size_t CPageIndex::LiveCurves() const
{
    return m_slotOf.size() - m_others.size();
}

void CPageIndex::ElementAdded(CGraphElement* element)
{
    if (!m_built || !element || m_slotOf.count(element)) return;
    const std::uint32_t slot = NewSlot(element);
    Record& record = m_records[slot];
    if (record.curve) {
        record.stale = true;
        m_stale.push_back(slot);
    } else {
        m_others.push_back(slot);
    }
}

void CPageIndex::ElementRemoved(const CGraphElement* element)
{
    if (!m_built) return;
    const auto found = m_slotOf.find(element);
    if (found == m_slotOf.end()) return;
    const std::uint32_t slot = found->second;
    m_slotOf.erase(found);
    Unfile(slot);
    if (!m_records[slot].curve) m_others.erase(std::find(m_others.begin(), m_others.end(), slot));
    m_records[slot] = Record();
    m_freeSlots.push_back(slot);
}

void CPageIndex::ElementChanged(const CGraphElement* element)
{
    if (!m_built) return;
    const auto found = m_slotOf.find(element);
    if (found == m_slotOf.end()) return;
    Record& record = m_records[found->second];
    if (!record.curve || record.stale) return;
    record.stale = true;
    m_stale.push_back(found->second);
}

void CPageIndex::Measure(Record& record)
{
    auto* curve = static_cast<CCurveElement*>(record.element);
    record.nodes.clear();
    record.nodes.reserve(std::size_t(curve->GetNodeCount()));
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    const auto take = [&](const CPoint& p) {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    };
    for (CCurveNode* node : curve->Nodes()) {
        const CPoint p = node->GetPosition();
        record.nodes.push_back({node, p});
        take(p);
    }
    for (const CPoint& p : curve->Outline()) take(p);
    record.extent = left <= right ? CRect(left, top, SaturatedNext(right), SaturatedNext(bottom)) : CRect();
    const CRect bounds = record.element->GetBoundRect();
    if (!bounds.IsRectEmpty()) record.extent.UnionRect(record.extent, bounds);
}

void CPageIndex::File(std::uint32_t slot)
{
    Record& record = m_records[slot];
    record.filed = true;
    record.big = false;
    int left = 0, top = 0, right = -1, bottom = -1;
    if (CellRange(record.extent, m_curveCell, left, top, right, bottom)) {
        if (CellCount(left, top, right, bottom) > kBigCurveCells) {
            record.big = true;
            m_big.push_back(slot);
        } else {
            for (int cx = left; cx <= right; ++cx)
                for (int cy = top; cy <= bottom; ++cy) m_curveCells[KeyOf(cx, cy)].push_back(slot);
            record.cellLeft = left;
            record.cellTop = top;
            record.cellRight = right;
            record.cellBottom = bottom;
        }
    }
    for (std::size_t i = 0; i < record.nodes.size(); ++i) {
        const CPoint& p = record.nodes[i].position;
        m_nodeCells[KeyOf(CellOf(p.x, m_nodeCell), CellOf(p.y, m_nodeCell))].push_back(
            {slot, std::uint32_t(i)});
    }
}

void CPageIndex::Unfile(std::uint32_t slot)
{
    Record& record = m_records[slot];
    if (!record.filed) return;
    record.filed = false;
    if (record.big) {
        m_big.erase(std::find(m_big.begin(), m_big.end(), slot));
    } else {
        for (int cx = record.cellLeft; cx <= record.cellRight; ++cx) {
            for (int cy = record.cellTop; cy <= record.cellBottom; ++cy) {
                const auto cell = m_curveCells.find(KeyOf(cx, cy));
                if (cell == m_curveCells.end()) continue;
                std::vector<std::uint32_t>& slots = cell->second;
                const auto at = std::find(slots.begin(), slots.end(), slot);
                if (at != slots.end()) {
                    *at = slots.back();
                    slots.pop_back();
                }
                if (slots.empty()) m_curveCells.erase(cell);
            }
        }
    }
    record.cellRight = record.cellBottom = -1;
    for (const IndexedNode& node : record.nodes) {
        const auto cell = m_nodeCells.find(
            KeyOf(CellOf(node.position.x, m_nodeCell), CellOf(node.position.y, m_nodeCell)));
        if (cell == m_nodeCells.end()) continue;
        std::vector<NodeEntry>& entries = cell->second;
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [slot](const NodeEntry& e) { return e.slot == slot; }),
                      entries.end());
        if (entries.empty()) m_nodeCells.erase(cell);
    }
}

void CPageIndex::ChooseCellSizes()
{
    // Node cells hold about four nodes of an even spread; curve cells are
    // about as large as a typical curve, so a curve sits in a few of them.
    std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    std::size_t nodes = 0;
    std::vector<int> sizes;
    for (const Record& record : m_records) {
        if (!record.element || !record.curve || record.extent.IsRectEmpty()) continue;
        left = std::min<std::int64_t>(left, record.extent.left);
        top = std::min<std::int64_t>(top, record.extent.top);
        right = std::max<std::int64_t>(right, record.extent.right);
        bottom = std::max<std::int64_t>(bottom, record.extent.bottom);
        nodes += record.nodes.size();
        sizes.push_back(std::max(record.extent.Width(), record.extent.Height()));
    }
    constexpr double kLargest = double(1 << 24);
    if (!sizes.empty()) {
        const double area = double(right - left) * double(bottom - top);
        const double perCell = std::max(1.0, double(nodes) / 4.0);
        m_nodeCell = int(std::clamp(std::sqrt(area / perCell), 16.0, kLargest));
        std::nth_element(sizes.begin(), sizes.begin() + std::ptrdiff_t(sizes.size() / 2), sizes.end());
        m_curveCell = int(std::clamp(double(sizes[sizes.size() / 2]), 64.0, kLargest));
    }
}

void CPageIndex::Build(const CList<CGraphElement*>& elements)
{
    Reset();
    for (CGraphElement* element : elements) {
        if (!element || m_slotOf.count(element)) continue;
        const std::uint32_t slot = NewSlot(element);
        if (m_records[slot].curve)
            Measure(m_records[slot]);
        else
            m_others.push_back(slot);
    }
    ChooseCellSizes();
    for (std::uint32_t slot = 0; slot < m_records.size(); ++slot)
        if (m_records[slot].curve) File(slot);
    m_built = true;
    m_builtCurves = LiveCurves();
}

void CPageIndex::Update(const CList<CGraphElement*>& elements)
{
    // A page that has grown well past the size the cells were chosen for
    // is indexed afresh.
    if (!m_built || LiveCurves() > 2 * std::max<std::size_t>(m_builtCurves, 256)) {
        Build(elements);
        return;
    }
    if (m_stale.empty()) return;
    std::vector<std::uint32_t> stale;
    stale.swap(m_stale);
    for (const std::uint32_t slot : stale) {
        Record& record = m_records[slot];
        if (!record.element || !record.stale) continue;
        Unfile(slot);
        record.stale = false;
        Measure(record);
        File(slot);
    }
}

void CPageIndex::CurvesMeeting(const CRect& area, std::vector<CCurveElement*>& out)
{
    out.clear();
    int left = 0, top = 0, right = -1, bottom = -1;
    if (!CellRange(area, m_curveCell, left, top, right, bottom)) return;
    if (++m_stamp == 0) {
        for (Record& record : m_records) record.stamp = 0;
        m_stamp = 1;
    }
    std::vector<std::pair<std::uint64_t, CCurveElement*>> found;
    const auto consider = [&](std::uint32_t slot) {
        Record& record = m_records[slot];
        if (record.stamp == m_stamp) return;
        record.stamp = m_stamp;
        if (Meets(record.extent, area))
            found.emplace_back(record.order, static_cast<CCurveElement*>(record.element));
    };
    if (CellCount(left, top, right, bottom) > kMaxSearchCells) {
        for (std::uint32_t slot = 0; slot < m_records.size(); ++slot)
            if (m_records[slot].element && m_records[slot].curve) consider(slot);
    } else {
        for (int cx = left; cx <= right; ++cx) {
            for (int cy = top; cy <= bottom; ++cy) {
                const auto cell = m_curveCells.find(KeyOf(cx, cy));
                if (cell == m_curveCells.end()) continue;
                for (const std::uint32_t slot : cell->second) consider(slot);
            }
        }
        for (const std::uint32_t slot : m_big) consider(slot);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    out.reserve(found.size());
    for (const auto& entry : found) out.push_back(entry.second);
}

void CPageIndex::NodesIn(const CRect& area, std::vector<NodeHit>& out)
{
    out.clear();
    int left = 0, top = 0, right = -1, bottom = -1;
    if (!CellRange(area, m_nodeCell, left, top, right, bottom)) return;
    const auto take = [&](std::uint32_t slot, std::uint32_t ordinal) {
        const Record& record = m_records[slot];
        const IndexedNode& node = record.nodes[ordinal];
        if (area.PtInRect(node.position))
            out.push_back({record.order, int(ordinal), static_cast<CCurveElement*>(record.element),
                           node.node});
    };
    if (CellCount(left, top, right, bottom) > kMaxSearchCells) {
        for (std::uint32_t slot = 0; slot < m_records.size(); ++slot) {
            const Record& record = m_records[slot];
            if (!record.element || !record.curve || !record.filed) continue;
            for (std::uint32_t i = 0; i < record.nodes.size(); ++i) take(slot, i);
        }
    } else {
        for (int cx = left; cx <= right; ++cx) {
            for (int cy = top; cy <= bottom; ++cy) {
                const auto cell = m_nodeCells.find(KeyOf(cx, cy));
                if (cell == m_nodeCells.end()) continue;
                for (const NodeEntry& entry : cell->second) take(entry.slot, entry.ordinal);
            }
        }
    }
    std::sort(out.begin(), out.end(), [](const NodeHit& a, const NodeHit& b) {
        return a.order != b.order ? a.order < b.order : a.ordinal < b.ordinal;
    });
}

void CPageIndex::OtherElements(std::vector<CGraphElement*>& out) const
{
    out.clear();
    out.reserve(m_others.size());
    for (const std::uint32_t slot : m_others) out.push_back(m_records[slot].element);
}

std::uint64_t CPageIndex::OrderOf(const CGraphElement* element) const
{
    const auto found = m_slotOf.find(element);
    return found == m_slotOf.end() ? 0 : m_records[found->second].order;
}
