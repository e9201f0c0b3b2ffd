#include "app/CRulerBar.h"

#include "settings/CSystemSettings.h"
#include "geometry/Distance.h"
#include "geometry/WorkUnits.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include <cmath>

namespace {

// Ticks drawn at most, so that a broken spacing can never hang painting.
constexpr double kMaxTicks = 100000.0;

bool IsWholeMultiple(double value, double step)
{
    if (!(step > 0.0)) return false;
    const double ratio = value / step;
    return std::fabs(ratio - std::round(ratio)) < 1e-9;
}

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
    // The pixel of the view at device 0 lies this far into the ruler: the
    // view's sunken edge, and for the vertical ruler also the horizontal
    // ruler above it.
    m_nDeviceOffset = horz ? 2 : kThickness + 2;
    if (horz) {
        setMinimumWidth(0);
        setFixedHeight(kThickness);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setMinimumHeight(0);
        setFixedWidth(kThickness);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
    return sizeHint();
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

void CRulerBar::SetDeviceOffset(int offset)
{
    m_nDeviceOffset = offset;
    update();
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
    major = m_dMajorStep;
    minor = m_dMinorStep;
}

void CRulerBar::Redraw()
{
    update();
}

void CRulerBar::UpdateUnitScale()
{
    const int upm = m_nUnitsPerMm;
    const int unit = Settings().m_nWorkUnit;
    // Millimetres of the drawing shown per screen centimetre.
    double v = PixelsPerCm() * m_dScale / upm;
    if (unit == kWorkUnitInchFraction || unit == kWorkUnitInchDecimal) v /= 25.4;
    if (upm <= 0 || !std::isfinite(v) || v <= 0.0) return;

    switch (unit) {
    case kWorkUnitInchFraction:
    case kWorkUnitInchDecimal:
        while (RoundToInt(v) < 1) v *= 2.0;
        m_dMajorStep = upm * RoundToInt(v) * 25.4;
        m_dMinorStep = m_dMajorStep / (unit == kWorkUnitInchFraction ? 8.0 : 10.0);
        break;
    case kWorkUnitCentimetre:
        while (RoundToInt(v) < 10) v *= 2.0;
        m_dMajorStep = upm * RoundToInt(v / 10.0) * 10.0;
        m_dMinorStep = m_dMajorStep / 10.0;
        break;
    case kWorkUnitMillimetre:
        while (RoundToInt(v) < 1) v *= 2.0;
        // Below 5 mm per screen centimetre whole centimetres would round to
        // a spacing of 0; label every few millimetres there instead.
        m_dMajorStep = RoundToInt(v / 10.0) > 0 ? upm * RoundToInt(v / 10.0) * 10.0 : upm * RoundToInt(v) * 1.0;
        m_dMinorStep = m_dMajorStep / 10.0;
        break;
    default:
        return;
    }
    m_dMiddleStep = m_dMajorStep / 2.0;

    // Zoomed in far, a whole unit spans several screen centimetres (over a
    // thousand pixels at the wheel's limit) and no label would show: the
    // labels then fall on halves, fifths, tenths ... of the unit (halves,
    // quarters ... for inch fractions), as fine as the precision can show.
    const double unitMm = unit == kWorkUnitCentimetre ? 10.0 : unit == kWorkUnitMillimetre ? 1.0 : 25.4;
    const double unitsPerScreenCm = PixelsPerCm() * m_dScale / upm / unitMm;
    const double part = SubUnitStep(unitsPerScreenCm, unit, Settings().m_nPrecision);
    if (part < 1.0) {
        m_dMajorStep = upm * unitMm * part;
        m_dMinorStep = m_dMajorStep / (unit == kWorkUnitInchFraction ? 8.0 : 10.0);
        m_dMiddleStep = m_dMajorStep / 2.0;
    }
}

double CRulerBar::SubUnitStep(double unitsPerScreenCm, int unit, int precision)
{
    // Finest step the labels can tell apart: one part of the precision.
    const double finest = precision >= 1 ? 1.0 / precision : 1.0;
    if (!(unitsPerScreenCm < 0.25)) return 1.0;
    double step = 1.0;
    for (int k = 0; k < 40; ++k) {
        double next = 0.0;
        if (unit == kWorkUnitInchFraction) {
            next = step / 2.0;
        } else {
            // 1, 0.5, 0.2, 0.1, 0.05 ...: the leading digit decides.
            const double decade = std::pow(10.0, std::floor(std::log10(step) + 1e-9));
            const double lead = step / decade;
            next = lead > 4.0 ? 2.0 * decade : lead > 1.5 ? decade : 0.5 * decade;
        }
        // At least about one screen centimetre between labels.
        if (next < unitsPerScreenCm || next < finest * (1.0 - 1e-9)) break;
        step = next;
    }
    return step;
}

void CRulerBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) update();
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
        painter.fillRect(w - 1, 19, 1, std::max(0, h - 19), pal.color(QPalette::WindowText));
        painter.fillRect(w - 2, 18, 2, 1, GrayText(pal));
        painter.fillRect(w - 2, 18, 1, std::max(0, h - 18), GrayText(pal));
    }
}

