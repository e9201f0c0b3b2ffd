#include "grading/dialogs/CSelectGradeBasisDlg.h"

#include "grading/dialogs/CGradingBasisDlg.h"
#include "grading/CGradingPages.h"
#include "grading/CGradingRun.h"
#include "grading/dialogs/CGradingStep.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"
#include "ui/CLocalEnterKeys.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
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

CSelectGradeBasisDlg::CSelectGradeBasisDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("选择归号依据"));
    auto* allBox = new QGroupBox(QStringLiteral("选择归号依据的项"), this);
    auto* basisBox = new QGroupBox(QStringLiteral("归号依据项"), this);
    m_all = ListIn(allBox, IDC_ALL_ITEMS);
    m_basis = ListIn(basisBox, IDC_BASIS_ITEMS);
    auto* remove = new QPushButton(QStringLiteral("删除项"), this);
    remove->setObjectName(QString::number(IDC_DELETE));
    remove->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(allBox, 0, 0);
    grid->addWidget(basisBox, 0, 1);
    grid->addWidget(remove, 1, 1, Qt::AlignRight);
    grid->addWidget(buttons, 2, 0, 1, 2);

    connect(m_all, &QListWidget::itemClicked, this, &CSelectGradeBasisDlg::OnItemChosen);
    connect(m_all, &QListWidget::itemActivated, this, &CSelectGradeBasisDlg::OnItemChosen);
    connect(remove, &QPushButton::clicked, this, &CSelectGradeBasisDlg::OnDelete);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectGradeBasisDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectGradeBasisDlg::reject);
    new CLocalEnterKeys(this, {m_all, m_basis});
}

void CSelectGradeBasisDlg::SetItems(const std::vector<std::string>& items)
{
    m_items = items;
    m_all->clear();
    m_basis->clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        auto* item = new QListWidgetItem(GbkToQString(items[i]));
        item->setData(Qt::UserRole, int(i));
        m_all->addItem(item);
    }
}

void CSelectGradeBasisDlg::OnItemChosen(QListWidgetItem* item)
{
    if (item) ChooseItem(m_all->row(item));
}

void CSelectGradeBasisDlg::ChooseItem(int row)
{
    const QListWidgetItem* item = m_all->item(row);
    if (!item) return;
    for (int i = 0; i < m_basis->count(); ++i)
        if (m_basis->item(i)->text() == item->text()) return;
    m_basis->addItem(item->clone());
}

void CSelectGradeBasisDlg::OnDelete()
{
    const int row = m_basis->currentRow();
    if (row >= 0 && m_basis->item(row)->isSelected()) delete m_basis->takeItem(row);
}

std::vector<std::string> CSelectGradeBasisDlg::BasisItems() const
{
    std::vector<std::string> items;
    for (int i = 0; i < m_basis->count(); ++i)
        items.push_back(m_items.at(std::size_t(m_basis->item(i)->data(Qt::UserRole).toInt())));
    return items;
}

void CSelectGradeBasisDlg::accept()
{
    if (m_basis->count() == 0) {
        CGradingStep::Message(this, IDS_NO_BASIS_ITEMS, QMessageBox::Critical);
        m_all->setFocus();
        return;
    }
    // The run's own refusals, while the choice can still be changed.
    const CPageSet& ps = *m_view->GetPageSet();
    const std::vector<int> pages =
        CGradingPages::PagesHolding(ps, CGradingPages::BodyTitle(), ps.GetCurrentPageIndex());
    const CTextRows body = CGradingPages::ReadTable(ps, pages);
    std::string item;
    QString refusal;
    if (body.header.empty()) {
        refusal = LoadResString(IDS_NO_BODY_TABLE);
    } else {
        switch (CGradingRun::Check(body, BasisItems(), &item)) {
        case CGradingRun::Error::None: break;
        case CGradingRun::Error::NoPersons: refusal = LoadResString(IDS_NO_PERSONS); break;
        case CGradingRun::Error::BasisMissing:
            refusal = LoadResString(IDS_ITEM_NOT_IN_TABLE).arg(GbkToQString(item));
            break;
        case CGradingRun::Error::BasisRepeated:
            refusal = LoadResString(IDS_ITEM_REPEATED).arg(GbkToQString(item));
            break;
        }
    }
    if (!refusal.isEmpty()) {
        CGradingStep::Message(this, refusal, QMessageBox::Warning);
        m_basis->setFocus();
        return;
    }
    CGradingBasisDlg basis(m_view);
    basis.SetBasisItems(BasisItems());
    basis.exec();
    QDialog::accept();
}
