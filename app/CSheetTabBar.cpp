#include "app/CSheetTabBar.h"

#include "app/ToolCursors.h"

#include "res/CommandIds.h"
#include "res/StringTable.h"
#include "app/COwnerDrawButton.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int IDS_SHEET_OF = 36004;
constexpr int IDS_DELETE_ONLY_SHEET = 36006;
constexpr int IDS_APP_TITLE = 36000;
constexpr int IDI_ADD_SHEET = 133;
constexpr int IDI_FIRST_SHEET = 135;
constexpr int IDI_LAST_SHEET = 137;
constexpr int IDI_NEXT_SHEET = 139;
constexpr int IDI_PREV_SHEET = 140;
constexpr int IDC_GRIP = 144;
constexpr int kIconSize = 32;
// The scroll bar starts this far from the bar's right edge.
constexpr int kInitialScrollBarOffset = 265;
constexpr int kMinScrollBarWidth = 80;
constexpr int kGripWidth = 6;
// How far a tab's slanted edges and shadow reach past its rectangle.
constexpr int kTabReach = 6;
// Pixels kept free on either side of the counter's text: its frame, the
// shift of a pressed button and some air.
constexpr int kCounterMargin = 6;

QString ResText(int id, const char* fallback)
{
    const QString text = LoadResString(id);
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

QRect ToQRect(const CRect& r)
{
    return QRect(r.left, r.top, r.Width(), r.Height());
}

// The Windows 3-D frame: top and left in one colour, bottom and right in
// the other, all inside the rectangle.
void Draw3dRect(QPainter& painter, const CRect& r, const QColor& topLeft, const QColor& bottomRight)
{
    painter.fillRect(r.left, r.top, r.Width() - 1, 1, topLeft);
    painter.fillRect(r.left, r.top, 1, r.Height() - 1, topLeft);
    painter.fillRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
    painter.fillRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
}

// "%d 的 %d" (or the resource's wording) with the page count and the
// current number.
QString CounterText(const QString& count, const QString& current)
{
    QString text = ResText(IDS_SHEET_OF, "%d 的 %d");
    const int firstArg = text.indexOf(QStringLiteral("%d"));
    if (firstArg >= 0) text.replace(firstArg, 2, count);
    const int secondArg = text.indexOf(QStringLiteral("%d"));
    if (secondArg >= 0) text.replace(secondArg, 2, current);
    return text;
}

// The widest counter text of a page count: the current number has at most
// the count's digits, each at most as wide as the widest digit.
int WidestCounterText(int count, const QFontMetrics& metrics)
{
    QChar widest = QLatin1Char('0');
    for (char digit = '1'; digit <= '9'; ++digit)
        if (metrics.horizontalAdvance(QLatin1Char(digit)) > metrics.horizontalAdvance(widest))
            widest = QLatin1Char(digit);
    const QString number = QString::number(count);
    const QString text = CounterText(number, QString(number.size(), widest));
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
}

} // namespace

// The icons are compiled into a static library, whose resources register
// only when asked to.
static void InitSheetTabResources()
{
    Q_INIT_RESOURCE(sheettabs);
}

CSheetTabBar::CSheetTabBar(QWidget* parent) : QWidget(parent)
{
    static const bool registered = (InitSheetTabResources(), true);
    Q_UNUSED(registered);
    setObjectName(QStringLiteral("Morvane"));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setFixedHeight(BarHeight());

    m_pScrollBar = new QScrollBar(Qt::Horizontal, this);
    m_pScrollBar->setObjectName(QStringLiteral("32788"));
    m_pScrollBar->setCursor(Qt::ArrowCursor);
    m_pSizeBox = new QSizeGrip(this);
    m_pSizeBox->setObjectName(QStringLiteral("32789"));
    m_nScrollBarWidth = kInitialScrollBarOffset - BarHeight();
    m_gripCursor = CursorOfId(IDC_GRIP);
    CreateButtons();
    CreateTabMenu();
    LayoutChildren();

    m_tabs.push_back(std::make_unique<CSheetTab>(1, CRect()));
    RelayoutTabs(m_rcTabArea.left + 4);
    UpdateButtons();
}

