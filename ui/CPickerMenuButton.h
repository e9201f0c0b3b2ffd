// A tool-bar button that drops a small picker: a grid of cells, optionally
// headed by an automatic entry and followed by wide entries. The colour,
// arrowhead and alignment pickers differ only in their cells, their button
// picture and what a pick sends, so they share this frame.
//
// The cells are built once; opening the popup only marks the cell of the
// current value. Clicking the button itself (not its arrow) emits clicked()
// for the command of the button, as a plain tool-bar button would.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QToolButton>

#include <functional>
#include <vector>

class QGridLayout;
class QMenu;
class QVBoxLayout;
class QWidget;

class CPickerMenuButton : public QToolButton {
    Q_OBJECT
public:
    int GetCommandId() const { return m_commandId; }

    // The automatic entry heads the popup only while this is set.
    void SetShowAutomatic(bool show);

    // The popup's content, for tests and for the tool bar's own look.
    QWidget* PopupWidget() const { return m_popup; }
    // Marks the current value's cell; runs whenever the popup opens.
    void UpdateSelection();

    // Every picker button of the given class and command in the program:
    // a choice shows on all of them, wherever they sit.
    template <class T>
    static std::vector<T*> ButtonsOfCommand(int commandId)
    {
        std::vector<T*> buttons;
        for (QWidget* w : QApplication::allWidgets()) {
            if (T* b = qobject_cast<T*>(w); b && b->GetCommandId() == commandId) buttons.push_back(b);
        }
        return buttons;
    }

protected:
    CPickerMenuButton(int commandId, int columns, QWidget* parent);

    // The value the popup shows as chosen.
    virtual qint64 CurrentValue() const = 0;
    // A cell or the automatic entry was picked.
    virtual void Pick(qint64 value) = 0;
    // The picture of the button for the current value.
    virtual QIcon ButtonIcon() const = 0;

    void AddAutomaticEntry(qint64 value, const QString& label, const QIcon& icon);
    void AddCell(qint64 value, const QIcon& icon, const QSize& size, const QString& toolTip = QString());
    // A full-width entry below the grid that runs `action` after the popup
    // has closed.
    void AddWideEntry(const QString& text, std::function<void()> action);
    // Redraws the button's picture from the current value.
    void RefreshIcon();

private:
    struct Cell {
        QToolButton* button;
        qint64 value;
    };
    QToolButton* MakeCell(const QIcon& icon, const QSize& size);
    void OnCellClicked(qint64 value);

    int m_commandId;
    int m_columns;
    bool m_showAutomatic = false;
    QMenu* m_menu = nullptr;
    QWidget* m_popup = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QGridLayout* m_grid = nullptr;
    QToolButton* m_automatic = nullptr;
    qint64 m_automaticValue = 0;
    std::vector<Cell> m_cells;
};
