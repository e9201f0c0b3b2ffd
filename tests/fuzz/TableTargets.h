// What the table fuzz target does with one input; the fuzzer and the
// replay test of its findings both call it. Damage must show as
// CArchiveError; a broken promise throws Broken.
#pragma once

#include "FuzzSupport.h"

#include "tests/tables/TableTestSupport.h"

#include "tables/CTableElement.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CArchive.h"
#include "platform/CDC.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

namespace detail {

// Small grids with corners far from the ends of the integers: the
// operations are meant for tables the editor could make, so only those
// are put through them.
inline bool WorthOperating(const CTableGrid& g)
{
    constexpr int kLimit = 100000000;
    int cells = 0;
    for (int r = 1; r <= g.GetRowCount(); ++r) {
        if (g.GetRowHeight(r) > kLimit) return false;
        for (int i = 1; i <= g.GetRowCellCount(r); ++i) {
            const CRect& c = g.GetCell(r, i)->GetRect();
            for (const int v : {c.left, c.top, c.right, c.bottom})
                if (v < -kLimit || v > kLimit) return false;
            ++cells;
        }
    }
    return cells > 0 && cells <= 64 && tabletest::GridInvariants(g).empty();
}

using GridOperation = std::function<void(CTableGrid&, CDC&)>;

inline const std::vector<std::pair<const char*, GridOperation>>& GridOperations()
{
    static const std::vector<std::pair<const char*, GridOperation>> operations = {
        {"insert a row above", [](CTableGrid& g, CDC&) { g.InsertRow(g.GetRowCount(), 1); }},
        {"insert a row below", [](CTableGrid& g, CDC&) { g.InsertRow(1, 0); }},
        {"delete the first row", [](CTableGrid& g, CDC&) { g.DeleteRow(1); }},
        {"insert a column", [](CTableGrid& g, CDC&) { g.InsertColumn({g.GetRowCount(), 1}, 1); }},
        {"delete a column", [](CTableGrid& g, CDC&) { g.DeleteColumn({1, 1}); }},
        {"merge the first two cells", [](CTableGrid& g, CDC& dc) { g.MergeCells(&dc, {{1, 1}, {1, 2}}); }},
        {"merge down", [](CTableGrid& g, CDC& dc) {
             CTableCellList cells;
             const CRect r = g.GetCell(1, 1)->GetRect();
             g.GetCellsInRect(CRect(r.left, r.top, r.right, r.bottom + 1), cells);
             g.MergeCells(&dc, cells);
         }},
        {"split 2 x 2", [](CTableGrid& g, CDC& dc) { g.SplitCell(&dc, {1, 1}, 2, 2); }},
        {"split into 3 rows", [](CTableGrid& g, CDC& dc) { g.SplitCell(&dc, {g.GetRowCount(), 1}, 3, 1); }},
        {"split a row's cells", [](CTableGrid& g, CDC& dc) {
             CTableCellList cells;
             g.CollectRowCells(1, cells);
             g.SplitCellRange(&dc, cells, 2, 1);
         }},
        {"row height", [](CTableGrid& g, CDC&) { g.SetRowHeight(1, 37); }},
        {"lower line up", [](CTableGrid& g, CDC& dc) {
             const CRect r = g.GetCell(1, 1)->GetRect();
             g.MoveHorizontalLine(&dc, {r.left, r.bottom}, {r.left, r.top - 500}, {1, 1});
         }},
        {"right line left", [](CTableGrid& g, CDC& dc) {
             const CRect r = g.GetCell(1, 1)->GetRect();
             g.MoveVerticalLine(&dc, {r.right, r.top + 1}, {r.left - 300, r.top + 1}, {1, 1}, 0, 10);
         }},
        {"left line right", [](CTableGrid& g, CDC& dc) {
             const CRect r = g.GetCell(1, 1)->GetRect();
             g.MoveVerticalLine(&dc, {r.left, r.top + 1}, {r.right + 300, r.top + 1}, {1, 1}, 1, 10);
         }},
        {"line within a selection", [](CTableGrid& g, CDC& dc) {
             CTableCellList cells;
             g.GetCellsInRect(g.GetTableRect(), cells);
             const CRect r = g.GetCell(1, 1)->GetRect();
             g.MoveGridLine(&dc, {r.right, r.top + 1}, {r.right + 77, r.top + 1}, {1, 1}, cells, 0, 10);
         }},
        {"selection rows", [](CTableGrid& g, CDC& dc) { g.MoveSelectionHorizontalLine(&dc, {0, 0}, {0, -40}, {{1, 1}}); }},
        {"selection columns", [](CTableGrid& g, CDC& dc) { g.MoveSelectionVerticalLine(&dc, {0, 0}, {55, 0}, {{1, 1}}); }},
        {"resize", [](CTableGrid& g, CDC&) {
             const CRect t = g.GetTableRect();
             g.ResizeToRect(CRect(t.left, t.top, t.left + t.Width() / 2, t.top + t.Height() * 3 / 2));
         }},
    };
    return operations;
}

inline std::string StoreGrid(const CTableGrid& grid)
{
    CArchive ar;
    grid.Store(ar);
    return ar.Buffer();
}

} // namespace detail

