#include "ui/CCaptionCalcDlg.h"

#include "app/WindowBesidePoint.h"
#include "settings/CSystemSettings.h"
#include "ui/CCalculatorDlg.h"

#include "geometry/LengthText.h"
#include "geometry/WorkUnits.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QAction>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

constexpr int IDS_NOT_A_NUMBER = 36130;
constexpr int IDS_NOT_POSITIVE = 36079;
constexpr int IDS_TOO_LARGE = 36131;

} // namespace

CCaptionCalcDlg::CCaptionCalcDlg(int templateId, QWidget* parent)
    : QDialog(parent), m_nTemplateId(templateId)
{
    m_calcButton = new QPushButton(QStringLiteral("计算器"), this);
    // The focus stays in the edit box the calculator is for.
    m_calcButton->setFocusPolicy(Qt::NoFocus);
    m_calcButton->setAutoDefault(false);
    m_calcButton->setToolTip(QStringLiteral("计算器 (F9)"));
    m_calcAction = new QAction(QStringLiteral("计算器"), this);
    m_calcAction->setData(int(ID_CALCULATOR));
    m_calcAction->setShortcut(QKeySequence(Qt::Key_F9));
    m_calcAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_calcAction);
    connect(m_calcButton, &QPushButton::clicked, this, &CCaptionCalcDlg::RunCalculator);
    connect(m_calcAction, &QAction::triggered, this, &CCaptionCalcDlg::RunCalculator);
}

CCaptionCalcDlg::~CCaptionCalcDlg() = default;

void CCaptionCalcDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
        // Beside a fixed screen point rather than over the middle of the
        // main window, where the shape and its live size labels are.
        PlaceWindowBesidePoint(this, kAnchor.x, kAnchor.y, kAnchorBounds, kAnchorGap);
    }
    QDialog::showEvent(event);
}

void CCaptionCalcDlg::RunCalculator()
{
    auto* edit = qobject_cast<QLineEdit*>(focusWidget());
    if (!edit || !isAncestorOf(edit) || !edit->isEnabled()) return;
    const CSystemSettings& settings = Settings();
    m_nLastValue = ParseLength(edit->text().toStdString(), m_nUnitsPerMM, settings.m_nWorkUnit);

    CCalculatorDlg calculator(m_nUnitsPerMM, this);
    calculator.m_nValue = m_nLastValue;
    if (calculator.exec() != QDialog::Accepted) return;
    m_nLastValue = calculator.m_nValue;
    const QString text = QString::fromStdString(
        FormatLength(m_nLastValue, m_nUnitsPerMM, settings.m_nWorkUnit, settings.m_nPrecision));
    edit->setText(text);
    edit->setFocus();
    // The result counts as typed: the prompt's preview follows it.
    Q_EMIT edit->textEdited(text);
}

bool CCaptionCalcDlg::ReadLengthField(QLineEdit* field, LengthRule rule, int& value, bool tell)
{
    const CSystemSettings& settings = Settings();
    int read = 0;
    const LengthTextStatus status =
        ReadLengthText(field->text().toStdString(), m_nUnitsPerMM, settings.m_nWorkUnit, read);
    QString message;
    if (status == LengthTextStatus::NotANumber) {
        message = LoadResString(IDS_NOT_A_NUMBER);
    } else if (status == LengthTextStatus::TooLarge) {
        const std::string most = FormatLength(MaxTypedLength(m_nUnitsPerMM), m_nUnitsPerMM,
                                              settings.m_nWorkUnit, settings.m_nPrecision) +
                                 UnitSuffix(settings.m_nWorkUnit);
        message = LoadResString(IDS_TOO_LARGE).arg(QString::fromStdString(most));
    } else if (rule == LengthRule::Positive && read <= 0) {
        message = LoadResString(IDS_NOT_POSITIVE);
    }
    if (message.isEmpty()) {
        value = read;
        return true;
    }
    if (tell) {
        QMessageBox::warning(this, LoadResString(Ids::IDS_APP_TITLE), message);
        field->setFocus();
        field->selectAll();
    }
    return false;
}
