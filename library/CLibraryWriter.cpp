#include "library/CLibraryWriter.h"

#include "geometry/Distance.h"
#include "geometry/Polyline.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/COpenCurveElement.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "tables/CTableElement.h"
#include "platform/CArchive.h"

#include <algorithm>
#include <cstdint>

namespace {

using namespace LibraryFormat;

bool IsWritten(const CGraphElement* e)
{
    if (!e) return false;
    const int kind = e->GetType();
    return kind == ELEMENT_CURVE || kind == ELEMENT_IMAGE || kind == ELEMENT_TEXT || kind == ELEMENT_TABLE;
}

std::vector<CGraphElement*> WrittenOnly(const std::vector<CGraphElement*>& elements)
{
    std::vector<CGraphElement*> kept;
    kept.reserve(elements.size());
    for (CGraphElement* e : elements)
        if (IsWritten(e)) kept.push_back(e);
    return kept;
}

template <class T>
std::vector<T*> OfKind(const std::vector<CGraphElement*>& elements, int kind)
{
    std::vector<T*> found;
    for (CGraphElement* e : elements)
        if (e->GetType() == kind) found.push_back(static_cast<T*>(e));
    return found;
}

void WriteOutlines(CArchive& ar, const std::vector<CCurveElement*>& curves, const CLibraryWriter::Grid& grid)
{
    ar << std::int32_t(curves.size());
    for (CCurveElement* curve : curves) {
        CPointList mapped;
        for (const CPoint& p : curve->Outline()) mapped.AddTail(grid.Map(p));
        RemoveRepeatedPoints(mapped);
        ar << std::int32_t(mapped.GetCount());
        for (const CPoint& p : mapped) ar << p;
    }
}

void WriteTexts(CArchive& ar, const std::vector<CTextElement*>& texts, const CLibraryWriter::Grid& grid)
{
    ar << std::int32_t(texts.size());
    for (CTextElement* text : texts) {
        CTextFont textFont;
        CPoint origin;
        int bkMode = 0;
        text->GetText(textFont, origin, bkMode);
        CPoint corner2;
        CPoint corner4;
        CPoint corner3;
        text->GetCorners(origin, corner2, corner4, corner3);
        LogFont font = textFont.GetLogFont();
        font.lfHeight = RoundToInt(font.lfHeight / grid.unit);
        if (font.lfHeight == 0) font.lfHeight = 1;
        font.lfWidth = RoundToInt(font.lfWidth / grid.unit);
        textFont.SetLogFont(font);
        textFont.Store(ar);
        ar << grid.Map(origin) << std::int32_t(bkMode) << grid.Map(corner2) << grid.Map(corner4)
           << grid.Map(corner3);
    }
}

// The pixel block's record is the layout of a preview picture after its
// corners; a picture without pixels writes an empty block.
void WritePictures(CArchive& ar, const std::vector<CImageElement*>& pictures, const CLibraryWriter::Grid& grid)
{
    ar << std::int32_t(pictures.size());
    for (const CImageElement* picture : pictures) {
        ar << grid.Map(picture->GetUpperLeft()) << grid.Map(picture->GetUpperRight())
           << grid.Map(picture->GetLowerRight()) << grid.Map(picture->GetLowerLeft());
        if (const CPixelBlock* pixels = picture->GetBitmap())
            pixels->Store(ar);
        else
            CPixelBlock().Store(ar);
    }
}

void WriteTables(CArchive& ar, const std::vector<CTableElement*>& tables, const CLibraryWriter::Grid& grid)
{
    ar << std::int32_t(tables.size());
    for (CTableElement* table : tables) {
        const CRect r = table->GetBoundRect();
        ar << grid.Map(table->GetOrigin()) << grid.Map(CPoint(r.right, r.top)) << grid.Map(r.BottomRight())
           << grid.Map(CPoint(r.left, r.bottom));
    }
}

// The curves' shared points, each once, in curve and node order.
std::vector<const CSharedPoint*> SharedPointsOf(const std::vector<CCurveElement*>& curves,
                                                CLibraryPointNumbers& numbers)
{
    std::vector<const CSharedPoint*> points;
    for (const CCurveElement* curve : curves)
        for (const CCurveNode* node : curve->Nodes()) {
            const CSharedPoint* point = node->GetPoint();
            if (point && numbers.emplace(point, int(points.size())).second) points.push_back(point);
        }
    return points;
}

void WriteElementRecord(CArchive& ar, CGraphElement* e, const CLibraryPointNumbers& numbers)
{
    switch (e->GetType()) {
    case ELEMENT_CURVE:
        if (static_cast<CCurveElement*>(e)->IsClosed())
            static_cast<CClosedCurveElement*>(e)->StoreForLibrary(ar, numbers);
        else
            static_cast<COpenCurveElement*>(e)->StoreForLibrary(ar, numbers);
        break;
    case ELEMENT_TEXT: static_cast<CTextElement*>(e)->StoreForLibrary(ar); break;
    case ELEMENT_IMAGE: static_cast<CImageElement*>(e)->StoreForLibrary(ar); break;
    case ELEMENT_TABLE: static_cast<CTableElement*>(e)->StoreToLibrary(ar); break;
    default: break;
    }
}

} // namespace

CPoint CLibraryWriter::Grid::Map(const CPoint& p) const
{
    return CPoint(RoundToInt((p.x - cx) / unit + kGrid / 2), RoundToInt((p.y - cy) / unit + kGrid / 2));
}

CLibraryWriter::Grid CLibraryWriter::GridFor(const CRect& bounds)
{
    Grid grid;
    grid.cx = (double(bounds.left) + bounds.right) / 2;
    grid.cy = (double(bounds.top) + bounds.bottom) / 2;
    const double unit = std::max((double(bounds.right) - bounds.left) / kGrid,
                                 (double(bounds.bottom) - bounds.top) / kGrid);
    grid.unit = std::max(unit, 1.0);
    return grid;
}

CRect CLibraryWriter::UnionBounds(const std::vector<CGraphElement*>& elements)
{
    CRect all;
    for (CGraphElement* e : elements) {
        if (!e) continue;
        const CRect r = e->GetBoundRect();
        all.UnionRect(all, r);
    }
    return all;
}

std::string CLibraryWriter::Build(const std::vector<CGraphElement*>& selection)
{
    const std::vector<CGraphElement*> elements = WrittenOnly(selection);
    const std::vector<CCurveElement*> curves = OfKind<CCurveElement>(elements, ELEMENT_CURVE);
    const std::vector<CTextElement*> texts = OfKind<CTextElement>(elements, ELEMENT_TEXT);
    const std::vector<CImageElement*> pictures = OfKind<CImageElement>(elements, ELEMENT_IMAGE);
    const std::vector<CTableElement*> tables = OfKind<CTableElement>(elements, ELEMENT_TABLE);

    const CRect bounds = UnionBounds(elements);
    const Grid grid = GridFor(bounds);

    CArchive ar;
    ar << kMagic << std::uint32_t(kVersion) << bounds;
    WriteOutlines(ar, curves, grid);
    WriteTexts(ar, texts, grid);
    WritePictures(ar, pictures, grid);
    WriteTables(ar, tables, grid);

    CLibraryPointNumbers numbers;
    const std::vector<const CSharedPoint*> points = SharedPointsOf(curves, numbers);
    ar << std::int32_t(points.size());
    for (const CSharedPoint* point : points) ar << point->GetPosition();

    ar << std::int32_t(elements.size());
    for (CGraphElement* e : elements) WriteElementRecord(ar, e, numbers);
    return ar.TakeBuffer();
}
