#include "ui/CPickerMenuButton.h"

#include <QGridLayout>
#include <QMenu>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidgetAction>

CPickerMenuButton::CPickerMenuButton(int commandId, int columns, QWidget* parent)
    : QToolButton(parent), m_commandId(commandId), m_columns(columns)
{
    setPopupMode(QToolButton::MenuButtonPopup);
    setAutoRaise(true);

    m_popup = new QWidget;
    m_layout = new QVBoxLayout(m_popup);
    m_layout->setContentsMargins(4, 4, 4, 4);
    m_layout->setSpacing(2);
    m_grid = new QGridLayout;
    m_grid->setSpacing(0);
    m_layout->addLayout(m_grid);

    m_menu = new QMenu(this);
    auto* action = new QWidgetAction(m_menu);
    action->setDefaultWidget(m_popup);
    m_menu->addAction(action);
    connect(m_menu, &QMenu::aboutToShow, this, &CPickerMenuButton::UpdateSelection);
    setMenu(m_menu);
}

void CPickerMenuButton::SetShowAutomatic(bool show)
{
    m_showAutomatic = show;
    if (m_automatic) m_automatic->setVisible(show);
}

QToolButton* CPickerMenuButton::MakeCell(const QIcon& icon, const QSize& size)
{
    auto* cell = new QToolButton(m_popup);
    cell->setIcon(icon);
    cell->setIconSize(size);
    cell->setCheckable(true);
    cell->setAutoRaise(true);
    cell->setFocusPolicy(Qt::NoFocus);
    return cell;
}

void CPickerMenuButton::AddAutomaticEntry(qint64 value, const QString& label, const QIcon& icon)
{
    m_automaticValue = value;
    m_automatic = MakeCell(icon, QSize(16, 15));
    m_automatic->setText(label);
    m_automatic->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_automatic->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_automatic->setVisible(m_showAutomatic);
    m_layout->insertWidget(0, m_automatic);
    connect(m_automatic, &QToolButton::clicked, this, [this] { OnCellClicked(m_automaticValue); });
}

void CPickerMenuButton::AddCell(qint64 value, const QIcon& icon, const QSize& size, const QString& toolTip)
{
    QToolButton* cell = MakeCell(icon, size);
    cell->setToolTip(toolTip);
    const int index = int(m_cells.size());
    m_grid->addWidget(cell, index / m_columns, index % m_columns);
    m_cells.push_back({cell, value});
    connect(cell, &QToolButton::clicked, this, [this, value] { OnCellClicked(value); });
}

void CPickerMenuButton::AddWideEntry(const QString& text, std::function<void()> action)
{
    auto* entry = new QToolButton(m_popup);
    entry->setText(text);
    entry->setAutoRaise(true);
    entry->setFocusPolicy(Qt::NoFocus);
    entry->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_layout->addWidget(entry);
    connect(entry, &QToolButton::clicked, this, [this, action = std::move(action)] {
        m_menu->hide();
        // The request runs once the popup is gone, as a posted message would.
        QTimer::singleShot(0, this, action);
    });
}

void CPickerMenuButton::UpdateSelection()
{
    const qint64 current = CurrentValue();
    for (const Cell& c : m_cells) c.button->setChecked(c.value == current);
    if (m_automatic) m_automatic->setChecked(m_automaticValue == current);
}

void CPickerMenuButton::OnCellClicked(qint64 value)
{
    m_menu->hide();
    Pick(value);
}

void CPickerMenuButton::RefreshIcon()
{
    setIcon(ButtonIcon());
    update();
}
