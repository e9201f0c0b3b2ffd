#include "tables/tool/CVTTableParaGeneralPage.h"

#include "tables/tool/TableDialogSupport.h"
#include "ui/CTableColorCombo.h"

#include "res/StringTable.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

template <class W>
W* Named(W* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

} // namespace

CVTTableParaGeneralPage::CVTTableParaGeneralPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::number(IDD));
    m_border = Named(new QLineEdit(this), IDC_BORDER_WIDTH);
    m_inner = Named(new QLineEdit(this), IDC_INNER_WIDTH);
    m_colour = Named(new CTableColorCombo(this), IDC_LINE_COLOR);
    m_colour->AddEntries();

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("边框线宽"), this), 0, 0);
    grid->addWidget(m_border, 0, 1);
    grid->addWidget(Named(new QLabel(tabledlg::UnitText(), this), IDC_BORDER_UNIT), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("表格线宽"), this), 1, 0);
    grid->addWidget(m_inner, 1, 1);
    grid->addWidget(Named(new QLabel(tabledlg::UnitText(), this), IDC_INNER_UNIT), 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("表格线颜色"), this), 2, 0);
    grid->addWidget(m_colour, 2, 1, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
}

void CVTTableParaGeneralPage::SetBorderWidth(int width)
{
    m_borderWidth = width;
    m_borderShown = tabledlg::LengthText(width);
    m_border->setText(m_borderShown);
}

void CVTTableParaGeneralPage::SetInnerWidth(int width)
{
    m_innerWidth = width;
    m_innerShown = tabledlg::LengthText(width);
    m_inner->setText(m_innerShown);
}

void CVTTableParaGeneralPage::SetLineColor(COLORREF colour)
{
    m_colour->SetColor(colour);
}

int CVTTableParaGeneralPage::Read(const QLineEdit* edit, const QString& shown, int value) const
{
    if (edit->text() == shown) return value;
    int read = 0;
    return tabledlg::ReadLength(edit, read) == LengthTextStatus::Ok ? read : value;
}

int CVTTableParaGeneralPage::GetBorderWidth() const
{
    return Read(m_border, m_borderShown, m_borderWidth);
}

int CVTTableParaGeneralPage::GetInnerWidth() const
{
    return Read(m_inner, m_innerShown, m_innerWidth);
}

COLORREF CVTTableParaGeneralPage::GetLineColor() const
{
    return m_colour->GetColor();
}

QString CVTTableParaGeneralPage::Check(QLineEdit*& field) const
{
    // A field the user left alone holds the value it was set to.
    auto unreadable = [](const QLineEdit* edit, const QString& shown) {
        int value = 0;
        return edit->text() == shown ? LengthTextStatus::Ok : tabledlg::ReadLength(edit, value);
    };
    field = m_border;
    LengthTextStatus status = unreadable(m_border, m_borderShown);
    if (status != LengthTextStatus::Ok) return tabledlg::LengthMessage(status);
    if (GetBorderWidth() < 0) return LoadResString(IDS_BORDER_NEGATIVE);
    field = m_inner;
    status = unreadable(m_inner, m_innerShown);
    if (status != LengthTextStatus::Ok) return tabledlg::LengthMessage(status);
    if (GetInnerWidth() <= 0) return LoadResString(IDS_INNER_NOT_POSITIVE);
    field = nullptr;
    return {};
}
