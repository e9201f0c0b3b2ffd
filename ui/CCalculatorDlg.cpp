#include "ui/CCalculatorDlg.h"

#include "settings/CSystemSettings.h"

#include "geometry/CalcExpression.h"
#include "geometry/LengthText.h"
#include "geometry/WorkUnits.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

struct Key {
    int id;
    const char* label;
    const char* inserts;  // null for the editing keys
    int row, column;
};

// The keys of dialog 131: digits 1030-1038 for 1-9, 1029 for 0.
const Key kKeys[] = {
    {1036, "7", "7", 0, 0}, {1037, "8", "8", 0, 1}, {1038, "9", "9", 0, 2}, {1043, "/", "/", 0, 3}, {1002, "B", nullptr, 0, 4},
    {1033, "4", "4", 1, 0}, {1034, "5", "5", 1, 1}, {1035, "6", "6", 1, 2}, {1042, "x", "*", 1, 3}, {1022, "C", nullptr, 1, 4},
    {1030, "1", "1", 2, 0}, {1031, "2", "2", 2, 1}, {1032, "3", "3", 2, 2}, {1041, "-", "-", 2, 3}, {1044, "(", "(", 2, 4},
    {1029, "0", "0", 3, 0}, {1039, ".", ".", 3, 1}, {1046, "\"", "\"", 3, 2}, {1040, "+", "+", 3, 3}, {1045, ")", ")", 3, 4},
};

constexpr int IDC_BACKSPACE = 1002;
constexpr int IDC_CLEAR = 1022;
constexpr int IDC_INCH_MARK = 1046;

double MillimetresPerUnit(int unit)
{
    switch (unit) {
    case kWorkUnitCentimetre: return 10.0;
    case kWorkUnitMillimetre: return 1.0;
    default: return 25.4;
    }
}

} // namespace

CCalculatorDlg::CCalculatorDlg(int upm, QWidget* parent)
    : QDialog(parent), m_nUnitsPerMM(upm > 0 ? upm : 100)
{
    setWindowTitle(QStringLiteral("计算器"));
    m_expression = new QLineEdit(this);
    m_result = new QLabel(QStringLiteral("=9999.999cm"), this);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* keys = new QGridLayout;
    for (const Key& key : kKeys) {
        auto* button = new QPushButton(QString::fromUtf8(key.label), this);
        // The expression keeps the focus and its selection.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        keys->addWidget(button, key.row, key.column);
        m_buttons.append({key.id, button});
        if (key.inserts) {
            const QString text = QString::fromUtf8(key.inserts);
            connect(button, &QPushButton::clicked, this, [this, text] { Insert(text); });
        } else if (key.id == IDC_BACKSPACE) {
            connect(button, &QPushButton::clicked, this, &CCalculatorDlg::Backspace);
        } else if (key.id == IDC_CLEAR) {
            connect(button, &QPushButton::clicked, this, &CCalculatorDlg::Clear);
        }
        if (key.id == IDC_INCH_MARK) m_inchMark = button;
    }
    m_ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    m_ok->setDefault(true);
    m_ok->setFocusPolicy(Qt::NoFocus);
    keys->addWidget(m_ok, 4, 0, 1, 5);
    m_buttons.append({1, m_ok});
    connect(m_ok, &QPushButton::clicked, this, &CCalculatorDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_expression);
    layout->addWidget(m_result);
    layout->addLayout(keys);
    connect(m_expression, &QLineEdit::textChanged, this, [this] { UpdateResult(); });
}

CCalculatorDlg::~CCalculatorDlg() = default;

QPushButton* CCalculatorDlg::Button(int id) const
{
    for (const auto& entry : m_buttons)
        if (entry.first == id) return entry.second;
    return nullptr;
}

void CCalculatorDlg::showEvent(QShowEvent* event)
{
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CCalculatorDlg::OnInitDialog()
{
    const CSystemSettings& settings = Settings();
    const int unit = settings.m_nWorkUnit;
    m_inchMark->setEnabled(unit == kWorkUnitInchFraction || unit == kWorkUnitInchDecimal);
    const std::string start = FormatLength(m_nValue, m_nUnitsPerMM, unit, settings.m_nPrecision);
    m_expression->setText(QString::fromStdString(start));
    m_result->setText(QString::fromStdString("=" + start + UnitSuffix(unit)));
    m_expression->setFocus();
    m_expression->selectAll();
}

BOOL CCalculatorDlg::Evaluate(double& result) const
{
    return EvaluateExpression(m_expression->text().toStdString(), Settings().m_nWorkUnit, result);
}

bool CCalculatorDlg::UpdateResult()
{
    double result = 0.0;
    const int unit = Settings().m_nWorkUnit;
    // A result must stay a length a drawing can hold: a huge one would only
    // come back saturated.
    if (Evaluate(result) && std::fabs(result * MillimetresPerUnit(unit)) <= kMaxTypedLengthMM) {
        m_result->setText(QString::fromStdString(CalculatorResult(result, m_nUnitsPerMM, unit).text));
        return true;
    }
    m_result->setText(QStringLiteral("? "));
    return false;
}

void CCalculatorDlg::Insert(const QString& text)
{
    QString expression = m_expression->text();
    int start = m_expression->cursorPosition();
    int length = 0;
    if (m_expression->hasSelectedText()) {
        start = m_expression->selectionStart();
        length = m_expression->selectedText().size();
    }
    expression.replace(start, length, text);
    m_expression->setText(expression);
    m_expression->setCursorPosition(start + int(text.size()));
    m_expression->setFocus();
}

void CCalculatorDlg::Backspace()
{
    QString expression = m_expression->text();
    int caret = m_expression->cursorPosition();
    if (m_expression->hasSelectedText()) {
        caret = m_expression->selectionStart();
        expression.remove(caret, m_expression->selectedText().size());
    } else if (caret > 0) {
        expression.remove(--caret, 1);
    }
    m_expression->setText(expression);
    m_expression->setCursorPosition(caret);
    m_expression->setFocus();
}

void CCalculatorDlg::Clear()
{
    m_expression->clear();
    m_expression->setCursorPosition(0);
    m_expression->setFocus();
}

void CCalculatorDlg::accept()
{
    double result = 0.0;
    if (!UpdateResult() || !Evaluate(result)) {
        QApplication::beep();
        return;
    }
    m_nValue = CalculatorResult(result, m_nUnitsPerMM, Settings().m_nWorkUnit).value;
    QDialog::accept();
}
