#include "app/CPageSizeDlg.h"

#include "settings/CSystemSettings.h"

#include "geometry/Distance.h"
#include "geometry/WorkUnits.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

// A form matches a size when both sides lie within this many hundredths of
// a millimetre.
constexpr int kMatchTolerance = 50;
// Smallest paper side, in millimetres, that the dialog accepts (exclusive).
constexpr int kSmallestSideMM = 50;

QLineEdit* MakeEdit(int id, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(id));
    return edit;
}

} // namespace

CPageSizeDlg::CPageSizeDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("页面大小"));

    auto* pageGroup = new QGroupBox(QStringLiteral("页面"), this);
    auto* pageGrid = new QGridLayout(pageGroup);
    m_paperCombo = new QComboBox(pageGroup);
    m_paperCombo->setObjectName(QString::number(IDC_PAPER));
    m_widthEdit = MakeEdit(IDC_WIDTH, pageGroup);
    m_heightEdit = MakeEdit(IDC_HEIGHT, pageGroup);
    pageGrid->addWidget(new QLabel(QStringLiteral("纸型"), pageGroup), 0, 0);
    pageGrid->addWidget(m_paperCombo, 0, 1, 1, 2);
    auto addLength = [this](QGridLayout* grid, QWidget* owner, int row, int column, const char* label,
                            QLineEdit* edit) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), owner), row, column);
        grid->addWidget(edit, row, column + 1);
        auto* unit = new QLabel(QStringLiteral("mm"), owner);
        m_unitLabels.push_back(unit);
        grid->addWidget(unit, row, column + 2);
    };
    addLength(pageGrid, pageGroup, 1, 0, "宽度", m_widthEdit);
    addLength(pageGrid, pageGroup, 2, 0, "高度", m_heightEdit);

    auto* marginGroup = new QGroupBox(QStringLiteral("边距"), this);
    auto* marginGrid = new QGridLayout(marginGroup);
    m_topEdit = MakeEdit(IDC_TOP, marginGroup);
    m_bottomEdit = MakeEdit(IDC_BOTTOM, marginGroup);
    m_leftEdit = MakeEdit(IDC_LEFT, marginGroup);
    m_rightEdit = MakeEdit(IDC_RIGHT, marginGroup);
    addLength(marginGrid, marginGroup, 0, 0, "上", m_topEdit);
    addLength(marginGrid, marginGroup, 0, 3, "下", m_bottomEdit);
    addLength(marginGrid, marginGroup, 1, 0, "左", m_leftEdit);
    addLength(marginGrid, marginGroup, 1, 3, "右", m_rightEdit);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定(&O)"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消(&C)"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPageSizeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPageSizeDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageGroup);
    layout->addWidget(marginGroup);
    layout->addWidget(buttons);

    connect(m_paperCombo, qOverload<int>(&QComboBox::activated), this, &CPageSizeDlg::OnSelChangePaper);
    // Only what the user types: the dialog's own writes go through setText,
    // which does not emit textEdited.
    connect(m_widthEdit, &QLineEdit::textEdited, this, &CPageSizeDlg::OnChangeSize);
    connect(m_heightEdit, &QLineEdit::textEdited, this, &CPageSizeDlg::OnChangeSize);
}

CPageSizeDlg::~CPageSizeDlg() = default;

int CPageSizeDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

QLineEdit* CPageSizeDlg::Edit(int id) const
{
    switch (id) {
    case IDC_WIDTH: return m_widthEdit;
    case IDC_HEIGHT: return m_heightEdit;
    case IDC_TOP: return m_topEdit;
    case IDC_BOTTOM: return m_bottomEdit;
    case IDC_LEFT: return m_leftEdit;
    case IDC_RIGHT: return m_rightEdit;
    default: return nullptr;
    }
}

QString CPageSizeDlg::Format(int length) const
{
    const CSystemSettings& s = Settings();
    return QString::fromStdString(FormatLength(length, m_nUnitsPerMM, s.m_nWorkUnit, s.m_nPrecision));
}

