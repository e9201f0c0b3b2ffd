#include "ui/CSetWorkUnitPage.h"

#include "settings/CSystemSettings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kDecimalFallback = 2;
constexpr int kFractionFallback = 5;
constexpr int kFractionEntries = 12;

bool IsFractionPrecision(int precision)
{
    for (int k = 1; k < kFractionEntries; ++k)
        if (precision == (1 << k)) return true;
    return false;
}

} // namespace

CSetWorkUnitPage::CSetWorkUnitPage(QWidget* parent) : CSettingsPage(IDD, QStringLiteral("工作单位"), parent)
{
    auto* unitGroup = new QGroupBox(QStringLiteral("度量单位(&U)"), this);
    auto* unitLayout = new QVBoxLayout(unitGroup);
    m_cm = Named(new QRadioButton(QStringLiteral("厘米"), unitGroup), IDC_CM);
    m_mm = Named(new QRadioButton(QStringLiteral("毫米"), unitGroup), IDC_MM);
    m_inch = Named(new QRadioButton(QStringLiteral("英寸"), unitGroup), IDC_INCH);
    m_units = new QButtonGroup(this);
    for (QRadioButton* r : {m_cm, m_mm, m_inch}) {
        unitLayout->addWidget(r);
        m_units->addButton(r);
    }

    auto* precisionGroup = new QGroupBox(QStringLiteral("显示精度(&T)"), this);
    auto* precisionLayout = new QVBoxLayout(precisionGroup);
    m_precision = Named(new QComboBox(precisionGroup), IDC_PRECISION);
    m_fractions = Named(new QCheckBox(QStringLiteral("分数格式(&F)"), precisionGroup), IDC_FRACTIONS);
    precisionLayout->addWidget(m_precision);
    precisionLayout->addWidget(m_fractions);
    precisionLayout->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(unitGroup);
    layout->addWidget(precisionGroup);

    // Only the user's clicks: the page's own changes go through setChecked.
    connect(m_units, &QButtonGroup::buttonClicked, this, [this] { OnUnitClicked(); });
    connect(m_fractions, &QCheckBox::clicked, this, [this] { FillPrecisionList(); });
    connect(m_precision, qOverload<int>(&QComboBox::activated), this, [this] { UpdateModified(); });
}

QStringList CSetWorkUnitPage::PrecisionEntries(int radio, bool fractions)
{
    const QStringList decimals = {QStringLiteral("1"), QStringLiteral("0.1"), QStringLiteral("0.01"),
                                  QStringLiteral("0.001"), QStringLiteral("0.0001")};
    switch (radio) {
    case IDC_CM: return decimals.mid(0, 4);
    case IDC_MM: return decimals.mid(0, 3);
    case IDC_INCH:
        if (!fractions) return decimals;
        {
            QStringList list{QStringLiteral("1")};
            for (int k = 1; k < kFractionEntries; ++k) list << QStringLiteral("1/%1").arg(1 << k);
            return list;
        }
    default: return {};
    }
}

int CSetWorkUnitPage::PrecisionIndex(int precision, int entryCount, bool fractions)
{
    int index = fractions ? kFractionFallback : kDecimalFallback;
    if (fractions) {
        for (int k = 0; k < kFractionEntries; ++k)
            if (precision == (1 << k)) index = k;
    } else {
        switch (precision) {
        case 1: index = 0; break;
        case 10: index = 1; break;
        case 1000: index = 3; break;
        case 10000: index = 4; break;
        default: break;
        }
    }
    if (index >= entryCount) index = std::min(entryCount - 1, fractions ? kFractionFallback : kDecimalFallback);
    return index;
}

void CSetWorkUnitPage::OnInitDialog()
{
    const CSystemSettings& s = Settings();
    QRadioButton* radio = nullptr;
    switch (s.m_nWorkUnit) {
    case 2: radio = m_cm; break;
    case 3: radio = m_mm; break;
    case 0:
    case 1: radio = m_inch; break;
    default: radio = m_cm; break; // an unknown unit reads as the default
    }
    radio->setChecked(true);
    // The box follows the precision, not the unit.
    m_fractions->setChecked(IsFractionPrecision(s.m_nPrecision));
    m_fractions->setEnabled(radio == m_inch);
    FillPrecisionList();
}

int CSetWorkUnitPage::CheckedRadio() const
{
    if (m_cm->isChecked()) return IDC_CM;
    if (m_mm->isChecked()) return IDC_MM;
    return IDC_INCH;
}

void CSetWorkUnitPage::OnUnitClicked()
{
    m_fractions->setEnabled(m_inch->isChecked());
    FillPrecisionList();
}

void CSetWorkUnitPage::FillPrecisionList()
{
    const bool fractions = m_inch->isChecked() && m_fractions->isChecked();
    const QStringList entries = PrecisionEntries(CheckedRadio(), fractions);
    const QSignalBlocker block(m_precision);
    m_precision->clear();
    m_precision->addItems(entries);
    m_precision->setCurrentIndex(PrecisionIndex(Settings().m_nPrecision, int(entries.size()), fractions));
    UpdateModified();
}

int CSetWorkUnitPage::PageUnit() const
{
    if (m_cm->isChecked()) return 2;
    if (m_mm->isChecked()) return 3;
    return m_fractions->isChecked() ? 0 : 1;
}

int CSetWorkUnitPage::PagePrecision() const
{
    const int index = std::max(0, m_precision->currentIndex());
    if (PageUnit() == 0) return 1 << index;
    return int(std::lround(std::pow(10.0, index)));
}

void CSetWorkUnitPage::UpdateModified()
{
    const CSystemSettings& s = Settings();
    SetModified(PageUnit() != s.m_nWorkUnit || PagePrecision() != s.m_nPrecision);
}

void CSetWorkUnitPage::OnOK()
{
    CSystemSettings& s = Settings();
    if (PageUnit() == s.m_nWorkUnit && PagePrecision() == s.m_nPrecision) return;
    s.m_nWorkUnit = PageUnit();
    s.m_nPrecision = PagePrecision();
}
