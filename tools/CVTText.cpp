#include "tools/CVTText.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKView.h"
#include "editors/CVTModifyText.h"

#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CTextElement.h"
#include "platform/CDC.h"

CVTText::CVTText(CVEKView* view) : CVectorTool(view), m_pEditor(std::make_unique<CVTModifyText>(view, this))
{
    CVTText::Reset();
}

CVTText::~CVTText() = default;

void CVTText::ShowFontControls(int show) const
{
    if (CFrameServices* frame = Frame()) frame->ShowFontControls(show);
}

// --- Lifecycle ------------------------------------------------------------------------

void CVTText::Activate()
{
    CVectorTool::Activate();
    m_pEditor->Activate();
    if (m_pView) {
        m_pView->SetRefocusFlag(1);
        m_pView->SetToolCursor(kCursor);
    }
    ShowPrompt(kPromptCreate);
    ShowFontControls(1);
}

void CVTText::Deactivate()
{
    CVectorTool::Deactivate();
    m_pEditor->Deactivate();
    ShowFontControls(0);
    InvalidateView();
}

void CVTText::Reset()
{
    CVectorTool::Reset();
    m_pHoverText = nullptr;
    m_bEditing = 0;
    m_zoom.Release();
    if (m_pEditor) m_pEditor->Reset();
}

// --- Texts ------------------------------------------------------------------------------

CTextElement* CVTText::CreateText(const std::string& wording, int x, int y)
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = pageSet ? pageSet->GetCurrentPage() : nullptr;
    // A text with nothing to show could be neither seen nor picked again.
    if (!page || CVTModifyText::IsBlankWording(wording)) return nullptr;
    const CSystemSettings& settings = Settings();
    LogFont font = settings.m_lfDefaultFont;
    font.lfEscapement = 0;
    SaveUndoState();
    auto* text = new CTextElement(page, page->GetMaxLevel(), CTextFont(wording, font, settings.m_crFontColor), x, y,
                                  TRANSPARENT);
    pageSet->AddElementToPage(text);
    m_pEditor->SetElement(text);
    m_bEditing = 1;
    InvalidateView();
    return text;
}

// --- Mouse --------------------------------------------------------------------------------

// The text under the mouse, for the highlight and for engaging it.
BOOL CVTText::HoverText(UINT flags, int x, int y)
{
    m_captureMask = ELEMENT_TEXT;
    const BOOL captured = CVectorTool::OnMouseMove(flags & ~MK_CONTROL, x, y);
    if (captured && m_captureKind == CAPTURED_ELEMENT && m_pCapturedElement &&
        m_pCapturedElement->GetType() == ELEMENT_TEXT) {
        m_pHoverText = static_cast<CTextElement*>(m_pCapturedElement);
        if (m_pView) m_pView->SetToolCursor(kCursorOverText);
        return TRUE;
    }
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPromptCreate);
    return FALSE;
}

BOOL CVTText::OnMouseMove(UINT flags, int x, int y)
{
    m_pHoverText = nullptr;
    if (m_zoom.IsHeld()) {
        if (m_zoom.Track(flags, x, y)) InvalidateFeedback();
        return FALSE;
    }
    BOOL result = FALSE;
    if (m_bEditing && m_pEditor->OnMouseMove(flags, x, y)) {
        result = TRUE;
    } else {
        const BOOL hovering = HoverText(flags, x, y);
        // The engaged text under its own highlight is no hover.
        if (hovering && m_pHoverText == m_pEditor->GetElement()) m_pHoverText = nullptr;
        if (!m_bEditing) result = hovering;
    }
    InvalidateFeedback();
    return result;
}

