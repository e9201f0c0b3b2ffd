// "抓取灵敏度": the capture radius in screen pixels. Only a whole number
// from 1 to 100 is taken: 0 would switch capture off and a huge radius
// would capture everything on the page.
#pragma once

#include "ui/CSettingsPage.h"

class QLineEdit;

class CSetCaptureSensitivityPage : public CSettingsPage {
    Q_OBJECT
public:
    static constexpr int IDD = 209;
    static constexpr int IDC_RADIUS = 1053;
    static constexpr int kMinRadius = 1;
    static constexpr int kMaxRadius = 100;

    explicit CSetCaptureSensitivityPage(QWidget* parent = nullptr);

    // The radius a text stands for: plain decimal digits within the range;
    // -1 for anything else.
    static int ParseRadius(const QString& text);

    bool OnValidate() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    bool IsUnchanged() const;

    QLineEdit* m_radius = nullptr;
};
