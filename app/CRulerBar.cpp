#include "app/CRulerBar.h"

#include "settings/CSystemSettings.h"
#include "geometry/WorkUnits.h"

#include <QEvent>
#include <QImage>
#include <QMoveEvent>
#include <QPainter>
#include <QScreen>

#include <string>
#include <vector>

namespace {

// Pixels kept free between one label and the next.
constexpr int kLabelGap = 4;

QColor GrayText(const QPalette& pal)
{
    return pal.color(QPalette::Disabled, QPalette::WindowText);
}

} // namespace

CRulerBar::CRulerBar(bool horizontal, QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::ArrowCursor);
    CalcFixedLayout(false, horizontal);
}

QSize CRulerBar::CalcFixedLayout(bool, bool horz)
{
    m_bHorz = horz ? 1 : 0;
    if (horz) {
        setMinimumWidth(0);
        setFixedHeight(kThickness);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setMinimumHeight(0);
        setFixedWidth(kThickness);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    LevelWithView();
    return sizeHint();
}

void CRulerBar::SetView(QWidget* view)
{
    if (m_view) m_view->removeEventFilter(this);
    m_view = view;
    if (m_view) m_view->installEventFilter(this);
    LevelWithView();
}

// Where the view's pixel 0 lies along the ruler, in the ruler's own pixels:
// through the window both stand in, so that any frame, corner or spacing
// the layout puts between them counts.
void CRulerBar::LevelWithView()
{
    int offset = 0;
    if (m_view) {
        const QWidget* top = window();
        const QPoint origin = top == m_view->window() ? mapFrom(top, m_view->mapTo(top, QPoint(0, 0)))
                                                      : mapFromGlobal(m_view->mapToGlobal(QPoint(0, 0)));
        offset = IsHorizontal() ? origin.x() : origin.y();
    }
    if (offset == m_nDeviceOffset) return;
    m_nDeviceOffset = offset;
    update();
}

void CRulerBar::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    LevelWithView();
}

void CRulerBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    LevelWithView();
}

bool CRulerBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Show:
        case QEvent::ParentChange: LevelWithView(); break;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QSize CRulerBar::sizeHint() const
{
    return IsHorizontal() ? QSize(200, kThickness) : QSize(kThickness, 200);
}

void CRulerBar::SetScale(double scale, int origin)
{
    if (scale == m_dScale && origin == m_nOrigin) return;
    m_dScale = scale;
    m_nOrigin = origin;
    UpdateUnitScale();
    update();
}

void CRulerBar::SetZero(int zero)
{
    if (zero == m_nZero) return;
    m_nZero = zero;
    update();
}

void CRulerBar::SetUnitsPerMm(int upm)
{
    if (upm == m_nUnitsPerMm) return;
    m_nUnitsPerMm = upm;
    UpdateUnitScale();
    update();
}

void CRulerBar::SetPixelsPerCm(double ppc)
{
    m_dPixelsPerCm = ppc;
    UpdateUnitScale();
    update();
}

double CRulerBar::PixelsPerCm() const
{
    if (m_dPixelsPerCm > 0.0) return m_dPixelsPerCm;
    const QScreen* s = screen();
    const double dpi = s != nullptr ? s->logicalDotsPerInchX() : 96.0;
    return dpi / 2.54;
}

void CRulerBar::SetMarks(int x, int y)
{
    const int oldMark = GetMark();
    const int newMark = IsHorizontal() ? x : y;
    if (newMark == oldMark) return;
    m_ptMark = QPoint(x, y);
    // Only the two lines change: the old mark goes, the new one comes.
    if (oldMark != kNoMark) update(MarkRect(oldMark));
    if (newMark != kNoMark) update(MarkRect(newMark));
}

void CRulerBar::GetSteps(double& major, double& minor) const
{
    major = m_steps.major;
    minor = m_steps.minor;
}

void CRulerBar::Redraw()
{
    update();
}

void CRulerBar::UpdateUnitScale()
{
    RulerStepsFor(m_dScale, m_nUnitsPerMm, PixelsPerCm(), Settings().m_nWorkUnit, Settings().m_nPrecision, m_steps);
}

void CRulerBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) update();
    if (event->type() == QEvent::ParentChange) LevelWithView();
}

// ---- painting -----------------------------------------------------------

