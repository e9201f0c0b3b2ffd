#include "app/CDesignTool.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"

#include "geometry/Mapping.h"
#include "platform/CDC.h"
#include "platform/LogFont.h"
#include "res/StringTable.h"

#include <algorithm>

namespace {

// The stock interface font the prompts are written in: a bold face of 16
// pixels' cell height, whatever the zoom.
LogFont PromptFont()
{
    LogFont lf;
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = GB2312_CHARSET;
    lf.SetFaceName("\xCB\xCE\xCC\xE5"); // 宋体
    return lf;
}

} // namespace

CDesignTool::CDesignTool()
{
    // Non-virtual on purpose: a derived part does not exist yet.
    CDesignTool::Reset();
}

CDesignTool::CDesignTool(CVEKView* view) : m_pView(view)
{
    CDesignTool::Reset();
}

CDesignTool::~CDesignTool() = default;

// --- Default operations -----------------------------------------------------

void CDesignTool::Activate() { Reset(); }
void CDesignTool::Deactivate() { Reset(); }
// A reset ends the step, and the step's measure prompts with it.
void CDesignTool::Reset() { ClearPrompts(); }

BOOL CDesignTool::OnTabDown() { return FALSE; }
BOOL CDesignTool::OnTabUp() { return FALSE; }
BOOL CDesignTool::OnReturnDown() { return FALSE; }
BOOL CDesignTool::OnReturnUp() { return FALSE; }
BOOL CDesignTool::OnShiftDown() { return FALSE; }
BOOL CDesignTool::OnShiftUp() { return FALSE; }
BOOL CDesignTool::OnCtrlDown() { return FALSE; }
BOOL CDesignTool::OnCtrlUp() { return FALSE; }
BOOL CDesignTool::OnSpaceDown() { return FALSE; }
BOOL CDesignTool::OnSpaceUp() { return FALSE; }
BOOL CDesignTool::OnDeleteDown() { return FALSE; }
BOOL CDesignTool::OnDeleteUp() { return FALSE; }
BOOL CDesignTool::OnEndDown() { return FALSE; }
BOOL CDesignTool::OnEndUp() { return FALSE; }
BOOL CDesignTool::OnDigitDown(char) { return FALSE; }
BOOL CDesignTool::OnDigitUp(char) { return FALSE; }

BOOL CDesignTool::OnF2Down() { return FALSE; }
BOOL CDesignTool::OnF2Up() { return FALSE; }
BOOL CDesignTool::OnF3Down() { return FALSE; }
BOOL CDesignTool::OnF3Up() { return FALSE; }
BOOL CDesignTool::OnF4Down() { return FALSE; }
BOOL CDesignTool::OnF4Up() { return FALSE; }
BOOL CDesignTool::OnF5Down() { return FALSE; }
BOOL CDesignTool::OnF5Up() { return FALSE; }
BOOL CDesignTool::OnF6Down() { return FALSE; }
BOOL CDesignTool::OnF6Up() { return FALSE; }
BOOL CDesignTool::OnF7Down() { return FALSE; }
BOOL CDesignTool::OnF7Up() { return FALSE; }
BOOL CDesignTool::OnF8Down() { return FALSE; }
BOOL CDesignTool::OnF8Up() { return FALSE; }
BOOL CDesignTool::OnF9Down() { return FALSE; }
BOOL CDesignTool::OnF9Up() { return FALSE; }
BOOL CDesignTool::OnF10Down() { return FALSE; }
BOOL CDesignTool::OnF10Up() { return FALSE; }
BOOL CDesignTool::OnF11Down() { return FALSE; }
BOOL CDesignTool::OnF11Up() { return FALSE; }
BOOL CDesignTool::OnF12Down() { return FALSE; }
BOOL CDesignTool::OnF12Up() { return FALSE; }


BOOL CDesignTool::OnPageUpDown() { return FALSE; }
BOOL CDesignTool::OnPageUpUp() { return FALSE; }
BOOL CDesignTool::OnPageDownDown() { return FALSE; }
BOOL CDesignTool::OnPageDownUp() { return FALSE; }

