// Shared by the fuzz targets and the tests that replay their findings: a
// GUI application on the offscreen platform (texts measure and pictures
// decode through Qt), input bytes handed over as a file where the reader
// under test only takes a path, drawing of loaded content (opening a
// document paints it right away), and the report of a broken promise.
#pragma once

#include "geometry/RulerLabelPlaces.h"
#include "geometry/RulerTicks.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace fuzz {

// Thrown when loaded content breaks a promise of the reader (what loads
// stores and loads again, and the like). It is no CArchiveError, so it
// ends a fuzz run as a finding and fails a replay test with the reason.
class Broken : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// The application the targets run in, on the offscreen platform: a
// QGuiApplication, or a QApplication where a target makes widgets.
template <class Application> void StartApplication()
{
    static int argc = 1;
    static char name[] = "fuzzer";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about damaged pictures would drown libFuzzer's output.
    qputenv("QT_LOGGING_RULES", "*=false");
    static Application* app = new Application(argc, argv);
    (void)app;
}

inline void StartGui()
{
    StartApplication<QGuiApplication>();
}

// A file private to this process holding the input, removed when this
// goes; in memory where /dev/shm exists, as a fuzzer writes a million.
class InputFile {
public:
    InputFile(const std::string& bytes, const char* suffix)
    {
        static const QString dir = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                             : QDir::tempPath();
        // A new name each time: readers such as QSettings cache files by
        // name and may miss a rewrite within the same second.
        static unsigned serial = 0;
        m_path = QStringLiteral("%1/vek-fuzz-%2-%3%4")
                     .arg(dir)
                     .arg(QCoreApplication::applicationPid())
                     .arg(++serial)
                     .arg(QString::fromLatin1(suffix));
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
            throw std::runtime_error("cannot write the input file");
    }
    ~InputFile() { QFile::remove(m_path); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    const QString& Path() const { return m_path; }

private:
    QString m_path;
};

// The two rulers beside a view of `side` pixels at this scale and origin,
// in every work unit, painted as the view's rulers paint them: a tick for
// each step and the label of each long one. The view gives its rulers the
// document's units per millimetre, whatever a damaged file says.
inline void DrawRulers(const CPageSet& pageSet, double scale, int originX, int originY, int side)
{
    constexpr double kPixelsPerCm = 96.0 / 2.54;
    constexpr int kThickness = 20;
    QImage ruler(side + 2 * kThickness, kThickness, QImage::Format_ARGB32_Premultiplied);
    ruler.fill(Qt::lightGray);
    QPainter painter(&ruler);
    const int upm = pageSet.GetUnitsPerMM();
    for (const int unit : {0, 1, 2, 3}) {
        const int precision = unit == 0 ? 16 : 100;
        RulerSteps steps;
        if (!RulerStepsFor(scale, upm, kPixelsPerCm, unit, precision, steps)) continue;
        for (const bool horizontal : {true, false}) {
            RulerPlacement at;
            at.scale = scale;
            at.origin = horizontal ? originX : originY;
            at.offset = horizontal ? 2 : kThickness + 2;
            at.length = side + at.offset;
            at.valuesGrowUpward = !horizontal;
            const std::vector<RulerTick> ticks = RulerTicks(steps, at);
            for (const RulerTick& tick : ticks) {
                painter.fillRect(tick.pixel, 0, 1, tick.size == RulerTickSize::Long ? 8 : 3, Qt::black);
            }
            RulerLabelRoom room;
            room.length = at.length;
            room.beforeTick = !horizontal;
            auto label = [&](const RulerTick& tick) { return QString::fromStdString(RulerLabel(tick, upm, unit, precision)); };
            const QFontMetrics metrics = painter.fontMetrics();
            auto span = [&](const RulerTick& tick) { return metrics.horizontalAdvance(label(tick)) + 1; };
            for (const RulerLabelPlace& place : RulerLabelPlaces(ticks, steps, scale, room, span))
                painter.drawText(place.start, 12, label(ticks[place.tick]));
        }
    }
}

// Paints every page: whole, at the scale that fits its paper to a small
// raster, the way the view shows a freshly opened document; at a fixed
// scale of a few page units to the pixel about the middle of what the page
// holds, the way a view zoomed in shows it; and at both ends of the zoom,
// with the rulers. At the fixed scale widths, dash lengths and coordinates
// come out in pixels as a user would see them whatever the paper, so a
// document that freezes painting is found whatever its paper says.
inline void DrawPages(const CPageSet& pageSet)
{
    QImage image(48, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const CSize paper = pageSet.GetPaperSize();
    const double scale = paper.cx > 0 ? double(paper.cx) / 48.0 : 400.0;
    for (int i = 0; i < pageSet.GetPageCount(); ++i) {
        QPainter painter(&image);
        CDC dc(&painter);
        pageSet.DrawPage(i, &dc, scale, 0, 0, CRect(0, 0, 48, 64));
    }

    constexpr double kFixedScale = 8.0;
    constexpr int kSide = 96;
    QImage zoomed(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    zoomed.fill(Qt::white);
    for (int i = 0; i < pageSet.GetPageCount(); ++i) {
        const CRect bounds = pageSet.GetPageAt(i)->GetBoundRect();
        const long long middleX = (static_cast<long long>(bounds.left) + bounds.right) / 2;
        const long long middleY = (static_cast<long long>(bounds.top) + bounds.bottom) / 2;
        constexpr long long half = static_cast<long long>(kFixedScale * kSide / 2);
        auto origin = [](long long middle) {
            return int(std::clamp<long long>(middle - half, -2147483647LL, 2147483646LL));
        };
        QPainter painter(&zoomed);
        CDC dc(&painter);
        pageSet.DrawPage(i, &dc, kFixedScale, origin(middleX), origin(middleY), CRect(0, 0, kSide, kSide));
    }

    // Zoomed in as far as the view goes (an A4 page's shorter side over
    // 28,000 pixels), looking at each corner of what a page holds and at
    // the page: far points lie at the ends of the int range in device
    // pixels there. The rulers beside the view with it.
    constexpr double kZoomInLimit = 21000.0 / 28000.0;
    for (int i = 0; i < pageSet.GetPageCount(); ++i) {
        const CRect b = pageSet.GetPageAt(i)->GetBoundRect();
        for (const CPoint corner : {CPoint(b.left, b.top), CPoint(b.right, b.top), CPoint(b.right, b.bottom),
                                    CPoint(b.left, b.bottom), CPoint(0, 0)}) {
            auto origin = [](int at) {
                return int(std::clamp<long long>(at - static_cast<long long>(kZoomInLimit * kSide / 2), -2147483647LL,
                                                 2147483646LL));
            };
            QPainter painter(&zoomed);
            CDC dc(&painter);
            pageSet.DrawPage(i, &dc, kZoomInLimit, origin(corner.x), origin(corner.y), CRect(0, 0, kSide, kSide));
            DrawRulers(pageSet, kZoomInLimit, origin(corner.x), origin(corner.y), kSide);
        }
    }

    // Zoomed out as far as the view goes (CVEKView::kZoomOutLimit: a
    // hundred pixels hold the whole range of coordinates), from the low end
    // of the coordinates and about the page, with the rulers: a ruler then
    // spans more model units than an int holds.
    constexpr double kZoomOutLimit = 4294967296.0 / 100.0;
    const int aboutPage = int(-kZoomOutLimit * kSide / 2);
    for (int i = 0; i < pageSet.GetPageCount(); ++i) {
        for (const int origin : {-2147483647, aboutPage}) {
            QPainter painter(&zoomed);
            CDC dc(&painter);
            pageSet.DrawPage(i, &dc, kZoomOutLimit, origin, origin, CRect(0, 0, kSide, kSide));
            DrawRulers(pageSet, kZoomOutLimit, origin, origin, kSide);
        }
    }
}

} // namespace fuzz
