// A curve: an ordered list of nodes standing on shared points of its page.
// From the nodes it computes an outline (a dense point list in page units);
// from the outline and its line attributes the open and closed curves
// compute the line geometry as a list of shapes, which is what is drawn.
//
// Outline, shapes and bounds are derived lazily: every change of shape marks
// the element dirty, and every reader recomputes first when it is dirty.
#pragma once

#include "model/CGraphElement.h"
#include "model/CLineAttr.h"
#include "model/CLineTypeShape.h"
#include "model/ShapePainting.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <memory>
#include <unordered_map>
#include <vector>

class CArchive;
class CCurveNode;
class CDC;
class CPage;
class CSharedPoint;

using CCurveNodeList = CList<CCurveNode*>;
using CLineTypeShapeList = CList<CLineTypeShape>;
// The numbers a library file gives its shared points, by point.
using CLibraryPointNumbers = std::unordered_map<const CSharedPoint*, int>;

class CCurveElement : public CGraphElement {
public:
    // Element kind 1 at that level, default line attributes, no nodes.
    CCurveElement(CPage* page, int level, int closed);
    // Takes ownership of the nodes; their shared points that are not yet in
    // the page's pool are added to it.
    CCurveElement(CPage* page, int level, int closed, const CLineAttr& line, COLORREF color,
                  const CCurveNodeList& nodes, CCurveElement* mirrorSource);
    ~CCurveElement() override;

    CCurveElement(const CCurveElement&) = delete;
    CCurveElement& operator=(const CCurveElement&) = delete;

