// The two halves of the side-by-side comparison with an SVG renderer
// (bench/side_by_side.sh runs them):
//
//   vek_side_by_side make DIR HEIGHT
//       writes DIR/page.vek, a document of one page of 10,000 curves (the
//       benchmarks' page), and DIR/page.svg, the same drawing as SVG for a
//       picture HEIGHT pixels high: every filled outline and every line
//       shape the editor strokes, thinned as the editor thins them for the
//       screen, solid and gradient fills as SVG paints;
//   vek_side_by_side png FILE HEIGHT OUT
//       opens the document as the editor does, paints its first page on
//       white HEIGHT pixels high and writes OUT as PNG.
#include "BenchDocument.h"

#include "app/CVEKDoc.h"
#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "model/CGradientRamp.h"
#include "model/CGraphElement.h"
#include "model/CLineTypeShape.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/ShapePainting.h"
#include "platform/CCompoundFile.h"
#include "platform/CDC.h"

#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

constexpr int kCurves = 10000;
constexpr int kNodes = 40;

double ScaleFor(const CPageSet& pageSet, int height)
{
    return double(pageSet.GetPaperSize().cy) / height;
}

QSize PictureSize(const CPageSet& pageSet, int height)
{
    const double scale = ScaleFor(pageSet, height);
    return QSize(RoundToInt(pageSet.GetPaperSize().cx / scale), height);
}

std::string Colour(COLORREF c)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

std::string Points(const QPolygonF& points)
{
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(2);
    for (int i = 0; i < points.size(); ++i) out << (i ? " " : "") << points[i].x() << ',' << points[i].y();
    return out.str();
}

class SvgWriter {
public:
    SvgWriter(std::ostream& out, double scale) : m_out(out), m_scale(scale) {}

    QPolygonF Device(const CPointList& points) const
    {
        return MapAndThin(points, m_scale, 0, 0, CDeviceShapes::kTolerance);
    }
    QPointF Device(const CPoint& p) const
    {
        return QPointF(RoundToInt(p.x / m_scale), RoundToInt(p.y / m_scale));
    }

    void Fill(CClosedCurveElement& curve)
    {
        CPointList outline;
        curve.GetOutlinePoints(outline);
        if (outline.GetCount() < 3) return;
        const QPolygonF polygon = Device(outline);
        const int alpha = curve.GetFillAlpha() & 0xFF;
        std::string paint;
        switch (curve.GetFillKind()) {
        case FILL_SOLID:
            paint = Colour(curve.GetStartColor());
            break;
        case FILL_LINEAR: {
            const std::string id = NewId();
            const QPointF a = Device(curve.GetGradientStart());
            const QPointF b = Device(curve.GetGradientEnd());
            m_out << "<linearGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" spreadMethod=\"repeat\" x1=\""
                  << a.x() << "\" y1=\"" << a.y() << "\" x2=\"" << b.x() << "\" y2=\"" << b.y() << "\">"
                  << Stop(0.0, curve.GetStartColor(), alpha)
                  << Stop(curve.GetBlendPosition(), MiddleColor(curve.GetStartColor(), curve.GetEndColor()), alpha)
                  << Stop(1.0, curve.GetEndColor(), alpha) << "</linearGradient>\n";
            paint = "url(#" + id + ")";
            break;
        }
        case FILL_CIRCULAR: {
            // Position 0 on the circle reaching the farthest corner of the
            // outline's bounds, 1 at the centre: SVG counts the other way.
            const std::string id = NewId();
            const QPointF c = Device(curve.GetGradientCenter());
            const QRectF bounds = polygon.boundingRect();
            double r = 0.0;
            for (const QPointF& corner : {bounds.topLeft(), bounds.topRight(), bounds.bottomRight(), bounds.bottomLeft()})
                r = std::max(r, QLineF(c, corner).length());
            const COLORREF outer = curve.GetStartColor();
            const COLORREF centre = curve.GetCenterColor();
            m_out << "<radialGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" cx=\"" << c.x() << "\" cy=\""
                  << c.y() << "\" r=\"" << r << "\">" << Stop(0.0, centre, alpha)
                  << Stop(1.0 - curve.GetBlendPosition(), MiddleColor(outer, centre), alpha)
                  << Stop(1.0 - curve.GetSecondBlendPosition(), outer, alpha) << Stop(1.0, outer, alpha)
                  << "</radialGradient>\n";
            paint = "url(#" + id + ")";
            break;
        }
        default:
            return;
        }
        m_out << "<polygon fill=\"" << paint << "\" fill-rule=\""
              << (curve.GetFillMode() == FILL_MODE_WINDING ? "nonzero" : "evenodd") << "\" points=\""
              << Points(polygon) << "\"/>\n";
    }

