#include "ui/CLineTypeCombo.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/Offset.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

const QSize kSampleSize(72, CLineTypeCombo::kItemHeight);

// A stroke two pixels thick on rows y and y + 1.
void Stroke(QPainter& p, int x, int y, int length)
{
    p.drawRect(x, y, length, 2);
}

void Solid(QPainter& p, int x0, int x1, int y)
{
    Stroke(p, x0, y, x1 - x0);
}

void Dashes(QPainter& p, int x0, int x1, int y, int dash, int every)
{
    for (int x = x0; x < x1; x += every) Stroke(p, x, y, dash);
}

void BuiltInSample(QPainter& p, int kind, int x0, int x1, int y)
{
    switch (kind) {
    case 0: Solid(p, x0, x1, y); break;
    case 1: Dashes(p, x0, x1, y, 8, 13); break;
    case 2: Dashes(p, x0, x1, y, 4, 8); break;
    case 3:
        for (int x = x0; x < x1; x += 16) {
            Stroke(p, x, y, 10);
            Stroke(p, x + 12, y, 2);
        }
        break;
    case 4:
        for (int x = x0; x < x1; x += 20) {
            Stroke(p, x, y, 10);
            Stroke(p, x + 12, y, 2);
            Stroke(p, x + 16, y, 2);
        }
        break;
    case 5:
        Dashes(p, x0, x1, y - 4, 8, 13);
        Solid(p, x0, x1, y + 1);
        break;
    case 6:
        Solid(p, x0, x1, y - 4);
        Dashes(p, x0, x1, y + 1, 8, 13);
        break;
    case 7:
        Dashes(p, x0, x1, y - 5, 8, 13);
        Solid(p, x0, x1, y - 1);
        Dashes(p, x0, x1, y + 3, 8, 13);
        break;
    case 8:
        Solid(p, x0, x1, y - 5);
        Dashes(p, x0, x1, y - 1, 8, 13);
        Solid(p, x0, x1, y + 3);
        break;
    default: break;
    }
}

// The union of the pattern's shapes.
CRect PatternBounds(const CLineTypeShapeArray& shapes)
{
    CRect bounds = shapes.front().GetBoundRect();
    for (const CLineTypeShape& s : shapes) {
        const CRect b = s.GetBoundRect();
        bounds = CRect(std::min(bounds.left, b.left), std::min(bounds.top, b.top), std::max(bounds.right, b.right),
                       std::max(bounds.bottom, b.bottom));
    }
    return bounds;
}

// How the pattern is scaled into the entry: page units per pixel, and the
// pattern's left edge and its middle, in page units, which land on the
// pixel given to Map.
struct SampleMapping {
    double scale = 0;
    double left = 0;
    double centre = 0;
    QPointF Map(const CPoint& pt, double x, double y) const
    {
        return QPointF((pt.x - left) / scale + x, (pt.y - centre) / scale + y);
    }
};

// A pen no wider than what covers the whole entry from anywhere in it: a
// wider one shows the same.
qreal PenPixels(int penWidth, double scale, const QRect& box)
{
    return std::min<double>(std::max(1, RoundToInt(penWidth / scale)), 2 * (box.width() + box.height()));
}

// One copy of the pattern, drawn once whatever its number of points, on a
// transparent tile as high as the entry and as wide as what the copy can
// cover; its left edge lies `margin` pixels into the tile, its middle on
// row `middle`.
QImage PatternTile(const CLineTypeShapeArray& shapes, const SampleMapping& m, const QRect& box, double copyWidth,
                   double middle, const QColor& colour, qreal ratio, int& margin)
{
    qreal widest = 1;
    for (const CLineTypeShape& shape : shapes) widest = std::max(widest, PenPixels(shape.GetPenWidth(), m.scale, box));
    margin = int(std::ceil(widest / 2)) + 2;
    const QSize size(int(std::ceil(copyWidth)) + 2 * margin, box.height());
    QImage tile(size * ratio, QImage::Format_ARGB32_Premultiplied);
    tile.setDevicePixelRatio(ratio);
    tile.fill(Qt::transparent);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    for (const CLineTypeShape& shape : shapes) {
        QPolygonF polygon;
        for (const CPoint& pt : shape.GetPoints()) polygon << m.Map(pt, margin, middle);
        p.setPen(QPen(colour, PenPixels(shape.GetPenWidth(), m.scale, box)));
        p.setBrush(shape.IsFilled() ? QBrush(colour) : QBrush(Qt::NoBrush));
        if (shape.IsFilled()) p.drawPolygon(polygon);
        else p.drawPolyline(polygon);
    }
    return tile;
}

