#include "ui/CPointOnCurveDlg.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/CVectorTool.h"

#include "geometry/Distance.h"
#include "geometry/NumberText.h"
#include "geometry/Polyline.h"
#include "geometry/WorkUnits.h"
#include "model/CPageSet.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// "%f" without trailing zeros or a bare point.
QString RatioText(double ratio)
{
    std::string text = FormatFixed(ratio, 6);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.pop_back();
    }
    return QString::fromStdString(text);
}

// The ratio typed as a decimal or a fraction ("1/2"), or false when it is
// empty or no number.
bool ReadRatio(const QString& text, double& ratio)
{
    const QString s = text.trimmed();
    if (s.isEmpty()) return false;
    bool ok = false;
    ratio = QLocale::c().toDouble(s, &ok);
    if (ok) return true;
    const QStringList parts = s.split(QLatin1Char('/'));
    if (parts.size() != 2) return false;
    bool numOk = false;
    bool denOk = false;
    const double num = QLocale::c().toDouble(parts[0].trimmed(), &numOk);
    const double den = QLocale::c().toDouble(parts[1].trimmed(), &denOk);
    if (!numOk || !denOk || den == 0.0) return false;
    ratio = num / den;
    return true;
}

} // namespace

CPointOnCurveDlg::CPointOnCurveDlg(CVectorTool& tool, const CPointList& outline, int length,
                                   const CPoint& referenceEnd, QWidget* parent)
    : CCaptionCalcDlg(IDD, parent), m_tool(tool), m_outline(outline), m_length(length)
{
    if (const CPageSet* pageSet = m_tool.GetPageSet()) SetUnitsPerMM(pageSet->GetUnitsPerMM());
    PolylineLength(m_outline, m_total);
    if (!m_outline.IsEmpty()) {
        const CPoint head = m_outline.GetHead();
        const CPoint tail = m_outline.GetTail();
        double toHead = 0.0;
        double toTail = 0.0;
        PointDistance(referenceEnd.x, referenceEnd.y, head.x, head.y, toHead);
        PointDistance(referenceEnd.x, referenceEnd.y, tail.x, tail.y, toTail);
        m_fromFirst = toHead <= toTail;
    }
    m_bRatioMode = Settings().m_nPointPositionMode ? 1 : 0;

    setWindowTitle(QStringLiteral("点位置"));
    auto* grid = new QGridLayout;
    m_lengthButton = new QRadioButton(QStringLiteral("长度="), this);
    m_ratioButton = new QRadioButton(QStringLiteral("比  例"), this);
    m_lengthEdit = new QLineEdit(this);
    m_ratioEdit = new QLineEdit(this);
    m_unit = new QLabel(QString::fromStdString(UnitSuffix(Settings().m_nWorkUnit)), this);
    grid->addWidget(m_lengthButton, 0, 0);
    grid->addWidget(m_lengthEdit, 0, 1);
    grid->addWidget(m_unit, 0, 2);
    grid->addWidget(m_ratioButton, 1, 0);
    grid->addWidget(m_ratioEdit, 1, 1);
    grid->addWidget(m_calcButton, 0, 3, 2, 1);
    m_otherEnd = new QCheckBox(QStringLiteral("参考另一端(&R)"), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确认(&O)"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_otherEnd);
    layout->addWidget(buttons);

    (m_bRatioMode ? m_ratioButton : m_lengthButton)->setChecked(true);
    ShowValues();
    ApplyMode();

    connect(buttons, &QDialogButtonBox::accepted, this, &CPointOnCurveDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPointOnCurveDlg::reject);
    connect(m_lengthEdit, &QLineEdit::textEdited, this, &CPointOnCurveDlg::OnLengthEdited);
    connect(m_ratioEdit, &QLineEdit::textEdited, this, &CPointOnCurveDlg::OnRatioEdited);
    connect(m_ratioButton, &QRadioButton::toggled, this, &CPointOnCurveDlg::OnModeChanged);
    connect(m_otherEnd, &QCheckBox::toggled, this, &CPointOnCurveDlg::OnOtherEndToggled);
}

CPointOnCurveDlg::~CPointOnCurveDlg() = default;

BOOL CPointOnCurveDlg::Run(CVectorTool& tool, const CPointList& outline, int length,
                           const CPoint& referenceEnd)
{
    CPointOnCurveDlg dialog(tool, outline, length, referenceEnd, tool.GetView());
    return dialog.exec() == QDialog::Accepted ? TRUE : FALSE;
}

double CPointOnCurveDlg::GetRatio() const
{
    return m_total > 0.0 ? m_length / m_total : 0.0;
}

CPoint CPointOnCurveDlg::GetPoint() const
{
    CPoint point;
    POSITION segStart = nullptr;
    POSITION vertex = nullptr;
    POSITION segEnd = nullptr;
    const double length = std::clamp(double(m_length), 0.0, m_total);
    PointAtSignedLength(m_outline, m_fromFirst ? length : -length, point, segStart, vertex, segEnd);
    return point;
}

void CPointOnCurveDlg::ShowValues()
{
    m_updating = true;
    const CSystemSettings& settings = Settings();
    m_lengthEdit->setText(QString::fromStdString(
        FormatLength(m_length, UnitsPerMM(), settings.m_nWorkUnit, settings.m_nPrecision)));
    m_ratioEdit->setText(RatioText(GetRatio()));
    m_updating = false;
}

void CPointOnCurveDlg::MoveToolPoint()
{
    const CPoint p = GetPoint();
    m_tool.OnMouseMove(0, p.x, p.y);
}

void CPointOnCurveDlg::OnLengthEdited()
{
    if (m_updating) return;
    m_length = ParseLength(m_lengthEdit->text().toStdString(), UnitsPerMM(), Settings().m_nWorkUnit);
    m_updating = true;
    m_ratioEdit->setText(RatioText(GetRatio()));
    m_updating = false;
    MoveToolPoint();
}

void CPointOnCurveDlg::OnRatioEdited()
{
    if (m_updating) return;
    double ratio = 0.0;
    if (!ReadRatio(m_ratioEdit->text(), ratio)) return;
    m_length = RoundToInt(ratio * m_total);
    m_updating = true;
    const CSystemSettings& settings = Settings();
    m_lengthEdit->setText(QString::fromStdString(
        FormatLength(m_length, UnitsPerMM(), settings.m_nWorkUnit, settings.m_nPrecision)));
    m_updating = false;
    MoveToolPoint();
}

void CPointOnCurveDlg::OnInitDialog()
{
    FocusModeEdit();
}

void CPointOnCurveDlg::ApplyMode()
{
    m_bRatioMode = m_ratioButton->isChecked() ? 1 : 0;
    Settings().m_nPointPositionMode = m_bRatioMode;
    m_lengthEdit->setEnabled(!m_bRatioMode);
    m_ratioEdit->setEnabled(m_bRatioMode != 0);
}

void CPointOnCurveDlg::FocusModeEdit()
{
    // What the user types next replaces the whole value.
    QLineEdit* edit = m_bRatioMode ? m_ratioEdit : m_lengthEdit;
    edit->raise();
    edit->setFocus();
    edit->selectAll();
}

void CPointOnCurveDlg::OnModeChanged()
{
    ApplyMode();
    FocusModeEdit();
}

void CPointOnCurveDlg::OnOtherEndToggled(bool checked)
{
    // The point stays; it is now measured from the other end.
    m_fromFirst = !m_fromFirst;
    m_length = std::max(0, RoundToInt(m_total) - m_length);
    m_tool.SwapReferenceEnd();
    ShowValues();
    MoveToolPoint();
}

void CPointOnCurveDlg::accept()
{
    if (m_bRatioMode) {
        double ratio = 0.0;
        if (!ReadRatio(m_ratioEdit->text(), ratio) || ratio < 0.0 || ratio > 1.0) {
            QApplication::beep();
            m_ratioEdit->setFocus();
            m_ratioEdit->selectAll();
            return;
        }
        m_length = RoundToInt(ratio * m_total);
    } else {
        m_length = ParseLength(m_lengthEdit->text().toStdString(), UnitsPerMM(), Settings().m_nWorkUnit);
    }
    MoveToolPoint();
    QDialog::accept();
}
