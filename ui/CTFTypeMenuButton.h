// The text-alignment picker (command ID_ALIGNMENT): the button shows the
// current alignment, its popup the nine alignments in a 3 x 3 grid (row x 3
// + column: top, middle, bottom by left, centre, right), headed by the
// automatic entry only while that is enabled.
#pragma once

#include "ui/CPickerMenuButton.h"

#include "platform/Types.h"

class QPainter;
class QRect;

class CTFTypeMenuButton : public CPickerMenuButton {
    Q_OBJECT
public:
    static constexpr int kValueCount = 9;

    explicit CTFTypeMenuButton(int commandId, QWidget* parent = nullptr);

    void SetTFType(int value, BOOL propagate);
    int GetTFType() const { return m_value; }

    // A 16 x 15 picture: a frame holding three text lines (the last one the
    // shortest) placed by the alignment.
    static void DrawTFTypeSample(QPainter& p, const QRect& rect, int value);

protected:
    qint64 CurrentValue() const override { return m_value; }
    void Pick(qint64 value) override;
    QIcon ButtonIcon() const override;

private:
    int m_value = 0;
};
