#include "app/CEnrchSheetsBaseview.h"
#include "app/CSheetTabBar.h"
#include "app/COwnerDrawButton.h"
#include "res/CommandIds.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// A view that keeps a list of pages the way the editing view does: it
// follows the bar's notifications only, so the bar and the pages stay in
// step exactly when the notifications are right.
class PageListView : public CEnrchSheetsBaseview {
public:
    std::vector<int> pages{1};
    int current = 0;  // index into pages
    int nextNewPage = 100;
    std::vector<std::string> log;
    std::vector<std::pair<int, int>> hScrolls;

    void SetPages(int count, int currentNumber)
    {
        while (GetSheetCount() < count) AddSheetAfter(GetSheetCount());
        pages.clear();
        for (int i = 1; i <= count; ++i) pages.push_back(i);
        SetCurrentSheet(currentNumber);
        current = currentNumber - 1;
        log.clear();
    }
    int ShownPage() const { return pages[static_cast<size_t>(current)]; }

protected:
    void OnSheetSelected(int oldNumber, int newNumber) override
    {
        log.push_back("sel " + std::to_string(oldNumber) + ">" + std::to_string(newNumber));
        current = newNumber - 1;
    }
    void OnSheetInserted(int n, int where) override
    {
        log.push_back("ins " + std::to_string(n) + (where == 1 ? " before" : " after"));
        if (static_cast<int>(pages.size()) >= GetSheetCount()) return;
        if (where == 1 && n >= 1) {
            pages.insert(pages.begin() + (n - 1), nextNewPage++);
            if (n - 1 <= current) ++current;
        } else if (where == 2) {
            pages.insert(pages.begin() + n, nextNewPage++);
            if (n - 1 < current) ++current;
        }
    }
    void OnSheetDeleted(int n) override
    {
        log.push_back("del " + std::to_string(n));
        if (n - 1 < 0 || n - 1 >= static_cast<int>(pages.size())) return;
        pages.erase(pages.begin() + (n - 1));
        if (current >= static_cast<int>(pages.size())) current = static_cast<int>(pages.size()) - 1;
    }
    void OnHScroll(int code, int pos) override { hScrolls.emplace_back(code, pos); }
};

class SheetTabBarTest : public ::testing::Test {
protected:
    SheetTabBarTest()
    {
        view.resize(700, 300);
        QPalette pal = view.palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Button, QColor(192, 192, 192));
        pal.setColor(QPalette::WindowText, Qt::black);
        view.setPalette(pal);
        view.show();
    }
    CSheetTabBar& Bar() { return *view.GetSheetTabBar(); }

    // The bar and the view's pages agree, and the tabs are numbered and laid
    // out from left to right.
    void ExpectInStep()
    {
        ASSERT_EQ(static_cast<int>(view.pages.size()), view.GetSheetCount());
        EXPECT_EQ(view.current + 1, view.GetCurrentSheet());
        for (int n = 1; n <= view.GetSheetCount(); ++n) {
            const CSheetTab* tab = Bar().GetSheet(n);
            ASSERT_NE(tab, nullptr);
            EXPECT_EQ(tab->GetNumber(), n);
            EXPECT_EQ(tab->GetCaption(), QStringLiteral("页面 %1").arg(n));
            if (n > 1) {
                EXPECT_EQ(tab->GetRect().left, Bar().GetSheet(n - 1)->GetRect().right + 1);
            }
        }
        EXPECT_EQ(Bar().GetButtonText(),
                  QStringLiteral("%1 的 %2").arg(view.GetSheetCount()).arg(view.GetCurrentSheet()));
    }

    void Click(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
    }

    static QPoint Centre(const CSheetTab& tab)
    {
        return QPoint((tab.GetRect().left + tab.GetRect().right) / 2, (tab.GetRect().top + tab.GetRect().bottom) / 2);
    }

    PageListView view;
};

TEST_F(SheetTabBarTest, NewBarHoldsOnePageOneCurrent)
{
    EXPECT_EQ(view.GetSheetCount(), 1);
    EXPECT_EQ(view.GetCurrentSheet(), 1);
    EXPECT_EQ(Bar().GetSheet(1)->GetCaption(), QStringLiteral("页面 1"));
    EXPECT_EQ(Bar().GetButtonText(), QStringLiteral("1 的 1"));
    EXPECT_EQ(Bar().GetSheet(1)->GetRect().left, Bar().GetTabAreaRect().left + 4);
    // At the only page both arrows offer to add a page.
    EXPECT_EQ(Bar().GetButton(ID_NEXT_SHEET)->GetHoverIconId(), 133);
    EXPECT_EQ(Bar().GetButton(ID_PREV_SHEET)->GetHoverIconId(), 133);
}