int CPageSizeDlg::Parse(const QLineEdit* edit) const
{
    return ParseLength(edit->text().trimmed().toStdString(), m_nUnitsPerMM, Settings().m_nWorkUnit);
}

void CPageSizeDlg::SetEditText(QLineEdit* edit, int length)
{
    edit->setText(Format(length));
}

void CPageSizeDlg::OnInitDialog()
{
    const QString suffix = QString::fromStdString(UnitSuffix(Settings().m_nWorkUnit));
    for (QLabel* label : m_unitLabels) label->setText(suffix);
    SetEditText(m_widthEdit, m_nPaperWidth);
    SetEditText(m_heightEdit, m_nPaperHeight);
    SetEditText(m_topEdit, m_nMarginTop);
    SetEditText(m_bottomEdit, m_nMarginBottom);
    SetEditText(m_leftEdit, m_nMarginLeft);
    SetEditText(m_rightEdit, m_nMarginRight);

    FillPaperList();
    m_paperCombo->addItem(LoadResString(IDS_CUSTOM_PAPER));
    SelectPaper(MatchPaperForm(m_paperSizes, m_nPaperWidth, m_nPaperHeight, m_nUnitsPerMM));
}

void CPageSizeDlg::SetPaperForms(const std::vector<PaperForm>& forms)
{
    m_paperSizes = forms;
    m_formsGiven = true;
}

std::vector<CPageSizeDlg::PaperForm> CPageSizeDlg::DefaultPrinterForms()
{
    std::vector<PaperForm> forms;
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull()) {
        for (const QPageSize& size : printer.supportedPageSizes()) {
            const QSizeF mm = size.size(QPageSize::Millimeter);
            forms.push_back({size.name(), RoundToInt(mm.width() * 10.0), RoundToInt(mm.height() * 10.0)});
        }
    }
    if (forms.empty()) forms = StandardPaperForms();
    return forms;
}

std::vector<CPageSizeDlg::PaperForm> CPageSizeDlg::StandardPaperForms()
{
    // The sizes a Chinese office printer offers first, portrait, in tenths
    // of a millimetre; B4 and B5 are the JIS sizes of those printers.
    static const struct {
        const char* name;
        int width;
        int height;
    } kForms[] = {
        {"A3 297 x 420 mm", 2970, 4200},
        {"A4 210 x 297 mm", 2100, 2970},
        {"A5 148 x 210 mm", 1480, 2100},
        {"B4 (JIS) 257 x 364 mm", 2570, 3640},
        {"B5 (JIS) 182 x 257 mm", 1820, 2570},
        {"Letter 8.5 x 11 in", 2159, 2794},
        {"Legal 8.5 x 14 in", 2159, 3556},
        {"Tabloid 11 x 17 in", 2794, 4318},
        {"Executive 7.25 x 10.5 in", 1842, 2667},
        {"A2 420 x 594 mm", 4200, 5940},
        {"16K 197 x 273 mm", 1970, 2730},
        {"8K 273 x 394 mm", 2730, 3940},
    };
    std::vector<PaperForm> forms;
    for (const auto& f : kForms) forms.push_back({QString::fromLatin1(f.name), f.width, f.height});
    return forms;
}

