#include "grading/dialogs/CItemChooser.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace {

QListWidget* ListIn(QGroupBox* box, int id)
{
    auto* list = new QListWidget(box);
    list->setObjectName(QString::number(id));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return list;
}

} // namespace

CItemChooser::CItemChooser(QGroupBox* allBox, int allId, QGroupBox* chosenBox, int chosenId, QPushButton* remove)
    : QObject(allBox), m_all(ListIn(allBox, allId)), m_chosen(ListIn(chosenBox, chosenId))
{
    connect(m_all, &QListWidget::itemClicked, this, &CItemChooser::OnItemClicked);
    connect(m_all, &QListWidget::itemActivated, this, &CItemChooser::OnItemClicked);
    connect(remove, &QPushButton::clicked, this, &CItemChooser::DeleteSelected);
}

void CItemChooser::SetItems(const QStringList& items)
{
    m_all->clear();
    m_chosen->clear();
    m_all->addItems(items);
}

void CItemChooser::OnItemClicked(QListWidgetItem* item)
{
    if (item) Choose(m_all->row(item));
}

void CItemChooser::Choose(int row)
{
    const QListWidgetItem* item = m_all->item(row);
    if (!item) return;
    const QString text = item->text();
    for (int i = 0; i < m_chosen->count(); ++i)
        if (m_chosen->item(i)->text() == text) return;
    // The row travels with the entry: texts the interface shows need not
    // give the caller's bytes back.
    auto* chosen = new QListWidgetItem(text);
    chosen->setData(Qt::UserRole, row);
    m_chosen->addItem(chosen);
}

void CItemChooser::DeleteSelected()
{
    const int row = m_chosen->currentRow();
    if (row >= 0 && m_chosen->item(row) && m_chosen->item(row)->isSelected()) delete m_chosen->takeItem(row);
}

std::vector<int> CItemChooser::ChosenRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < m_chosen->count(); ++i) rows.push_back(m_chosen->item(i)->data(Qt::UserRole).toInt());
    return rows;
}