CSheetTabBar::~CSheetTabBar() = default;

int CSheetTabBar::BarHeight() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

int CSheetTabBar::ButtonWidth() const
{
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

// The counter between the arrows fits the widest text of the page count
// and keeps at least four buttons' width, so that a short count leaves the
// bar as it was.
int CSheetTabBar::CounterWidth() const
{
    const int text = WidestCounterText(GetSheetCount(), GetButton(ID_SHEET_TEXT)->fontMetrics());
    return std::max(4 * ButtonWidth(), text + 2 * kCounterMargin);
}

// The counter widens with the count's digits (and its font); the tabs move
// with the tab area's left edge.
void CSheetTabBar::FitCounter()
{
    const int width = CounterWidth();
    if (width == m_nCounterWidth) return;
    m_nCounterWidth = width;
    const int oldLeft = m_rcTabArea.left;
    LayoutChildren();
    ShiftTabs(m_rcTabArea.left - oldLeft);
    RedrawNow();
}

void CSheetTabBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) FitCounter();
}

QSize CSheetTabBar::sizeHint() const
{
    return QSize(kInitialScrollBarOffset + 4 * ButtonWidth() + m_nCounterWidth, BarHeight());
}

void CSheetTabBar::CreateButtons()
{
    const std::array<int, 5> ids{ID_FIRST_SHEET, ID_PREV_SHEET, ID_SHEET_TEXT, ID_NEXT_SHEET, ID_LAST_SHEET};
    const std::array<void (CSheetTabBar::*)(), 5> handlers{&CSheetTabBar::OnFirstSheet, &CSheetTabBar::OnPrevSheet,
                                                           &CSheetTabBar::OnSheetText, &CSheetTabBar::OnNextSheet,
                                                           &CSheetTabBar::OnLastSheet};
    for (size_t i = 0; i < ids.size(); ++i) {
        auto* button = new COwnerDrawButton(QString(), ids[i], this);
        button->setObjectName(QString::number(ids[i]));
        const auto handler = handlers[i];
        connect(button, &COwnerDrawButton::Command, this, [this, handler](int) { (this->*handler)(); });
        m_buttons[i] = button;
    }
    GetButton(ID_FIRST_SHEET)->SetIcon(IDI_FIRST_SHEET, 0, kIconSize, kIconSize);
    GetButton(ID_LAST_SHEET)->SetIcon(IDI_LAST_SHEET, 0, kIconSize, kIconSize);
}

void CSheetTabBar::CreateTabMenu()
{
    m_pTabMenu = new QMenu(this);
    m_pTabMenu->addAction(ResText(ID_INSERT_BEFORE, "在当前页之前插入页"), this, &CSheetTabBar::OnInsertBefore)
        ->setData(ID_INSERT_BEFORE);
    m_pTabMenu->addAction(ResText(ID_INSERT_AFTER, "在当前页之后插入页"), this, &CSheetTabBar::OnInsertAfter)
        ->setData(ID_INSERT_AFTER);
    m_pTabMenu->addAction(ResText(ID_DELETE_SHEET, "删除页面(&D)"), this, &CSheetTabBar::OnDeleteSheet)
        ->setData(ID_DELETE_SHEET);
}

COwnerDrawButton* CSheetTabBar::GetButton(int commandId) const
{
    for (COwnerDrawButton* button : m_buttons) {
        if (button->GetCommandId() == commandId) return button;
    }
    return nullptr;
}

const CSheetTab* CSheetTabBar::GetSheet(int n) const
{
    if (n < 1 || n > GetSheetCount()) return nullptr;
    return m_tabs[static_cast<size_t>(n - 1)].get();
}

