// The arrowhead picker for the start (ID_START_ARROW) or end (ID_END_ARROW)
// of open lines: the button shows the current arrowhead kind, its popup the
// automatic entry and the four kinds in a 2 x 2 grid.
#pragma once

#include "ui/CPickerMenuButton.h"

#include "platform/Types.h"
#include "res/CommandIds.h"

class QPainter;
class QRect;

class CArrowTypeMenuButton : public CPickerMenuButton {
    Q_OBJECT
public:
    static constexpr int kKindCount = 4;

    explicit CArrowTypeMenuButton(int commandId, QWidget* parent = nullptr);

    void SetArrowType(int kind, BOOL propagate);
    int GetArrowType() const { return m_kind; }

    // A 16 x 15 picture of a kind: a bar three pixels thick with the head
    // at its left end (start) or right end; kind 0 is the bare bar, 1 a
    // filled triangle, 2 an open V, 3 a swept-back filled head.
    static void DrawArrowTypeSample(QPainter& p, const QRect& rect, bool start, int kind);

protected:
    qint64 CurrentValue() const override { return m_kind; }
    void Pick(qint64 value) override;
    QIcon ButtonIcon() const override;

private:
    bool IsStart() const { return GetCommandId() == ID_START_ARROW; }
    int m_kind = 0;
};
