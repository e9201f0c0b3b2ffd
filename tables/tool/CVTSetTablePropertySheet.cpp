#include "tables/tool/CVTSetTablePropertySheet.h"

#include "tables/tool/CVTSetTableCellParaPage.h"
#include "tables/tool/CVTTableParaGeneralPage.h"
#include "tables/tool/TableDialogSupport.h"

#include "res/StringTable.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CVTSetTablePropertySheet::CVTSetTablePropertySheet(int captionId, QWidget* parent, int initialPage) : QDialog(parent)
{
    setObjectName(QStringLiteral("CVTSetTablePropertySheet"));
    setWindowTitle(LoadResString(captionId));
    m_tabs = new QTabWidget(this);
    m_generalPage = new CVTTableParaGeneralPage;
    m_cellPage = new CVTSetTableCellParaPage;
    m_tabs->addTab(m_generalPage, QStringLiteral("表格"));
    m_tabs->addTab(m_cellPage, QStringLiteral("单元格"));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CVTSetTablePropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CVTSetTablePropertySheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    m_active = initialPage == 1 ? 1 : 0;
    m_tabs->setCurrentIndex(m_active);
    // A click on the other tab is a request to leave the page in front.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_switching || index == m_active) return;
        const int leaving = m_active;
        m_switching = true;
        m_tabs->setCurrentIndex(leaving);
        m_switching = false;
        SetActivePage(index);
    });
}

CVTSetTablePropertySheet::~CVTSetTablePropertySheet() = default;

int CVTSetTablePropertySheet::DoModal()
{
    return exec();
}

int CVTSetTablePropertySheet::GetActiveIndex() const
{
    return m_active;
}

bool CVTSetTablePropertySheet::CheckPage(int index)
{
    QLineEdit* field = nullptr;
    const QString refusal = index == 0 ? m_generalPage->Check(field) : m_cellPage->Check(field);
    if (refusal.isEmpty()) return true;
    return tabledlg::Refuse(this, field, refusal);
}

bool CVTSetTablePropertySheet::SetActivePage(int index)
{
    if (index < 0 || index > 1) return false;
    if (index == m_active) return true;
    if (!CheckPage(m_active)) return false;
    m_active = index;
    m_switching = true;
    m_tabs->setCurrentIndex(index);
    m_switching = false;
    return true;
}

void CVTSetTablePropertySheet::accept()
{
    if (CheckPage(m_active)) QDialog::accept();
}
