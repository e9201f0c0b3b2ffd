#include "tables/tool/CVTSetTableCellParaPage.h"

#include "tables/tool/TableDialogSupport.h"

#include "res/StringTable.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

struct SideControls {
    int edit;
    int label;
    int unit;
    const char* text;
};

// By side: left, top, right, bottom.
constexpr SideControls kSides[] = {
    {CVTSetTableCellParaPage::IDC_LEFT, 1118, 1070, "左"},
    {CVTSetTableCellParaPage::IDC_TOP, 1116, 1066, "上"},
    {CVTSetTableCellParaPage::IDC_RIGHT, 1119, 1072, "右"},
    {CVTSetTableCellParaPage::IDC_BOTTOM, 1117, 1068, "下"},
};
// Rows of the page: top, bottom, left, right.
constexpr CVTSetTableCellParaPage::Side kRowOrder[] = {CVTSetTableCellParaPage::kTop, CVTSetTableCellParaPage::kBottom,
                                                       CVTSetTableCellParaPage::kLeft, CVTSetTableCellParaPage::kRight};

} // namespace

CVTSetTableCellParaPage::CVTSetTableCellParaPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::number(IDD));
    auto* group = new QGroupBox(QStringLiteral("边距"), this);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const Side side : kRowOrder) {
        const SideControls& c = kSides[side];
        auto* label = new QLabel(QString::fromUtf8(c.text), group);
        label->setObjectName(QString::number(c.label));
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QString::number(c.edit));
        auto* unit = new QLabel(tabledlg::UnitText(), group);
        unit->setObjectName(QString::number(c.unit));
        m_labels[std::size_t(side)] = label;
        m_edits[std::size_t(side)] = edit;
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(unit, row, 2);
        ++row;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
}

void CVTSetTableCellParaPage::SetMargin(Side side, int value)
{
    const auto i = std::size_t(side);
    m_values[i] = value;
    m_shown[i] = tabledlg::LengthText(value);
    m_edits[i]->setText(m_shown[i]);
}

int CVTSetTableCellParaPage::GetMargin(Side side) const
{
    const auto i = std::size_t(side);
    if (m_edits[i]->text() == m_shown[i]) return m_values[i];
    int read = 0;
    return tabledlg::ReadLength(m_edits[i], read) == LengthTextStatus::Ok ? read : m_values[i];
}

QString CVTSetTableCellParaPage::Check(QLineEdit*& field) const
{
    for (const Side side : {kLeft, kTop, kRight, kBottom}) {
        const auto i = std::size_t(side);
        field = m_edits[i];
        int value = 0;
        const LengthTextStatus status =
            field->text() == m_shown[i] ? LengthTextStatus::Ok : tabledlg::ReadLength(field, value);
        if (status != LengthTextStatus::Ok) return tabledlg::LengthMessage(status);
        if (GetMargin(side) < 0) {
            QString message = LoadResString(IDS_MARGIN_NEGATIVE);
            return message.replace(QStringLiteral("%s"), m_labels[i]->text());
        }
    }
    field = nullptr;
    return {};
}
