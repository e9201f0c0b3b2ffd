// The width and height prompt of the rectangle (dialog 181 "矩形") and,
// through CEllipseSizeDlg, of the ellipse. It opens with the size of the box
// spanned by the fixed and the moving corner; as sizes are typed the moving
// corner is put at that width and height from the fixed one, on the side
// where it lay, and the tool hears of it as a mouse move. Both sizes must
// be positive.
#pragma once

#include "ui/CCaptionCalcDlg.h"

#include "platform/Types.h"

class CVectorTool;
class QLabel;
class QLineEdit;

class CShapeSizeDlg : public CCaptionCalcDlg {
    Q_OBJECT
public:
    static constexpr int IDD = 181;
    static constexpr int IDC_HEIGHT = 1009;
    static constexpr int IDC_WIDTH = 1010;

    // Without a parent the prompt sits over the tool's view.
    explicit CShapeSizeDlg(CVectorTool* tool, int templateId = IDD, QWidget* parent = nullptr);
    ~CShapeSizeDlg() override;

    CVectorTool* m_pTool = nullptr;
    CPoint m_ptFixed;
    CPoint m_ptMoving;
    int m_nWidth = 0;
    int m_nHeight = 0;

    // The moving corner for a size: the fixed corner plus the size, toward
    // the side where the moving corner lay.
    CPoint CornerFor(int width, int height) const;

    QLineEdit* WidthEdit() const { return m_widthEdit; }
    QLineEdit* HeightEdit() const { return m_heightEdit; }

public Q_SLOTS:
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void OnSizeEdited();

    QLineEdit* m_widthEdit = nullptr;
    QLineEdit* m_heightEdit = nullptr;
    QLabel* m_widthUnit = nullptr;
    QLabel* m_heightUnit = nullptr;
};
