// "工作单位": the work unit (centimetres, millimetres, inches as decimals
// or as fractions) and the precision lengths are shown with. The precision
// list follows the unit; its selection always comes from the stored
// precision, so switching units back and forth does not drift.
#pragma once

#include "ui/CSettingsPage.h"

#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;

class CSetWorkUnitPage : public CSettingsPage {
    Q_OBJECT
public:
    static constexpr int IDD = 208;
    static constexpr int IDC_CM = 1047;
    static constexpr int IDC_MM = 1048;
    static constexpr int IDC_INCH = 1049;
    static constexpr int IDC_PRECISION = 1051;
    static constexpr int IDC_FRACTIONS = 1052;

    explicit CSetWorkUnitPage(QWidget* parent = nullptr);

    // The entries of the precision list for a radio (one of the IDC_ ids)
    // and the fraction box.
    static QStringList PrecisionEntries(int radio, bool fractions);
    // The entry a stored precision selects in that list. A precision the
    // list does not hold selects the middle entry the list picks for
    // unknown values, so that a unit change never leaves the list empty.
    static int PrecisionIndex(int precision, int entryCount, bool fractions);

    // What the controls stand for now.
    int PageUnit() const;
    int PagePrecision() const;

    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void OnUnitClicked();
    void FillPrecisionList();
    void UpdateModified();
    int CheckedRadio() const;

    QButtonGroup* m_units = nullptr;
    QRadioButton* m_cm = nullptr;
    QRadioButton* m_mm = nullptr;
    QRadioButton* m_inch = nullptr;
    QComboBox* m_precision = nullptr;
    QCheckBox* m_fractions = nullptr;
};