struct TabCase {
    const char* name;
    int count;
    int current;
    std::function<void(PageListView&)> action;
    int expectedCount;
    int expectedCurrent;
    int expectedShownPage;  // pages start as 1..count, new ones from 100
    std::vector<std::string> expectedLog;
};

TEST_F(SheetTabBarTest, OperationsKeepTabsAndPagesInStep)
{
    const std::vector<TabCase> cases = {
        {"insert before the current page keeps showing it", 3, 2,
         [](PageListView& v) { v.GetSheetTabBar()->OnInsertBefore(); }, 4, 3, 2, {"ins 2 before"}},
        {"insert after the current page shows the new page", 3, 2,
         [](PageListView& v) { v.GetSheetTabBar()->OnInsertAfter(); }, 4, 3, 100, {"ins 2 after", "sel 2>3"}},
        {"insert after an earlier tab keeps the page", 4, 3, [](PageListView& v) { v.InsertSheetAfter(0); }, 5, 4, 3,
         {"ins 1 after"}},
        {"insert after a later tab keeps the page", 4, 2, [](PageListView& v) { v.InsertSheetAfter(2); }, 5, 2, 2,
         {"ins 3 after"}},
        {"insert after and select a tab other than the current", 4, 1,
         [](PageListView& v) { v.InsertSheetAfterAndSelect(3); }, 5, 4, 100, {"ins 3 after", "sel 1>4"}},
        {"next at the last tab adds a page and goes there", 2, 2,
         [](PageListView& v) { v.GetSheetTabBar()->OnNextSheet(); }, 3, 3, 100, {"ins 2 after", "sel 2>3"}},
        {"previous at the first tab adds a page in front and goes there", 2, 1,
         [](PageListView& v) { v.GetSheetTabBar()->OnPrevSheet(); }, 3, 1, 100, {"ins 1 before", "sel 2>1"}},
        {"next", 3, 1, [](PageListView& v) { v.GetSheetTabBar()->OnNextSheet(); }, 3, 2, 2, {"sel 1>2"}},
        {"previous", 3, 3, [](PageListView& v) { v.GetSheetTabBar()->OnPrevSheet(); }, 3, 2, 2, {"sel 3>2"}},
        {"first", 3, 3, [](PageListView& v) { v.GetSheetTabBar()->OnFirstSheet(); }, 3, 1, 1, {"sel 3>1"}},
        {"last", 3, 1, [](PageListView& v) { v.GetSheetTabBar()->OnLastSheet(); }, 3, 3, 3, {"sel 1>3"}},
        {"delete 3 of 5 while 5 is current", 5, 5, [](PageListView& v) { v.DeleteSheet(3); }, 4, 4, 5,
         {"del 3", "sel 5>4"}},
        {"delete while the first is current", 5, 1, [](PageListView& v) { v.DeleteSheet(3); }, 4, 1, 1,
         {"del 3", "sel 1>1"}},
        {"delete the current page shows the next one", 4, 2, [](PageListView& v) { v.DeleteSheet(2); }, 3, 2, 3,
         {"del 2", "sel 2>2"}},
        {"delete the current last page shows the new last", 4, 4, [](PageListView& v) { v.DeleteSheet(4); }, 3, 3, 3,
         {"del 4", "sel 4>3"}},
        {"delete from the tab menu", 3, 2, [](PageListView& v) { v.GetSheetTabBar()->OnDeleteSheet(); }, 2, 2, 3,
         {"del 2", "sel 2>2"}},
        {"the document adds a tab without notifying", 2, 2, [](PageListView& v) { v.AddSheetAfter(2); }, 3, 3, -1,
         {}},
    };
    for (const TabCase& c : cases) {
        SCOPED_TRACE(c.name);
        PageListView v;
        v.resize(700, 300);
        v.show();
        v.SetPages(c.count, c.current);
        c.action(v);
        EXPECT_EQ(v.log, c.expectedLog);
        EXPECT_EQ(v.GetSheetCount(), c.expectedCount);
        EXPECT_EQ(v.GetCurrentSheet(), c.expectedCurrent);
        if (c.expectedShownPage < 0) continue;  // the document, not the bar, adds that page
        EXPECT_EQ(v.ShownPage(), c.expectedShownPage);
        ASSERT_EQ(static_cast<int>(v.pages.size()), v.GetSheetCount());
        EXPECT_EQ(v.current + 1, v.GetCurrentSheet());
    }
}

