#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "ui/CFontNameCombo.h"
#include "ui/CFontNameItemDelegate.h"
#include "ui/CFontSampleWnd.h"
#include "ui/CLineTypeCombo.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPainter>
#include <QStandardItemModel>

namespace {

class ListsTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().SetDefaults(); }
};

CLineAttr CustomLineType()
{
    CPointList points;
    points.AddTail(CPoint(0, 0));
    points.AddTail(CPoint(1200, 300));
    return CLineAttr::Custom(10, 50, CLineTypeShapeArray{CLineTypeShape(10, 0, points)});
}

// A sample's box, as the tool bar's line-type box draws its entries.
const QRect kSampleBox(0, 0, 72, CLineTypeCombo::kItemHeight);

// A paint device that only counts what is drawn on it, to tell how much
// painting a sample costs without timing it.
class CountingEngine : public QPaintEngine {
public:
    CountingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++draws; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { ++draws; }
    void drawPolygon(const QPointF*, int count, PolygonDrawMode) override
    {
        ++draws;
        points += count;
    }
    void drawPath(const QPainterPath& path) override
    {
        ++draws;
        points += path.elementCount();
    }
    Type type() const override { return QPaintEngine::User; }
    long long draws = 0;
    long long points = 0;
};

class CountingDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable CountingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return kSampleBox.width();
        case PdmHeight: return kSampleBox.height();
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return QPaintDevice::metric(m);
        }
    }
};

void PressDeleteIn(QWidget* w)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
}

} // namespace

TEST_F(ListsTest, FontSampleShowsTheFaceInItselfOnTheTipColour)
{
    const QStringList families = QFontDatabase::families();
    ASSERT_FALSE(families.isEmpty());
    const QString face = families.front();
    CFontSampleWnd sample;
    sample.ShowSample(40, 50, face);
    EXPECT_TRUE(sample.isVisible());
    EXPECT_EQ(sample.pos(), QPoint(40, 50));
    EXPECT_EQ(sample.SampleFont().family(), face);
    EXPECT_EQ(sample.SampleFont().pixelSize(), 18);
    const QFontMetrics metrics(sample.SampleFont());
    EXPECT_EQ(sample.size(), QSize(metrics.horizontalAdvance(face) + 8, metrics.height() + 8));
    // The same text again leaves it where it is.
    sample.ShowSample(90, 90, face);
    EXPECT_EQ(sample.pos(), QPoint(40, 50));

    const QImage image = sample.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), sample.palette().color(QPalette::ToolTipBase));
    int ink = 0;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            ink += image.pixelColor(x, y) != sample.palette().color(QPalette::ToolTipBase);
    EXPECT_GT(ink, 10);
}

TEST_F(ListsTest, OpenFontListShowsTheHighlightedFaceBesideItAndHidesItOnClose)
{
    CFontNameCombo combo;
    ASSERT_GT(combo.count(), 0);
    combo.show();
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    ASSERT_TRUE(list->isVisible());
    const int row = std::min(2, combo.count() - 1);
    list->setCurrentIndex(combo.model()->index(row, 0));
    combo.OnSampleTimer();
    CFontSampleWnd* sample = combo.SampleWindow();
    ASSERT_TRUE(sample->isVisible());
    EXPECT_EQ(sample->SampleText(), combo.itemText(row));
    const int top = std::max(0, list->indexAt(QPoint(1, 1)).row());
    const QPoint corner = list->mapToGlobal(QPoint(list->width(), 0));
    EXPECT_EQ(sample->pos(), QPoint(corner.x() + 5, corner.y() + list->sizeHintForRow(0) * (row - top + 1)));
    combo.hidePopup();
    EXPECT_FALSE(sample->isVisible());
    // Closed, the timer shows nothing.
    combo.OnSampleTimer();
    EXPECT_FALSE(sample->isVisible());
}

