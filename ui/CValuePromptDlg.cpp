#include "ui/CValuePromptDlg.h"

#include "settings/CSystemSettings.h"

#include "geometry/TextMeasure.h"
#include "geometry/WorkUnits.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct PromptTemplate {
    int id;
    const char* caption;
    const char* label;
};

// The value prompts' templates; the circle and polygon prompts show a
// picture of a radius where the length prompt says "长度=".
const PromptTemplate kTemplates[] = {
    {134, "长度", "长度="},
    {185, "圆", "半径="},
    {188, " 正多边形的外接圆半径", "半径="},
};

const PromptTemplate& TemplateOf(int id)
{
    for (const PromptTemplate& t : kTemplates)
        if (t.id == id) return t;
    return kTemplates[0];
}

} // namespace

CValuePromptDlg::CValuePromptDlg(int templateId, QWidget* parent) : CCaptionCalcDlg(templateId, parent)
{
    const PromptTemplate& t = TemplateOf(templateId);
    setWindowTitle(QString::fromUtf8(t.caption));
    m_valueEdit = new QLineEdit(this);
    m_unitLabel = new QLabel(QStringLiteral("mm"), this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(t.label), this));
    row->addWidget(m_valueEdit, 1);
    row->addWidget(m_unitLabel);
    row->addWidget(m_calcButton);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CValuePromptDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CValuePromptDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    connect(m_valueEdit, &QLineEdit::textEdited, this, &CValuePromptDlg::OnValueEdited);
}

CValuePromptDlg::~CValuePromptDlg() = default;

void CValuePromptDlg::OnInitDialog()
{
    const CSystemSettings& settings = Settings();
    m_unitLabel->setText(QString::fromStdString(UnitSuffix(settings.m_nWorkUnit)));
    std::string text = FormatLength(m_nValue, UnitsPerMM(), settings.m_nWorkUnit, settings.m_nPrecision);
    TrimDecimalZeros(text);
    m_valueEdit->setText(QString::fromStdString(text));
    m_valueEdit->setFocus();
    m_valueEdit->selectAll();
}

void CValuePromptDlg::OnValueEdited()
{
    // Half-typed text moves nothing; the preview waits for a length.
    int value = 0;
    if (!ReadLengthField(m_valueEdit, ValueRule(), value, false)) return;
    m_nValue = value;
    OnValueChanged();
}

void CValuePromptDlg::accept()
{
    int value = 0;
    if (!ReadLengthField(m_valueEdit, ValueRule(), value, true)) return;
    m_nValue = value;
    // The tool reads its state after the prompt: it must stand at the
    // value taken.
    OnValueChanged();
    QDialog::accept();
}
