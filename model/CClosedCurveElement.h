// The fillable curve: a closed curve that paints the area inside its
// outline with one of several fills, then draws its outline on top.
//
// Each fill kind uses only some of the fill fields; those are the fields
// its record carries and a copy takes, while the others keep whatever they
// held (so switching kinds back and forth in the editor loses nothing).
#pragma once

#include "model/CCurveElement.h"
#include "model/CFillStyle.h"
#include "model/CLineFillLayout.h"
#include "model/CLineTypeShape.h"
#include "model/CPixelBlock.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <QImage>
#include <QString>

#include <memory>
#include <vector>

class CFillShader;
class CGradientRamp;
class QBrush;
class QPainter;
class QPainterPath;
class QRect;
class QRectF;

// Fill kinds.
constexpr int FILL_NONE = 0;
constexpr int FILL_BITMAP = 1;     // fill bitmap, tile size, tile centre, angle, extra value
constexpr int FILL_SOLID = 2;      // start colour
constexpr int FILL_LINEAR = 3;     // start and end colour from gradient start to end
constexpr int FILL_CIRCULAR = 4;   // start colour outside, centre colour at the centre
constexpr int FILL_CONICAL = 5;    // start colour at the angle, end colour opposite
constexpr int FILL_SQUARE = 6;     // as circular, in a square turned by the angle
constexpr int FILL_LINES = 7;      // line fill style

// Polygon fill rules of the fill mode.
constexpr int FILL_MODE_ALTERNATE = 1;
constexpr int FILL_MODE_WINDING = 2;

class CClosedCurveElement : public CCurveElement {
public:
    // No fill set up: a load, a copy or the setters follow.
    CClosedCurveElement(CPage* page, int level);
    // Unfilled (kind 0).
    CClosedCurveElement(CPage* page, int level, const CLineAttr& line, COLORREF color,
                        const CCurveNodeList& nodes, CCurveElement* mirrorSource);
    // Solid fill (kind 2).
    CClosedCurveElement(CPage* page, int level, const CLineAttr& line, COLORREF color,
                        const CCurveNodeList& nodes, CCurveElement* mirrorSource,
                        COLORREF solidColor);
    // Gradient fill of kind 3-6.
    CClosedCurveElement(CPage* page, int level, const CLineAttr& line, COLORREF color,
                        const CCurveNodeList& nodes, CCurveElement* mirrorSource, int gradientKind,
                        COLORREF startColor, COLORREF endColor, const CPoint& gradientStart,
                        const CPoint& gradientEnd, double blendPosition,
                        double secondBlendPosition, const CPoint& gradientCenter,
                        COLORREF centerColor, double fillAngle, int gamma);
    // Bitmap fill (kind 1); the bitmap is copied.
    CClosedCurveElement(CPage* page, int level, const CLineAttr& line, COLORREF color,
                        const CCurveNodeList& nodes, CCurveElement* mirrorSource,
                        const QImage& bitmap, const CSize& tileSize, const CPoint& tileCenter,
                        double bitmapFillValue, double fillAngle);
    // Line fill (kind 7); the style is copied.
    CClosedCurveElement(CPage* page, int level, const CLineAttr& line, COLORREF color,
                        const CCurveNodeList& nodes, CCurveElement* mirrorSource,
                        const CFillStyle& lineFill);
    ~CClosedCurveElement() override;

    // Element operations.
    CRect GetBoundRect() override;
    void RecalcGeometry() override;
    // Frees the fill lines' layout with the outline.
    void ReleaseGeometry() override;
    // Fills the inside, then draws the outline on top.
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    void DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // Besides the line, the fill lines' device points and the image of a
    // shaded fill.
    void PrepareDraw(const CDrawPreparation& prep) override;
    void CopyFrom(const CGraphElement& other) override;
    // The curve record followed by the fill record. Load throws
    // CArchiveError on a damaged record.
    int Load(CArchive& ar) override;
    int Store(CArchive& ar) const override;

    // The curve's record in a drawing library file. The library reader has
    // read the element type and the closed flag itself.
    int LoadFromLibrary(CArchive& ar, const std::vector<CSharedPoint*>& points, int version);
    int StoreForLibrary(CArchive& ar, const CList<CSharedPoint*>& points) const;
    int StoreForLibrary(CArchive& ar, const CLibraryPointNumbers& numbers) const;

