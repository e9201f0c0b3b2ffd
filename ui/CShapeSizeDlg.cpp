#include "ui/CShapeSizeDlg.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "app/CVectorTool.h"

#include "geometry/TextMeasure.h"
#include "geometry/WorkUnits.h"
#include "model/CPageSet.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

QWidget* ParentFor(CVectorTool* tool, QWidget* parent)
{
    if (parent) return parent;
    return tool ? tool->GetView() : nullptr;
}

QString LengthText(int value, int upm)
{
    const CSystemSettings& settings = Settings();
    std::string text = FormatLength(value, upm, settings.m_nWorkUnit, settings.m_nPrecision);
    TrimDecimalZeros(text);
    return QString::fromStdString(text);
}

} // namespace

CShapeSizeDlg::CShapeSizeDlg(CVectorTool* tool, int templateId, QWidget* parent)
    : CCaptionCalcDlg(templateId, ParentFor(tool, parent)), m_pTool(tool)
{
    if (tool && tool->GetPageSet()) SetUnitsPerMM(tool->GetPageSet()->GetUnitsPerMM());
    const bool ellipse = templateId == 182;
    setWindowTitle(ellipse ? QStringLiteral("椭圆") : QStringLiteral("矩形"));
    m_widthEdit = new QLineEdit(this);
    m_heightEdit = new QLineEdit(this);
    m_widthUnit = new QLabel(QStringLiteral("mm"), this);
    m_heightUnit = new QLabel(QStringLiteral("mm"), this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("宽="), this), 0, 0);
    grid->addWidget(m_widthEdit, 0, 1);
    grid->addWidget(m_widthUnit, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("高="), this), 1, 0);
    grid->addWidget(m_heightEdit, 1, 1);
    grid->addWidget(m_heightUnit, 1, 2);
    grid->addWidget(m_calcButton, 0, 3, 2, 1);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ellipse ? QStringLiteral("确定(&O)") : QStringLiteral("OK"), QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    buttons->addButton(ellipse ? QStringLiteral("取消(&C)") : QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CShapeSizeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CShapeSizeDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(m_widthEdit, &QLineEdit::textEdited, this, &CShapeSizeDlg::OnSizeEdited);
    connect(m_heightEdit, &QLineEdit::textEdited, this, &CShapeSizeDlg::OnSizeEdited);
}

CShapeSizeDlg::~CShapeSizeDlg() = default;

void CShapeSizeDlg::OnInitDialog()
{
    m_nWidth = std::abs(m_ptFixed.x - m_ptMoving.x);
    m_nHeight = std::abs(m_ptFixed.y - m_ptMoving.y);
    const QString unit = QString::fromStdString(UnitSuffix(Settings().m_nWorkUnit));
    m_widthUnit->setText(unit);
    m_heightUnit->setText(unit);
    m_widthEdit->setText(LengthText(m_nWidth, UnitsPerMM()));
    m_heightEdit->setText(LengthText(m_nHeight, UnitsPerMM()));
    m_widthEdit->setFocus();
    m_widthEdit->selectAll();
}

CPoint CShapeSizeDlg::CornerFor(int width, int height) const
{
    return CPoint(m_ptMoving.x < m_ptFixed.x ? m_ptFixed.x - width : m_ptFixed.x + width,
                  m_ptMoving.y < m_ptFixed.y ? m_ptFixed.y - height : m_ptFixed.y + height);
}

void CShapeSizeDlg::OnSizeEdited()
{
    int width = 0;
    int height = 0;
    if (!ReadLengthField(m_widthEdit, LengthRule::Positive, width, false) ||
        !ReadLengthField(m_heightEdit, LengthRule::Positive, height, false))
        return;
    m_nWidth = width;
    m_nHeight = height;
    if (!m_pTool) return;
    const CPoint corner = CornerFor(width, height);
    m_pTool->OnMouseMove(0, corner.x, corner.y);
}

void CShapeSizeDlg::accept()
{
    int width = 0;
    int height = 0;
    if (!ReadLengthField(m_widthEdit, LengthRule::Positive, width, true)) return;
    if (!ReadLengthField(m_heightEdit, LengthRule::Positive, height, true)) return;
    m_nWidth = width;
    m_nHeight = height;
    if (m_pTool) {
        const CPoint corner = CornerFor(width, height);
        m_pTool->OnMouseMove(0, corner.x, corner.y);
    }
    QDialog::accept();
}