// ---- layout -------------------------------------------------------------

void CSheetTabBar::LayoutChildren()
{
    const int w = ButtonWidth();
    const int h = BarHeight();
    const int width = this->width();

    const int scrollRight = width - w;
    const int scrollLeft = scrollRight - m_nScrollBarWidth;
    m_pScrollBar->setGeometry(scrollLeft, 0, m_nScrollBarWidth, h);
    m_pSizeBox->setGeometry(width - w, 0, w, h);
    m_rcGrip = CRect(scrollLeft - kGripWidth - 1, 0, scrollLeft - 1, h + 1);

    // First, previous, the counter, next, last.
    const int c = m_nCounterWidth;
    const std::array<std::pair<int, int>, 5> spans{
        {{0, w}, {w, 2 * w}, {2 * w, 2 * w + c}, {2 * w + c, 3 * w + c}, {3 * w + c, 4 * w + c}}};
    for (size_t i = 0; i < spans.size(); ++i) {
        m_buttons[i]->setGeometry(spans[i].first, 1, spans[i].second - spans[i].first, h);
    }
    const int tabsLeft = spans.back().second + 1;
    m_rcTabArea = CRect(tabsLeft, 1, std::max(tabsLeft, m_rcGrip.left - 1), h + 1);
}

void CSheetTabBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutChildren();
}

void CSheetTabBar::RelayoutTabs(int firstLeft)
{
    // Captions widen as numbers grow ("页面 9" to "页面 10"), so every tab
    // takes its new number's width; tabs keep one pixel between them.
    ++m_nMeasures;
    if (font() != m_captionFont) {
        m_captionWidths.clear();
        m_captionFont = font();
    }
    const int bottom = BarHeight() - 1;
    int left = firstLeft;
    for (auto& tab : m_tabs) {
        const int width = CaptionWidth(tab->GetNumber());
        tab->SetRect(CRect(left, 0, left + width, bottom));
        left = tab->GetRect().right + 1;
    }
}

int CSheetTabBar::CaptionWidth(int number)
{
    const std::size_t index = static_cast<std::size_t>(std::max(number, 1) - 1);
    if (index >= m_captionWidths.size()) m_captionWidths.resize(index + 1, -1);
    int& width = m_captionWidths[index];
    if (width < 0) width = CSheetTab::WidthFor(CSheetTab(number, CRect()).GetCaption(), fontMetrics());
    return width;
}

void CSheetTabBar::ShiftTabs(int dx)
{
    for (auto& tab : m_tabs) tab->Offset(dx);
}

void CSheetTabBar::EnsureCurrentTabVisible()
{
    // Leaves the tabs so that a second call changes nothing: painting calls
    // this every time, and tabs must not creep from one paint to the next.
    const CSheetTab* current = GetSheet(m_nCurrent);
    if (current == nullptr) return;
    const int areaLeft = m_rcTabArea.left + 4;
    const int areaRight = m_rcTabArea.right - 5;
    const CRect tab = current->GetRect();
    if (tab.left < areaLeft || tab.right > areaRight) {
        if (tab.right > areaRight) {
            // Whole tab widths at a time, as few as bring its right edge in.
            const int width = std::max(1, tab.Width());
            const int n = (tab.right - areaRight + width - 1) / width;
            ShiftTabs(-n * width);
        }
        const int left = current->GetRect().left;
        if (left < areaLeft) ShiftTabs(areaLeft - left);
    }
    if (current->GetRect().right > areaRight) return;
    // The current tab is fully visible: bring back tabs scrolled out on the
    // left, one by one from the right, while the last tab still fits. The
    // tabs lie in order, so the rightmost hidden one is found by halving,
    // and they move once, by the shift found.
    int shift = 0;
    while (m_tabs.front()->GetRect().left + shift < m_rcTabArea.left) {
        const auto shown = std::partition_point(m_tabs.begin(), m_tabs.end(), [&](const auto& t) {
            return t->GetRect().left + shift < m_rcTabArea.left;
        });
        const int next = areaLeft - (*(shown - 1))->GetRect().left;
        if (m_tabs.back()->GetRect().right + next > areaRight) break;
        shift = next;
    }
    if (shift != 0) ShiftTabs(shift);
}