CPageSizeDlg::LayoutFault CPageSizeDlg::CheckPageLayout(int width, int height, int left, int right, int top,
                                                        int bottom, int upm)
{
    const qint64 smallest = qint64(kSmallestSideMM) * upm;
    const qint64 largest = qint64(kLargestSideMM) * upm;
    const QString sideText = QStringLiteral("纸张的宽度和高度必须大于%1毫米,且不超过%2毫米。")
                                 .arg(kSmallestSideMM)
                                 .arg(kLargestSideMM);
    if (width <= smallest || width > largest) return {IDC_WIDTH, sideText};
    if (height <= smallest || height > largest) return {IDC_HEIGHT, sideText};
    const struct {
        int value;
        int id;
        const char* side;
    } margins[] = {{top, IDC_TOP, "上"}, {bottom, IDC_BOTTOM, "下"}, {left, IDC_LEFT, "左"}, {right, IDC_RIGHT, "右"}};
    for (const auto& m : margins) {
        if (m.value >= 0) continue;
        return {m.id, LoadResString(IDS_NEGATIVE_MARGIN).replace(QStringLiteral("%s"), QString::fromUtf8(m.side)), true};
    }
    const QString roomText = QStringLiteral("边距太大,纸张上没有可画的区域。");
    if (qint64(left) + right >= width) return {IDC_LEFT, roomText};
    if (qint64(top) + bottom >= height) return {IDC_TOP, roomText};
    return {};
}

void CPageSizeDlg::FillPaperList()
{
    if (!m_formsGiven) m_paperSizes = DefaultPrinterForms();
    m_paperCombo->clear();
    for (const PaperForm& form : m_paperSizes) m_paperCombo->addItem(form.name);
}

int CPageSizeDlg::MatchPaperForm(const std::vector<PaperForm>& forms, int width, int height, int unitsPerMM)
{
    if (unitsPerMM <= 0) return int(forms.size());
    // Forms are in tenths of a millimetre; compare in hundredths.
    const double toHundredths = 100.0 / unitsPerMM;
    const int w = RoundToInt(width * toHundredths);
    const int h = RoundToInt(height * toHundredths);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        if (std::abs(forms[i].width * 10 - w) < kMatchTolerance && std::abs(forms[i].height * 10 - h) < kMatchTolerance)
            return int(i);
    }
    return int(forms.size());
}

void CPageSizeDlg::SelectPaper(int index)
{
    m_nSelectedPaper = index;
    m_paperCombo->setCurrentIndex(index);
}

void CPageSizeDlg::OnSelChangePaper(int index)
{
    m_nSelectedPaper = index;
    if (index < 0 || std::size_t(index) >= m_paperSizes.size()) return;
    const PaperForm& form = m_paperSizes[std::size_t(index)];
    // Tenths of a millimetre into document units.
    SetEditText(m_widthEdit, RoundToInt(form.width * m_nUnitsPerMM / 10.0));
    SetEditText(m_heightEdit, RoundToInt(form.height * m_nUnitsPerMM / 10.0));
}

void CPageSizeDlg::OnChangeSize()
{
    SelectPaper(MatchPaperForm(m_paperSizes, Parse(m_widthEdit), Parse(m_heightEdit), m_nUnitsPerMM));
}

void CPageSizeDlg::Refuse(QLineEdit* edit)
{
    edit->setFocus();
    edit->selectAll();
    QApplication::beep();
}

bool CPageSizeDlg::OnOK()
{
    const int width = Parse(m_widthEdit);
    const int height = Parse(m_heightEdit);
    const int left = Parse(m_leftEdit);
    const int right = Parse(m_rightEdit);
    const int top = Parse(m_topEdit);
    const int bottom = Parse(m_bottomEdit);
    const LayoutFault fault = CheckPageLayout(width, height, left, right, top, bottom, m_nUnitsPerMM);
    if (fault.field) {
        // A negative margin is told in words; the other faults are plain to
        // see in the fields.
        if (fault.negativeMargin) QMessageBox::warning(this, LoadResString(Ids::IDS_APP_TITLE), fault.text);
        Refuse(Edit(fault.field));
        return false;
    }

    m_nPaperWidth = width;
    m_nPaperHeight = height;
    m_nMarginLeft = left;
    m_nMarginRight = right;
    m_nMarginTop = top;
    m_nMarginBottom = bottom;
    QDialog::accept();
    return true;
}

void CPageSizeDlg::accept()
{
    OnOK();
}
