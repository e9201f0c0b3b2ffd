#include "ui/CSplitCellDlg.h"

#include "ui/CUpDownButtons.h"

#include "res/StringTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace {

QLineEdit* MakeDigitsEdit(QWidget* parent, int id)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
    return edit;
}

int NumberOf(const QLineEdit* edit)
{
    bool ok = false;
    const int n = edit->text().trimmed().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

CSplitCellDlg::CSplitCellDlg(const std::vector<int>& allowedRows, int mergeFirst, QWidget* parent)
    : QDialog(parent), m_bMergeFirst(mergeFirst), m_allowedRows(allowedRows)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD));
    setWindowTitle(QStringLiteral("拆分单元格"));
    m_nRows = m_allowedRows.empty() ? 0 : m_allowedRows.front();

    m_columnsEdit = MakeDigitsEdit(this, IDC_COLUMNS);
    m_rowsEdit = MakeDigitsEdit(this, IDC_ROWS);
    // The columns edit is the buddy of its spin: the arrow keys step it.
    m_columnsEdit->installEventFilter(this);
    auto* columnsSpin = new CUpDownButtons(IDC_COLUMNS_SPIN, this);
    connect(columnsSpin, &CUpDownButtons::Stepped, this, &CSplitCellDlg::StepColumns);
    auto* rowsSpin = new CUpDownButtons(IDC_ROWS_SPIN, this);
    connect(rowsSpin, &CUpDownButtons::Stepped, this, &CSplitCellDlg::StepRows);
    m_mergeFirst = new QCheckBox(QStringLiteral("拆分之前先合并"), this);
    m_mergeFirst->setObjectName(QString::number(IDC_MERGE_FIRST));
    m_mergeFirst->setEnabled(false);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSplitCellDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSplitCellDlg::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("列数"), this), 0, 0);
    grid->addWidget(m_columnsEdit, 0, 1);
    grid->addWidget(columnsSpin, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("行数"), this), 1, 0);
    grid->addWidget(m_rowsEdit, 1, 1);
    grid->addWidget(rowsSpin, 1, 2);
    grid->addWidget(m_mergeFirst, 2, 0, 1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    buttons->setOrientation(Qt::Vertical);
    layout->addWidget(buttons, 0, Qt::AlignTop);
}

CSplitCellDlg::~CSplitCellDlg() = default;

int CSplitCellDlg::DoModal()
{
    return exec();
}

void CSplitCellDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_nColumns = std::clamp(m_nColumns, 1, std::max(1, m_nMaxColumns));
    m_columnsEdit->setText(QString::number(m_nColumns));
    m_rowsEdit->setText(QString::number(m_nRows));
    m_mergeFirst->setChecked(m_bMergeFirst != 0);
    m_rowsPosition = 1;
    m_columnsEdit->setFocus();
    m_columnsEdit->selectAll();
}

void CSplitCellDlg::StepRows(int step)
{
    const int position = m_rowsPosition + step;
    if (position < 1 || position > int(m_allowedRows.size())) return;
    m_rowsPosition = position;
    m_rowsEdit->setText(QString::number(m_allowedRows[std::size_t(position - 1)]));
}

void CSplitCellDlg::StepColumns(int step)
{
    const int columns = std::clamp(NumberOf(m_columnsEdit) + step, 1, std::max(1, m_nMaxColumns));
    m_columnsEdit->setText(QString::number(columns));
}

bool CSplitCellDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_columnsEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            StepColumns(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CSplitCellDlg::Refuse(QLineEdit* field, int messageId)
{
    QMessageBox::critical(this, LoadResString(Ids::IDS_APP_TITLE), LoadResString(messageId));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
    return false;
}

void CSplitCellDlg::accept()
{
    const int columns = NumberOf(m_columnsEdit);
    const int rows = NumberOf(m_rowsEdit);
    if (columns < 1 || columns > m_nMaxColumns) {
        Refuse(m_columnsEdit, IDS_BAD_COLUMNS);
        return;
    }
    if (std::find(m_allowedRows.begin(), m_allowedRows.end(), rows) == m_allowedRows.end()) {
        Refuse(m_rowsEdit, IDS_BAD_ROWS);
        return;
    }
    m_nColumns = columns;
    m_nRows = rows;
    m_bMergeFirst = m_mergeFirst->isChecked() ? 1 : 0;
    QDialog::accept();
}
