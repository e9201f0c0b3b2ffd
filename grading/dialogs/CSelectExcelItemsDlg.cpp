#include "grading/dialogs/CSelectExcelItemsDlg.h"

#include "grading/dialogs/CGradingStep.h"
#include "grading/dialogs/CItemChooser.h"
#include "grading/CMeasureTableBuilder.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "ui/CLocalEnterKeys.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>

CSelectExcelItemsDlg::CSelectExcelItemsDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("选择Excel表中用于归号的项"));
    auto* allBox = new QGroupBox(QStringLiteral("选择用于归号的项"), this);
    auto* chosenBox = new QGroupBox(QStringLiteral("归号项"), this);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    remove->setObjectName(QString::number(IDC_DELETE));
    remove->setAutoDefault(false);
    m_chooser = new CItemChooser(allBox, IDC_ALL_ITEMS, chosenBox, IDC_CHOSEN_ITEMS, remove);
    m_skipped = new QLabel(this);
    m_skipped->setObjectName(QStringLiteral("skippedRows"));
    m_skipped->setVisible(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(allBox, 0, 0);
    grid->addWidget(chosenBox, 0, 1);
    grid->addWidget(remove, 1, 1, Qt::AlignRight);
    grid->addWidget(m_skipped, 2, 0, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 2);

    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectExcelItemsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectExcelItemsDlg::reject);
    new CLocalEnterKeys(this, {AllItemsList(), ChosenItemsList()});
}

void CSelectExcelItemsDlg::SetSheet(const CMeasureSheet& sheet)
{
    m_sheet = sheet;
    QStringList names;
    for (const std::string& name : m_sheet.Table().header) names << GbkToQString(name);
    m_chooser->SetItems(names);
    if (!names.isEmpty()) AllItemsList()->setCurrentRow(0);
    m_skipped->setVisible(m_sheet.SkippedBlankRows() > 0);
    m_skipped->setText(LoadResString(IDS_BLANK_ROWS_SKIPPED).arg(m_sheet.SkippedBlankRows()));
}

QListWidget* CSelectExcelItemsDlg::AllItemsList() const
{
    return m_chooser->All();
}

QListWidget* CSelectExcelItemsDlg::ChosenItemsList() const
{
    return m_chooser->Chosen();
}

void CSelectExcelItemsDlg::ChooseItem(int row)
{
    m_chooser->Choose(row);
}

void CSelectExcelItemsDlg::OnDelete()
{
    m_chooser->DeleteSelected();
}

std::vector<int> CSelectExcelItemsDlg::ChosenColumns() const
{
    // The items are the workbook's header in column order.
    return m_chooser->ChosenRows();
}

void CSelectExcelItemsDlg::accept()
{
    if (ChosenItemsList()->count() == 0) {
        CGradingStep::Message(this, IDS_NO_GRADING_ITEMS);
        return;
    }
    const CTextRows table = CMeasureTableBuilder::SelectColumns(m_sheet.Table(), ChosenColumns());
    {
        CGradingStep step(m_view);
        if (CMeasureTableBuilder::Build(step.PageSet(), CGradingStep::StyleFromSettings(), table).empty()) {
            CGradingStep::Message(this, IDS_PAGE_TOO_SMALL, QMessageBox::Warning);
            return;
        }
        step.Commit();
    }
    CGradingStep::ShowTextControls(m_view, 5);
    QDialog::accept();
}
