// "单元格" (dialog 242), the second page of the table property sheet: the
// four cell margins "边距", the space between every cell's edge and its
// text, in the work unit. Leaving the page, or OK, checks them in the
// order left, top, right, bottom: each must read as a length of 0 or more.
#pragma once

#include <QString>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

class CVTSetTableCellParaPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int IDD = 242;
    static constexpr int IDC_TOP = 1065;
    static constexpr int IDC_BOTTOM = 1067;
    static constexpr int IDC_LEFT = 1069;
    static constexpr int IDC_RIGHT = 1071;
    static constexpr int IDS_MARGIN_NEGATIVE = 36061;

    enum Side { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

    explicit CVTSetTableCellParaPage(QWidget* parent = nullptr);

    // A margin the user leaves alone reads back exactly as it was set.
    void SetMargin(Side side, int value);
    int GetMargin(Side side) const;

    // The kill-active check: empty when the page may be left, else the
    // message and the field it is about.
    QString Check(QLineEdit*& field) const;

    QLineEdit* MarginEdit(Side side) const { return m_edits[std::size_t(side)]; }

private:
    std::array<QLineEdit*, 4> m_edits{};
    std::array<QLabel*, 4> m_labels{};
    std::array<QString, 4> m_shown;
    std::array<int, 4> m_values{};
};
