#include "ui/CSetDefaultPageSize.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/WorkUnits.h"
#include "res/StringTable.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int kUnitsPerMM = 100;
constexpr int kEditIds[] = {CPageSizeDlg::IDC_WIDTH, CPageSizeDlg::IDC_HEIGHT, CPageSizeDlg::IDC_TOP,
                            CPageSizeDlg::IDC_BOTTOM, CPageSizeDlg::IDC_LEFT, CPageSizeDlg::IDC_RIGHT};
constexpr int kUnitLabelIds[] = {1078, 1080, 1083, 1084, 1087, 1088};
enum { kWidth, kHeight, kTop, kBottom, kLeft, kRight };

} // namespace

CSetDefaultPageSize::CSetDefaultPageSize(QWidget* parent) : CSettingsPage(IDD, QStringLiteral("缺省页面"), parent)
{
    auto addLength = [this](QGridLayout* grid, QWidget* owner, int row, int column, const char* label, int which) {
        auto* edit = Named(new QLineEdit(owner), kEditIds[which]);
        auto* unit = Named(new QLabel(QStringLiteral("mm"), owner), kUnitLabelIds[which]);
        m_edits[std::size_t(which)] = edit;
        m_unitLabels[std::size_t(which)] = unit;
        grid->addWidget(new QLabel(QString::fromUtf8(label), owner), row, column);
        grid->addWidget(edit, row, column + 1);
        grid->addWidget(unit, row, column + 2);
        connect(edit, &QLineEdit::textEdited, this, [this, which] {
            m_edited[std::size_t(which)] = true;
            SetModified(IsChanged());
        });
    };
    auto* pageGroup = new QGroupBox(QStringLiteral("页面大小"), this);
    auto* pageGrid = new QGridLayout(pageGroup);
    m_paper = Named(new QComboBox(pageGroup), IDC_PAPER);
    pageGrid->addWidget(new QLabel(QStringLiteral("纸型"), pageGroup), 0, 0);
    pageGrid->addWidget(m_paper, 0, 1, 1, 2);
    addLength(pageGrid, pageGroup, 1, 0, "宽度", kWidth);
    addLength(pageGrid, pageGroup, 2, 0, "高度", kHeight);

    auto* marginGroup = new QGroupBox(QStringLiteral("边距"), this);
    auto* marginGrid = new QGridLayout(marginGroup);
    addLength(marginGrid, marginGroup, 0, 0, "上", kTop);
    addLength(marginGrid, marginGroup, 0, 3, "下", kBottom);
    addLength(marginGrid, marginGroup, 1, 0, "左", kLeft);
    addLength(marginGrid, marginGroup, 1, 3, "右", kRight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageGroup);
    layout->addWidget(marginGroup);
    layout->addStretch();

    connect(m_paper, qOverload<int>(&QComboBox::activated), this, &CSetDefaultPageSize::OnSelChangePaper);
    for (int which : {kWidth, kHeight})
        connect(m_edits[std::size_t(which)], &QLineEdit::textEdited, this, &CSetDefaultPageSize::OnChangeSize);
}

QLineEdit* CSetDefaultPageSize::Edit(int id) const
{
    for (int i = 0; i < 6; ++i)
        if (kEditIds[i] == id) return m_edits[std::size_t(i)];
    return nullptr;
}

void CSetDefaultPageSize::SetPaperForms(const std::vector<CPageSizeDlg::PaperForm>& forms)
{
    m_forms = forms;
    m_formsGiven = true;
}

QString CSetDefaultPageSize::Format(int length) const
{
    return QString::fromStdString(FormatLength(length, kUnitsPerMM, m_nUnit, m_nPrecision));
}

int CSetDefaultPageSize::Parse(const QLineEdit* edit) const
{
    return ParseLength(edit->text().trimmed().toStdString(), kUnitsPerMM, m_nUnit);
}

void CSetDefaultPageSize::OnInitDialog()
{
    const CSystemSettings& s = Settings();
    m_nUnit = s.m_nWorkUnit;
    m_nPrecision = s.m_nPrecision;
    const QString suffix = QString::fromStdString(UnitSuffix(m_nUnit));
    for (QLabel* unit : m_unitLabels) unit->setText(suffix);
    const int values[] = {s.m_sizeDefaultPaper.cx, s.m_sizeDefaultPaper.cy, s.m_nDefaultMargin[0],
                          s.m_nDefaultMargin[1],   s.m_nDefaultMargin[2],   s.m_nDefaultMargin[3]};
    for (int i = 0; i < 6; ++i) {
        m_edits[std::size_t(i)]->setText(Format(values[i]));
        m_shown[std::size_t(i)] = values[i];
        m_edited[std::size_t(i)] = false;
    }

    if (!m_formsGiven) m_forms = CPageSizeDlg::DefaultPrinterForms();
    m_paper->clear();
    for (const CPageSizeDlg::PaperForm& form : m_forms) m_paper->addItem(form.name);
    m_paper->addItem(LoadResString(CPageSizeDlg::IDS_CUSTOM_PAPER));
    m_paper->setCurrentIndex(
        CPageSizeDlg::MatchPaperForm(m_forms, s.m_sizeDefaultPaper.cx, s.m_sizeDefaultPaper.cy, kUnitsPerMM));
}

void CSetDefaultPageSize::OnSelChangePaper(int index)
{
    if (index >= 0 && std::size_t(index) < m_forms.size()) {
        const CPageSizeDlg::PaperForm& form = m_forms[std::size_t(index)];
        m_edits[kWidth]->setText(Format(form.width * 10));
        m_edits[kHeight]->setText(Format(form.height * 10));
        m_edited[kWidth] = m_edited[kHeight] = true;
    }
    SetModified(IsChanged());
}

void CSetDefaultPageSize::OnChangeSize()
{
    m_paper->setCurrentIndex(
        CPageSizeDlg::MatchPaperForm(m_forms, Parse(m_edits[kWidth]), Parse(m_edits[kHeight]), kUnitsPerMM));
}

CSetDefaultPageSize::Values CSetDefaultPageSize::PageValues() const
{
    auto value = [this](int which) {
        return m_edited[std::size_t(which)] ? Parse(m_edits[std::size_t(which)]) : m_shown[std::size_t(which)];
    };
    return {value(kWidth), value(kHeight), value(kLeft), value(kRight), value(kTop), value(kBottom)};
}

bool CSetDefaultPageSize::IsChanged() const
{
    const CSystemSettings& s = Settings();
    const Values v = PageValues();
    return v.width != s.m_sizeDefaultPaper.cx || v.height != s.m_sizeDefaultPaper.cy || v.top != s.m_nDefaultMargin[0]
        || v.bottom != s.m_nDefaultMargin[1] || v.left != s.m_nDefaultMargin[2] || v.right != s.m_nDefaultMargin[3];
}

bool CSetDefaultPageSize::OnValidate()
{
    if (!IsChanged()) return true;
    const Values v = PageValues();
    const CPageSizeDlg::LayoutFault fault =
        CPageSizeDlg::CheckPageLayout(v.width, v.height, v.left, v.right, v.top, v.bottom, kUnitsPerMM);
    return fault.field == 0 || Refuse(Edit(fault.field), fault.text);
}

void CSetDefaultPageSize::OnOK()
{
    if (!IsChanged()) return;
    CSystemSettings& s = Settings();
    const Values v = PageValues();
    s.m_sizeDefaultPaper = CSize(v.width, v.height);
    s.m_nDefaultMargin = {v.top, v.bottom, v.left, v.right};
}
