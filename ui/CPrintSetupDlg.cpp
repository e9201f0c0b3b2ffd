#include "ui/CPrintSetupDlg.h"

#include "app/CPagePrinter.h"
#include "res/StringTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int IDS_NO_PRINTER = 36196;

} // namespace

CPrintSetupDlg::CPrintSetupDlg(QWidget* parent) : QDialog(parent)
{
    const QString chosen = CPagePrinter::SessionPrinter();
    const QString current = chosen.isEmpty() ? QPrinterInfo::defaultPrinterName() : chosen;
    Build(QPrinterInfo::availablePrinterNames(), current);
}

CPrintSetupDlg::CPrintSetupDlg(const QStringList& printers, const QString& current, QWidget* parent)
    : QDialog(parent)
{
    Build(printers, current);
}

void CPrintSetupDlg::Build(const QStringList& printers, const QString& current)
{
    setWindowTitle(QStringLiteral("打印设置"));
    m_printers = new QComboBox(this);
    m_printers->addItems(printers);
    const int index = printers.indexOf(current);
    m_printers->setCurrentIndex(index >= 0 ? index : (printers.isEmpty() ? -1 : 0));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    // Without a printer there is nothing to choose, and the user is told
    // why and where a printout can still go.
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!printers.isEmpty());
    m_printers->setEnabled(!printers.isEmpty());
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("名称(&N):"), m_printers);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (printers.isEmpty()) {
        m_noPrinter = new QLabel(LoadResString(IDS_NO_PRINTER), this);
        m_noPrinter->setWordWrap(true);
        layout->addWidget(m_noPrinter);
    }
    layout->addWidget(m_buttons);
}

QString CPrintSetupDlg::SelectedPrinter() const
{
    return m_printers->currentIndex() >= 0 ? m_printers->currentText() : QString();
}

bool CPrintSetupDlg::Run(QWidget* parent)
{
    CPrintSetupDlg dialog(parent);
    if (dialog.exec() != QDialog::Accepted || dialog.SelectedPrinter().isEmpty()) return false;
    CPagePrinter::SetSessionPrinter(dialog.SelectedPrinter());
    return true;
}
