#include "library/CTransformSnapshot.h"

#include "library/CTransformFrame.h"

#include "geometry/Constants.h"
#include "geometry/Distance.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/CImageElement.h"
#include "model/CPage.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "tables/CTableElement.h"

#include <cmath>
#include <unordered_set>

namespace {

double Length(const CPoint& a, const CPoint& b) { return std::hypot(double(b.x) - a.x, double(b.y) - a.y); }

// A font size scaled by how much the side it measures grew; kept as it was
// along a side without length.
std::int32_t ScaledFontSize(std::int32_t size, double saved, double working)
{
    if (size == 0 || !(saved > 0)) return size;
    return RoundToInt(size * (working / saved));
}

} // namespace

CRect CTransformSnapshot::Take(const std::vector<CGraphElement*>& selection)
{
    Clear();
    CRect bounds;
    for (CGraphElement* e : selection) {
        if (!e) continue;
        bounds.UnionRect(bounds, e->GetBoundRect());
        switch (e->GetType()) {
        case ELEMENT_CURVE: {
            Curve curve;
            curve.element = static_cast<CCurveElement*>(e);
            curve.element->GetOutlinePoints(curve.saved);
            curve.working = curve.saved;
            m_curves.push_back(std::move(curve));
            break;
        }
        case ELEMENT_TEXT: {
            Text text;
            text.element = static_cast<CTextElement*>(e);
            CPoint origin;
            text.element->GetText(text.textFont, origin, text.bkMode);
            text.element->GetCorners(text.saved[0], text.saved[1], text.saved[2], text.saved[3]);
            text.working = text.saved;
            text.savedFont = text.textFont.GetLogFont();
            text.workingFont = text.savedFont;
            m_texts.push_back(std::move(text));
            break;
        }
        case ELEMENT_IMAGE: {
            Picture picture;
            picture.element = static_cast<CImageElement*>(e);
            picture.saved = CornersOf(picture.element);
            picture.working = picture.saved;
            m_pictures.push_back(picture);
            break;
        }
        case ELEMENT_TABLE: {
            Table table;
            table.element = static_cast<CTableElement*>(e);
            table.savedOrigin = table.workingOrigin = table.element->GetOrigin();
            table.savedRect = table.workingRect = table.element->GetTableRect();
            m_tables.push_back(table);
            break;
        }
        default: break;
        }
    }
    return bounds;
}

void CTransformSnapshot::Clear()
{
    m_curves.clear();
    m_texts.clear();
    m_pictures.clear();
    m_tables.clear();
}

void CTransformSnapshot::Follow(const CTransformFrame& frame)
{
    for (Curve& curve : m_curves) frame.MapPoints(curve.saved, curve.working);
    const std::int32_t turn = RoundToInt(frame.Angle() / Geo::kPi * 1800);
    for (Text& text : m_texts) {
        for (std::size_t i = 0; i < 4; ++i) text.working[i] = frame.MapPoint(text.saved[i]);
        text.workingFont = text.savedFont;
        text.workingFont.lfEscapement = text.savedFont.lfEscapement - turn;
        text.workingFont.lfHeight = ScaledFontSize(text.savedFont.lfHeight, Length(text.saved[0], text.saved[3]),
                                                   Length(text.working[0], text.working[3]));
        text.workingFont.lfWidth = ScaledFontSize(text.savedFont.lfWidth, Length(text.saved[0], text.saved[1]),
                                                  Length(text.working[0], text.working[1]));
    }
    for (Picture& picture : m_pictures)
        for (std::size_t i = 0; i < 4; ++i) picture.working[i] = frame.MapPictureCorner(picture.saved[i]);
    for (Table& table : m_tables) {
        table.workingOrigin = frame.MapTablePoint(table.savedOrigin);
        table.workingRect = CRect(frame.MapTablePoint(table.savedRect.TopLeft()),
                                  frame.MapTablePoint(table.savedRect.BottomRight()));
    }
}

void CTransformSnapshot::UnlinkMirrors(CPage* page)
{
    std::unordered_set<const CSharedPoint*> unlinked;
    for (const Curve& curve : m_curves) {
        page->UnlinkMirrorsOf(curve.element);
        if (curve.element->GetNodeCount() <= 1) continue;
        for (const CCurveNode* node : curve.element->Nodes()) {
            CSharedPoint* point = node->GetPoint();
            if (!point) continue;
            const CPoint at = point->GetPosition();
            point->SetMirror(nullptr, nullptr, nullptr);
            point->MoveTo(at.x, at.y, 0);
            unlinked.insert(point);
        }
        curve.element->SetMirrorSource(nullptr);
    }
    if (unlinked.empty()) return;
    for (CSharedPoint* point : page->Points()) {
        if (!unlinked.count(point->GetMirrorSource())) continue;
        const CPoint at = point->GetPosition();
        point->SetMirror(nullptr, nullptr, nullptr);
        point->MoveTo(at.x, at.y, 0);
    }
}

void CTransformSnapshot::Apply(CPage* page, const CTransformFrame& frame)
{
    if (!page) return;
    UnlinkMirrors(page);

    // Each shared point once, though several selected curves stand on it.
    std::unordered_set<const CSharedPoint*> seen;
    std::vector<CSharedPoint*> moved;
    for (const Curve& curve : m_curves)
        for (const CCurveNode* node : curve.element->Nodes())
            if (node->GetPoint() && seen.insert(node->GetPoint()).second) moved.push_back(node->GetPoint());
    std::vector<CPoint> targets;
    targets.reserve(moved.size());
    for (const CSharedPoint* point : moved) targets.push_back(frame.MapPoint(point->GetPosition()));
    for (std::size_t i = 0; i < moved.size(); ++i) moved[i]->MoveTo(targets[i].x, targets[i].y, 0);

    // A text takes the frame's box as it stands: laid out again from the
    // measured text, a stretched text would snap back to its font's size.
    for (Text& text : m_texts) {
        CTextFont textFont = text.textFont;
        textFont.SetLogFont(text.workingFont);
        text.element->SetTextInBox(textFont, text.bkMode, text.working[0], text.working[1], text.working[2],
                                   text.working[3]);
    }

    for (const Picture& picture : m_pictures) SetCorners(picture.element, picture.working);
    const bool scaled = frame.ScaleX() != 1.0 || frame.ScaleY() != 1.0;
    for (const Table& table : m_tables) {
        if (!scaled || !table.element->ResizeToRect(table.workingRect))
            table.element->MoveTo(table.workingOrigin.x, table.workingOrigin.y);
    }

    // Curves that share a moved point change with it, wherever they stand
    // in the selection. A text's box depends on nothing else on the page,
    // and a dirty text would lay its box out again from measurement.
    for (CSharedPoint* point : moved) point->InvalidatePosition();
    for (CGraphElement* e : page->Elements())
        if (e->GetType() != ELEMENT_TEXT) e->InvalidateBounds();
}

void CTransformSnapshot::SetCorners(CImageElement* picture, const std::array<CPoint, 4>& corners)
{
    picture->SetUpperLeft(corners[0].x, corners[0].y);
    picture->SetUpperRight(corners[1].x, corners[1].y);
    picture->SetLowerRight(corners[2].x, corners[2].y);
    picture->SetLowerLeft(corners[3].x, corners[3].y);
    picture->InvalidateBounds();
}

std::array<CPoint, 4> CTransformSnapshot::CornersOf(const CImageElement* picture)
{
    return {picture->GetUpperLeft(), picture->GetUpperRight(), picture->GetLowerRight(), picture->GetLowerLeft()};
}