    // Fill fields. None of these marks the geometry dirty except where
    // said: only the line fill's shape depends on them.
    int GetFillKind() const { return m_fillKind; }
    void SetFillKind(int kind) { m_fillKind = kind; }
    int GetFillMode() const { return m_fillMode; }
    void SetFillMode(int mode) { m_fillMode = mode; }
    // Opacity of the colour fills; only the low byte counts.
    int GetFillAlpha() const { return m_alpha; }
    void SetFillAlpha(int alpha) { m_alpha = alpha; }
    double GetFillAngle() const { return m_fillAngle; }
    void SetFillAngle(double angle) { m_fillAngle = angle; }
    COLORREF GetStartColor() const { return m_startColor; }
    void SetStartColor(COLORREF color) { m_startColor = color; }
    COLORREF GetEndColor() const { return m_endColor; }
    void GetGradientColors(COLORREF& start, COLORREF& end) const;
    void SetGradientColors(COLORREF start, COLORREF end);
    CPoint GetGradientStart() const { return m_gradientStart; }
    void SetGradientStart(const CPoint& p) { m_gradientStart = p; }
    CPoint GetGradientEnd() const { return m_gradientEnd; }
    void SetGradientEnd(const CPoint& p) { m_gradientEnd = p; }
    void GetGradientPoints(CPoint& start, CPoint& end) const;
    void SetGradientPoints(int x1, int y1, int x2, int y2);
    double GetBlendPosition() const { return m_blendPosition; }
    void SetBlendPosition(double position) { m_blendPosition = position; }
    double GetSecondBlendPosition() const { return m_secondBlendPosition; }
    void SetSecondBlendPosition(double position) { m_secondBlendPosition = position; }
    CPoint GetGradientCenter() const { return m_gradientCenter; }
    void SetGradientCenter(int x, int y) { m_gradientCenter = CPoint(x, y); }
    COLORREF GetCenterColor() const { return m_centerColor; }
    void SetCenterColor(COLORREF color) { m_centerColor = color; }
    int GetGammaCorrection() const { return m_gamma; }
    void SetGammaCorrection(int gamma) { m_gamma = gamma; }

    // The texture of the bitmap fill; null when there is none.
    const CPixelBlock* GetFillBitmap() const;
    // Reads a picture file through the picture reader (its formats and size
    // limits); 1 and the geometry marked dirty on success. On failure 0,
    // and the bitmap the fill had is kept.
    int LoadFillBitmap(const QString& path);
    // Copies the image; 0 and no bitmap when it is null or larger than a
    // stored pixel block may be.
    int SetFillBitmap(const QImage& bitmap);
    CSize GetBitmapTileSize() const { return m_tileSize; }
    void SetBitmapTileSize(int cx, int cy) { m_tileSize = CSize(cx, cy); }
    CPoint GetBitmapCenter() const { return m_tileCenter; }
    void SetBitmapCenter(int x, int y) { m_tileCenter = CPoint(x, y); }
    // Kept with the bitmap fill for the files' sake; nothing reads it.
    double GetBitmapFillValue() const { return m_bitmapFillValue; }
    void SetBitmapFillValue(double value) { m_bitmapFillValue = value; }

    // The line fill. Everything that moves the fill lines marks the
    // geometry dirty; the colour is applied when drawing and does not.
    CFillStyle GetLineFillStyle() const { return m_lineFill; }
    void SetLineFillStyle(const CFillStyle& style);
    void SetLineFillAttr(const CLineAttr& line);
    void SetLineFillColor(COLORREF color) { m_lineFill.SetColor(color); }
    double GetLineFillAngle() const { return m_lineFill.GetAngle(); }
    void SetLineFillAngle(double angle);
    CPoint GetLineFillOrigin() const { return m_lineFill.GetOrigin(); }
    void SetLineFillOrigin(int x, int y);
    int GetLineFillSpacing() const { return m_lineFill.GetSpacing(); }
    void SetLineFillSpacing(int spacing);

    // Every piece of the fill lines, laid out over the whole outline
    // (recomputed first when dirty); what the paints keep is left as it is.
    void GetFillLineShapes(CLineTypeShapeList& out);