BOOL CVTText::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        m_zoom.Click(flags, x, y);
        InvalidateView();
        return FALSE;
    }
    if (m_bEditing) {
        if (const BOOL taken = m_pEditor->OnLButtonDown(flags, x, y)) return taken;
        // The click left the engaged text: it is let go, and the click is
        // taken as one on a tool with nothing engaged.
        Reset();
        return OnLButtonDown(flags, x, y);
    }
    OnMouseMove(flags, x, y);
    if (m_pHoverText) {
        CTextElement* text = m_pHoverText;
        m_pHoverText = nullptr;
        m_pEditor->SetElement(text);
        m_bEditing = 1;
        InvalidateView();
        return TRUE;
    }
    std::string wording;
    BOOL created = FALSE;
    if (CVTModifyText::AskWording(m_pView, wording))
        created = CreateText(wording, x, y) ? TRUE : FALSE;
    if (!created) Reset();
    m_pHoverText = nullptr;
    InvalidateView();
    return created;
}

BOOL CVTText::OnLButtonUp(UINT flags, int x, int y)
{
    return !m_zoom.IsHeld() && m_bEditing ? m_pEditor->OnLButtonUp(flags, x, y) : FALSE;
}

BOOL CVTText::OnLButtonDblClk(UINT flags, int x, int y)
{
    return m_bEditing ? m_pEditor->OnLButtonDblClk(flags, x, y) : FALSE;
}

BOOL CVTText::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld())
        CZoomBox::OnRButtonDown(m_pView, flags, y);
    else
        Cancel();
    InvalidateView();
    return TRUE;
}

BOOL CVTText::OnRButtonDblClk(UINT, int, int) { return FALSE; }
BOOL CVTText::OnRButtonUp(UINT, int, int) { return FALSE; }

// --- Keys ----------------------------------------------------------------------------------

BOOL CVTText::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CVTText::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPromptCreate);
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTText::OnReturnDown() { return FALSE; }
BOOL CVTText::OnReturnUp() { return FALSE; }
BOOL CVTText::OnShiftDown() { return m_bEditing ? m_pEditor->OnShiftDown() : FALSE; }
BOOL CVTText::OnShiftUp() { return m_bEditing ? m_pEditor->OnShiftUp() : FALSE; }
BOOL CVTText::OnCtrlDown() { return m_bEditing ? m_pEditor->OnCtrlDown() : FALSE; }
BOOL CVTText::OnCtrlUp() { return m_bEditing ? m_pEditor->OnCtrlUp() : FALSE; }
BOOL CVTText::OnDeleteDown() { return m_bEditing ? m_pEditor->OnDeleteDown() : FALSE; }
BOOL CVTText::OnDeleteUp() { return m_bEditing ? m_pEditor->OnDeleteUp() : FALSE; }

// --- Pending step, drawing, clipboard, tool bar ------------------------------------------------

void CVTText::Cancel()
{
    if (m_bEditing) m_pEditor->Cancel();
}

BOOL CVTText::UndoStep()
{
    return m_bEditing ? m_pEditor->UndoStep() : FALSE;
}

BOOL CVTText::HasPendingStep()
{
    return (m_bEditing && m_pEditor->HasPendingStep()) ? TRUE : FALSE;
}

void CVTText::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (m_zoom.IsHeld()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    if (m_bEditing) m_pEditor->Draw(dc, scale, originX, originY, rect);
    if (m_pHoverText) m_pHoverText->DrawHighlight(dc, scale, originX, originY, rect);
}

void CVTText::OnEditCopy()
{
    if (m_bEditing) m_pEditor->OnEditCopy();
}

void CVTText::OnEditCut()
{
    if (m_bEditing) m_pEditor->OnEditCut();
}

BOOL CVTText::CanCopy()
{
    return m_bEditing ? m_pEditor->CanCopy() : FALSE;
}

void CVTText::OnFontColor()
{
    if (m_bEditing) m_pEditor->OnFontColor();
}

void CVTText::OnCellColor()
{
    if (m_bEditing) m_pEditor->OnCellColor();
}

void CVTText::OnFont()
{
    if (m_bEditing) m_pEditor->OnFont();
}

void CVTText::OnFontColorChanged() {}
void CVTText::OnCellColorChanged() {}
