// "表格参数": the default cell padding and the line widths of new tables,
// in the work unit. A negative padding is stored as 0 and a line width
// below 1 as 1.
#pragma once

#include "ui/CSettingsPage.h"

#include <array>

class QLabel;
class QLineEdit;

class CSetTableParamPage : public CSettingsPage {
    Q_OBJECT
public:
    static constexpr int IDD = 217;
    static constexpr int IDC_TOP = 1065;
    static constexpr int IDC_BOTTOM = 1067;
    static constexpr int IDC_LEFT = 1069;
    static constexpr int IDC_RIGHT = 1071;
    static constexpr int IDC_BORDER_WIDTH = 1089;
    static constexpr int IDC_INNER_WIDTH = 1090;

    explicit CSetTableParamPage(QWidget* parent = nullptr);

    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    int Parse(const QLineEdit* edit) const;
    // What a field stands for: the stored value until the user edits it,
    // however coarsely the precision shows it.
    int Value(int which) const;
    int Padding(int which) const;
    int Width(int which) const;
    void UpdateModified();

    std::array<QLabel*, 6> m_unitLabels{};
    // The unit the edits show, kept for reading them back even when the
    // work unit changes in the same sheet.
    int m_nUnit = 2;
    std::array<QLineEdit*, 6> m_edits{}; // top, bottom, left, right, border, inner
    std::array<bool, 6> m_edited{};
    std::array<int, 6> m_shown{};
};
