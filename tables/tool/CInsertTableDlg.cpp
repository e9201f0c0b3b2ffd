#include "tables/tool/CInsertTableDlg.h"

#include "tables/tool/TableDialogSupport.h"
#include "ui/CUpDownButtons.h"

#include "settings/CSystemSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

namespace {

template <class W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

int NumberOf(const QLineEdit* edit)
{
    bool ok = false;
    const int n = edit->text().trimmed().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

CInsertTableDlg::CInsertTableDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD));
    setWindowTitle(QStringLiteral("插入表格"));
    const CSystemSettings& s = Settings();

    auto digits = [this](int id) {
        auto* edit = Named(new QLineEdit(this), id);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
        edit->installEventFilter(this);
        return edit;
    };
    m_columns = digits(IDC_COLUMNS);
    m_rows = digits(IDC_ROWS);
    auto* columnsSpin = new CUpDownButtons(IDC_COLUMNS_SPIN, this);
    connect(columnsSpin, &CUpDownButtons::Stepped, this, [this](int step) { Step(m_columns, step, kMaxColumns); });
    auto* rowsSpin = new CUpDownButtons(IDC_ROWS_SPIN, this);
    connect(rowsSpin, &CUpDownButtons::Stepped, this, [this](int step) { Step(m_rows, step, kMaxRows); });

    m_fitWidth = Named(new QCheckBox(QStringLiteral("自动适应到页面宽度"), this), IDC_FIT_WIDTH);
    m_fitHeight = Named(new QCheckBox(QStringLiteral("自动适应到页面高度"), this), IDC_FIT_HEIGHT);
    m_setDefault = Named(new QCheckBox(QStringLiteral("设成新表格的默认值"), this), IDC_SET_DEFAULT);
    m_columnWidth = Named(new QLineEdit(this), IDC_COLUMN_WIDTH);
    m_rowHeight = Named(new QLineEdit(this), IDC_ROW_HEIGHT);
    m_columnLabel = Named(new QLabel(QStringLiteral("列宽"), this), IDC_COLUMN_LABEL);
    m_rowLabel = Named(new QLabel(QStringLiteral("行高"), this), IDC_ROW_LABEL);
    m_columnUnit = Named(new QLabel(tabledlg::UnitText(), this), IDC_COLUMN_UNIT);
    m_rowUnit = Named(new QLabel(tabledlg::UnitText(), this), IDC_ROW_UNIT);
    m_columnAuto = Named(new QCheckBox(QStringLiteral("自动"), this), IDC_COLUMN_AUTO);
    m_rowAuto = Named(new QCheckBox(QStringLiteral("自动"), this), IDC_ROW_AUTO);
    for (QCheckBox* box : {m_fitWidth, m_fitHeight, m_columnAuto, m_rowAuto})
        connect(box, &QCheckBox::toggled, this, &CInsertTableDlg::UpdateEnabling);

    auto* counts = new QGroupBox(QStringLiteral("表格大小"), this);
    auto* countGrid = new QGridLayout(counts);
    countGrid->addWidget(new QLabel(QStringLiteral("列数"), counts), 0, 0);
    countGrid->addWidget(m_columns, 0, 1);
    countGrid->addWidget(columnsSpin, 0, 2);
    countGrid->addWidget(new QLabel(QStringLiteral("行数"), counts), 1, 0);
    countGrid->addWidget(m_rows, 1, 1);
    countGrid->addWidget(rowsSpin, 1, 2);

    auto* sizes = new QGroupBox(QStringLiteral("单元格大小"), this);
    auto* sizeGrid = new QGridLayout(sizes);
    sizeGrid->addWidget(m_columnLabel, 0, 0);
    sizeGrid->addWidget(m_columnWidth, 0, 1);
    sizeGrid->addWidget(m_columnUnit, 0, 2);
    sizeGrid->addWidget(m_columnAuto, 0, 3);
    sizeGrid->addWidget(m_rowLabel, 1, 0);
    sizeGrid->addWidget(m_rowHeight, 1, 1);
    sizeGrid->addWidget(m_rowUnit, 1, 2);
    sizeGrid->addWidget(m_rowAuto, 1, 3);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CInsertTableDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CInsertTableDlg::reject);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(counts);
    auto* fits = new QVBoxLayout;
    fits->addWidget(m_fitWidth);
    fits->addWidget(m_fitHeight);
    fits->addStretch();
    top->addLayout(fits);
    layout->addLayout(top);
    layout->addWidget(sizes);
    layout->addWidget(m_setDefault);
    layout->addWidget(buttons);

    m_values.columns = s.m_nNewTableColumns;
    m_values.rows = s.m_nNewTableRows;
    m_values.fitWidth = s.m_bNewTableFitWidth;
    m_values.fitHeight = s.m_bNewTableFitHeight;
    m_values.columnWidth = s.m_nNewTableColumnWidth;
    m_values.rowHeight = s.m_nNewTableRowHeight;
    m_columns->setText(QString::number(m_values.columns));
    m_rows->setText(QString::number(m_values.rows));
    m_fitWidth->setChecked(m_values.fitWidth != 0);
    m_fitHeight->setChecked(m_values.fitHeight != 0);
    m_columnWidth->setText(tabledlg::LengthText(m_values.columnWidth));
    m_rowHeight->setText(tabledlg::LengthText(m_values.rowHeight));
    UpdateEnabling();
    m_columns->setFocus();
    m_columns->selectAll();
}

