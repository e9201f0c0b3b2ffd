#include "ui/CLineTypeCombo.h"

#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/Offset.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

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

// The custom pattern's shapes repeated along the entry, scaled so that one
// copy fits its height and width.
void CustomSample(QPainter& p, const QRect& r, const CLineAttr& type, const CLineAttr& preview)
{
    const auto& shapes = preview.GetShapes();
    if (shapes.empty()) return;
    CRect bounds = shapes.front().GetBoundRect();
    for (const CLineTypeShape& s : shapes) {
        const CRect b = s.GetBoundRect();
        bounds = CRect(std::min(bounds.left, b.left), std::min(bounds.top, b.top), std::max(bounds.right, b.right),
                       std::max(bounds.bottom, b.bottom));
    }
    const int x0 = r.left() + 3, x1 = r.right() - 2, y0 = r.top() + 2, y1 = r.bottom() - 2;
    const double s = std::max(bounds.Width() / double(x1 - x0 + 1), bounds.Height() / double(y1 - y0 + 1));
    if (s <= 0) return;
    const double p1 = std::max(1, type.GetParam(1));
    const double step = std::max(1.0, bounds.Width() * (type.GetParam(2) / p1 + 1)) / s;
    const double v = (bounds.top + bounds.bottom) / 2.0 / s - (y0 + y1) / 2.0;
    for (double shift = x0; shift < x1; shift += step) {
        const double u = bounds.left / s - shift;
        for (const CLineTypeShape& shape : shapes) {
            QPolygonF polygon;
            for (POSITION pos = shape.GetPoints().GetHeadPosition(); pos;) {
                const CPoint& pt = shape.GetPoints().GetNext(pos);
                polygon << QPointF(pt.x / s - u, pt.y / s - v);
            }
            const QColor colour = p.brush().color();
            p.setPen(QPen(colour, std::max(1, RoundToInt(shape.GetPenWidth() / s))));
            if (shape.IsFilled()) {
                p.drawPolygon(polygon);
            } else {
                p.setBrush(Qt::NoBrush);
                p.drawPolyline(polygon);
                p.setBrush(colour);
            }
        }
    }
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