TEST_F(SheetTabBarTest, TabsStayNumberedAndPackedThroughASequence)
{
    view.SetPages(3, 2);
    Bar().OnInsertBefore();
    ExpectInStep();
    Bar().OnNextSheet();
    ExpectInStep();
    view.InsertSheetAfter(0);
    ExpectInStep();
    for (int i = 0; i < 9; ++i) Bar().OnInsertAfter();  // captions grow to two digits
    ExpectInStep();
    view.DeleteSheet(1);
    ExpectInStep();
    Bar().OnFirstSheet();
    Bar().OnPrevSheet();
    ExpectInStep();
    EXPECT_EQ(Bar().GetButton(ID_PREV_SHEET)->GetHoverIconId(), 133);
    EXPECT_EQ(Bar().GetButton(ID_NEXT_SHEET)->GetHoverIconId(), 139);
}

// A document of thousands of pages gets its tabs in one go: they are
// measured once, not again for every page added, and show just as tabs
// added one by one do.
TEST_F(SheetTabBarTest, TabsSetInOneGoAreMeasuredOnceAndShowAsAddedOneByOne)
{
    PageListView oneByOne;
    oneByOne.setPalette(view.palette());
    oneByOne.resize(view.size());
    oneByOne.show();
    oneByOne.SetPages(30, 1);
    view.SetSheetCount(30);
    view.SetCurrentSheet(1);
    CSheetTabBar& other = *oneByOne.GetSheetTabBar();
    ASSERT_EQ(view.GetSheetCount(), 30);
    for (const int current : {1, 12, 30}) {
        SCOPED_TRACE(testing::Message() << "current " << current);
        view.SetCurrentSheet(current);
        oneByOne.SetCurrentSheet(current);
        for (int n = 1; n <= 30; ++n) EXPECT_EQ(Bar().GetSheet(n)->GetRect(), other.GetSheet(n)->GetRect()) << n;
        QImage set(Bar().size(), QImage::Format_RGB32);
        QImage added(other.size(), QImage::Format_RGB32);
        Bar().render(&set);
        other.render(&added);
        EXPECT_EQ(set, added);
        EXPECT_EQ(Bar().GetButtonText(), other.GetButtonText());
    }
    view.SetCurrentSheet(12);

    const int before = Bar().GetTabMeasureCount();
    view.SetSheetCount(10000);
    EXPECT_EQ(Bar().GetTabMeasureCount(), before + 1);
    ASSERT_EQ(view.GetSheetCount(), 10000);
    EXPECT_EQ(view.GetCurrentSheet(), 12);
    EXPECT_EQ(Bar().GetButtonText(), QStringLiteral("10000 的 12"));
    EXPECT_EQ(Bar().GetSheet(10000)->GetCaption(), QStringLiteral("页面 10000"));
    for (int n = 2; n <= 10000; ++n)
        ASSERT_EQ(Bar().GetSheet(n)->GetRect().left, Bar().GetSheet(n - 1)->GetRect().right + 1) << n;
    EXPECT_GT(Bar().GetSheet(10000)->GetRect().Width(), Bar().GetSheet(9)->GetRect().Width());

    // Fewer tabs: the current one, gone, gives way to the last.
    view.SetSheetCount(5);
    EXPECT_EQ(Bar().GetTabMeasureCount(), before + 2);
    EXPECT_EQ(view.GetSheetCount(), 5);
    EXPECT_EQ(view.GetCurrentSheet(), 5);
    view.SetSheetCount(0);
    EXPECT_EQ(view.GetSheetCount(), 1);
    EXPECT_EQ(Bar().GetSheet(1)->GetRect().left, Bar().GetTabAreaRect().left + 4);
    EXPECT_TRUE(view.log.empty());
}

