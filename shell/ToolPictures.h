// The pictures of the tools' buttons, one line drawing each on a 16 x 16
// grid (IconStrokes.h), named after the tool. The tool table gives each
// tool its picture; the design bar draws them at the size the screen
// width asks for, so they stay sharp where a scaled bitmap would blur.
#pragma once

class QPainter;

namespace ToolPictures {

void Select(QPainter& p);
void Zoom(QPainter& p);
void Curve(QPainter& p);
void ClosedCurve(QPainter& p);
void ProcessDrawing(QPainter& p);
void Ruler(QPainter& p);
void Rectangle(QPainter& p);
void Eraser(QPainter& p);
void Freehand(QPainter& p);
void Ellipse(QPainter& p);
void OffsetLine(QPainter& p);
void CutJoinLines(QPainter& p);
void Table(QPainter& p);
void Symmetry(QPainter& p);
void Text(QPainter& p);
void Layer(QPainter& p);
void Fill(QPainter& p);
void InsertPicture(QPainter& p);
void SymmetricDraw(QPainter& p);
void OleItem(QPainter& p);
void PickClosed(QPainter& p);
void Dimension(QPainter& p);
void SpliceParts(QPainter& p);

} // namespace ToolPictures
