#include "grading/dialogs/CSerialSortDlg.h"

#include "grading/dialogs/CGradingStep.h"
#include "grading/CSerialNumbering.h"
#include "grading/CSerialSort.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "platform/CodePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

template <class T> T* Named(T* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

} // namespace

CSerialSortDlg::CSerialSortDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("增加序号及排列顺序"));
    m_addNumbers = Named(new QCheckBox(QStringLiteral("增加序号"), this), IDC_ADD_NUMBERS);
    m_start = Named(new QLineEdit(QStringLiteral("0"), this), IDC_START);
    m_primaryOn = Named(new QCheckBox(QStringLiteral("主排序"), this), IDC_PRIMARY_ON);
    m_primary = Named(new QComboBox(this), IDC_PRIMARY);
    m_secondaryOn = Named(new QCheckBox(QStringLiteral("次排序"), this), IDC_SECONDARY_ON);
    m_secondary = Named(new QComboBox(this), IDC_SECONDARY);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_addNumbers, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("给定起始序号"), this), 1, 0);
    grid->addWidget(m_start, 1, 1);
    grid->addWidget(m_primaryOn, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("选择主排序依据项"), this), 3, 0);
    grid->addWidget(m_primary, 3, 1);
    grid->addWidget(m_secondaryOn, 4, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("选择次排序依据项"), this), 5, 0);
    grid->addWidget(m_secondary, 5, 1);
    grid->addWidget(buttons, 6, 0, 1, 2);

    m_start->setEnabled(false);
    m_primary->setEnabled(false);
    m_secondary->setEnabled(false);
    m_secondaryOn->setEnabled(false);
    connect(m_addNumbers, &QCheckBox::clicked, this, &CSerialSortDlg::OnAddNumbers);
    connect(m_primaryOn, &QCheckBox::clicked, this, &CSerialSortDlg::OnPrimary);
    connect(m_secondaryOn, &QCheckBox::clicked, this, &CSerialSortDlg::OnSecondary);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSerialSortDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSerialSortDlg::reject);
}

void CSerialSortDlg::SetTables(const std::vector<int>& pages, const std::vector<std::string>& header,
                               const std::vector<CTextRows::Row>& rows)
{
    m_pages = pages;
    m_rows = rows;
    for (QComboBox* box : {m_primary, m_secondary}) {
        box->clear();
        for (const std::string& item : header) box->addItem(GbkToQString(item));
        box->setCurrentIndex(header.empty() ? -1 : 0);
    }
}

void CSerialSortDlg::OnAddNumbers()
{
    m_start->setEnabled(m_addNumbers->isChecked());
    if (m_start->isEnabled()) {
        m_start->setFocus();
        m_start->selectAll();
    }
}

void CSerialSortDlg::OnPrimary()
{
    const bool on = m_primaryOn->isChecked();
    m_primary->setEnabled(on);
    m_secondaryOn->setEnabled(on);
}

void CSerialSortDlg::OnSecondary()
{
    m_secondary->setEnabled(m_secondaryOn->isChecked());
}

void CSerialSortDlg::accept()
{
    const bool addNumbers = m_addNumbers->isChecked();
    int start = 0;
    if (addNumbers) {
        bool isNumber = false;
        start = m_start->text().trimmed().toInt(&isNumber);
        if (!isNumber || start < 0) {
            CGradingStep::Message(this, isNumber ? IDS_START_NUMBER : IDS_ENTER_INTEGER);
            m_start->setFocus();
            m_start->selectAll();
            return;
        }
    }
    {
        CGradingStep step(m_view);
        bool changed = false;
        if (m_primaryOn->isChecked()) {
            std::vector<CTextRows::Row> rows = m_rows;
            // The secondary sort works only beside the primary one.
            CSerialSort::Sort(rows, m_primary->currentIndex(), m_secondary->currentIndex(),
                              m_secondaryOn->isChecked());
            changed = CSerialNumbering::WriteRows(step.PageSet(), m_pages, rows);
        }
        if (addNumbers) changed = CSerialNumbering::AddSerialNumbers(step.PageSet(), m_pages, start) || changed;
        if (changed) step.Commit();
    }
    QDialog::accept();
}