    void Shape(const CLineTypeShape& shape, COLORREF colour)
    {
        if (shape.GetPointCount() < 2) return;
        const QPolygonF points = Device(shape.GetPoints());
        if (shape.IsFilled()) {
            m_out << "<polygon fill=\"" << Colour(colour) << "\" stroke=\"" << Colour(colour)
                  << "\" stroke-width=\"1\" points=\"" << Points(points) << "\"/>\n";
            return;
        }
        const int pen = std::max(1, RoundToInt(shape.GetPenWidth() / m_scale));
        m_out << "<polyline fill=\"none\" stroke=\"" << Colour(colour) << "\" stroke-width=\"" << pen
              << "\" stroke-linejoin=\"miter\" stroke-miterlimit=\"10\" points=\"" << Points(points) << "\"/>\n";
    }

    void Head(const CPointList& head, COLORREF colour)
    {
        if (head.GetCount() < 2) return;
        m_out << "<polygon fill=\"" << Colour(colour) << "\" stroke=\"" << Colour(colour)
              << "\" stroke-width=\"1\" points=\"" << Points(Device(head)) << "\"/>\n";
    }

private:
    std::string NewId() { return "g" + std::to_string(m_ids++); }
    static std::string Stop(double offset, COLORREF colour, int alpha)
    {
        std::ostringstream out;
        out << "<stop offset=\"" << std::clamp(offset, 0.0, 1.0) << "\" stop-color=\"" << Colour(colour) << '"';
        if (alpha != 255) out << " stop-opacity=\"" << alpha / 255.0 << '"';
        out << "/>";
        return out.str();
    }

    std::ostream& m_out;
    double m_scale;
    int m_ids = 0;
};

bool WriteSvg(const CPageSet& pageSet, int height, const std::string& path)
{
    std::ofstream out(path);
    const QSize size = PictureSize(pageSet, height);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << size.width() << "\" height=\"" << size.height()
        << "\" viewBox=\"0 0 " << size.width() << ' ' << size.height() << "\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    SvgWriter svg(out, ScaleFor(pageSet, height));
    CPage* page = pageSet.GetPageAt(0);
    for (int level = 0; level <= page->GetMaxLevel(); ++level) {
        for (CGraphElement* e : page->Elements()) {
            if (e->GetLevel() != level || e->GetType() != ELEMENT_CURVE) continue;
            auto* curve = static_cast<CCurveElement*>(e);
            if (auto* closed = dynamic_cast<CClosedCurveElement*>(curve)) svg.Fill(*closed);
            CLineTypeShapeList shapes;
            curve->GetLineShapes(shapes);
            for (const CLineTypeShape& shape : shapes) svg.Shape(shape, curve->GetColor());
            if (auto* open = dynamic_cast<COpenCurveElement*>(curve)) {
                CPointList head;
                open->GetStartHeadOutline(head);
                svg.Head(head, curve->GetColor());
                open->GetEndHeadOutline(head);
                svg.Head(head, curve->GetColor());
            }
        }
    }
    out << "</svg>\n";
    return bool(out);
}

int Make(const std::string& dir, int height)
{
    const std::unique_ptr<CPageSet> pageSet = MakeBenchDocument(1, kCurves, kNodes);
    CCompoundEntry root;
    root.isStorage = true;
    CCompoundEntry contents;
    contents.name = "Contents";
    contents.data = CVEKDoc::StorePageSetRecord(*pageSet);
    root.children.push_back(std::move(contents));
    std::string bytes, why;
    if (!CCompoundFile::Build(root, bytes, why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    std::ofstream(dir + "/page.vek", std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    return WriteSvg(*pageSet, height, dir + "/page.svg") ? 0 : 1;
}

int Png(const QString& file, int height, const QString& out)
{
    CVEKDoc doc;
    if (doc.OnOpenDocument(file) != CVEKDoc::LoadResult::Ok) return 1;
    const CPageSet& pageSet = *doc.GetPageSet();
    const QSize size = PictureSize(pageSet, height);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        dc.SetBkMode(TRANSPARENT);
        pageSet.DrawPage(0, &dc, ScaleFor(pageSet, height), 0, 0, CRect(0, 0, size.width(), size.height()));
    }
    QImageWriter writer(out, "png");
    return writer.write(image) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("make")) return Make(args[2].toStdString(), args[3].toInt());
    if (args.size() == 5 && args[1] == QStringLiteral("png")) return Png(args[2], args[3].toInt(), args[4]);
    std::fprintf(stderr, "usage: %s make DIR HEIGHT | png FILE HEIGHT OUT\n", argv[0]);
    return 2;
}
