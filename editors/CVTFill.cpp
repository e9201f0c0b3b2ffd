#include "editors/CVTFill.h"

#include "editors/CVTFillBitmap.h"
#include "editors/CVTFillConical.h"
#include "editors/CVTFillLine.h"
#include "editors/CVTFillLinear.h"
#include "editors/CVTFillRadial.h"
#include "editors/CVTFillSquare.h"
#include "app/ShapeBuilder.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKSrvrItem.h"
#include "app/CVEKView.h"

#include "model/CClosedCurveElement.h"
#include "model/CFillStyle.h"
#include "model/CPageSet.h"
#include "model/FillLayout.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace {

// "Name(*.a)|*.a|All(*.*)|*.*|" as a Qt file dialog takes it.
QString QtFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}

} // namespace

CVTFill::CVTFill(CVEKView* view)
    : CVectorTool(view),
      m_pBitmapEditor(std::make_unique<CVTFillBitmap>(view, this)),
      m_pLinearEditor(std::make_unique<CVTFillLinear>(view, this)),
      m_pRadialEditor(std::make_unique<CVTFillRadial>(view, this)),
      m_pConicalEditor(std::make_unique<CVTFillConical>(view, this)),
      m_pSquareEditor(std::make_unique<CVTFillSquare>(view, this)),
      m_pLineEditor(std::make_unique<CVTFillLine>(view, this))
{
    CVTFill::Reset();
}

CVTFill::~CVTFill() = default;

// --- Editors and the picked curve ----------------------------------------------------

CVTFillEditor* CVTFill::GetEditor(int fillKind) const
{
    switch (fillKind) {
    case FILL_BITMAP: return m_pBitmapEditor.get();
    case FILL_LINEAR: return m_pLinearEditor.get();
    case FILL_CIRCULAR: return m_pRadialEditor.get();
    case FILL_CONICAL: return m_pConicalEditor.get();
    case FILL_SQUARE: return m_pSquareEditor.get();
    case FILL_LINES: return m_pLineEditor.get();
    default: return nullptr;
    }
}

CVTFillEditor* CVTFill::PickedEditor() const
{
    return m_pPicked ? GetEditor(m_pPicked->GetFillKind()) : nullptr;
}

// Asks every editor rather than the picked curve's: after the document's
// content was replaced the curve is gone, and the tool is reset then.
void CVTFill::EndEditorAction()
{
    for (int kind = FILL_BITMAP; kind <= FILL_LINES; ++kind)
        if (CVTFillEditor* editor = GetEditor(kind))
            if (editor->HasPendingStep()) editor->Reset();
}

void CVTFill::Pick(CClosedCurveElement* curve)
{
    EndEditorAction();
    m_pPicked = curve;
    if (!curve) return;
    const int kind = curve->GetFillKind();
    if (CVTFillEditor* editor = GetEditor(kind)) editor->SetElement(curve);
    UpdateFillControls(kind);
    ShowKindInCombo(kind);
}

void CVTFill::EditFill(CClosedCurveElement* curve)
{
    m_pHovered = nullptr;
    Pick(curve);
    InvalidateView();
}

void CVTFill::ShowKindInCombo(int kind) const
{
    if (CFrameServices* frame = Frame()) frame->ShowFillTypeInCombo(kind);
}

void CVTFill::UpdateFillControls(int kind)
{
    CFrameServices* frame = Frame();
    if (!frame) return;
    const int line = kind == FILL_LINES ? 1 : 0;
    const int start = kind >= FILL_SOLID && kind <= FILL_SQUARE ? 1 : 0;
    const int end = kind >= FILL_LINEAR && kind <= FILL_SQUARE ? 1 : 0;
    frame->ShowLineControls(line, line, line, 0, 0);
    frame->ShowGradientControls(start, end);
}

// --- Dialogs -------------------------------------------------------------------------

QString CVTFill::AskPictureFile()
{
    return QFileDialog::getOpenFileName(nullptr, QString(), QString(),
                                        QtFilter(LoadResString(kPictureFilter)));
}

