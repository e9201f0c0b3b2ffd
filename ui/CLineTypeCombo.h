// The line-type drop-down of the context tool bar: one entry per entry of
// the settings' line-type list, each showing a picture of its line type.
// Choosing an entry sends "LT_SELCHANGE" with its index. A custom line
// type (index 5 or more, not the current one) is removed from both lists
// of the settings by the Delete key, on the closed box for its shown entry
// and in the open list for the highlighted one, or by the open list's
// context menu.
#pragma once

#include "ui/CBarComboBox.h"
#include "ui/CLineTypeSampleCache.h"
#include "ui/LineTypeSample.h"

#include <cstdint>
#include <optional>
#include <vector>

class CLineAttr;
class QMenu;
class QPainter;
class QRect;

class CLineTypeCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = kLineTypeSampleSize.height();
    // Entries below this index are built in and cannot be deleted.
    static constexpr int kFirstDeletable = 5;

    explicit CLineTypeCombo(QWidget* parent = nullptr);

    // Makes the entries follow the line-type list and selects the current
    // line type, without reporting. Safe while this combo's own choice is
    // being handled: entries are only added or removed at the end.
    void SyncWithSettings();
    // One more entry for a line type just appended to the list.
    void AddLineTypeItem();

    // Whether entry `index` may be deleted: custom and not current.
    static bool CanDelete(int index);
    // Removes line type `index` from the settings' lists and the box; false
    // (nothing removed) for a built-in or the current one.
    bool DeleteLineType(int index);
    // The open list's context menu for entry `row` (not shown; the caller
    // runs it).
    QMenu* CreateListMenu(int row, QWidget* parent);

    // The picture of line type `index` of the settings in `rect`
    // (DrawLineTypeSample of LineTypeSample.h).
    static void DrawLineTypeSample(QPainter& p, const QRect& rect, int index, const QColor& colour);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnIndexChanged(int index);
    // Gives entry `row` the picture of its line type, unless it shows it
    // already.
    void ShowSample(int row);
    void DeleteFromList(int row);

    CLineTypeSampleCache m_samples;
    // The key of the picture each entry shows; none before its first.
    std::vector<std::optional<std::uint64_t>> m_shownKeys;
};
