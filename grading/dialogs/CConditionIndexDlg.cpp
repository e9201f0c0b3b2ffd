#include "grading/dialogs/CConditionIndexDlg.h"

#include "grading/CBodyTableRebuild.h"
#include "grading/CConditionFilter.h"
#include "grading/CGradingPages.h"
#include "grading/dialogs/CGradingStep.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

template <class T> T* Named(T* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

} // namespace

CConditionIndexDlg::CConditionIndexDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("条件索引"));
    m_conditionOn = Named(new QCheckBox(QStringLiteral("条件索引"), this), IDC_CONDITION_ON);
    m_item = Named(new QComboBox(this), IDC_CONDITION_ITEM);
    m_text = Named(new QLineEdit(this), IDC_CONDITION_TEXT);
    m_specialOn = Named(new QCheckBox(QStringLiteral("判断特体"), this), IDC_SPECIAL_ON);
    m_lower = Named(new QLineEdit(QStringLiteral("0"), this), IDC_LOWER);
    m_upper = Named(new QLineEdit(QStringLiteral("0"), this), IDC_UPPER);
    m_minuend = Named(new QComboBox(this), IDC_MINUEND);
    m_subtrahend = Named(new QComboBox(this), IDC_SUBTRAHEND);
    auto* explanation = new QLabel(QStringLiteral("如果在该范围之内为正常体型，否则为特体"), this);
    explanation->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    // lower <= X
    //           -
    // upper >= Y
    auto* grid = new QGridLayout(this);
    grid->addWidget(m_conditionOn, 0, 0, 1, 3);
    grid->addWidget(m_item, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("="), this), 1, 1, Qt::AlignCenter);
    grid->addWidget(m_text, 1, 2);
    grid->addWidget(m_specialOn, 2, 0, 1, 3);
    grid->addWidget(explanation, 3, 0, 1, 3);
    grid->addWidget(m_lower, 4, 0);
    grid->addWidget(new QLabel(QStringLiteral("<="), this), 4, 1, Qt::AlignCenter);
    grid->addWidget(m_minuend, 4, 2);
    grid->addWidget(new QLabel(QStringLiteral("-"), this), 5, 2, Qt::AlignCenter);
    grid->addWidget(m_upper, 6, 0);
    grid->addWidget(new QLabel(QStringLiteral(">="), this), 6, 1, Qt::AlignCenter);
    grid->addWidget(m_subtrahend, 6, 2);
    grid->addWidget(buttons, 7, 0, 1, 3);

    for (QWidget* w : std::initializer_list<QWidget*>{m_item, m_text, m_minuend, m_subtrahend, m_upper, m_lower})
        w->setEnabled(false);
    connect(m_conditionOn, &QCheckBox::clicked, this, &CConditionIndexDlg::OnConditionOn);
    connect(m_specialOn, &QCheckBox::clicked, this, &CConditionIndexDlg::OnSpecialOn);
    connect(buttons, &QDialogButtonBox::accepted, this, &CConditionIndexDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CConditionIndexDlg::reject);
}

void CConditionIndexDlg::SetItems(const std::vector<std::string>& items)
{
    m_items = items;
    for (QComboBox* box : {m_item, m_minuend, m_subtrahend}) {
        box->clear();
        for (std::size_t i = 0; i < items.size(); ++i) box->addItem(GbkToQString(items[i]), int(i));
        box->setCurrentIndex(items.empty() ? -1 : 0);
    }
}

void CConditionIndexDlg::OnConditionOn()
{
    const bool on = m_conditionOn->isChecked();
    m_item->setEnabled(on);
    m_text->setEnabled(on);
}

void CConditionIndexDlg::OnSpecialOn()
{
    const bool on = m_specialOn->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{m_minuend, m_subtrahend, m_upper, m_lower}) w->setEnabled(on);
}

std::string CConditionIndexDlg::ItemAt(const QComboBox* box) const
{
    const int i = box->currentData().isValid() ? box->currentData().toInt() : -1;
    return i >= 0 && i < int(m_items.size()) ? m_items[std::size_t(i)] : std::string();
}

bool CConditionIndexDlg::ReadNumber(QLineEdit* edit, double& value)
{
    bool ok = false;
    value = edit->text().trimmed().toDouble(&ok);
    if (ok && std::isfinite(value)) return true;
    CGradingStep::Message(this, IDS_ENTER_NUMBER, QMessageBox::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CConditionIndexDlg::accept()
{
    CConditionIndex index;
    index.conditionOn = m_conditionOn->isChecked();
    index.item = ItemAt(m_item);
    index.text = QStringToGbk(m_text->text());
    index.specialOn = m_specialOn->isChecked();
    index.minuend = ItemAt(m_minuend);
    index.subtrahend = ItemAt(m_subtrahend);
    if (index.specialOn && (!ReadNumber(m_upper, index.upper) || !ReadNumber(m_lower, index.lower))) return;

    const CPageSet& ps = *m_view->GetPageSet();
    const CTextRows body =
        CGradingPages::ReadTable(ps, CGradingPages::PagesHolding(ps, CGradingPages::BodyTitle()));
    if (body.header.empty()) {
        CGradingStep::Message(this, IDS_NO_BODY_TABLE, QMessageBox::Warning);
        return;
    }
    CTextRows kept;
    std::vector<CTextRows::Row> special;
    std::string item;
    if (CConditionFilter::Apply(body, index, kept, special, &item) != CConditionFilter::Error::None) {
        CGradingStep::Message(this, LoadResString(IDS_ITEM_NOT_IN_TABLE).arg(GbkToQString(item)),
                              QMessageBox::Warning);
        return;
    }
    {
        CGradingStep step(m_view);
        if (!CBodyTableRebuild::Apply(step.PageSet(), CGradingStep::StyleFromSettings(), kept, special)) {
            CGradingStep::Message(this, IDS_PAGE_TOO_SMALL, QMessageBox::Warning);
            return;
        }
        step.Commit();
    }
    CGradingStep::ShowTextControls(m_view, 6);
    QDialog::accept();
}