void CVTFill::ShowMessage(int messageId)
{
    QMessageBox::critical(QApplication::activeWindow(), LoadResString(Ids::IDS_APP_TITLE),
                          LoadResString(messageId));
}

// --- Switching -----------------------------------------------------------------------

void CVTFill::Activate()
{
    CVectorTool::Activate();
    Reset();
    if (CFrameServices* frame = Frame()) frame->ShowFillTypeControls(1);
    UpdateFillControls(Settings().m_nFillType);
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

void CVTFill::Deactivate()
{
    if (CVTFillEditor* editor = PickedEditor()) editor->Deactivate();
    CVectorTool::Deactivate();
    if (CFrameServices* frame = Frame()) frame->ShowFillTypeControls(0);
    UpdateFillControls(-1);
    Cancel();
    InvalidateView();
}

void CVTFill::Reset()
{
    // An editor's drag ends where it stands, before the curve is let go.
    EndEditorAction();
    CVectorTool::Reset();
    m_pPicked = nullptr;
    m_pHovered = nullptr;
    m_zoom.Release();
}

// --- Keys ----------------------------------------------------------------------------

BOOL CVTFill::OnShiftDown()
{
    if (!m_pPicked) return FALSE;
    EndEditorAction();
    SaveUndoState();
    m_pPicked->SetFillMode(m_pPicked->GetFillMode() == FILL_MODE_WINDING ? FILL_MODE_ALTERNATE
                                                                         : FILL_MODE_WINDING);
    InvalidateView();
    return TRUE;
}

BOOL CVTFill::OnDeleteDown()
{
    if (!m_pPicked) return FALSE;
    if (m_pPicked->GetFillKind() != FILL_NONE) {
        EndEditorAction();
        SaveUndoState();
        m_pPicked->SetFillKind(FILL_NONE);
        UpdateFillControls(FILL_NONE);
    }
    ShowKindInCombo(FILL_NONE);
    InvalidateView();
    return TRUE;
}

BOOL CVTFill::OnSpaceDown()
{
    m_zoom.Hold();
    return TRUE;
}

BOOL CVTFill::OnSpaceUp()
{
    m_zoom.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPromptPick);
    InvalidateFeedback();
    return TRUE;
}

// --- Mouse ---------------------------------------------------------------------------

BOOL CVTFill::OnMouseMove(UINT flags, int x, int y)
{
    m_pHovered = nullptr;
    if (m_zoom.IsHeld()) {
        m_zoom.OnMouseMove(flags, x, y);
        return FALSE;
    }

    BOOL result = FALSE;
    if (CVTFillEditor* editor = PickedEditor()) result = editor->OnMouseMove(flags, x, y);
    if (!result) {
        if (m_pView) m_pView->SetToolCursor(kCursor);
        CCurveElement* found = nullptr;
        CPageSet* pageSet = GetPageSet();
        if (pageSet && pageSet->GetPageCount() > 0 && pageSet->FindClosedCurveAt(x, y, found)) {
            auto* closed = dynamic_cast<CClosedCurveElement*>(found);
            if (closed && closed != m_pPicked) {
                m_pHovered = closed;
                ShowPrompt(kPromptPick);
                result = TRUE;
            }
        }
    }
    InvalidateFeedback();
    return result;
}

BOOL CVTFill::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) {
        if (m_zoom.Click(flags, x, y) == CZoomBox::Click::ZoomedOut) Reset();
        InvalidateView();
        return FALSE;
    }
    OnMouseMove(flags, x, y);

    BOOL result = FALSE;
    if (m_pPicked) {
        ShowKindInCombo(m_pPicked->GetFillKind());
        if (CVTFillEditor* editor = PickedEditor()) result = editor->OnLButtonDown(flags, x, y);
    }
    if (!result && m_pHovered && m_pHovered != m_pPicked) {
        CClosedCurveElement* curve = m_pHovered;
        m_pHovered = nullptr;
        Pick(curve);
    }
    InvalidateView();
    return result;
}

BOOL CVTFill::OnLButtonUp(UINT flags, int x, int y)
{
    if (m_zoom.IsHeld()) return FALSE;
    CVTFillEditor* editor = PickedEditor();
    return editor ? editor->OnLButtonUp(flags, x, y) : FALSE;
}

