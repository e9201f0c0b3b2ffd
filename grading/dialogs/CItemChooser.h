// The two lists of the grading's choosing dialogs: every item, and the
// items chosen from them in the order of choosing. An item is chosen when
// it is clicked or activated (double click, Enter), not when the keyboard
// merely moves over it, and choosing it again does nothing; the delete
// button takes the selected chosen item back. A chosen item keeps the row
// it has among all items, whatever text it shows.
#pragma once

#include <QObject>
#include <QStringList>

#include <vector>

class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class CItemChooser : public QObject {
    Q_OBJECT
public:
    // The lists go into the two boxes, named by their control ids.
    CItemChooser(QGroupBox* allBox, int allId, QGroupBox* chosenBox, int chosenId, QPushButton* remove);

    QListWidget* All() const { return m_all; }
    QListWidget* Chosen() const { return m_chosen; }

    // Every item, none chosen.
    void SetItems(const QStringList& items);
    // Chooses the item at the row of all items.
    void Choose(int row);
    void DeleteSelected();
    // The rows among all items of the chosen ones, in the order of choosing.
    std::vector<int> ChosenRows() const;

private:
    void OnItemClicked(QListWidgetItem* item);

    QListWidget* m_all;
    QListWidget* m_chosen;
};
