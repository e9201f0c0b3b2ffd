// "设置颜色": the six display colours (the two prompt colours, the
// dimension prompt colour, the paper, the area outside the paper and the
// frame of the drawable area), each picked from the 48 standard colours.
// OK writes them all and answers IDOK only when one of them changed, so
// that the caller redraws only then.
#pragma once

#include "ui/CColorSampleList.h"

#include <QDialog>

#include <array>

class CColorListBox;

class CSystemColorsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 146;
    static constexpr int IDC_SAMPLES = 1020;
    static constexpr int IDC_PALETTE = 1021;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int kEntryCount = 6;

    explicit CSystemColorsDlg(QWidget* parent = nullptr);

    int DoModal();
    CColorSampleList* SampleList() const { return m_samples; }
    CColorListBox* Palette() const { return m_palette; }
    const CColorSample& Entry(int i) const { return m_entries[std::size_t(i)]; }

    // An entry chosen: the palette shows its colour (the last cell of that
    // colour; none when the colour is not in the palette).
    void OnSelChangeSample();
    // A palette cell chosen: the chosen entry takes its colour.
    void OnSelChangePalette();

public Q_SLOTS:
    void accept() override;

private:
    CColorSampleList* m_samples = nullptr;
    CColorListBox* m_palette = nullptr;
    std::array<CColorSample, kEntryCount> m_entries;
    int m_nResult = IDCANCEL;
};
