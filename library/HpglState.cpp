#include "library/HpglState.h"

namespace {
// Hundredths of a millimetre per plotter unit (0.025 mm).
constexpr double kPlotPerPlotterUnit = 2.5;
} // namespace

double HpglCoordToModel(const CHpglPrimitive& primitive, std::size_t i)
{
    const double v = primitive.coords[i];
    return i % 2 == 0 ? kPlotPerPlotterUnit * (v * primitive.scaleX + primitive.origin.x)
                      : kPlotPerPlotterUnit * (v * primitive.scaleY + primitive.origin.y);
}

void HpglState::Reset()
{
    std::vector<CHpglPrimitive> keptPrimitives = std::move(primitives);
    std::vector<CHpglLabel> keptLabels = std::move(labels);
    *this = HpglState();
    primitives = std::move(keptPrimitives);
    labels = std::move(keptLabels);
}

void HpglState::UpdateScaling()
{
    if (p2.x == p1.x) p2.x += 1;
    if (p2.y == p1.y) p2.y += 1;
    if (!scaling) {
        scaleX = scaleY = 1.0;
        origin = CDoublePoint();
        return;
    }
    const double width = p2.x - p1.x;
    const double height = p2.y - p1.y;
    switch (scType) {
    case 0:
        scaleX = width / (scXMax - scXMin);
        scaleY = height / (scYMax - scYMin);
        origin = CDoublePoint(p1.x - scXMin * scaleX, p1.y - scYMin * scaleY);
        break;
    case 1: {
        const double a = width / (scXMax - scXMin);
        const double b = height / (scYMax - scYMin);
        const double s = a > b ? b : a;
        scaleX = scaleY = s;
        // The spare room on one axis is shared out by SC's percentages,
        // measured from P1.
        const double spareX = a > b ? (width - (scXMax - scXMin) * s) * scLeft / 100.0 : 0.0;
        const double spareY = a > b ? 0.0 : (height - (scYMax - scYMin) * s) * scBottom / 100.0;
        origin = CDoublePoint(p1.x + spareX - scXMin * s, p1.y + spareY - scYMin * s);
        break;
    }
    case 2:
        // Point factor: the second and fourth SC values are plotter units
        // per user unit, the first and third the user point at P1.
        scaleX = scXMax;
        scaleY = scYMax;
        origin = CDoublePoint(p1.x - scXMin * scaleX, p1.y - scYMin * scaleY);
        break;
    default: break;
    }
}

CDoublePoint HpglState::ToPlot(const CDoublePoint& user) const
{
    return {kPlotPerPlotterUnit * (user.x * scaleX + origin.x), kPlotPerPlotterUnit * (user.y * scaleY + origin.y)};
}
