#include "ui/CPasswordDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kCode = QStringLiteral("72053");
}

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("密码"));
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QString::number(IDC_PASSWORD));
    m_edit->setEchoMode(QLineEdit::Password);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("密码"), this));
    row->addWidget(m_edit);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPasswordDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

bool CPasswordDlg::IsCode(const QString& text)
{
    return text == kCode;
}

int CPasswordDlg::DoModal()
{
    m_nResult = IDCANCEL;
    exec();
    return m_nResult;
}

void CPasswordDlg::accept()
{
    m_nResult = IsCode(m_edit->text()) ? IDOK : IDCANCEL;
    if (m_nResult == IDOK)
        QDialog::accept();
    else
        QDialog::reject();
}
