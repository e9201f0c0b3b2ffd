#include "ui/CLengthDlg.h"

#include "app/CVEKView.h"
#include "app/CVectorTool.h"

#include "geometry/Distance.h"
#include "model/CPageSet.h"

#include <cmath>

namespace {

QWidget* ParentFor(CVectorTool* tool, QWidget* parent)
{
    if (parent) return parent;
    return tool ? tool->GetView() : nullptr;
}

} // namespace

CLengthDlg::CLengthDlg(CVectorTool* tool, int templateId, QWidget* parent)
    : CValuePromptDlg(templateId, ParentFor(tool, parent)), m_pTool(tool)
{
    if (tool && tool->GetPageSet()) SetUnitsPerMM(tool->GetPageSet()->GetUnitsPerMM());
}

CLengthDlg::~CLengthDlg() = default;

CValuePromptDlg::LengthRule CLengthDlg::ValueRule() const
{
    return m_bOffsetMode ? LengthRule::Signed : LengthRule::Positive;
}

void CLengthDlg::OnInitDialog()
{
    if (!m_bOffsetMode) m_nValue = PointDistanceRounded(m_ptFrom.x, m_ptFrom.y, m_ptTo.x, m_ptTo.y);
    CValuePromptDlg::OnInitDialog();
}

CPoint CLengthDlg::PointAtLength(int length) const
{
    const double dx = double(m_ptTo.x) - m_ptFrom.x;
    const double dy = double(m_ptTo.y) - m_ptFrom.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    // Two equal points give no direction: the preview goes along +x.
    if (d == 0.0) return CPoint(m_ptFrom.x + length, m_ptFrom.y);
    return CPoint(m_ptFrom.x + RoundToInt(dx * length / d), m_ptFrom.y + RoundToInt(dy * length / d));
}

void CLengthDlg::OnValueChanged()
{
    if (!m_pTool) return;
    if (m_bOffsetMode) {
        m_pTool->SetDistance(m_nValue);
        m_pTool->OnMouseMove(MK_CONTROL, m_ptTo.x, m_ptTo.y);
        return;
    }
    const CPoint p = PointAtLength(m_nValue);
    m_pTool->OnMouseMove(MK_CONTROL, p.x, p.y);
}