CInsertTableDlg::~CInsertTableDlg() = default;

int CInsertTableDlg::DoModal()
{
    return exec();
}

QCheckBox* CInsertTableDlg::Check(int id) const
{
    switch (id) {
    case IDC_FIT_WIDTH: return m_fitWidth;
    case IDC_FIT_HEIGHT: return m_fitHeight;
    case IDC_SET_DEFAULT: return m_setDefault;
    case IDC_COLUMN_AUTO: return m_columnAuto;
    case IDC_ROW_AUTO: return m_rowAuto;
    default: return nullptr;
    }
}

void CInsertTableDlg::UpdateEnabling()
{
    const bool fitWidth = m_fitWidth->isChecked();
    const bool fitHeight = m_fitHeight->isChecked();
    const bool rowHeight = !fitHeight && !m_rowAuto->isChecked();
    const bool columnWidth = !fitWidth && !m_columnAuto->isChecked();
    m_rowHeight->setEnabled(rowHeight);
    m_rowUnit->setEnabled(rowHeight);
    m_columnWidth->setEnabled(columnWidth);
    m_columnUnit->setEnabled(columnWidth);
    m_columnLabel->setEnabled(!fitWidth);
    m_columnAuto->setEnabled(!fitWidth);
    m_rowLabel->setEnabled(!fitHeight);
    m_rowAuto->setEnabled(!fitHeight);
}

void CInsertTableDlg::Step(QLineEdit* edit, int step, int most)
{
    edit->setText(QString::number(std::clamp(NumberOf(edit) + step, 1, most)));
    edit->setFocus();
    edit->selectAll();
}

// The count edits are the buddies of their spins: the arrow keys step them.
bool CInsertTableDlg::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_columns || watched == m_rows) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const bool columns = watched == m_columns;
            Step(columns ? m_columns : m_rows, key == Qt::Key_Up ? 1 : -1, columns ? kMaxColumns : kMaxRows);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CInsertTableDlg::ReadLengthField(QLineEdit* field, bool used, int belowOneMessage, int fallback, int& value)
{
    int read = 0;
    const LengthTextStatus status = tabledlg::ReadLength(field, read);
    if (!used) {
        // A size the table does not use keeps the default it would store.
        value = status == LengthTextStatus::Ok && read >= 1 ? read : fallback;
        return true;
    }
    if (status == LengthTextStatus::TooLarge) return tabledlg::Refuse(this, field, tabledlg::LengthMessage(status));
    if (status != LengthTextStatus::Ok || read < 1) return tabledlg::Refuse(this, field, belowOneMessage);
    value = read;
    return true;
}

bool CInsertTableDlg::ReadValues(Values& v)
{
    const CSystemSettings& s = Settings();
    v.columns = NumberOf(m_columns);
    v.rows = NumberOf(m_rows);
    v.fitWidth = m_fitWidth->isChecked() ? 1 : 0;
    v.fitHeight = m_fitHeight->isChecked() ? 1 : 0;
    v.setDefault = m_setDefault->isChecked() ? 1 : 0;
    v.columnAuto = m_columnAuto->isChecked() && m_columnAuto->isEnabled() ? 1 : 0;
    v.rowAuto = m_rowAuto->isChecked() && m_rowAuto->isEnabled() ? 1 : 0;

    if (v.columns < 1) return tabledlg::Refuse(this, m_columns, IDS_COLUMNS_BELOW_ONE);
    if (v.columns > kMaxColumns) return tabledlg::Refuse(this, m_columns, IDS_TOO_MANY_COLUMNS);
    if (!ReadLengthField(m_columnWidth, m_columnWidth->isEnabled(), IDS_COLUMN_WIDTH, s.m_nNewTableColumnWidth,
                         v.columnWidth))
        return false;
    if (v.rows < 1) return tabledlg::Refuse(this, m_rows, IDS_ROWS_BELOW_ONE);
    if (v.rows > kMaxRows) return tabledlg::Refuse(this, m_rows, IDS_TOO_MANY_ROWS);
    if (!ReadLengthField(m_rowHeight, m_rowHeight->isEnabled(), IDS_ROW_HEIGHT, s.m_nNewTableRowHeight, v.rowHeight))
        return false;

    const int misfit = m_fitCheck ? m_fitCheck(v) : 0;
    if (misfit & 1) return tabledlg::Refuse(this, m_columnWidth->isEnabled() ? m_columnWidth : m_columns, IDS_TOO_SMALL);
    if (misfit & 2) return tabledlg::Refuse(this, m_rowHeight->isEnabled() ? m_rowHeight : m_rows, IDS_TOO_SMALL);
    return true;
}

void CInsertTableDlg::accept()
{
    Values v;
    if (!ReadValues(v)) return;
    m_values = v;
    if (v.setDefault) {
        CSystemSettings& s = Settings();
        s.m_nNewTableColumns = v.columns;
        s.m_nNewTableRows = v.rows;
        s.m_bNewTableFitHeight = v.fitHeight;
        s.m_bNewTableFitWidth = v.fitWidth;
        s.m_nNewTableRowHeight = v.rowHeight;
        s.m_nNewTableColumnWidth = v.columnWidth;
    }
    QDialog::accept();
}
