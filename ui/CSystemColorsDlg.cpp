#include "ui/CSystemColorsDlg.h"

#include "ui/CColorListBox.h"

#include "settings/CSystemSettings.h"

#include "res/StringTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The six colours in the dialog's order, with their names.
struct EntryField {
    COLORREF CSystemSettings::*field;
    int nameId;
};
constexpr EntryField kEntryFields[CSystemColorsDlg::kEntryCount] = {
    {&CSystemSettings::m_crPromptColor1, 36007},       {&CSystemSettings::m_crPromptColor2, 36008},
    {&CSystemSettings::m_crDimensionPromptColor, 36009}, {&CSystemSettings::m_crPaperColor, 36015},
    {&CSystemSettings::m_crOutsidePaperColor, 36010},  {&CSystemSettings::m_crMarginFrameColor, 36011},
};

} // namespace

CSystemColorsDlg::CSystemColorsDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("设置颜色"));
    for (int i = 0; i < kEntryCount; ++i)
        m_entries[std::size_t(i)] = {Settings().*kEntryFields[i].field, LoadResString(kEntryFields[i].nameId)};

    m_samples = new CColorSampleList(this);
    m_samples->setObjectName(QString::number(IDC_SAMPLES));
    for (CColorSample& entry : m_entries) m_samples->AddSample(&entry);
    m_samples->setMinimumWidth(150);
    m_palette = new CColorListBox(this);
    m_palette->setObjectName(QString::number(IDC_PALETTE));
    m_palette->setFixedSize(m_palette->sizeHint());

    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSystemColorsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSystemColorsDlg::reject);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_samples);
    layout->addWidget(m_palette);
    layout->addWidget(buttons);

    connect(m_samples, &QListWidget::currentRowChanged, this, &CSystemColorsDlg::OnSelChangeSample);
    connect(m_palette, &QListWidget::currentRowChanged, this, &CSystemColorsDlg::OnSelChangePalette);
}

int CSystemColorsDlg::DoModal()
{
    m_nResult = IDCANCEL;
    exec();
    return m_nResult;
}

void CSystemColorsDlg::OnSelChangeSample()
{
    const CColorSample* sample = m_samples->Sample(m_samples->currentRow());
    if (!sample) return;
    const int cell = CColorListBox::LastIndexOf(sample->colour);
    const QSignalBlocker block(m_palette);
    if (cell >= 0) {
        m_palette->setCurrentRow(cell);
    } else {
        // Set elsewhere: no cell stands for it until one is chosen.
        m_palette->clearSelection();
        m_palette->setCurrentRow(-1);
    }
}

void CSystemColorsDlg::OnSelChangePalette()
{
    CColorSample* sample = m_samples->Sample(m_samples->currentRow());
    const int cell = m_palette->currentRow();
    if (!sample || cell < 0) return;
    const COLORREF colour = CColorListBox::StandardColor(cell);
    if (sample->colour == colour) return;
    sample->colour = colour;
    m_samples->viewport()->update(m_samples->visualItemRect(m_samples->currentItem()));
}

void CSystemColorsDlg::accept()
{
    CSystemSettings& s = Settings();
    bool changed = false;
    for (int i = 0; i < kEntryCount; ++i) {
        COLORREF& field = s.*kEntryFields[i].field;
        changed = changed || field != m_entries[std::size_t(i)].colour;
        field = m_entries[std::size_t(i)].colour;
    }
    m_nResult = changed ? IDOK : IDCANCEL;
    QDialog::accept();
}