BOOL CDesignTool::OnLButtonDown(UINT, int, int) { return FALSE; }
BOOL CDesignTool::OnLButtonUp(UINT, int, int) { return FALSE; }
BOOL CDesignTool::OnLButtonDblClk(UINT, int, int) { return FALSE; }
BOOL CDesignTool::OnRButtonDown(UINT, int, int) { return FALSE; }
BOOL CDesignTool::OnRButtonDblClk(UINT, int, int) { return FALSE; }
BOOL CDesignTool::OnRButtonUp(UINT, int, int) { return FALSE; }
BOOL CDesignTool::OnMouseMove(UINT, int, int) { return FALSE; }

void CDesignTool::Cancel() {}
BOOL CDesignTool::UndoStep() { return FALSE; }
BOOL CDesignTool::HasPendingStep() { return FALSE; }

void CDesignTool::Draw(CDC* dc, double scale, int originX, int originY, const CRect&)
{
    DrawPrompts(dc, scale, originX, originY);
}

void CDesignTool::OnEditCopy() {}
void CDesignTool::OnEditCut() {}
BOOL CDesignTool::CanCopy() { return FALSE; }

void CDesignTool::OnLineColorChanged() {}
void CDesignTool::OnLineColor() {}
void CDesignTool::OnFontColorChanged() {}
void CDesignTool::OnFontColor() {}
void CDesignTool::OnCellColorChanged() {}
void CDesignTool::OnCellColor() {}
void CDesignTool::OnFontChanged() {}
void CDesignTool::OnFont() {}
void CDesignTool::OnLineType() {}
void CDesignTool::OnStartArrow() {}
void CDesignTool::OnEndArrow() {}
void CDesignTool::OnAlignment() {}

BOOL CDesignTool::CanMergeCells() { return FALSE; }
void CDesignTool::MergeCells() {}
void CDesignTool::SplitCells() {}
void CDesignTool::InsertColumnLeft() {}
BOOL CDesignTool::CanInsertColumn() { return FALSE; }
void CDesignTool::InsertColumnRight() {}
void CDesignTool::InsertRowBefore() {}
void CDesignTool::InsertRowAfter() {}
void CDesignTool::ToggleDiagonalA() {}
void CDesignTool::ToggleDiagonalB() {}
void CDesignTool::DeleteRow() {}
void CDesignTool::DeleteColumn() {}
void CDesignTool::TableProperties() {}

void CDesignTool::OnFillType() {}
void CDesignTool::OnGradientStartColor() {}
void CDesignTool::OnGradientEndColor() {}
void CDesignTool::OnEscUp() {}
BOOL CDesignTool::OnArrowDown(int, int, UINT, BOOL) { return FALSE; }
void CDesignTool::OnElementsPasted(const CList<CGraphElement*>&) {}

// --- Services -----------------------------------------------------------------

CVEKDoc* CDesignTool::GetDocument() const
{
    return m_pView ? m_pView->GetDocument() : nullptr;
}

CPageSet* CDesignTool::GetPageSet() const
{
    CVEKDoc* doc = GetDocument();
    return doc ? doc->GetPageSet() : nullptr;
}

CFrameServices* CDesignTool::Frame() const
{
    return m_pView ? m_pView->GetFrame() : nullptr;
}

void CDesignTool::ShowPrompt(UINT id) const
{
    if (m_pView) m_pView->ShowStatusPrompt(LoadResString(int(id)));
}

void CDesignTool::SaveUndoState() const
{
    if (CVEKDoc* doc = GetDocument()) doc->SaveUndoState();
}

void CDesignTool::BeginUndoStep() const
{
    if (CVEKDoc* doc = GetDocument()) doc->BeginUndoStep();
}

bool CDesignTool::CommitUndoStep() const
{
    CVEKDoc* doc = GetDocument();
    return doc && doc->CommitUndoStep();
}

void CDesignTool::DropUndoStep() const
{
    if (CVEKDoc* doc = GetDocument()) doc->DropUndoStep();
}

double CDesignTool::GetViewScale() const
{
    return m_pView ? m_pView->GetScale() : 1.0;
}

