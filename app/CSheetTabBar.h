// The strip below the drawing: five navigation buttons, one tab per page,
// a draggable grip, the horizontal scroll bar and a size box. It keeps its
// own list of tabs and reports every change through its signals; it knows
// nothing of the document.
#pragma once

#include "app/CSheetTab.h"
#include "platform/Types.h"

#include <QCursor>
#include <QFont>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class COwnerDrawButton;
class QMenu;
class QScrollBar;
class QSizeGrip;

class CSheetTabBar : public QWidget {
    Q_OBJECT
public:
    // Where a new tab goes relative to the tab it is inserted at.
    static constexpr int INSERT_BEFORE = 1;
    static constexpr int INSERT_AFTER = 2;

    explicit CSheetTabBar(QWidget* parent = nullptr);
    ~CSheetTabBar() override;

    int GetCurrentSheet() const { return m_nCurrent; }
    int GetSheetCount() const { return static_cast<int>(m_tabs.size()); }
    // Tab n (1-based), or null when there is none.
    const CSheetTab* GetSheet(int n) const;
    // Makes tab n current without notifying; numbers out of range are ignored.
    void SetCurrentSheet(int n);

    // Inserts a tab before or after tab a. The page that was current stays
    // current (its number grows when the new tab lies before it); inserting
    // after, the new tab is then selected. With notify, SheetInserted and,
    // when the current tab changed, SheetSelected are emitted.
    void InsertSheet(int a, int where, bool notify);
    // The same without selecting the new tab.
    void InsertSheetKeepCurrent(int a, int where, bool notify);
    // Deletes tab a; the only tab is refused with a message. The current
    // page stays current when it was not the one deleted.
    void DeleteSheet(int a);
    // Adds or removes tabs at the end until there are `count` (at least
    // one) without notifying, measuring the tabs once whatever the number:
    // a document of thousands of pages is opened this way. The current tab
    // stays, or becomes the last when it was removed.
    void SetSheetCount(int count);
    // How many times the tabs have been laid out: once per change of the
    // set of tabs.
    int GetTabMeasureCount() const { return m_nMeasures; }

    // The button commands and the tab-menu commands.
    void OnFirstSheet();
    void OnPrevSheet();
    void OnSheetText();
    void OnNextSheet();
    void OnLastSheet();
    void OnInsertBefore();
    void OnInsertAfter();
    void OnDeleteSheet();

    // Scrolls the tabs so that the current one is fully inside the tab area.
    void EnsureCurrentTabVisible();

    const CRect& GetTabAreaRect() const { return m_rcTabArea; }
    const CRect& GetGripRect() const { return m_rcGrip; }
    QScrollBar* GetScrollBar() const { return m_pScrollBar; }
    COwnerDrawButton* GetButton(int commandId) const;
    QMenu* GetTabMenu() const { return m_pTabMenu; }
    // "%d 的 %d" with the tab count and the current number, on the counter
    // between the arrows, which is as wide as the count's widest text.
    QString GetButtonText() const { return m_strText; }

    // Pops up the tab menu at a global position.
    void ShowTabMenu(const QPoint& globalPos);

    QSize sizeHint() const override;

Q_SIGNALS:
    void SheetSelected(int oldNumber, int newNumber);
    void SheetInserted(int a, int where);
    void SheetDeleted(int a);
    void FirstSheetPressed();
    void TextButtonPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void CreateButtons();
    void CreateTabMenu();
    void LayoutChildren();
    int CounterWidth() const;
    void FitCounter();
    void RelayoutTabs(int firstLeft);
    void ShiftTabs(int dx);
    int CaptionWidth(int number);
    // Index of the first tab that can reach pixel column x or beyond.
    std::size_t FirstTabReaching(int x) const;
    CSheetTab* TabAt(const CPoint& point) const;
    void SelectTabAt(const CPoint& point);
    void ChangeCurrent(int newNumber);
    void InsertTab(int number);
    void UpdateButtons();
    void RedrawNow();
    void DrawTab(QPainter& painter, const CSheetTab& tab, bool current) const;
    void DrawGrip(QPainter& painter) const;
    int BarHeight() const;
    int ButtonWidth() const;

    int m_nCurrent = 1;
    std::vector<std::unique_ptr<CSheetTab>> m_tabs;
    CRect m_rcTabArea;
    CRect m_rcGrip;
    QScrollBar* m_pScrollBar = nullptr;
    QSizeGrip* m_pSizeBox = nullptr;
    std::array<COwnerDrawButton*, 5> m_buttons{};
    QMenu* m_pTabMenu = nullptr;
    QCursor m_gripCursor;
    int m_nScrollBarWidth = 0;
    // The page counter's width, which LayoutChildren lays out.
    int m_nCounterWidth = 0;
    bool m_bDragging = false;
    // Distance from the pressed point to the scroll bar's left edge while
    // the grip is dragged.
    int m_nDragOffset = 0;
    QString m_strText;
    int m_nMeasures = 0;
    // The width of each page number's tab (index number - 1) in this font,
    // measured when first needed: a number keeps its width wherever its
    // tab moves, so adding a page to thousands measures one caption.
    std::vector<int> m_captionWidths;
    QFont m_captionFont;
};