// ---- tabs ---------------------------------------------------------------

void CSheetTabBar::InsertTab(int number)
{
    const int firstLeft = m_tabs.front()->GetRect().left;
    m_tabs.insert(m_tabs.begin() + (number - 1), std::make_unique<CSheetTab>(number, CRect()));
    for (size_t i = static_cast<size_t>(number); i < m_tabs.size(); ++i) m_tabs[i]->SetNumber(static_cast<int>(i) + 1);
    RelayoutTabs(firstLeft);
}

void CSheetTabBar::InsertSheet(int a, int where, bool notify)
{
    const int position = where == INSERT_BEFORE ? a : a + 1;
    if (position < 1 || position > GetSheetCount() + 1) return;
    InsertTab(position);
    // The page that was current stays current under its new number.
    if (position <= m_nCurrent) ++m_nCurrent;
    const int previous = m_nCurrent;
    if (notify) Q_EMIT SheetInserted(a, where);
    if (where == INSERT_AFTER) {
        m_nCurrent = position;
        if (notify) Q_EMIT SheetSelected(previous, m_nCurrent);
    }
    EnsureCurrentTabVisible();
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::InsertSheetKeepCurrent(int a, int where, bool notify)
{
    const int position = where == INSERT_BEFORE ? a : a + 1;
    if (position < 1 || position > GetSheetCount() + 1) return;
    InsertTab(position);
    if (position <= m_nCurrent) ++m_nCurrent;
    if (notify) Q_EMIT SheetInserted(a, where);
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::DeleteSheet(int a)
{
    if (GetSheetCount() <= 1) {
        QMessageBox::warning(this, ResText(IDS_APP_TITLE, "Morvane"), ResText(IDS_DELETE_ONLY_SHEET, "不能删除唯一的页面!"));
        return;
    }
    if (a < 1 || a > GetSheetCount()) return;
    const int firstLeft = m_tabs.front()->GetRect().left;
    m_tabs.erase(m_tabs.begin() + (a - 1));
    for (size_t i = static_cast<size_t>(a - 1); i < m_tabs.size(); ++i) m_tabs[i]->SetNumber(static_cast<int>(i) + 1);
    RelayoutTabs(firstLeft);
    Q_EMIT SheetDeleted(a);

    const int old = m_nCurrent;
    if (a < old) {
        m_nCurrent = old - 1;  // the same page, one number lower
    } else if (old > GetSheetCount()) {
        m_nCurrent = GetSheetCount();
    }
    Q_EMIT SheetSelected(old, m_nCurrent);
    EnsureCurrentTabVisible();
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::SetSheetCount(int count)
{
    count = std::max(1, count);
    if (count == GetSheetCount()) return;
    const int firstLeft = m_tabs.front()->GetRect().left;
    if (count < GetSheetCount()) {
        m_tabs.resize(static_cast<size_t>(count));
    } else {
        m_tabs.reserve(static_cast<size_t>(count));
        while (GetSheetCount() < count) m_tabs.push_back(std::make_unique<CSheetTab>(GetSheetCount() + 1, CRect()));
    }
    RelayoutTabs(firstLeft);
    m_nCurrent = std::min(m_nCurrent, count);
    EnsureCurrentTabVisible();
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::SetCurrentSheet(int n)
{
    if (n < 1 || n > GetSheetCount()) return;
    m_nCurrent = n;
    EnsureCurrentTabVisible();
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::ChangeCurrent(int newNumber)
{
    if (newNumber == m_nCurrent || newNumber < 1 || newNumber > GetSheetCount()) return;
    const int old = m_nCurrent;
    m_nCurrent = newNumber;
    EnsureCurrentTabVisible();
    Q_EMIT SheetSelected(old, newNumber);
}

// ---- commands -----------------------------------------------------------

void CSheetTabBar::OnFirstSheet()
{
    Q_EMIT FirstSheetPressed();
    ChangeCurrent(1);
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::OnPrevSheet()
{
    if (m_nCurrent >= 2) {
        ChangeCurrent(m_nCurrent - 1);
    } else {
        // At the first tab the button adds a page in front and goes there.
        InsertSheet(1, INSERT_BEFORE, true);
        ChangeCurrent(1);
    }
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::OnSheetText()
{
    Q_EMIT TextButtonPressed();
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::OnNextSheet()
{
    if (m_nCurrent < GetSheetCount()) {
        ChangeCurrent(m_nCurrent + 1);
    } else {
        InsertSheet(m_nCurrent, INSERT_AFTER, true);
    }
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::OnLastSheet()
{
    ChangeCurrent(GetSheetCount());
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::OnInsertBefore()
{
    InsertSheet(m_nCurrent, INSERT_BEFORE, true);
}

void CSheetTabBar::OnInsertAfter()
{
    InsertSheet(m_nCurrent, INSERT_AFTER, true);
}

void CSheetTabBar::OnDeleteSheet()
{
    DeleteSheet(m_nCurrent);
}

void CSheetTabBar::UpdateButtons()
{
    m_strText = CounterText(QString::number(GetSheetCount()), QString::number(m_nCurrent));
    GetButton(ID_SHEET_TEXT)->setText(m_strText);
    FitCounter();

    const int count = GetSheetCount();
    GetButton(ID_NEXT_SHEET)->SetIcon(m_nCurrent == count ? IDI_ADD_SHEET : IDI_NEXT_SHEET, 0, kIconSize, kIconSize);
    GetButton(ID_PREV_SHEET)->SetIcon(m_nCurrent == 1 ? IDI_ADD_SHEET : IDI_PREV_SHEET, 0, kIconSize, kIconSize);
}

void CSheetTabBar::RedrawNow()
{
    update();
}

void CSheetTabBar::ShowTabMenu(const QPoint& globalPos)
{
    m_pTabMenu->popup(globalPos);
}

// ---- mouse --------------------------------------------------------------

std::size_t CSheetTabBar::FirstTabReaching(int x) const
{
    const auto first = std::partition_point(m_tabs.begin(), m_tabs.end(),
                                            [x](const auto& t) { return t->GetRect().right + kTabReach < x; });
    return static_cast<std::size_t>(first - m_tabs.begin());
}

CSheetTab* CSheetTabBar::TabAt(const CPoint& point) const
{
    for (std::size_t i = FirstTabReaching(point.x); i < m_tabs.size(); ++i) {
        CSheetTab* tab = m_tabs[i].get();
        if (tab->HitTest(point)) return tab;
        if (tab->GetRect().left > point.x + kTabReach) break;
    }
    return nullptr;
}

void CSheetTabBar::SelectTabAt(const CPoint& point)
{
    const CSheetTab* tab = TabAt(point);
    if (tab == nullptr || tab->GetNumber() == m_nCurrent) return;
    ChangeCurrent(tab->GetNumber());
    UpdateButtons();
    RedrawNow();
}

void CSheetTabBar::mousePressEvent(QMouseEvent* event)
{
    const CPoint point(event->position().toPoint().x(), event->position().toPoint().y());
    if (event->button() == Qt::LeftButton) {
        setFocus(Qt::MouseFocusReason);
        if (m_rcGrip.PtInRect(point)) {
            m_bDragging = true;
            m_nDragOffset = point.x - m_pScrollBar->geometry().left();
            return;
        }
        SelectTabAt(point);
    } else if (event->button() == Qt::RightButton) {
        if (m_rcTabArea.PtInRect(point)) SelectTabAt(point);
        const CSheetTab* current = GetSheet(m_nCurrent);
        if (current != nullptr && current->HitTest(point)) ShowTabMenu(event->globalPosition().toPoint());
    }
}

void CSheetTabBar::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (m_bDragging) {
        // The scroll bar keeps at least its minimum width and the grip stays
        // right of the tab area's left edge.
        const int scrollRight = m_pScrollBar->geometry().left() + m_nScrollBarWidth;
        int left = std::min(x - m_nDragOffset, scrollRight - kMinScrollBarWidth);
        left = std::max(left, m_rcTabArea.left + kGripWidth + 2);
        m_nScrollBarWidth = scrollRight - left;
        LayoutChildren();
        RedrawNow();
        return;
    }
    const CPoint point(x, event->position().toPoint().y());
    if (m_rcGrip.PtInRect(point)) {
        setCursor(m_gripCursor);
    } else {
        setCursor(Qt::ArrowCursor);
    }
}

void CSheetTabBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) m_bDragging = false;
}

// ---- painting -----------------------------------------------------------

void CSheetTabBar::paintEvent(QPaintEvent*)
{
    EnsureCurrentTabVisible();
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.save();
    const QRect shown(m_rcTabArea.left, 0, m_rcGrip.right - m_rcTabArea.left, height());
    painter.setClipRect(shown);
    // Only the tabs that reach what is shown, right to left as they overlap:
    // a page change costs the few tabs in the bar, not all of them.
    const std::size_t first = FirstTabReaching(shown.left());
    std::size_t end = first;
    while (end < m_tabs.size() && m_tabs[end]->GetRect().left <= shown.right() + kTabReach) ++end;
    for (std::size_t i = end; i-- > first;) {
        if (m_tabs[i]->GetNumber() != m_nCurrent) DrawTab(painter, *m_tabs[i], false);
    }
    if (const CSheetTab* current = GetSheet(m_nCurrent)) DrawTab(painter, *current, true);
    painter.restore();
    DrawGrip(painter);
}

void CSheetTabBar::DrawTab(QPainter& painter, const CSheetTab& tab, bool current) const
{
    const QPalette& pal = palette();
    const CRect& r = tab.GetRect();
    const QPolygon shape = tab.GetShape();
    painter.setPen(Qt::NoPen);
    painter.setBrush(current ? pal.color(QPalette::Base) : pal.color(QPalette::Button));
    painter.drawPolygon(shape, Qt::OddEvenFill);

    const QColor outline = pal.color(QPalette::WindowText);
    if (current) {
        // The tab stands open to the page above: the top line runs round it.
        painter.setPen(outline);
        painter.drawLine(0, r.top, r.left - 4, r.top);
        painter.drawLine(r.right + 4, r.top, m_rcGrip.right, r.top);
    } else {
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawLine(r.right - 4 + 1, r.bottom, r.right + 4 + 1, r.top);
    }
    painter.setPen(outline);
    painter.drawPolyline(shape);

    painter.setPen(pal.color(QPalette::WindowText));
    painter.drawText(QRect(r.left, r.top + 1, r.Width(), r.Height() - 1), Qt::AlignCenter | Qt::TextSingleLine,
                     tab.GetCaption());
}

void CSheetTabBar::DrawGrip(QPainter& painter) const
{
    const QPalette& pal = palette();
    Draw3dRect(painter, m_rcGrip, pal.color(QPalette::WindowText), pal.color(QPalette::Light));
    CRect inner = m_rcGrip;
    inner.DeflateRect(1, 1);
    Draw3dRect(painter, inner, pal.color(QPalette::Light), pal.color(QPalette::Dark));
    inner.DeflateRect(1, 1);
    painter.fillRect(ToQRect(inner), pal.color(QPalette::Button));
}
