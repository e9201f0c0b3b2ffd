// An open curve with an optional arrowhead at its first and its last node.
#pragma once

#include "model/CCurveElement.h"

#include <vector>

// Arrowhead kinds.
constexpr int ARROW_NONE = 0;
constexpr int ARROW_FILLED = 1;   // filled triangle
constexpr int ARROW_OPEN = 2;     // open V
constexpr int ARROW_NOTCHED = 3;  // filled arrow with a notched base

class COpenCurveElement : public CCurveElement {
public:
    // An empty open curve; the arrow values follow from a load or a copy.
    COpenCurveElement(CPage* page, int level);
    COpenCurveElement(CPage* page, int level, const CLineAttr& line, COLORREF color,
                      const CCurveNodeList& nodes, int startKind, int startSize, double startAngle,
                      int endKind, int endSize, double endAngle,
                      CCurveElement* mirrorSource = nullptr);

    CRect GetBoundRect() override;
    void RecalcGeometry() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    void DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    void CopyFrom(const CGraphElement& other) override;
    int Load(CArchive& ar) override;
    int Store(CArchive& ar) const override;

    void SetStartArrowKind(int kind);
    void SetStartArrowSize(int size);
    void SetStartArrowAngle(double angle);
    void SetEndArrowKind(int kind);
    void SetEndArrowSize(int size);
    void SetEndArrowAngle(double angle);
    void GetArrowHeads(int& startKind, int& startSize, double& startAngle, int& endKind,
                       int& endSize, double& endAngle) const;

    // The head outlines as last computed (recomputed first when dirty).
    void GetStartHeadOutline(CPointList& out);
    void GetEndHeadOutline(CPointList& out);

    // The curve's record in a drawing library file. The library reader has
    // read the element type and the closed flag itself.
    int LoadFromLibrary(CArchive& ar, const std::vector<CSharedPoint*>& points, int version);
    int StoreForLibrary(CArchive& ar, const CList<CSharedPoint*>& points) const;
    int StoreForLibrary(CArchive& ar, const CLibraryPointNumbers& numbers) const;

protected:
    // The arrowheads: each points along the outline's first millimetre at
    // its end, and a filled one cuts the line back under it.
    long long EndReach() const override;

private:
    struct Arrow {
        int kind = ARROW_NONE;
        int size = 600;
        double angle = 53.0;
    };

    void BuildArrowHeads();
    // The head outline of one end; `back` is the distance from the tip to
    // the head's base along the line (0 when the line is not shortened).
    void BuildArrowHead(const Arrow& arrow, bool atEnd, CPointList& head, double& back) const;
    // The length of a head's sides, when it has any (else 0).
    double HeadSide(const Arrow& arrow) const;
    void DrawArrowHeads(CDC* dc, COLORREF color, double scale, int originX, int originY) const;
    void ShortenPath(CPointList& path) const;
    void LoadArrows(CArchive& ar);
    void StoreArrows(CArchive& ar) const;

    Arrow m_start;
    Arrow m_end;
    CPointList m_startHead;
    CPointList m_endHead;
    double m_startBack = 0.0;
    double m_endBack = 0.0;
};
