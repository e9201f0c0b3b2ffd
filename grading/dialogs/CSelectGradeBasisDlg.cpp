#include "grading/dialogs/CSelectGradeBasisDlg.h"

#include "grading/dialogs/CGradingBasisDlg.h"
#include "grading/CGradingPages.h"
#include "grading/CGradingRun.h"
#include "grading/dialogs/CGradingStep.h"
#include "grading/dialogs/CItemChooser.h"
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
#include <QStringList>

CSelectGradeBasisDlg::CSelectGradeBasisDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("选择归号依据"));
    auto* allBox = new QGroupBox(QStringLiteral("选择归号依据的项"), this);
    auto* basisBox = new QGroupBox(QStringLiteral("归号依据项"), this);
    auto* remove = new QPushButton(QStringLiteral("删除项"), this);
    remove->setObjectName(QString::number(IDC_DELETE));
    remove->setAutoDefault(false);
    m_chooser = new CItemChooser(allBox, IDC_ALL_ITEMS, basisBox, IDC_BASIS_ITEMS, remove);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(allBox, 0, 0);
    grid->addWidget(basisBox, 0, 1);
    grid->addWidget(remove, 1, 1, Qt::AlignRight);
    grid->addWidget(buttons, 2, 0, 1, 2);

    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectGradeBasisDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectGradeBasisDlg::reject);
    new CLocalEnterKeys(this, {AllItemsList(), BasisList()});
}

void CSelectGradeBasisDlg::SetItems(const std::vector<std::string>& items)
{
    m_items = items;
    QStringList names;
    for (const std::string& item : items) names << GbkToQString(item);
    m_chooser->SetItems(names);
}

QListWidget* CSelectGradeBasisDlg::AllItemsList() const
{
    return m_chooser->All();
}

QListWidget* CSelectGradeBasisDlg::BasisList() const
{
    return m_chooser->Chosen();
}

void CSelectGradeBasisDlg::ChooseItem(int row)
{
    m_chooser->Choose(row);
}

void CSelectGradeBasisDlg::OnDelete()
{
    m_chooser->DeleteSelected();
}

std::vector<std::string> CSelectGradeBasisDlg::BasisItems() const
{
    std::vector<std::string> items;
    for (int row : m_chooser->ChosenRows()) items.push_back(m_items.at(std::size_t(row)));
    return items;
}

void CSelectGradeBasisDlg::accept()
{
    if (BasisList()->count() == 0) {
        CGradingStep::Message(this, IDS_NO_BASIS_ITEMS, QMessageBox::Critical);
        AllItemsList()->setFocus();
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
        BasisList()->setFocus();
        return;
    }
    CGradingBasisDlg basis(m_view);
    basis.SetBasisItems(BasisItems());
    basis.exec();
    QDialog::accept();
}
