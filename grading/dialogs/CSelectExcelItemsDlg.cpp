#include "grading/dialogs/CSelectExcelItemsDlg.h"

#include "grading/dialogs/CGradingStep.h"
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

CSelectExcelItemsDlg::CSelectExcelItemsDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("选择Excel表中用于归号的项"));
    auto* allBox = new QGroupBox(QStringLiteral("选择用于归号的项"), this);
    auto* chosenBox = new QGroupBox(QStringLiteral("归号项"), this);
    m_all = ListIn(allBox, IDC_ALL_ITEMS);
    m_chosen = ListIn(chosenBox, IDC_CHOSEN_ITEMS);
    auto* remove = new QPushButton(QStringLiteral("删除"), this);
    remove->setObjectName(QString::number(IDC_DELETE));
    remove->setAutoDefault(false);
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

    connect(m_all, &QListWidget::itemClicked, this, &CSelectExcelItemsDlg::OnItemChosen);
    connect(m_all, &QListWidget::itemActivated, this, &CSelectExcelItemsDlg::OnItemChosen);
    connect(remove, &QPushButton::clicked, this, &CSelectExcelItemsDlg::OnDelete);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectExcelItemsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectExcelItemsDlg::reject);
    new CLocalEnterKeys(this, {m_all, m_chosen});
}

void CSelectExcelItemsDlg::SetSheet(const CMeasureSheet& sheet)
{
    m_sheet = sheet;
    m_all->clear();
    m_chosen->clear();
    for (const std::string& name : m_sheet.Table().header) m_all->addItem(GbkToQString(name));
    if (m_all->count() > 0) m_all->setCurrentRow(0);
    m_skipped->setVisible(m_sheet.SkippedBlankRows() > 0);
    m_skipped->setText(LoadResString(IDS_BLANK_ROWS_SKIPPED).arg(m_sheet.SkippedBlankRows()));
}

void CSelectExcelItemsDlg::OnItemChosen(QListWidgetItem* item)
{
    if (item) ChooseItem(m_all->row(item));
}

void CSelectExcelItemsDlg::ChooseItem(int row)
{
    const QListWidgetItem* item = m_all->item(row);
    if (!item) return;
    const QString text = item->text();
    for (int i = 0; i < m_chosen->count(); ++i)
        if (m_chosen->item(i)->text() == text) return;
    // The column travels with the entry: texts the interface shows need
    // not give the workbook's bytes back.
    auto* chosen = new QListWidgetItem(text);
    chosen->setData(Qt::UserRole, row);
    m_chosen->addItem(chosen);
}

void CSelectExcelItemsDlg::OnDelete()
{
    const int row = m_chosen->currentRow();
    if (row >= 0 && m_chosen->item(row) && m_chosen->item(row)->isSelected()) delete m_chosen->takeItem(row);
}

std::vector<int> CSelectExcelItemsDlg::ChosenColumns() const
{
    std::vector<int> columns;
    for (int i = 0; i < m_chosen->count(); ++i) columns.push_back(m_chosen->item(i)->data(Qt::UserRole).toInt());
    return columns;
}

void CSelectExcelItemsDlg::accept()
{
    if (m_chosen->count() == 0) {
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
