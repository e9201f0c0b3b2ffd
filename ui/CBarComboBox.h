// The behaviour every combo box of the context tool bar shares: while it
// holds the keyboard focus the editing view leaves the focus alone, and
// closing its list hands the focus back to the view. Choices made by the
// program (Select... calls) are done with the signals blocked, so only the
// user's choices are reported.
#pragma once

#include <QComboBox>

class CBarComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CBarComboBox(QWidget* parent = nullptr);

    // Makes `index` current without reporting it (-1 clears the choice).
    void SelectQuietly(int index);
    // The first entry whose item data equals `data`, or -1.
    int FindData(qint64 data) const;

    void hidePopup() override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // The focus left for somewhere other than the combo's own list.
    virtual void OnFocusLost() {}
};
