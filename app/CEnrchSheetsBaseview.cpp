#include "app/CEnrchSheetsBaseview.h"

#include "app/CSheetTabBar.h"
#include "app/CArrowCursorScrollBar.h"

#include <QResizeEvent>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>

namespace {

int ScrollCodeOf(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return CEnrchSheetsBaseview::SB_LINEUP;
    case QAbstractSlider::SliderSingleStepAdd: return CEnrchSheetsBaseview::SB_LINEDOWN;
    case QAbstractSlider::SliderPageStepSub: return CEnrchSheetsBaseview::SB_PAGEUP;
    case QAbstractSlider::SliderPageStepAdd: return CEnrchSheetsBaseview::SB_PAGEDOWN;
    case QAbstractSlider::SliderToMinimum: return CEnrchSheetsBaseview::SB_TOP;
    case QAbstractSlider::SliderToMaximum: return CEnrchSheetsBaseview::SB_BOTTOM;
    case QAbstractSlider::SliderMove: return CEnrchSheetsBaseview::SB_THUMBTRACK;
    default: return -1;
    }
}

} // namespace

CEnrchSheetsBaseview::CEnrchSheetsBaseview(QWidget* parent) : QWidget(parent)
{
    m_pVScrollBar = new CArrowCursorScrollBar(Qt::Vertical, this);
    m_pVScrollBar->setObjectName(QStringLiteral("32790"));
    m_pSheetTabBar = new CSheetTabBar(this);

    // Direct connections: the view has handled a change when the bar's call
    // returns, as with a sent message.
    connect(m_pSheetTabBar, &CSheetTabBar::SheetSelected, this,
            [this](int oldNumber, int newNumber) { OnSheetSelected(oldNumber, newNumber); }, Qt::DirectConnection);
    connect(m_pSheetTabBar, &CSheetTabBar::SheetInserted, this,
            [this](int a, int where) { OnSheetInserted(a, where); }, Qt::DirectConnection);
    connect(m_pSheetTabBar, &CSheetTabBar::SheetDeleted, this, [this](int a) { OnSheetDeleted(a); },
            Qt::DirectConnection);
    connect(m_pSheetTabBar, &CSheetTabBar::FirstSheetPressed, this, [this]() { OnFirstSheetButton(); },
            Qt::DirectConnection);
    connect(m_pSheetTabBar, &CSheetTabBar::TextButtonPressed, this, [this]() { OnSheetTextButton(); },
            Qt::DirectConnection);

    ConnectScrollBar(m_pSheetTabBar->GetScrollBar(), Qt::Horizontal);
    ConnectScrollBar(m_pVScrollBar, Qt::Vertical);
    LayoutBars();
}

CEnrchSheetsBaseview::~CEnrchSheetsBaseview() = default;

int CEnrchSheetsBaseview::GetCurrentSheet() const
{
    return m_pSheetTabBar->GetCurrentSheet();
}

void CEnrchSheetsBaseview::SetCurrentSheet(int n)
{
    m_pSheetTabBar->SetCurrentSheet(n);
    update();
}

int CEnrchSheetsBaseview::GetSheetCount() const
{
    return m_pSheetTabBar->GetSheetCount();
}

void CEnrchSheetsBaseview::InsertSheetAfterAndSelect(int a)
{
    m_pSheetTabBar->InsertSheet(a, CSheetTabBar::INSERT_AFTER, true);
}

void CEnrchSheetsBaseview::InsertSheetAfter(int index)
{
    if (index < 0 || index >= GetSheetCount()) return;
    m_pSheetTabBar->InsertSheetKeepCurrent(index + 1, CSheetTabBar::INSERT_AFTER, true);
}

void CEnrchSheetsBaseview::AddSheetAfter(int a)
{
    m_pSheetTabBar->InsertSheet(a, CSheetTabBar::INSERT_AFTER, false);
}

void CEnrchSheetsBaseview::DeleteSheet(int a)
{
    m_pSheetTabBar->DeleteSheet(a);
}

void CEnrchSheetsBaseview::SetSheetCount(int count)
{
    m_pSheetTabBar->SetSheetCount(count);
}

void CEnrchSheetsBaseview::ShowTabMenu(const QPoint& globalPos)
{
    m_pSheetTabBar->ShowTabMenu(globalPos);
}

// ---- layout -------------------------------------------------------------

