// The line-type drop-down of the context tool bar: one entry per entry of
// the settings' line-type list, each showing a picture of its line type.
// Choosing an entry sends "LT_SELCHANGE" with its index; the Delete key
// removes a custom line type (index 5 or more, not the current one) from
// both lists of the settings.
#pragma once

#include "ui/CBarComboBox.h"

class CLineAttr;
class QPainter;
class QRect;

class CLineTypeCombo : public CBarComboBox {
    Q_OBJECT
public:
    static constexpr int kItemHeight = 16;
    // Entries below this index are built in and cannot be deleted.
    static constexpr int kFirstDeletable = 5;

    explicit CLineTypeCombo(QWidget* parent = nullptr);

    // Makes the entries follow the line-type list and selects the current
    // line type, without reporting. Safe while this combo's own choice is
    // being handled: entries are only added or removed at the end.
    void SyncWithSettings();
    // One more entry for a line type just appended to the list.
    void AddLineTypeItem();

    // The picture of line type `index` of the settings in `rect`.
    static void DrawLineTypeSample(QPainter& p, const QRect& rect, int index, const QColor& colour);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void OnIndexChanged(int index);
    QIcon SampleIcon(int index) const;
    void DeleteSelectedLineType();
};