// The custom pattern's shapes repeated along the entry, scaled so that one
// copy fits its height and width. The copy is drawn once and stamped at
// each repetition, a pixel apart at the least, so a sample costs what its
// entry shows whatever the pattern's points and spacing.
void CustomSample(QPainter& p, const QRect& r, const CLineAttr& type, const CLineAttr& preview)
{
    const auto& shapes = preview.GetShapes();
    if (shapes.empty()) return;
    const CRect bounds = PatternBounds(shapes);
    const double width = double(bounds.right) - bounds.left, height = double(bounds.bottom) - bounds.top;
    const int x0 = r.left() + 3, x1 = r.right() - 2, y0 = r.top() + 2, y1 = r.bottom() - 2;
    const double s = std::max(width / (x1 - x0 + 1), height / (y1 - y0 + 1));
    if (!(s > 0)) return;
    const double p1 = std::max(1, type.GetParam(1));
    const double step = std::max(1.0, std::max(1.0, width * (type.GetParam(2) / p1 + 1)) / s);
    const SampleMapping mapping{s, double(bounds.left), (double(bounds.top) + bounds.bottom) / 2.0};
    const qreal ratio = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    int margin = 0;
    const QImage tile =
        PatternTile(shapes, mapping, r, width / s, (y0 + y1) / 2.0 - r.top(), p.brush().color(), ratio, margin);
    for (double shift = x0; shift < x1; shift += step) p.drawImage(QPointF(std::round(shift) - margin, r.top()), tile);
}

} // namespace

CLineTypeCombo::CLineTypeCombo(QWidget* parent) : CBarComboBox(parent)
{
    setIconSize(kSampleSize);
    setMinimumContentsLength(0);
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, &CLineTypeCombo::OnIndexChanged);
    // In the open list the highlighted entry is the one a user means.
    view()->installEventFilter(this);
    view()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const int row = view()->indexAt(at).row();
        if (row < 0) return;
        QMenu* menu = CreateListMenu(row, view());
        menu->exec(view()->viewport()->mapToGlobal(at));
        delete menu;
    });
    SyncWithSettings();
}

void CLineTypeCombo::DrawLineTypeSample(QPainter& p, const QRect& rect, int index, const QColor& colour)
{
    const CSystemSettings& s = Settings();
    if (index < 0 || index >= int(s.m_aLineTypes.size())) return;
    const CLineAttr& type = s.m_aLineTypes[std::size_t(index)];
    p.save();
    p.setClipRect(rect);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    if (type.GetKind() >= 0 && type.GetKind() <= 8) {
        BuiltInSample(p, type.GetKind(), rect.left() + 1, rect.right(), (rect.top() + rect.bottom()) / 2);
    } else {
        const int preview = index - CSystemSettings::kPreviewOffset;
        if (preview >= 0 && preview < int(s.m_aLineTypePreviews.size())) {
            p.setRenderHint(QPainter::Antialiasing);
            CustomSample(p, rect, type, s.m_aLineTypePreviews[std::size_t(preview)]);
        }
    }
    p.restore();
}

QIcon CLineTypeCombo::SampleIcon(int index) const
{
    QPixmap pixmap(kSampleSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    DrawLineTypeSample(p, QRect(QPoint(0, 0), kSampleSize), index, palette().color(QPalette::WindowText));
    p.end();
    return QIcon(pixmap);
}

void CLineTypeCombo::SyncWithSettings()
{
    const CSystemSettings& s = Settings();
    const int wanted = int(s.m_aLineTypes.size());
    const QSignalBlocker block(this);
    while (count() > wanted) removeItem(count() - 1);
    while (count() < wanted) addItem(QString());
    for (int i = 0; i < wanted; ++i) setItemIcon(i, SampleIcon(i));
    setCurrentIndex(s.m_nCurLineType >= 0 && s.m_nCurLineType < wanted ? s.m_nCurLineType : -1);
}

void CLineTypeCombo::AddLineTypeItem()
{
    const QSignalBlocker block(this);
    addItem(SampleIcon(count()), QString());
}

void CLineTypeCombo::OnIndexChanged(int index)
{
    if (index < 0 || index >= int(Settings().m_aLineTypes.size())) return;
    CMessageHub::Instance().SendLineTypeChange(index);
}

void CLineTypeCombo::keyReleaseEvent(QKeyEvent* event)
{
    CBarComboBox::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Delete && !DeleteLineType(currentIndex())) QApplication::beep();
}

bool CLineTypeCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteFromList(view()->currentIndex().row());
        return true;
    }
    return CBarComboBox::eventFilter(watched, event);
}

QMenu* CLineTypeCombo::CreateListMenu(int row, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QAction* remove = menu->addAction(QStringLiteral("删除线型"), this, [this, row] { DeleteFromList(row); });
    remove->setEnabled(CanDelete(row));
    return menu;
}

void CLineTypeCombo::DeleteFromList(int row)
{
    if (!DeleteLineType(row)) {
        QApplication::beep();
        return;
    }
    // The highlight stays where it was, on the entry that moved up.
    view()->setCurrentIndex(model()->index(std::min(row, count() - 1), 0));
}

bool CLineTypeCombo::CanDelete(int index)
{
    const CSystemSettings& s = Settings();
    return index >= kFirstDeletable && index != s.m_nCurLineType && index < int(s.m_aLineTypes.size());
}

bool CLineTypeCombo::DeleteLineType(int b)
{
    if (!CanDelete(b)) return false;
    CSystemSettings& s = Settings();
    s.m_aLineTypes.erase(s.m_aLineTypes.begin() + b);
    const int preview = b - CSystemSettings::kPreviewOffset;
    if (preview < int(s.m_aLineTypePreviews.size()))
        s.m_aLineTypePreviews.erase(s.m_aLineTypePreviews.begin() + preview);
    if (b < s.m_nCurLineType) --s.m_nCurLineType;
    const QSignalBlocker block(this);
    removeItem(b);
    for (int i = b; i < count(); ++i) setItemIcon(i, SampleIcon(i));
    setCurrentIndex(s.m_nCurLineType);
    return true;
}
