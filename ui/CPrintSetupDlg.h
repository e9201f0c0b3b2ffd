// The print setup "打印设置": which printer the next printouts and
// previews go to. The paper is the document's own (page setup), so the
// printer is all there is to choose here. The choice lasts for the session,
// as the Windows program's printer choice did.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDialogButtonBox;
class QLabel;

class CPrintSetupDlg : public QDialog {
    Q_OBJECT
public:
    // The installed printers, the current choice (or the default printer)
    // selected.
    explicit CPrintSetupDlg(QWidget* parent = nullptr);
    // The same with a given list of printers (for tests and for callers
    // that asked already).
    CPrintSetupDlg(const QStringList& printers, const QString& current, QWidget* parent = nullptr);

    // The printer selected; empty when there is none.
    QString SelectedPrinter() const;
    QComboBox* PrinterList() const { return m_printers; }
    // What the dialog says when no printer is installed; null otherwise.
    QLabel* NoPrinterNote() const { return m_noPrinter; }

    // The dialog: on OK the selected printer becomes the session's
    // (CPagePrinter). True when it was accepted.
    static bool Run(QWidget* parent);

private:
    void Build(const QStringList& printers, const QString& current);

    QComboBox* m_printers = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QLabel* m_noPrinter = nullptr;
};
