#include "grading/dialogs/CSizeInputDlg.h"

#include "grading/dialogs/CGradingStep.h"
#include "grading/CMeasureTableBuilder.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "platform/CodePage.h"
#include "ui/CLocalEnterKeys.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

QPushButton* Button(const QString& text, int id, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

} // namespace

CSizeInputDlg::CSizeInputDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("输入个人信息和尺寸名"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QString::number(IDC_ITEM_NAME));
    m_persons = new QLineEdit(QStringLiteral("0"), this);
    m_persons->setObjectName(QString::number(IDC_PERSONS));
    m_columns = new QLineEdit(QStringLiteral("0"), this);
    m_columns->setObjectName(QString::number(IDC_COLUMNS));
    m_columns->setReadOnly(true);
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(IDC_ITEM_LIST));
    auto* add = Button(QStringLiteral("增加"), IDC_ADD, this);
    auto* remove = Button(QStringLiteral("删除"), IDC_DELETE, this);
    auto* ok = Button(QStringLiteral("OK"), 1141, this);
    ok->setDefault(true);
    auto* cancel = Button(QStringLiteral("Cancel"), 1142, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("尺寸名"), this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(add, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("所有的尺寸项"), this), 1, 0);
    grid->addWidget(m_list, 1, 1, 3, 1);
    grid->addWidget(remove, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("请输入人数(行数)"), this), 4, 0);
    grid->addWidget(m_persons, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("选中的项目数(列数)"), this), 5, 0);
    grid->addWidget(m_columns, 5, 1);
    grid->addWidget(ok, 6, 1, Qt::AlignRight);
    grid->addWidget(cancel, 6, 2);

    connect(add, &QPushButton::clicked, this, &CSizeInputDlg::OnAdd);
    connect(remove, &QPushButton::clicked, this, &CSizeInputDlg::OnDelete);
    connect(ok, &QPushButton::clicked, this, &CSizeInputDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CSizeInputDlg::reject);
    connect(m_name, &QLineEdit::returnPressed, this, &CSizeInputDlg::OnAdd);
    new CLocalEnterKeys(this, {m_name, m_list});
    m_name->setFocus();
}

QStringList CSizeInputDlg::Items() const
{
    QStringList items;
    for (int i = 0; i < m_list->count(); ++i) items << m_list->item(i)->text();
    return items;
}

void CSizeInputDlg::ShowColumnCount()
{
    m_columns->setText(QString::number(m_list->count()));
}

void CSizeInputDlg::OnAdd()
{
    const QString name = m_name->text();
    m_name->setFocus();
    m_name->selectAll();
    if (name.isEmpty() || Items().contains(name)) return;
    m_list->addItem(name);
    ShowColumnCount();
}

void CSizeInputDlg::OnDelete()
{
    const int row = m_list->currentRow();
    if (row >= 0 && m_list->item(row)->isSelected()) delete m_list->takeItem(row);
    ShowColumnCount();
    m_list->setFocus();
}

void CSizeInputDlg::Refuse(int stringId, QLineEdit* field)
{
    CGradingStep::Message(this, stringId, QMessageBox::Critical);
    field->setFocus();
    field->selectAll();
}

void CSizeInputDlg::accept()
{
    bool isNumber = false;
    const int persons = m_persons->text().trimmed().toInt(&isNumber);
    if (m_list->count() == 0) return Refuse(IDS_NO_SIZE_ITEMS, m_name);
    if (!isNumber) return Refuse(IDS_ENTER_INTEGER, m_persons);
    if (persons < 1) return Refuse(IDS_PERSONS_BELOW_ONE, m_persons);
    if (persons > kMaxPersons) return Refuse(IDS_TOO_MANY_PERSONS, m_persons);

    CTextRows table;
    for (const QString& item : Items()) table.header.push_back(QStringToGbk(item));
    table.rows.assign(std::size_t(persons), CTextRows::Row(table.header.size()));
    {
        CGradingStep step(m_view);
        if (CMeasureTableBuilder::Build(step.PageSet(), CGradingStep::StyleFromSettings(), table).empty())
            return CGradingStep::Message(this, IDS_PAGE_TOO_SMALL, QMessageBox::Warning);
        step.Commit();
    }
    CGradingStep::ShowTextControls(m_view, 5);
    QDialog::accept();
}