TEST_F(ListsTest, FontEntriesMarkTrueTypeAndUnderlineTheLastRecentFace)
{
    QStandardItemModel model;
    const QString scalable = QFontDatabase::families().front();
    for (int i = 0; i < 3; ++i) {
        auto* item = new QStandardItem(scalable);
        item->setData(i < 2 ? CFontNameItemDelegate::kRecent : 0, Qt::UserRole);
        model.appendRow(item);
    }
    CFontNameItemDelegate delegate;
    const QSize cell(160, 20);
    auto render = [&](int row) {
        QImage image(cell, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        QStyleOptionViewItem option;
        option.rect = QRect(QPoint(0, 0), cell);
        option.palette = QApplication::palette();
        option.font = QApplication::font();
        option.fontMetrics = QFontMetrics(option.font);
        delegate.paint(&p, option, model.index(row, 0));
        return image;
    };
    const QColor base = QApplication::palette().color(QPalette::Base);
    const QColor text = QApplication::palette().color(QPalette::Text);
    const int lineY = QFontMetrics(QApplication::font()).height();
    // Row 1 is the last recent entry: two lines across the whole entry.
    const QImage last = render(1);
    for (int x : {0, 80, 159}) {
        EXPECT_EQ(last.pixelColor(x, lineY), text) << x;
        if (lineY + 2 < cell.height()) EXPECT_EQ(last.pixelColor(x, lineY + 2), text) << x;
        EXPECT_EQ(last.pixelColor(x, lineY + 1), base) << x;
    }
    const QImage first = render(0);
    EXPECT_EQ(first.pixelColor(159, lineY), base);
    // The TrueType mark stands left of the name, the name from 17 pixels in.
    if (delegate.IsTrueType(scalable)) {
        QImage mark(15, 12, QImage::Format_RGB32);
        mark.fill(Qt::white);
        QPainter mp(&mark);
        CFontNameItemDelegate::DrawTrueTypeMark(mp, QPoint(0, 0));
        mp.end();
        EXPECT_EQ(mark.pixelColor(9, 8), QColor(0, 0, 0));
        EXPECT_EQ(mark.pixelColor(2, 1), QColor(128, 128, 128));
        // In the entry, centred in its height at the left edge.
        EXPECT_EQ(first.pixelColor(9, (cell.height() - 12) / 2 + 8), QColor(0, 0, 0));
    }
    int inkLeftOfName = 0;
    for (int y = 0; y < cell.height(); ++y)
        inkLeftOfName += first.pixelColor(16, y) != base;
    EXPECT_EQ(inkLeftOfName, 0);
}

TEST_F(ListsTest, TheHighlightedEntryOfTheOpenLineTypeListIsDeletedByTheDeleteKey)
{
    CSystemSettings& s = Settings();
    ASSERT_TRUE(s.AddLineType(CustomLineType())); // 9
    ASSERT_TRUE(s.AddLineType(CustomLineType())); // 10
    ASSERT_TRUE(s.AddLineType(CustomLineType())); // 11
    s.m_nCurLineType = 10;
    int reported = 0;
    QObject::connect(&CMessageHub::Instance(), &CMessageHub::LineTypeChanged, &CMessageHub::Instance(),
                     [&reported](int) { ++reported; });
    CLineTypeCombo combo;
    combo.show();
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    auto highlightAndDelete = [&](int row) {
        list->setCurrentIndex(combo.model()->index(row, 0));
        PressDeleteIn(list);
    };
    highlightAndDelete(3); // built in
    highlightAndDelete(10); // current
    EXPECT_EQ(s.m_aLineTypes.size(), 12u);
    highlightAndDelete(9);
    EXPECT_EQ(s.m_aLineTypes.size(), 11u);
    EXPECT_EQ(s.m_aLineTypePreviews.size(), 6u);
    EXPECT_EQ(s.m_nCurLineType, 9); // the same line type, one place up
    EXPECT_EQ(combo.count(), 11);
    EXPECT_EQ(combo.currentIndex(), 9);
    EXPECT_EQ(list->currentIndex().row(), 9); // the highlight stays in place
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(reported, 0); // deleting chooses nothing
    combo.hidePopup();
}

TEST_F(ListsTest, TheOpenLineTypeListsMenuOffersDeleteOnlyForACustomTypeThatIsNotCurrent)
{
    CSystemSettings& s = Settings();
    ASSERT_TRUE(s.AddLineType(CustomLineType())); // 9
    ASSERT_TRUE(s.AddLineType(CustomLineType())); // 10
    s.m_nCurLineType = 9;
    CLineTypeCombo combo;
    struct Case {
        int row;
        bool enabled;
    };
    for (const Case& c : {Case{0, false}, Case{4, false}, Case{5, true}, Case{9, false}, Case{10, true}}) {
        std::unique_ptr<QMenu> menu(combo.CreateListMenu(c.row, nullptr));
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("删除线型"));
        EXPECT_EQ(menu->actions().front()->isEnabled(), c.enabled) << c.row;
    }
    std::unique_ptr<QMenu> menu(combo.CreateListMenu(5, nullptr));
    menu->actions().front()->trigger();
    EXPECT_EQ(s.m_aLineTypes.size(), 10u);
    EXPECT_EQ(s.m_aLineTypes[5].GetKind(), 6); // the built-in that followed moved up
    EXPECT_EQ(s.m_nCurLineType, 8);
}

