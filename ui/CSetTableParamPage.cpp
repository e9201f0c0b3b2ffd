#include "ui/CSetTableParamPage.h"

#include "settings/CSystemSettings.h"

#include "geometry/WorkUnits.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kUnitsPerMM = 100;
constexpr int kEditIds[] = {CSetTableParamPage::IDC_TOP,          CSetTableParamPage::IDC_BOTTOM,
                            CSetTableParamPage::IDC_LEFT,         CSetTableParamPage::IDC_RIGHT,
                            CSetTableParamPage::IDC_BORDER_WIDTH, CSetTableParamPage::IDC_INNER_WIDTH};
constexpr int kUnitLabelIds[] = {1066, 1068, 1070, 1072, 1091, 1092};
enum { kTop, kBottom, kLeft, kRight, kBorder, kInner };
} // namespace

CSetTableParamPage::CSetTableParamPage(QWidget* parent) : CSettingsPage(IDD, QStringLiteral("表格参数"), parent)
{
    auto addRow = [this](QGridLayout* grid, QWidget* owner, int row, const char* text, int which) {
        auto* edit = Named(new QLineEdit(owner), kEditIds[which]);
        auto* unit = Named(new QLabel(QStringLiteral("mm"), owner), kUnitLabelIds[which]);
        m_edits[std::size_t(which)] = edit;
        m_unitLabels[std::size_t(which)] = unit;
        grid->addWidget(new QLabel(QString::fromUtf8(text), owner), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(unit, row, 2);
        connect(edit, &QLineEdit::textEdited, this, [this, which] {
            m_edited[std::size_t(which)] = true;
            UpdateModified();
        });
    };
    auto* padding = new QGroupBox(QStringLiteral("单元格缺省空隙"), this);
    auto* paddingGrid = new QGridLayout(padding);
    addRow(paddingGrid, padding, 0, "上", kTop);
    addRow(paddingGrid, padding, 1, "下", kBottom);
    addRow(paddingGrid, padding, 2, "左", kLeft);
    addRow(paddingGrid, padding, 3, "右", kRight);
    auto* widths = new QGroupBox(QStringLiteral("线宽"), this);
    auto* widthGrid = new QGridLayout(widths);
    addRow(widthGrid, widths, 0, "边框线宽", kBorder);
    addRow(widthGrid, widths, 1, "内部线宽", kInner);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(padding);
    auto* right = new QVBoxLayout;
    right->addWidget(widths);
    right->addStretch();
    layout->addLayout(right);
}

void CSetTableParamPage::OnInitDialog()
{
    const CSystemSettings& s = Settings();
    m_nUnit = s.m_nWorkUnit;
    const QString suffix = QString::fromStdString(UnitSuffix(s.m_nWorkUnit));
    for (QLabel* unit : m_unitLabels) unit->setText(suffix);
    const int values[] = {s.m_rcCellPadding.top,   s.m_rcCellPadding.bottom, s.m_rcCellPadding.left,
                          s.m_rcCellPadding.right, s.m_nTableBorderWidth,    s.m_nTableInnerWidth};
    for (int i = 0; i < 6; ++i) {
        m_edits[std::size_t(i)]->setText(
            QString::fromStdString(FormatLength(values[i], kUnitsPerMM, s.m_nWorkUnit, s.m_nPrecision)));
        m_shown[std::size_t(i)] = values[i];
        m_edited[std::size_t(i)] = false;
    }
}

int CSetTableParamPage::Parse(const QLineEdit* edit) const
{
    return ParseLength(edit->text().trimmed().toStdString(), kUnitsPerMM, m_nUnit);
}

int CSetTableParamPage::Value(int which) const
{
    return m_edited[std::size_t(which)] ? Parse(m_edits[std::size_t(which)]) : m_shown[std::size_t(which)];
}

int CSetTableParamPage::Padding(int which) const
{
    return std::max(0, Value(which));
}

int CSetTableParamPage::Width(int which) const
{
    return std::max(1, Value(which));
}

void CSetTableParamPage::UpdateModified()
{
    const CSystemSettings& s = Settings();
    const CRect& p = s.m_rcCellPadding;
    SetModified(Padding(kTop) != p.top || Padding(kBottom) != p.bottom || Padding(kLeft) != p.left
                || Padding(kRight) != p.right || Width(kBorder) != s.m_nTableBorderWidth
                || Width(kInner) != s.m_nTableInnerWidth);
}

void CSetTableParamPage::OnOK()
{
    CSystemSettings& s = Settings();
    s.m_rcCellPadding.top = Padding(kTop);
    s.m_rcCellPadding.bottom = Padding(kBottom);
    s.m_rcCellPadding.left = Padding(kLeft);
    s.m_rcCellPadding.right = Padding(kRight);
    s.m_nTableBorderWidth = Width(kBorder);
    s.m_nTableInnerWidth = Width(kInner);
}