void CRulerBar::DrawTicks(QPainter& painter) const
{
    if (!(m_dScale > 0.0) || !(m_dMinorStep > 0.0)) return;
    const int length = IsHorizontal() ? width() : height();
    const double first = m_nOrigin + RoundToInt(-m_nDeviceOffset * m_dScale);
    const double last = m_nOrigin + RoundToInt((length - m_nDeviceOffset) * m_dScale);
    const double kFirst = std::ceil((first - m_nZero) / m_dMinorStep);
    const double kLast = std::floor((last - m_nZero) / m_dMinorStep);
    if (!std::isfinite(kFirst) || !std::isfinite(kLast) || kLast - kFirst > kMaxTicks) return;

    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(LabelFont());
    for (double k = kFirst; k <= kLast; k += 1.0) {
        // Each tick from its index, so that no rounding error accumulates.
        const double offset = k * m_dMinorStep;
        const double p = offset + m_nZero;
        const int c = RoundToInt((p - m_nOrigin) / m_dScale);
        if (IsWholeMultiple(offset, m_dMajorStep)) {
            DrawTick(painter, c, m_nTickLong);
            const int value = IsHorizontal() ? RoundToInt(p - m_nZero) : RoundToInt(m_nZero - p);
            const std::string text = FormatLength(value, m_nUnitsPerMm, Settings().m_nWorkUnit, Settings().m_nPrecision);
            DrawLabel(painter, c, QString::fromStdString(text));
        } else if (IsWholeMultiple(offset, m_dMiddleStep)) {
            DrawTick(painter, c, m_nTickMiddle);
        } else {
            DrawTick(painter, c, m_nTickShort);
        }
    }
    if (IsHorizontal()) {
        const QString unitName = QString::fromStdString(UnitSuffix(Settings().m_nWorkUnit));
        const int unitWidth = painter.fontMetrics().horizontalAdvance(unitName);
        painter.drawText(QRect(width() - unitWidth - 1, 1, unitWidth + 1, height()), Qt::AlignLeft | Qt::AlignTop,
                         unitName);
    }
}

void CRulerBar::DrawTick(QPainter& painter, int c, int length) const
{
    const QColor color = palette().color(QPalette::WindowText);
    const int pos = c + m_nDeviceOffset;
    if (IsHorizontal()) {
        painter.fillRect(pos, height() - 1 - length, 1, length, color);
    } else {
        painter.fillRect(width() - 1 - length, pos, length, 1, color);
    }
}

void CRulerBar::DrawLabel(QPainter& painter, int c, const QString& label) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    const int labelWidth = metrics.horizontalAdvance(label);
    const int pos = c + m_nDeviceOffset;
    if (IsHorizontal()) {
        // A label that would run into the unit name at the right end is left out.
        const QString unitName = QString::fromStdString(UnitSuffix(Settings().m_nWorkUnit));
        if (pos - 2 + labelWidth + metrics.horizontalAdvance(unitName) + 3 >= width()) return;
        painter.drawText(QRect(pos + 2, 1, labelWidth + 1, height()), Qt::AlignLeft | Qt::AlignTop, label);
        return;
    }
    // Turned a quarter to the left: read from the bottom up, the tops of the
    // letters towards the ruler's left edge.
    painter.save();
    painter.translate(1, pos - 1);
    painter.rotate(-90.0);
    painter.drawText(QRect(0, 0, labelWidth + 1, width()), Qt::AlignLeft | Qt::AlignTop, label);
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