// A custom line type's sample shows its pattern repeated along the box:
// the sawtooth reaches from the left of the box to its right, and from
// near its top to near its bottom.
TEST_F(ListsTest, ACustomSampleRepeatsItsPatternAlongTheBox)
{
    CSystemSettings& s = Settings();
    const CPointList points{CPoint(0, 1200), CPoint(600, 0), CPoint(1200, 1200)};
    ASSERT_TRUE(s.AddLineType(CLineAttr::Custom(300, 100, CLineTypeShapeArray{CLineTypeShape(100, 0, points)})));
    QImage image(kSampleBox.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    CLineTypeCombo::DrawLineTypeSample(p, kSampleBox, 9, Qt::black);
    p.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ink |= QRect(x, y, 1, 1);
    EXPECT_LE(ink.left(), 6);
    EXPECT_GE(ink.right(), kSampleBox.width() - 6);
    EXPECT_LE(ink.top(), 4);
    EXPECT_GE(ink.bottom(), kSampleBox.height() - 5);
    // Teeth, not a band: some columns in the middle have no ink at the top.
    int columnsWithoutInkAtTheTop = 0;
    for (int x = 10; x < 60; ++x) columnsWithoutInkAtTheTop += qGray(image.pixel(x, ink.top())) > 200;
    EXPECT_GT(columnsWithoutInkAtTheTop, 10);
}

// Whatever a display copy holds, its sample costs what the box shows: a
// point half a billion units out (which squeezes each repetition to a
// millionth of a pixel) and a pattern of many points paint a few dozen
// copies at most, and the pattern's points are not painted again for each.
TEST_F(ListsTest, ASampleCostsWhatItsBoxShowsWhateverItsPattern)
{
    CSystemSettings& s = Settings();
    const CPointList points{CPoint(0, 1200), CPoint(600, 0), CPoint(1200, 1200)};
    ASSERT_TRUE(s.AddLineType(CLineAttr::Custom(300, 100, CLineTypeShapeArray{CLineTypeShape(100, 0, points)})));
    CPointList far = s.m_aLineTypePreviews[4].GetShapes().front().GetPoints();
    far.GetAt(far.FindIndex(1)).y = -536870918;
    CPointList many;
    for (int i = 0; i < 200000; ++i) many.AddTail(CPoint(i % 13 - 6, (i * 7) % 13 - 6));
    for (const CPointList& pattern : {far, many}) {
        s.m_aLineTypePreviews[4].SetShapes(CLineTypeShapeArray{CLineTypeShape(1, 0, pattern)});
        CountingDevice device;
        QPainter p(&device);
        CLineTypeCombo::DrawLineTypeSample(p, kSampleBox, 9, Qt::black);
        p.end();
        EXPECT_GT(device.engine.draws, 0);
        EXPECT_LE(device.engine.draws, kSampleBox.width());
        EXPECT_LE(device.engine.points, kSampleBox.width() * kSampleBox.height());
    }
}
