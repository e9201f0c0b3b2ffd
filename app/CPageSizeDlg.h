// The page-size dialog "页面大小": the paper size and the four margins of
// the open document, shown and typed in the user's work unit. The paper
// list holds the forms of the default printer followed by "自定义纸张大小";
// choosing a form fills width and height, typing them selects the form
// that matches within half a millimetre.
//
// The caller sets the public members, runs DoModal, and on QDialog::Accepted
// reads them back; all lengths are in document units.
#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;

class CPageSizeDlg : public QDialog {
    Q_OBJECT
public:
    // Control ids of the dialog template, kept as object names.
    static constexpr int IDD = 235;
    static constexpr int IDC_PAPER = 1114;
    static constexpr int IDC_WIDTH = 1077;
    static constexpr int IDC_HEIGHT = 1079;
    static constexpr int IDC_TOP = 1081;
    static constexpr int IDC_BOTTOM = 1082;
    static constexpr int IDC_LEFT = 1085;
    static constexpr int IDC_RIGHT = 1086;
    static constexpr int IDS_CUSTOM_PAPER = 36057;
    static constexpr int IDS_NEGATIVE_MARGIN = 36061;

    // A paper form of the printer: its name and its portrait size in
    // tenths of a millimetre.
    struct PaperForm {
        QString name;
        int width = 0;
        int height = 0;
    };

    explicit CPageSizeDlg(QWidget* parent = nullptr);
    ~CPageSizeDlg() override;

    int m_nUnitsPerMM = 100;
    int m_nPaperWidth = 0;
    int m_nPaperHeight = 0;
    int m_nMarginLeft = 0;
    int m_nMarginRight = 0;
    int m_nMarginTop = 0;
    int m_nMarginBottom = 0;

    // Fills the controls from the members, then runs the dialog.
    int DoModal();
    // Unit labels, the six lengths, the paper list and its selection.
    void OnInitDialog();
    // The default printer's forms into the list (only those given by
    // SetPaperForms when it was called).
    void FillPaperList();
    // Replaces the printer's forms, for a caller that has them already.
    void SetPaperForms(const std::vector<PaperForm>& forms);
    // The default printer's forms; the common standard sizes when there is
    // no printer or it reports none, so that a size can still be chosen.
    static std::vector<PaperForm> DefaultPrinterForms();
    static std::vector<PaperForm> StandardPaperForms();

    // Largest paper side, in millimetres, that a page may have.
    static constexpr int kLargestSideMM = 10000;
    // The rules a paper size and its margins keep (document units, `upm`
    // per millimetre): each side longer than 50 mm and at most the largest
    // side, margins not negative and leaving room on the paper.
    struct LayoutFault {
        int field = 0; // the id of the edit to correct; 0 when all is well
        QString text; // why, for a message
        bool negativeMargin = false;
    };
    static LayoutFault CheckPageLayout(int width, int height, int left, int right, int top, int bottom, int upm);

    // The first form within half a millimetre of the size (document units,
    // `unitsPerMM` per millimetre); the count of forms (the custom entry)
    // when none matches.
    static int MatchPaperForm(const std::vector<PaperForm>& forms, int width, int height, int unitsPerMM);
    int GetSelectedPaper() const { return m_nSelectedPaper; }

    // A form chosen in the list: its size goes into the width and height.
    void OnSelChangePaper(int index);
    // Width or height typed: the matching form is selected.
    void OnChangeSize();
    // Reads the six lengths; closes the dialog only when the paper is
    // larger than 50 mm each way, the margins are not negative and leave
    // room on the paper. Otherwise the offending field takes the focus.
    bool OnOK();

    QComboBox* PaperList() const { return m_paperCombo; }
    QLineEdit* Edit(int id) const;

public Q_SLOTS:
    void accept() override;

private:
    QString Format(int length) const;
    int Parse(const QLineEdit* edit) const;
    void SetEditText(QLineEdit* edit, int length);
    void SelectPaper(int index);
    void Refuse(QLineEdit* edit);

    QComboBox* m_paperCombo = nullptr;
    QLineEdit* m_widthEdit = nullptr;
    QLineEdit* m_heightEdit = nullptr;
    QLineEdit* m_topEdit = nullptr;
    QLineEdit* m_bottomEdit = nullptr;
    QLineEdit* m_leftEdit = nullptr;
    QLineEdit* m_rightEdit = nullptr;
    std::vector<QLabel*> m_unitLabels;
    int m_nSelectedPaper = -1;
    std::vector<PaperForm> m_paperSizes;
    bool m_formsGiven = false;
};
