// "保存归号输出结果": asks whether the grading result is to be saved; 确定
// means yes.
#pragma once

#include <QDialog>

class CSaveGradingDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 349;

    explicit CSaveGradingDlg(QWidget* parent = nullptr);
};