BOOL CVTFill::OnLButtonDblClk(UINT flags, int x, int y)
{
    CVTFillEditor* editor = PickedEditor();
    return editor ? editor->OnLButtonDblClk(flags, x, y) : FALSE;
}

BOOL CVTFill::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoom.IsHeld())
        CZoomBox::OnRButtonDown(m_pView, flags, y);
    else
        Reset();
    InvalidateView();
    return FALSE;
}

// --- Pending steps -------------------------------------------------------------------

void CVTFill::Cancel()
{
    if (!m_pPicked) return;
    if (CVTFillEditor* editor = PickedEditor()) {
        editor->Cancel();
        return;
    }
    Reset();
    InvalidateView();
}

BOOL CVTFill::UndoStep()
{
    CVTFillEditor* editor = PickedEditor();
    return editor ? editor->UndoStep() : FALSE;
}

BOOL CVTFill::HasPendingStep()
{
    CVTFillEditor* editor = PickedEditor();
    return editor ? editor->HasPendingStep() : FALSE;
}

// --- Drawing -------------------------------------------------------------------------

void CVTFill::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (!dc) return;
    if (m_zoom.IsHeld() && m_zoom.IsCornerPlaced()) {
        m_zoom.Draw(dc, scale, originX, originY);
        return;
    }
    if (m_pPicked) {
        m_pPicked->DrawHighlight(dc, scale, originX, originY, rect);
        if (CVTFillEditor* editor = PickedEditor()) editor->Draw(dc, scale, originX, originY, rect);
    }
    if (m_pHovered) m_pHovered->DrawHighlight(dc, scale, originX, originY, rect);
}

// --- Clipboard -----------------------------------------------------------------------

void CVTFill::OnEditCopy()
{
    if (!m_pPicked || !GetDocument()) return;
    if (CVEKSrvrItem* item = CVEKSrvrItem::GetEmbeddedItem(GetDocument()))
        item->CopyElementToClipboard(m_pPicked);
}

void CVTFill::OnEditCut()
{
    CPageSet* pageSet = GetPageSet();
    if (!m_pPicked || !pageSet) return;
    EndEditorAction();
    SaveUndoState();
    OnEditCopy();
    CClosedCurveElement* curve = m_pPicked;
    m_pPicked = nullptr;
    pageSet->RemoveElementFromPage(curve);
    delete curve;
    Reset();
    InvalidateView();
}

BOOL CVTFill::CanCopy()
{
    return m_pPicked ? TRUE : FALSE;
}

// --- Tool-bar choices ----------------------------------------------------------------

void CVTFill::OnLineColor()
{
    if (!m_pPicked || m_pPicked->GetFillKind() != FILL_LINES) return;
    const COLORREF colour = Settings().m_crLineColor;
    if (m_pPicked->GetLineFillStyle().GetColor() == colour) return;
    EndEditorAction();
    SaveUndoState();
    m_pPicked->SetLineFillColor(colour);
    InvalidateView();
}

// A colour picked in the picker recolours the fill lines at once, as the
// picker's button does.
void CVTFill::OnLineColorChanged()
{
    OnLineColor();
}

void CVTFill::OnLineType()
{
    if (!m_pPicked || m_pPicked->GetFillKind() != FILL_LINES) return;
    const CLineAttr line = CurrentLineType();
    if (m_pPicked->GetLineFillStyle().GetLineAttr() == line) return;
    EndEditorAction();
    SaveUndoState();
    m_pPicked->SetLineFillAttr(line);
    InvalidateView();
    TellLineFillLimits();
}

void CVTFill::OnGradientStartColor()
{
    if (!m_pPicked) return;
    const COLORREF colour = Settings().m_crGradientStart;
    const int kind = m_pPicked->GetFillKind();
    if (kind == FILL_SOLID) {
        if (m_pPicked->GetStartColor() == colour) return;
        EndEditorAction();
        SaveUndoState();
        m_pPicked->SetStartColor(colour);
    } else if (kind >= FILL_LINEAR && kind <= FILL_SQUARE) {
        COLORREF first = 0, second = 0;
        m_pPicked->GetGradientColors(first, second);
        if (first == colour) return;
        EndEditorAction();
        SaveUndoState();
        m_pPicked->SetGradientColors(colour, second);
    } else {
        QApplication::beep();
        return;
    }
    InvalidateView();
}

