// "缺省页面": the paper size and margins new documents start with, in the
// work unit. The paper list and its two reactions (a chosen form fills
// width and height, typed sizes select the matching form) are those of
// the page-size dialog, and so are the rules a paper must keep.
#pragma once

#include "app/CPageSizeDlg.h"
#include "ui/CSettingsPage.h"

#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

class CSetDefaultPageSize : public CSettingsPage {
    Q_OBJECT
public:
    static constexpr int IDD = 236;
    static constexpr int IDC_PAPER = 1115;

    explicit CSetDefaultPageSize(QWidget* parent = nullptr);

    // The printer's forms, for a caller that has them already (before the
    // page is first shown).
    void SetPaperForms(const std::vector<CPageSizeDlg::PaperForm>& forms);
    QComboBox* PaperList() const { return m_paper; }
    QLineEdit* Edit(int id) const;

    bool IsChanged() const;
    bool OnValidate() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    struct Values {
        int width, height, left, right, top, bottom;
    };
    Values PageValues() const;
    QString Format(int length) const;
    int Parse(const QLineEdit* edit) const;
    void OnSelChangePaper(int index);
    void OnChangeSize();

    QComboBox* m_paper = nullptr;
    std::array<QLineEdit*, 6> m_edits{}; // width, height, top, bottom, left, right
    std::array<QLabel*, 6> m_unitLabels{};
    std::vector<CPageSizeDlg::PaperForm> m_forms;
    bool m_formsGiven = false;
    // Fields the user changed; the others keep the stored value exactly,
    // however coarsely the precision shows it.
    std::array<bool, 6> m_edited{};
    std::array<int, 6> m_shown{};
    int m_nUnit = 2;
    int m_nPrecision = 100;
};