    // Most fill lines one line fill lays out. A denser family (a tiny
    // spacing over a huge outline) is drawn with only every n-th of its
    // lines, n being the stride: 1 when every line is drawn.
    static constexpr int kMaxFillLines = CLineFillLayout::kMaxLines;
    int GetLineFillStride();
    // Edges looked at while laying out the fill lines for one paint beyond
    // which no more lines are laid out (CLineFillLayout::kMaxWork).
    static constexpr long long kMaxFillLineWork = CLineFillLayout::kMaxWork;
    // Edges looked at by laying out the whole fill (laid out aside, as
    // GetFillLineShapes does): what it cost, whatever the outline.
    long long GetLineFillWork();
    // What a paint of the device pixels `clip` at this scale and origin
    // cannot draw of the line fill as asked (too many dashes: drawn plain;
    // too many stretches: some left out), so that the fill editor can say
    // so. The layout is kept for that paint.
    CLineFillLayout::Shortfall GetLineFillShortfall(double scale, int originX, int originY, const CRect& clip);

protected:
    bool MayCutOutlineForPaint() const override;
    // The fill lines' pen too.
    long long PaintReach() const override;

private:
    void InitFill();
    void BuildOutlineShapes();
    void CopyFillFrom(const CClosedCurveElement& other);
    void LoadFill(CArchive& ar);
    void StoreFill(CArchive& ar) const;

    // Fill painting, in device pixels.
    struct FillCache;
    struct FillInputs;
    FillInputs CurrentFillInputs() const;
    bool PaintsAreaFill() const;
    void UpdateDeviceOutline(FillCache& cache, double scale, int originX, int originY) const;
    void PaintFill(CDC* dc, QPainter& painter, double scale, int originX, int originY) const;
    // The cache brought up to this mapping and the fill's inputs; the
    // device pixels of the fill that can be painted (none when empty).
    QRect UpdateFillCache(FillCache& cache, double scale, int originX, int originY,
                          const QRectF& paintable) const;
    QPainterPath FillArea(const FillCache& cache) const;
    CFillShader MakeShader(FillCache& cache) const;
    std::shared_ptr<const CGradientRamp> MakeRamp() const;
    void PaintSolidFill(QPainter& painter, const FillCache& cache) const;
    QBrush SolidBrush() const;
    // `devicePixels`, when above 0, is the device pixels per logical pixel
    // of a printer: the bitmap is then enlarged smoothly to the tile's size
    // there.
    bool MakeBitmapBrush(const FillCache& cache, double scale, QBrush& brush,
                         double devicePixels = 0.0) const;
    // The fill lines laid out for the page area a paint covers (kept while
    // the area and the geometry stay the same).
    struct LineFillDrawing;
    LineFillDrawing& LineFillFor(const CRect& area);
    LineFillDrawing& LineFillForPaint(double scale, int originX, int originY, const CRect& clip);
    void PaintLineFill(CDC* dc, double scale, int originX, int originY, const CRect& clip);

    int m_fillKind = FILL_NONE;
    int m_fillMode = FILL_MODE_ALTERNATE;
    int m_alpha = 255;
    double m_fillAngle = 0.0;
    COLORREF m_startColor = RGB(255, 255, 255);
    COLORREF m_endColor = RGB(0, 0, 0);
    CPoint m_gradientStart;
    CPoint m_gradientEnd;
    double m_blendPosition = 0.5;
    double m_secondBlendPosition = 0.0;
    CPoint m_gradientCenter;
    COLORREF m_centerColor = RGB(0, 0, 0);
    int m_gamma = 0;
    CPixelBlock m_fillBitmap;
    CSize m_tileSize;
    CPoint m_tileCenter;
    double m_bitmapFillValue = 0.0;
    CFillStyle m_lineFill;
    // The fill lines of the current geometry; none but for a line fill.
    std::unique_ptr<CLineFillLayout> m_lineFillLayout;

    // What the last screen paint made of the fill: the outline in device
    // pixels and the fill's image; and the fill lines of the last area
    // painted with their device points.
    mutable std::unique_ptr<FillCache> m_fillCache;
    std::unique_ptr<LineFillDrawing> m_lineFillDrawing;
};