void CVTFill::OnGradientEndColor()
{
    if (!m_pPicked) return;
    const COLORREF colour = Settings().m_crGradientEnd;
    const int kind = m_pPicked->GetFillKind();
    if (kind == FILL_LINEAR || kind == FILL_CONICAL) {
        COLORREF first = 0, second = 0;
        m_pPicked->GetGradientColors(first, second);
        if (second == colour) return;
        EndEditorAction();
        SaveUndoState();
        m_pPicked->SetGradientColors(first, colour);
    } else if (kind == FILL_CIRCULAR || kind == FILL_SQUARE) {
        // The end colour of a circular or square gradient is the colour at
        // its centre.
        if (m_pPicked->GetCenterColor() == colour) return;
        EndEditorAction();
        SaveUndoState();
        m_pPicked->SetCenterColor(colour);
    } else {
        QApplication::beep();
        return;
    }
    InvalidateView();
}

// --- Choosing the fill kind ----------------------------------------------------------

void CVTFill::StartEditor(int kind)
{
    if (CVTFillEditor* editor = GetEditor(kind)) {
        editor->SetElement(m_pPicked);
        editor->Activate();
    }
}

void CVTFill::SetFillKindTo(int kind)
{
    SaveUndoState();
    if (kind == FILL_NONE)
        m_pPicked->SetFillKind(FILL_NONE);
    else
        LayOutGradientFill(*m_pPicked, kind, Settings().m_crGradientStart, Settings().m_crGradientEnd);
    StartEditor(kind);
}

// The picture is read before anything changes: a cancelled dialog or a
// file that cannot be read leave the curve, the combo and the chosen fill
// type as they were.
bool CVTFill::ApplyBitmapFill()
{
    const QString path = AskPictureFile();
    if (path.isEmpty()) return false;
    CClosedCurveElement* c = m_pPicked;
    BeginUndoStep();
    if (!c->LoadFillBitmap(path)) {
        DropUndoStep();
        ShowMessage(kMessageCannotOpen);
        return false;
    }
    CommitUndoStep();
    LayOutBitmapTile(*c);
    StartEditor(FILL_BITMAP);
    return true;
}

// Chosen again on a line fill, the fill starts over from the tool bar's
// line type and colour.
void CVTFill::ApplyLineFill()
{
    CClosedCurveElement* c = m_pPicked;
    const CFillStyle style =
        NewLineFillStyle(*c, CurrentLineType(), Settings().m_crLineColor, kNewLineFillSpacing);
    if (c->GetFillKind() != FILL_LINES || c->GetLineFillStyle() != style) {
        SaveUndoState();
        c->SetFillKind(FILL_LINES);
        c->SetLineFillStyle(style);
    }
    StartEditor(FILL_LINES);
    TellLineFillLimits();
}

void CVTFill::TellLineFillLimits() const
{
    if (!m_pPicked || !m_pView) return;
    const QString limit = CVTFillLine::LimitPrompt(*m_pPicked, *m_pView);
    if (!limit.isEmpty()) m_pView->ShowStatusPrompt(limit);
}

void CVTFill::OnFillType()
{
    if (!m_pPicked) return;
    EndEditorAction();
    CSystemSettings& s = Settings();
    const int kind = s.m_nFillType;
    const int old = m_pPicked->GetFillKind();
    if (kind == FILL_LINES) {
        ApplyLineFill();
    } else if (kind == FILL_BITMAP) {
        if (old != kind && !ApplyBitmapFill()) {
            ShowKindInCombo(old);
            s.m_nFillType = old;
        }
    } else if (kind >= FILL_NONE && kind <= FILL_SQUARE && old != kind) {
        SetFillKindTo(kind);
    }
    InvalidateView();
    UpdateFillControls(s.m_nFillType);
}