// Among 10,000 tabs, scrolled to the middle and stepped on from there:
// every tab that reaches the tab area is drawn where it lies (its bottom
// edge, its caption inside), in the window colour for
// the current one, and a click on any tab that shows whole selects that
// tab. Only those tabs are painted and hit-tested, not all of them.
TEST_F(SheetTabBarTest, AmongThousandsOfTabsTheShownOnesAreDrawnAndHit)
{
    // Wide enough for three whole tabs beside the counter of five digits.
    view.resize(800, 300);
    view.SetSheetCount(10000);
    view.SetCurrentSheet(5000);
    for (int step = 0; step < 25; ++step) Bar().OnNextSheet();
    ASSERT_EQ(view.GetCurrentSheet(), 5025);

    // The tabs show left of the grip.
    const CRect area = Bar().GetTabAreaRect();
    const int clipRight = Bar().GetGripRect().left;
    const int h = Bar().height();
    QImage image(Bar().size(), QImage::Format_RGB32);
    Bar().render(&image);
    std::vector<int> whole;
    int shown = 0;
    for (int n = 1; n <= 10000; ++n) {
        const CRect r = Bar().GetSheet(n)->GetRect();
        if (r.right + 4 < area.left || r.left - 4 >= clipRight) continue;
        ++shown;
        SCOPED_TRACE(testing::Message() << "tab " << n);
        // The bottom edge, where it shows.
        for (int x = std::max(r.left + 4, area.left); x < std::min(r.right - 4, clipRight); ++x)
            EXPECT_EQ(image.pixelColor(x, r.bottom), QColor(Qt::black)) << x;
        if (r.left - 4 < area.left || r.right + 4 >= area.right) continue;
        whole.push_back(n);
        EXPECT_EQ(image.pixelColor(r.left + 5, h / 2), n == 5025 ? QColor(Qt::white) : QColor(192, 192, 192));
        bool ink = false;
        for (int x = r.left + 8; x < r.right - 8 && !ink; ++x)
            for (int y = 2; y < h - 3 && !ink; ++y) ink = image.pixelColor(x, y) == QColor(Qt::black);
        EXPECT_TRUE(ink);
    }
    ASSERT_GE(whole.size(), 3u);
    EXPECT_LE(shown, int(whole.size()) + 2);
    EXPECT_NE(std::find(whole.begin(), whole.end(), 5025), whole.end());

    for (const int n : whole) {
        Click(&Bar(), Centre(*Bar().GetSheet(n)));
        EXPECT_EQ(view.GetCurrentSheet(), n);
    }
}