void CEnrchSheetsBaseview::LayoutBars()
{
    const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int h = m_pSheetTabBar->height();
    const int cx = width();
    const int cy = height();
    m_pVScrollBar->setGeometry(cx - w, 0, w, std::max(0, cy - h));
    m_pSheetTabBar->setGeometry(0, cy - h, cx, h);
}

void CEnrchSheetsBaseview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutBars();
}

CRect CEnrchSheetsBaseview::GetDrawingRect() const
{
    // From the sizes the bars are given, not their geometry: a hidden view
    // lays its bars out only when it is shown.
    const int w = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int h = m_pSheetTabBar->height();
    return CRect(0, 0, std::max(0, width() - w), std::max(0, height() - h));
}

// ---- scroll bars --------------------------------------------------------

QScrollBar* CEnrchSheetsBaseview::GetScrollBarCtrl(Qt::Orientation bar) const
{
    if (bar == Qt::Horizontal) return m_pSheetTabBar->GetScrollBar();
    return m_pVScrollBar;
}

CEnrchSheetsBaseview::ScrollInfo& CEnrchSheetsBaseview::StoredInfo(Qt::Orientation bar)
{
    return bar == Qt::Horizontal ? m_hInfo : m_vInfo;
}

int CEnrchSheetsBaseview::SetScrollPos(Qt::Orientation bar, int pos, bool redraw)
{
    QScrollBar* control = GetScrollBarCtrl(bar);
    const int previous = control->value();
    const QSignalBlocker blocker(control);
    control->setValue(pos);
    if (redraw) control->update();
    return previous;
}

int CEnrchSheetsBaseview::GetScrollPos(Qt::Orientation bar) const
{
    return GetScrollBarCtrl(bar)->value();
}

void CEnrchSheetsBaseview::SetScrollInfo(Qt::Orientation bar, const ScrollInfo& info, bool redraw)
{
    StoredInfo(bar) = info;
    QScrollBar* control = GetScrollBarCtrl(bar);
    const QSignalBlocker blocker(control);
    // Qt's maximum is the largest thumb position; Windows' nMax is the last
    // position the thumb covers.
    const int page = std::max(0, info.nPage);
    const int maximum = std::max(info.nMin, page > 0 ? SumToInt(info.nMax, 1LL - page) : info.nMax);
    control->setRange(info.nMin, maximum);
    control->setPageStep(page);
    control->setSingleStep(1);
    control->setValue(info.nPos);
    if (redraw) control->update();
}

CEnrchSheetsBaseview::ScrollInfo CEnrchSheetsBaseview::GetScrollInfo(Qt::Orientation bar) const
{
    ScrollInfo info = bar == Qt::Horizontal ? m_hInfo : m_vInfo;
    info.nPos = GetScrollBarCtrl(bar)->value();
    return info;
}

void CEnrchSheetsBaseview::ConnectScrollBar(QScrollBar* bar, Qt::Orientation orientation)
{
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, orientation](int action) {
        const int code = ScrollCodeOf(action);
        if (code < 0) return;
        // The slider has already moved its thumb; put it back so that the
        // handler alone decides where the thumb goes.
        const int requested = bar->sliderPosition();
        bar->setSliderPosition(bar->value());
        DispatchScroll(orientation, code, requested);
    });
    connect(bar, &QAbstractSlider::sliderReleased, this, [this, bar, orientation]() {
        DispatchScroll(orientation, SB_THUMBPOSITION, bar->sliderPosition());
        DispatchScroll(orientation, SB_ENDSCROLL, 0);
    });
}

void CEnrchSheetsBaseview::DispatchScroll(Qt::Orientation orientation, int code, int pos)
{
    if (orientation == Qt::Horizontal) {
        OnHScroll(code, pos);
    } else {
        OnVScroll(code, pos);
    }
}

// ---- notifications: the editing view overrides them ----------------------

void CEnrchSheetsBaseview::OnSheetSelected(int, int) {}
void CEnrchSheetsBaseview::OnSheetInserted(int, int) {}
void CEnrchSheetsBaseview::OnSheetDeleted(int) {}
void CEnrchSheetsBaseview::OnFirstSheetButton() {}
void CEnrchSheetsBaseview::OnSheetTextButton() {}
void CEnrchSheetsBaseview::OnHScroll(int, int) {}
void CEnrchSheetsBaseview::OnVScroll(int, int) {}