// The table record after its element header. A table that loads is drawn
// at three scales, hit-tested, copied and stored; what it stored must load
// again and store the same. A sound grid of sane size is then put through
// every structural operation, each on a copy, and must stay sound.
inline bool Table(const std::string& bytes)
{
    CPageSet pageSet;
    pageSet.AppendPage();
    CPage* page = pageSet.GetPageAt(0);
    auto table = std::make_unique<CTableElement>(page, 1);
    try {
        CArchive ar(bytes);
        table->Load(ar);
    } catch (const CArchiveError&) {
        return false;
    }
    table->GetBoundRect();
    table->ContainsPoint(1000, 1000);
    CTableCellAddress hit;
    int side = 0;
    table->HitTestCell(1000, 1000, hit);
    table->HitTestGridLine(1000, 1000, 50, hit, side);
    table->HitTestCellEdge(1000, 1000, hit, 50);
    CTableElement* onPage = table.get();
    page->AddElement(table.release());
    DrawPages(pageSet);
    {
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        CDC dc(&painter);
        const CPoint o = onPage->GetOrigin();
        onPage->Draw(&dc, 5.0, o.x, o.y, CRect(0, 0, 32, 32));
        onPage->DrawCells(&dc, 5.0, o.x, o.y, {{1, 1}, {2, 1}}, CRect(0, 0, 32, 32));
    }

    const CTableGrid& grid = onPage->Grid();
    const std::string stored = detail::StoreGrid(grid);
    CTableGrid again;
    try {
        CArchive in(stored);
        again.Load(in);
        if (in.BytesLeft() != 0) throw Broken("a stored table leaves bytes unread");
    } catch (const CArchiveError& e) {
        throw Broken(std::string("a stored table cannot be read back: ") + e.what());
    }
    if (detail::StoreGrid(again) != stored) throw Broken("storing a table again changes it");
    CTableGrid copy;
    copy.CopyFrom(grid);
    if (detail::StoreGrid(copy) != stored) throw Broken("a copied table stores other bytes");

    if (!detail::WorthOperating(grid)) return true;
    CScreenDC dc;
    for (const auto& [name, operation] : detail::GridOperations()) {
        CTableGrid work;
        work.CopyFrom(grid);
        operation(work, dc);
        const std::string why = tabletest::GridInvariants(work);
        if (!why.empty()) throw Broken(std::string(name) + " broke a sound table: " + why);
        if (!tabletest::RecordRoundTrips(work)) throw Broken(std::string(name) + " left a table that does not read back");
    }
    return true;
}

} // namespace fuzz