TEST_F(SheetTabBarTest, TheOnlyPageCannotBeDeleted)
{
    QString shown;
    QTimer::singleShot(0, [&shown]() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    view.DeleteSheet(1);
    EXPECT_EQ(shown, QStringLiteral("不能删除唯一的页面!"));
    EXPECT_EQ(view.GetSheetCount(), 1);
    EXPECT_EQ(view.GetCurrentSheet(), 1);
    EXPECT_TRUE(view.log.empty());
}

TEST_F(SheetTabBarTest, NumbersOutsideTheBarAreIgnored)
{
    view.SetPages(2, 1);
    view.DeleteSheet(3);
    view.InsertSheetAfter(5);
    view.InsertSheetAfter(2);   // indexes run 0 .. count - 1
    view.InsertSheetAfter(-1);
    view.SetCurrentSheet(0);
    EXPECT_EQ(view.GetSheetCount(), 2);
    EXPECT_EQ(view.GetCurrentSheet(), 1);
    EXPECT_TRUE(view.log.empty());
}

TEST_F(SheetTabBarTest, ATabIsHitInsideItsTrapezoid)
{
    const CSheetTab tab(1, CRect(100, 0, 160, 15));
    struct Case {
        CPoint point;
        bool hit;
    };
    const Case cases[] = {
        {{130, 7}, true},   // middle
        {{98, 1}, true},    // under the wide top, left of the rectangle
        {{162, 1}, true},   // and right of it
        {{101, 13}, false}, // the narrow bottom leaves the corners out
        {{159, 13}, false},
        {{90, 7}, false},
        {{130, 20}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
        EXPECT_EQ(tab.HitTest(c.point), c.hit);
    }
}

TEST_F(SheetTabBarTest, ClickingATabSelectsIt)
{
    view.SetPages(3, 1);
    Click(&Bar(), Centre(*Bar().GetSheet(3)));
    EXPECT_EQ(view.GetCurrentSheet(), 3);
    EXPECT_EQ(view.log, (std::vector<std::string>{"sel 1>3"}));
    Click(&Bar(), Centre(*Bar().GetSheet(3)));  // already current: nothing more
    EXPECT_EQ(view.log.size(), 1u);
    ExpectInStep();
}

TEST_F(SheetTabBarTest, RightClickSelectsAndOffersTheTabMenu)
{
    view.SetPages(3, 1);
    Click(&Bar(), Centre(*Bar().GetSheet(2)), Qt::RightButton);
    EXPECT_EQ(view.GetCurrentSheet(), 2);
    QMenu* menu = Bar().GetTabMenu();
    EXPECT_TRUE(menu->isVisible());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("在当前页之前插入页"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("在当前页之后插入页"));
    EXPECT_EQ(actions[2]->text(), QStringLiteral("删除页面(&D)"));
    menu->hide();
    actions[0]->trigger();
    EXPECT_EQ(view.GetSheetCount(), 4);
    EXPECT_EQ(view.ShownPage(), 2);
    ExpectInStep();
}

TEST_F(SheetTabBarTest, TheCurrentTabIsScrolledFullyIntoView)
{
    view.SetPages(40, 1);
    const CRect area = Bar().GetTabAreaRect();
    auto expectVisible = [&](int n) {
        SCOPED_TRACE(testing::Message() << "tab " << n);
        const CRect r = Bar().GetSheet(n)->GetRect();
        EXPECT_GE(r.left, area.left + 4);
        EXPECT_LE(r.right, area.right - 5);
        // Painting checks again and must leave the tabs where they are.
        Bar().EnsureCurrentTabVisible();
        EXPECT_EQ(Bar().GetSheet(n)->GetRect(), r);
    };
    ASSERT_GT(Bar().GetSheet(40)->GetRect().right, area.right);

    view.SetCurrentSheet(40);
    expectVisible(40);
    // Stepping back through tabs cut off at the left edge, and forward again.
    for (int n = 39; n >= 1; --n) {
        Bar().OnPrevSheet();
        expectVisible(n);
    }
    EXPECT_EQ(Bar().GetSheet(1)->GetRect().left, area.left + 4);
    for (int n = 2; n <= 40; ++n) {
        Bar().OnNextSheet();
        expectVisible(n);
    }
    // Back at the first tab with room to spare, the tabs return to the start.
    view.SetCurrentSheet(1);
    EXPECT_EQ(Bar().GetSheet(1)->GetRect().left, area.left + 4);
}

TEST_F(SheetTabBarTest, TheGripResizesTheScrollBarWithinLimits)
{
    QScrollBar* scroll = Bar().GetScrollBar();
    const int scrollRight = scroll->geometry().right() + 1;
    auto drag = [&](int dx) {
        const CRect grip = Bar().GetGripRect();
        const QPoint from((grip.left + grip.right) / 2, 5);
        const int toX = from.x() + dx;
        QMouseEvent press(QEvent::MouseButtonPress, from, Bar().mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&Bar(), &press);
        const QPoint to(toX, 5);
        QMouseEvent move(QEvent::MouseMove, to, Bar().mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&Bar(), &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, Bar().mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(&Bar(), &release);
    };
    const int before = scroll->width();
    drag(-50);
    EXPECT_EQ(scroll->width(), before + 50);
    EXPECT_EQ(scroll->geometry().right() + 1, scrollRight);
    EXPECT_EQ(Bar().GetTabAreaRect().right, Bar().GetGripRect().left - 1);

    drag(1000);  // far right: the scroll bar keeps 80 pixels
    EXPECT_EQ(scroll->width(), 80);
    drag(-1000);  // far left: the grip stops right of the tab area's left edge
    EXPECT_GT(Bar().GetGripRect().left, Bar().GetTabAreaRect().left);
    EXPECT_EQ(scroll->geometry().right() + 1, scrollRight);
}

// The page counter between the arrows shows its text whole however many
// digits the count has ("200 的 200" is not cut to "!00 的 20("), and the
// arrows and the tabs after it start right after it.
TEST_F(SheetTabBarTest, ThePageCounterShowsItsTextWhole)
{
    COwnerDrawButton* counter = Bar().GetButton(ID_SHEET_TEXT);
    COwnerDrawButton* next = Bar().GetButton(ID_NEXT_SHEET);
    COwnerDrawButton* last = Bar().GetButton(ID_LAST_SHEET);
    const QColor background(192, 192, 192);
    // Last, back to fewer digits: the tabs move left with the counter.
    for (const int count : {1, 9, 99, 100, 200, 10000, 9}) {
        SCOPED_TRACE(testing::Message() << count << " pages");
        Bar().SetCurrentSheet(1);
        Bar().SetSheetCount(count);
        EXPECT_EQ(Bar().GetSheet(1)->GetRect().left, Bar().GetTabAreaRect().left + 4);
        Bar().SetCurrentSheet(count);
        const QString text = Bar().GetButtonText();
        EXPECT_GE(counter->width(), counter->fontMetrics().horizontalAdvance(text));

        // Ink of the text, and none in the columns at either edge.
        QImage image(counter->size(), QImage::Format_RGB32);
        counter->render(&image);
        int inked = 0;
        int atTheEdges = 0;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (image.pixelColor(x, y) == background) continue;
                ++inked;
                if (x < 2 || x >= image.width() - 2) ++atTheEdges;
            }
        }
        EXPECT_GT(inked, 0);
        EXPECT_EQ(atTheEdges, 0);

        EXPECT_EQ(next->geometry().left(), counter->geometry().right() + 1);
        EXPECT_EQ(last->geometry().left(), next->geometry().right() + 1);
        EXPECT_EQ(Bar().GetTabAreaRect().left, last->geometry().right() + 2);
    }
}

TEST_F(SheetTabBarTest, TheCurrentTabIsDrawnOpenInTheWindowColour)
{
    view.SetPages(3, 2);
    QImage image(Bar().size(), QImage::Format_RGB32);
    Bar().render(&image);
    const int h = Bar().height();
    for (int n = 1; n <= 3; ++n) {
        const CRect r = Bar().GetSheet(n)->GetRect();
        const QColor fill = image.pixelColor(r.left + 5, h / 2);
        EXPECT_EQ(fill, n == 2 ? QColor(Qt::white) : QColor(192, 192, 192)) << "tab " << n;
    }
    // The top line runs beside the current tab only.
    const CRect current = Bar().GetSheet(2)->GetRect();
    EXPECT_EQ(image.pixelColor(current.left - 10, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor((current.left + current.right) / 2, 0), QColor(Qt::white));
}

TEST_F(SheetTabBarTest, DrawingAreaLeavesRoomForTheBars)
{
    const CRect r = view.GetDrawingRect();
    QScrollBar* v = view.GetScrollBarCtrl(Qt::Vertical);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 700 - v->width());
    EXPECT_EQ(r.bottom, 300 - Bar().height());
    EXPECT_EQ(v->geometry().left(), r.right);
    EXPECT_EQ(Bar().geometry().top(), r.bottom);
    EXPECT_EQ(view.GetScrollBarCtrl(Qt::Horizontal), Bar().GetScrollBar());
}

TEST_F(SheetTabBarTest, ScrollRequestsReachTheViewWhichMovesTheThumb)
{
    CEnrchSheetsBaseview::ScrollInfo info;
    info.nMin = -100;
    info.nMax = 300;
    info.nPage = 50;
    info.nPos = 0;
    view.SetScrollInfo(Qt::Horizontal, info);
    const CEnrchSheetsBaseview::ScrollInfo back = view.GetScrollInfo(Qt::Horizontal);
    EXPECT_EQ(back.nMin, -100);
    EXPECT_EQ(back.nMax, 300);
    EXPECT_EQ(back.nPage, 50);
    EXPECT_EQ(back.nPos, 0);

    QScrollBar* bar = view.GetScrollBarCtrl(Qt::Horizontal);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    bar->setSliderPosition(40);
    EXPECT_EQ(view.hScrolls, (std::vector<std::pair<int, int>>{{CEnrchSheetsBaseview::SB_LINEDOWN, 1},
                                                               {CEnrchSheetsBaseview::SB_PAGEUP, -50},
                                                               {CEnrchSheetsBaseview::SB_THUMBTRACK, 40}}));
    // The thumb moves only when the view says so.
    EXPECT_EQ(view.GetScrollPos(Qt::Horizontal), 0);
    EXPECT_EQ(view.SetScrollPos(Qt::Horizontal, 25), 0);
    EXPECT_EQ(view.GetScrollPos(Qt::Horizontal), 25);
    EXPECT_EQ(view.hScrolls.size(), 3u);
}

} // namespace