void CDesignTool::GetViewTransform(double* scale, int* originX, int* originY) const
{
    double s = 1.0;
    int x = 0;
    int y = 0;
    if (m_pView) m_pView->GetViewTransform(s, x, y);
    if (scale) *scale = s;
    if (originX) *originX = x;
    if (originY) *originY = y;
}

void CDesignTool::InvalidateView() const
{
    if (m_pView) m_pView->Invalidate(FALSE);
}

void CDesignTool::InvalidateFeedback() const
{
    if (m_pView) m_pView->InvalidateFeedback();
}

// --- Marks ----------------------------------------------------------------------
// The far end of each line is one pixel further out because a line leaves
// out its end pixel.

void CDesignTool::DrawXMark(CDC* dc, int x, int y, double scale, int originX, int originY)
{
    if (!dc) return;
    const CPoint p = ModelToDevicePoint(x, y, scale, originX, originY);
    const int s = Settings().m_nCrossMarkSize;
    dc->MoveTo(p.x - s, p.y - s);
    dc->LineTo(p.x + s + 1, p.y + s + 1);
    dc->MoveTo(p.x + s, p.y - s);
    dc->LineTo(p.x - s - 1, p.y + s + 1);
}

void CDesignTool::DrawPointMark(CDC* dc, int x, int y, double scale, int originX, int originY)
{
    if (!dc) return;
    const CPoint p = ModelToDevicePoint(x, y, scale, originX, originY);
    const int r = Settings().m_nPointMarkRadius;
    dc->Ellipse(p.x - r, p.y - r, p.x + r + 1, p.y + r + 1);
}

void CDesignTool::DrawKeyPointMark(CDC* dc, int x, int y, double scale, int originX, int originY)
{
    if (!dc) return;
    DrawPointMark(dc, x, y, scale, originX, originY);
    DrawXMark(dc, x, y, scale, originX, originY);
    const CPoint p = ModelToDevicePoint(x, y, scale, originX, originY);
    const int s = Settings().m_nCrossMarkSize;
    dc->MoveTo(p.x - s, p.y);
    dc->LineTo(p.x + s + 1, p.y);
    dc->MoveTo(p.x, p.y - s);
    dc->LineTo(p.x, p.y + s + 1);
}

void CDesignTool::DrawRubberRect(CDC* dc, int x1, int y1, int x2, int y2, double scale,
                                 int originX, int originY)
{
    if (!dc) return;
    const CPoint lt = ModelToDevicePoint(std::min(x1, x2), std::min(y1, y2), scale, originX, originY);
    const CPoint rb = ModelToDevicePoint(std::max(x1, x2), std::max(y1, y2), scale, originX, originY);
    dc->MoveTo(lt.x, lt.y);
    dc->LineTo(rb.x, lt.y);
    dc->LineTo(rb.x, rb.y);
    dc->LineTo(lt.x, rb.y);
    dc->LineTo(lt.x, lt.y);
}

// --- Measure prompts ----------------------------------------------------------

void CDesignTool::SetPrompt(const CMeasurePrompt& prompt)
{
    m_prompts.RemoveAll();
    m_prompts.AddTail(prompt);
}

void CDesignTool::AddPrompt(const CMeasurePrompt& prompt) { m_prompts.AddTail(prompt); }

void CDesignTool::ClearPrompts()
{
    if (!m_prompts.IsEmpty()) m_prompts.RemoveAll();
}

void CDesignTool::DrawPrompts(CDC* dc, double scale, int originX, int originY) const
{
    if (!dc || m_prompts.IsEmpty()) return;
    const COLORREF oldColor = dc->SetTextColor(Settings().m_crDimensionPromptColor);
    const LogFont oldFont = dc->SelectFont(PromptFont());
    for (const CMeasurePrompt& prompt : m_prompts) {
        const CPoint p = ModelToDevicePoint(prompt.x, prompt.y, scale, originX, originY);
        dc->TextOut(p.x, p.y, prompt.text);
    }
    dc->SelectFont(oldFont);
    dc->SetTextColor(oldColor);
}
