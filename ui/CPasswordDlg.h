// "密码": the lock of the archive-directory settings. The code is fixed in
// the program; a wrong code ends the dialog as a cancel, without a message.
#pragma once

#include <QDialog>

class QLineEdit;

class CPasswordDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 212;
    static constexpr int IDC_PASSWORD = 1063;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    explicit CPasswordDlg(QWidget* parent = nullptr);

    int DoModal();
    QLineEdit* PasswordEdit() const { return m_edit; }
    static bool IsCode(const QString& text);

public Q_SLOTS:
    void accept() override;

private:
    QLineEdit* m_edit = nullptr;
    int m_nResult = IDCANCEL;
};
