// The view with a page-tab strip below its drawing area and a vertical
// scroll bar at its right. The strip keeps its own list of tabs and knows
// nothing of the document: it tells the view (through the virtual handlers
// below) when a tab is selected, inserted or deleted, and the document
// drives it back when pages change under it (undo, redo, opening a file).
//
// The derived editing view paints its page into GetDrawingRect() in its own
// paintEvent and receives the mouse there; the strip and the scroll bar are
// child widgets of this view and handle their own input.
#pragma once

#include "platform/Types.h"

#include <QPoint>
#include <QWidget>

class CArrowCursorScrollBar;
class CSheetTabBar;
class QScrollBar;

class CEnrchSheetsBaseview : public QWidget {
    Q_OBJECT
public:
    // The scroll codes the scroll handlers receive, numbered as the Windows
    // scroll notifications the view's arithmetic was written for.
    enum ScrollCode {
        SB_LINEUP = 0,
        SB_LINELEFT = 0,
        SB_LINEDOWN = 1,
        SB_LINERIGHT = 1,
        SB_PAGEUP = 2,
        SB_PAGELEFT = 2,
        SB_PAGEDOWN = 3,
        SB_PAGERIGHT = 3,
        SB_THUMBPOSITION = 4,
        SB_THUMBTRACK = 5,
        SB_TOP = 6,
        SB_LEFT = 6,
        SB_BOTTOM = 7,
        SB_RIGHT = 7,
        SB_ENDSCROLL = 8
    };

    // A scroll bar's range in the Windows manner: the thumb covers nPage
    // positions, so the largest position is nMax - nPage + 1.
    struct ScrollInfo {
        int nMin = 0;
        int nMax = 0;
        int nPage = 0;
        int nPos = 0;
    };

    explicit CEnrchSheetsBaseview(QWidget* parent = nullptr);
    ~CEnrchSheetsBaseview() override;

    // Current page number of the strip, 1-based.
    int GetCurrentSheet() const;
    // Makes tab n current without notifying and repaints strip and view.
    void SetCurrentSheet(int n);
    int GetSheetCount() const;

    // Inserts a tab after tab a (1-based), notifies and selects the new tab.
    void InsertSheetAfterAndSelect(int a);
    // Inserts a tab after the tab at 0-based `index` (page index) and
    // notifies; the same page stays current. An index that names no tab
    // does nothing.
    void InsertSheetAfter(int index);
    // Inserts a tab after tab a without notifying (the document levels the
    // tab count with its page count this way); the new tab becomes current.
    void AddSheetAfter(int a);
    // Deletes tab a and notifies; the only tab is refused with a message.
    void DeleteSheet(int a);
    // Levels the tab count with a page count in one go, without notifying.
    void SetSheetCount(int count);


    // The client area less the vertical scroll bar on the right and the
    // strip at the bottom: where the derived view paints its page.
    virtual CRect GetDrawingRect() const;
    // Moves a scroll bar's thumb without any scroll notification; the
    // horizontal bar is the strip's. Returns the previous position.
    virtual int SetScrollPos(Qt::Orientation bar, int pos, bool redraw = true);
    int GetScrollPos(Qt::Orientation bar) const;
    void SetScrollInfo(Qt::Orientation bar, const ScrollInfo& info, bool redraw = true);
    ScrollInfo GetScrollInfo(Qt::Orientation bar) const;
    // The strip's scroll bar for the horizontal bar, the view's own for the
    // vertical one.
    QScrollBar* GetScrollBarCtrl(Qt::Orientation bar) const;

    CSheetTabBar* GetSheetTabBar() const { return m_pSheetTabBar; }

    // Pops up the tab menu (insert before, insert after, delete) at a
    // global screen position.
    void ShowTabMenu(const QPoint& globalPos);

protected:
    // Page notifications of the strip; the base does nothing with them.
    // The current tab changed from oldNumber to newNumber (both 1-based).
    virtual void OnSheetSelected(int oldNumber, int newNumber);
    // A tab was inserted before (where 1) or after (where 2) tab a.
    virtual void OnSheetInserted(int a, int where);
    // Tab a was deleted.
    virtual void OnSheetDeleted(int a);
    // The first-page button was pressed (sent before the change).
    virtual void OnFirstSheetButton();
    // The text button between the arrows was pressed.
    virtual void OnSheetTextButton();

    // Scroll requests of the user, with a ScrollCode and, for the thumb
    // codes, the position the thumb was dragged to. The thumb has not moved
    // yet: the handler decides the new position and sets it with
    // SetScrollPos. The base keeps the thumb where it is.
    virtual void OnHScroll(int code, int pos);
    virtual void OnVScroll(int code, int pos);

    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutBars();
    void ConnectScrollBar(QScrollBar* bar, Qt::Orientation orientation);
    void DispatchScroll(Qt::Orientation orientation, int code, int pos);
    ScrollInfo& StoredInfo(Qt::Orientation bar);

    CArrowCursorScrollBar* m_pVScrollBar = nullptr;
    CSheetTabBar* m_pSheetTabBar = nullptr;
    ScrollInfo m_hInfo;
    ScrollInfo m_vInfo;
};
