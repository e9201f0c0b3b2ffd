#include "model/CDrawPreparation.h"

#include "model/FillPainting.h"
#include "model/ShapePainting.h"

#include <QPainter>

CDrawPreparation CDrawPreparation::For(const QPainter& painter, double scale, int originX, int originY,
                                       const CRect& clip)
{
    CDrawPreparation prep;
    prep.scale = scale;
    prep.originX = originX;
    prep.originY = originY;
    prep.clip = clip;
    prep.paintable = PaintableRect(painter);
    prep.wholePixels = WholePixelTransform(painter.worldTransform());
    prep.tolerance = ThinningTolerance(painter);
    return prep;
}