QFont CRulerBar::LabelFont() const
{
    QFont font = this->font();
    font.setPixelSize(10);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void CRulerBar::paintEvent(QPaintEvent*)
{
    // Drawn off screen in one piece: the mark inverts what lies below it.
    QImage image(size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        painter.fillRect(image.rect(), palette().color(QPalette::Button));
        DrawBorder(painter);
        if (m_nUnitsPerMm > 0) DrawTicks(painter);
    }
    DrawMark(image);
    QPainter(this).drawImage(0, 0, image);
}

void CRulerBar::DrawBorder(QPainter& painter) const
{
    const QPalette& pal = palette();
    const int w = width();
    const int h = height();
    if (IsHorizontal()) {
        painter.fillRect(0, h - 1, w, 1, pal.color(QPalette::WindowText));
        painter.fillRect(0, h - 2, w, 1, GrayText(pal));
    } else {
        // The ruler starts level with the view: its edge runs its whole
        // length, as the horizontal ruler's does.
        painter.fillRect(w - 1, 0, 1, h, pal.color(QPalette::WindowText));
        painter.fillRect(w - 2, 0, 1, h, GrayText(pal));
    }
}

void CRulerBar::DrawTicks(QPainter& painter) const
{
    RulerPlacement placement;
    placement.scale = m_dScale;
    placement.origin = m_nOrigin;
    placement.zero = m_nZero;
    placement.offset = m_nDeviceOffset;
    placement.length = IsHorizontal() ? width() : height();
    placement.valuesGrowUpward = !IsHorizontal();
    const std::vector<RulerTick> ticks = RulerTicks(m_steps, placement);

    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(LabelFont());
    for (const RulerTick& tick : ticks) {
        switch (tick.size) {
        case RulerTickSize::Long: DrawTick(painter, tick.pixel, m_nTickLong); break;
        case RulerTickSize::Middle: DrawTick(painter, tick.pixel, m_nTickMiddle); break;
        case RulerTickSize::Short: DrawTick(painter, tick.pixel, m_nTickShort); break;
        }
    }
    const QFontMetrics metrics = painter.fontMetrics();
    for (const RulerLabelPlace& place : PlaceLabels(ticks, metrics)) {
        DrawLabel(painter, place, LabelText(ticks[place.tick]));
    }
    if (IsHorizontal()) {
        const QString unitName = UnitName();
        const int unitWidth = metrics.horizontalAdvance(unitName);
        painter.drawText(QRect(width() - unitWidth - 1, 1, unitWidth + 1, height()), Qt::AlignLeft | Qt::AlignTop,
                         unitName);
    }
}

QString CRulerBar::UnitName() const
{
    return QString::fromStdString(UnitSuffix(Settings().m_nWorkUnit));
}

QString CRulerBar::LabelText(const RulerTick& tick) const
{
    return QString::fromStdString(RulerLabel(tick, m_nUnitsPerMm, Settings().m_nWorkUnit, Settings().m_nPrecision));
}

std::vector<RulerLabelPlace> CRulerBar::PlaceLabels(const std::vector<RulerTick>& ticks,
                                                    const QFontMetrics& metrics) const
{
    RulerLabelRoom room;
    room.gap = kLabelGap;
    room.beforeTick = !IsHorizontal();
    // The horizontal ruler ends in the unit name, which no label runs into.
    room.length = IsHorizontal() ? width() - 1 - metrics.horizontalAdvance(UnitName()) - kLabelGap : height();
    // A label is drawn into a box one pixel wider than its text.
    return RulerLabelPlaces(ticks, m_steps, m_dScale, room,
                            [&](const RulerTick& tick) { return metrics.horizontalAdvance(LabelText(tick)) + 1; });
}

void CRulerBar::DrawTick(QPainter& painter, int pos, int length) const
{
    const QColor color = palette().color(QPalette::WindowText);
    if (IsHorizontal()) {
        painter.fillRect(pos, height() - 1 - length, 1, length, color);
    } else {
        painter.fillRect(width() - 1 - length, pos, length, 1, color);
    }
}

void CRulerBar::DrawLabel(QPainter& painter, const RulerLabelPlace& place, const QString& label) const
{
    if (IsHorizontal()) {
        painter.drawText(QRect(place.start, 1, place.span, height()), Qt::AlignLeft | Qt::AlignTop, label);
        return;
    }
    // Turned a quarter to the left: read from the bottom up, the tops of the
    // letters towards the ruler's left edge.
    painter.save();
    painter.translate(1, place.start + place.span);
    painter.rotate(-90.0);
    painter.drawText(QRect(0, 0, place.span, width()), Qt::AlignLeft | Qt::AlignTop, label);
    painter.restore();
}

QRect CRulerBar::MarkRect(int mark) const
{
    const int pos = mark + m_nDeviceOffset;
    return IsHorizontal() ? QRect(pos, 0, 1, kThickness) : QRect(0, pos, kThickness, 1);
}

void CRulerBar::DrawMark(QImage& image) const
{
    const int mark = GetMark();
    if (mark == kNoMark) return;
    // Inverting with the window colour, as an exclusive-or pen would.
    const QRgb pen = palette().color(QPalette::Base).rgb() & 0x00FFFFFFu;
    const QRect line = MarkRect(mark).intersected(image.rect());
    for (int y = line.top(); y <= line.bottom(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = line.left(); x <= line.right(); ++x) row[x] = (row[x] ^ pen) | 0xFF000000u;
    }
}
