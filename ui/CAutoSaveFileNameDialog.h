// The save-file dialog of the auto-backup page: "自动存盘", extension
// "qpn", starting at the backup name typed so far.
#pragma once

#include <QFileDialog>

class CAutoSaveFileNameDialog : public QFileDialog {
    Q_OBJECT
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDS_TITLE = 36023;

    CAutoSaveFileNameDialog(const QString& initialFile, QWidget* parent = nullptr);

    int DoModal();
    QString GetPathName() const;
};