    // Element operations.
    CRect GetBoundRect() override;
    void RecalcGeometry() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // Draws the shapes in the colour of the pen selected in the DC.
    void DrawHighlight(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // The line shapes' device points.
    void PrepareDraw(const CDrawPreparation& prep) override;
    int UsesPoint(const CSharedPoint* point) const override;
    // Copies a curve of another page that is being copied whole: node points
    // are mapped by their number in the pool. The caller resolves the mirror
    // link afterwards (ResolveMirrorSource).
    void CopyFrom(const CGraphElement& other) override;
    // The body after the header and the closed flag, which the page reads.
    // Throws CArchiveError on a damaged record.
    int Load(CArchive& ar) override;
    int Store(CArchive& ar) const override;
    // Frees the outline and line shapes, keeping the bounds.
    void ReleaseGeometry() override;

    // Attributes.
    CLineAttr GetLineAttr() const { return m_lineAttr; }
    void SetLineAttr(const CLineAttr& line);
    COLORREF GetColor() const { return m_color; }
    void SetColor(COLORREF color) { m_color = color; }
    int IsClosed() const { return m_closed; }
    CCurveElement* GetMirrorSource() const { return m_mirrorSource; }
    void SetMirrorSource(CCurveElement* source) { m_mirrorSource = source; }
    // The list position of the mirror source as read from a record or taken
    // in a copy; -1 for none.
    int GetMirrorSourceIndex() const { return m_mirrorSourceIndex; }
    // Turns the stored index into a curve of this page (null when the index
    // names no curve, or names this curve itself).
    void ResolveMirrorSource();

    // Nodes. GetNodes empties `out` and appends the node pointers (still
    // owned by the curve). SetNodes replaces the list: nodes not in the new
    // list are deleted, and their shared points offered back to the page.
    void GetNodes(CCurveNodeList& out) const;
    void SetNodes(const CCurveNodeList& nodes);
    int GetNodeCount() const { return m_nodes.GetCount(); }
    const CCurveNodeList& Nodes() const { return m_nodes; }
    CCurveNode* GetNodeAt(int index) const;
    int IndexOfNode(const CCurveNode* node) const;
    CCurveNode* GetFirstNode() const { return m_nodes.IsEmpty() ? nullptr : m_nodes.GetHead(); }
    CCurveNode* GetLastNode() const { return m_nodes.IsEmpty() ? nullptr : m_nodes.GetTail(); }

    // Derived geometry (recomputed first when dirty).
    void GetOutlinePoints(CPointList& out);
    // Every shape of the line, those of lazily laid-out dashes included.
    void GetLineShapes(CLineTypeShapeList& out);
    // Whether some of the line's dashes are laid out only where drawn.
    bool HasLazyDashes() const { return !m_lazyDashes.empty(); }
    // Whether the line's pattern repeats more often along it than any line
    // of a sound file, so that it is drawn plain.
    bool HasTooManyPeriods() const { return m_tooManyPeriods; }
    // The outline itself, without a copy; valid until the curve changes.
    const CPointList& Outline();

    // Hit tests; tolerances and distances in page units. Each answers 0 when
    // nothing lies within the tolerance and then writes nothing.
    int FindNearestOutlinePoint(const CPoint& point, double tolerance, CPoint& found,
                                double& distance);
    // Corner nodes, and for an open curve also its two end nodes.
    int FindNearestVertex(const CPoint& point, double tolerance, CCurveNode*& node,
                          double& distance);
    // Corner and smooth nodes.
    int FindNearestNode(const CPoint& point, double tolerance, CCurveNode*& node,
                        double& distance);
    // The stretch of the curve between two nodes on which the point lies:
    // the node before it, the node standing at the point itself (or none),
    // and the node after it.
    int FindSpanAtPoint(const CPoint& point, double tolerance, CPoint& nearest, double& distance,
                        CCurveNode*& before, CCurveNode*& at, CCurveNode*& after);
    // The same with the nodes' positions in the node list.
    int FindSpanPositions(const CPoint& point, double tolerance, CPoint& nearest, double& distance,
                          POSITION& before, POSITION& at, POSITION& after);
    // Length of the outline from the node to the point (forward or
    // backward); the outline's whole length in `total`. Returns 1.
    int GetDistanceAlongCurve(const CCurveNode* node, const CPoint& point, int forward,
                              double& total, double& distance);
    CCurveNode* GetNearerEndNode(const CPoint& point);
    int IsBeforeAlongCurve(const CPoint& a, const CPoint& b);

    // The units per millimetre of the page set the curve belongs to.
    int UnitsPerMM() const;

    // Brings the geometry up to date for a paint of the device pixels
    // `clip` at this scale and origin: beyond what the paint shows, a far
    // stretch of the outline may be left as chords (see RecalcForPaint).
    void RecalcForPaint(double scale, int originX, int originY, const CRect& clip);
    // Whether the outline was built for the last paint only: it holds
    // chords for what lies beyond what that paint showed.
    bool OutlineIsCut() const { return m_outlineCut; }

protected:
    // Pattern builders: each lays the line kind out along `path` (the
    // outline or an offset of it) and appends shapes. The dash, dot and
    // custom builders empty the shape list first; the side-dash builder
    // appends to the main line its caller has placed already.
    void BuildDashLine(const CPointList& path);
    void BuildDotLine(const CPointList& path);
    void BuildDashPairLine(const CPointList& path);
    void BuildDashTripleLine(const CPointList& path);
    void BuildSideDashLine(const CPointList& path);
    void BuildCustomPatternLine(const CPointList& path);

    // Appends the whole path as one polyline shape of the given pen width.
    void AddPlainShape(const CPointList& path, int penWidth);
    // The stretch of `path` from position `from` to `to` (wrapping to the
    // head when the end comes first) as a shape of the line width: a
    // polyline up to width 20, a filled band above.
    CLineTypeShape StrokeSpan(const CPointList& path, POSITION from, POSITION to) const;
    // The same stretch as a polyline of pen width 10.
    CLineTypeShape StrokeThinSpan(const CPointList& path, POSITION from, POSITION to) const;

    // Shapes laid out only for the page area a paint covers, with their
    // device points; kept while the area and the geometry stay the same.
    struct LazyDrawing {
        bool valid = false;
        unsigned geometry = 0;
        CRect area;  // the page rectangle they were laid out for
        // Changes with every layout: names the shapes to the device points.
        unsigned layout = 0;
        CLineTypeShapeList shapes;
        CDeviceShapes device;
    };
    // The page area a paint of the device pixels `clip` at this scale and
    // origin covers, with a pixel's worth of page around it for the piece
    // that ends there.
    static CRect PaintArea(double scale, int originX, int originY, const CRect& clip);

    // Runs the (virtual) geometry pass when the curve is dirty, or when its
    // outline was built for a paint only: readers get the whole outline.
    void RecalcIfDirty();
    // Brings the geometry up to date for painting the page area `area`: a
    // curve that may (MayCutOutlineForPaint) builds its outline only as far
    // as the area and its line's reach show it, when it is dirty or was
    // built for an area that does not hold this one.
    void RecalcForPaint(const CRect& area);
    // Whether a paint may be given an outline left out beyond what it
    // shows: true when nothing drawn depends on the outline as a whole (a
    // plain line, which the base takes as the only requirement).
    virtual bool MayCutOutlineForPaint() const;
    // How far (page units) what the curve paints reaches past its outline.
    virtual long long PaintReach() const;
    // How far from each end of its outline (page units) what the curve
    // draws there depends on the outline: 0 when nothing is drawn at the
    // ends but the line itself.
    virtual long long EndReach() const;
    // Changes with every geometry pass: what was derived from the outline
    // and shapes of an earlier pass (kept device points) is stale.
    unsigned GeometryVersion() const { return m_geometryVersion; }

    // Record parts shared with the subclasses' library records: type,
    // closed flag, level, line attributes, colour and nodes, each node
    // named by its point's position in the library's point list.
    void StoreLibraryCurve(CArchive& ar, const CList<CSharedPoint*>& points) const;
    // The same with the numbers looked up; a point without a number is
    // written as the count of numbered points, as a search of the list
    // would name it.
    void StoreLibraryCurve(CArchive& ar, const CLibraryPointNumbers& numbers) const;
    void LoadLibraryCurve(CArchive& ar, const std::vector<CSharedPoint*>& points, int version);
    // The curve's part of the document record. True, with the bounds the
    // record held, for records that hold them (version 105 on).
    bool LoadCurve(CArchive& ar, CRect& storedBounds);

    CLineAttr m_lineAttr;
    COLORREF m_color = 0;
    CCurveNodeList m_nodes;
    int m_closed = 0;
    CPointList m_outline;
    CLineTypeShapeList m_shapes;
    CCurveElement* m_mirrorSource = nullptr;
    int m_mirrorSourceIndex = -1;

private:
    struct LazyDashes;

    unsigned m_geometryVersion = 0;
    // Set while a paint's geometry pass builds the outline: the paint's area
    // (its line's reach included) first, then what must stay whole round
    // the outline's ends (EndReach).
    std::vector<CRect> m_cutAreas;
    // The outline was built for m_cutAreas alone; m_wholeBounds are then the
    // bounds of the whole outline.
    bool m_outlineCut = false;
    CRect m_cutFor;
    CRect m_wholeBounds;
    // Patterns of more dashes than are laid out at once.
    std::vector<std::unique_ptr<LazyDashes>> m_lazyDashes;
    // Set by FitPeriods while the line is laid out.
    mutable bool m_tooManyPeriods = false;
    mutable std::unique_ptr<LazyDrawing> m_lazyDrawing;
    // The shapes' device points of the last screen paint.
    mutable std::unique_ptr<CDeviceShapes> m_deviceShapes;
    // Whether any node is marked, as of these node marks and nodes: most
    // curves have none, and visiting every node at each paint costs more
    // than drawing the curve.
    bool AnyNodeMarked() const;
    mutable bool m_anyMarked = false;
    mutable bool m_marksKnown = false;
    mutable unsigned m_marksVersion = 0;
    mutable unsigned m_marksChanges = 0;
    mutable int m_marksNodeCount = 0;

    // How many periods of a pattern fit along a path, and the length h that
    // one period is stretched or squeezed to.
    struct PatternFit {
        int periods = 1;
        double period = 0.0;  // the pattern's own length
        double h = 0.0;       // its length along the path
        double Scale(double length) const { return length * h / period; }
    };
    // A custom pattern prepared for fitting to stretches of a path.
    struct CustomPattern {
        CRect bounds;        // union of the pattern shapes
        int midY = 0;
        double cx = 0.0;     // pattern units per path unit along the line
        double cy = 0.0;     // pattern units per path unit across the line
    };

    void BuildOutline();
    // The node the outline starts on; `anyCorner` tells whether the curve
    // has a corner node.
    POSITION OutlineStart(bool& anyCorner) const;
    // MakeSmoothCurve, or for a paint's geometry pass its curve within the
    // paint's area (what was left out noted).
    void AddSmoothRun(const CPointList& run, int closed, CPointList& smooth);
    void DeleteAllNodes();
    void DrawShapes(CDC* dc, COLORREF color, double scale, int originX, int originY,
                    const CRect& clip) const;

    bool FitPeriods(const CPointList& path, double period, double countFirst,
                    double fitFraction, PatternFit& fit) const;
    bool FitDashPattern(const CPointList& path, int count, PatternFit& fit,
                        std::vector<double>& scaled) const;
    // Cuts the dashes of `pattern` (dash and gap lengths in turn, already
    // along the path) out of the path, period after period; an open path
    // ends with one more dash up to its last point. With `custom` each
    // dash is a stretch that the custom pattern is fitted to.
    // A line of more dashes than kEagerDashes is laid out only where it is
    // drawn (see CDashLayout); its bounds then hold all its dashes without
    // each being known.
    void LayOutPattern(const CPointList& path, const std::vector<double>& pattern, int periods,
                       bool thin, const CustomPattern* custom);
    void AddSpan(CPointList& work, POSITION from, POSITION to, bool thin,
                 const CustomPattern* custom, CLineTypeShapeList& out) const;
    void FitPatternToSpan(CPointList& work, POSITION from, POSITION to,
                          const CustomPattern& pattern, CLineTypeShapeList& out) const;
    // What holds every dash of a lazily laid-out pattern, and how far (in
    // page units) a dash can paint beyond its stretch of the path.
    void LazyDashExtent(const CPointList& path, bool thin, const CustomPattern* custom, CRect& bounds,
                        int& reach) const;
    // The lazily laid-out dashes that can show in the clip, made for the
    // clip at hand (and kept while it and the geometry stay the same).
    const CLineTypeShapeList& LazyShapesFor(double scale, int originX, int originY, const CRect& clip) const;
    int FindSpan(const CPoint& point, double tolerance, CPoint& nearest, double& distance,
                 POSITION& before, POSITION& at, POSITION& after);
    int NearestNodeOf(const CPoint& point, double tolerance, bool verticesOnly,
                      CCurveNode*& node, double& distance);
    double ForwardDistanceFromFirst(const CPoint& point);
};
