#include "app/CVEKView.h"

#include "app/CDesignTool.h"
#include "app/COleContainer.h"
#include "app/COleSelection.h"
#include "app/CSubToolHost.h"
#include "app/CToolFactory.h"
#include "app/CViewCommandHandler.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CZoomPreview.h"
#include "app/ToolCursors.h"

#include "geometry/Distance.h"
#include "geometry/Mapping.h"
#include "model/COleObjectElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

void OutlineBox(CDC& dc, int left, int top, int right, int bottom)
{
    dc.MoveTo(left, top);
    dc.LineTo(right, top);
    dc.LineTo(right, bottom);
    dc.LineTo(left, bottom);
    dc.LineTo(left, top);
}

} // namespace

// --- Tool rows -----------------------------------------------------------------

int CVEKView::ToolIndexOfCommand(UINT command) const
{
    for (int index = 0; index < ToolCount(); ++index)
        if (m_toolRows[std::size_t(index)].command == command) return index;
    return -1;
}

UINT CVEKView::CommandOfTool(int index) const
{
    if (index < 0 || index >= ToolCount()) return 0;
    return m_toolRows[std::size_t(index)].command;
}

// The tool of a sub-tool number of the symmetric-drawing tool, -1 when the
// number names none.
int CVEKView::ToolOfSubTool(int subTool) const
{
    if (subTool < 0) return -1;
    for (int index = 0; index < ToolCount(); ++index)
        if (m_toolRows[std::size_t(index)].subTool == subTool) return index;
    return -1;
}

// --- Construction -------------------------------------------------------------

CVEKView::CVEKView(CVEKDoc* doc, const CToolFactory& tools, CFrameServices* frame, QWidget* parent)
    : CEnrchSheetsBaseview(parent),
      m_doc(doc),
      m_frame(frame),
      m_toolRows(tools.Tools()),
      m_pointOnCurve(tools.PointOnCurve())
{
    setObjectName(QStringLiteral("vekView"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every pixel is painted from the page image; nothing to erase first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    CreateTools(tools);
    SetCurrent(kCurveTool, CommandOfTool(kCurveTool));
    ListCommands();
    CreateCommandActions();
    ConnectMessageHub();
    m_zoomPreview = new CZoomPreview(this);
    connect(m_zoomPreview, &CZoomPreview::Settled, this, [this] { Invalidate(FALSE); });
    if (m_doc) {
        connect(m_doc, &CVEKDoc::ContentReplaced, this, &CVEKView::OnContentReplaced);
        SyncSheetsWithPages();
    }
}

// The tools go first (in reverse order of making), while the view they
// call back into is still whole.
CVEKView::~CVEKView()
{
    m_pCurrentTool = nullptr;
    for (auto it = m_tools.rbegin(); it != m_tools.rend(); ++it) it->reset();
}

void CVEKView::CreateTools(const CToolFactory& tools)
{
    m_tools.reserve(m_toolRows.size());
    for (const CToolDescriptor& row : m_toolRows) m_tools.push_back(row.make(this));
    m_toolCommands = tools.MakeCommands(this);
}

CPageSet* CVEKView::GetPageSet() const
{
    return m_doc ? m_doc->GetPageSet() : nullptr;
}

void CVEKView::OnInitialUpdate()
{
    m_initialUpdateDone = true;
    if (m_pCurrentTool != GetTool(kCurveTool)) m_pCurrentTool->Deactivate();
    SetCurrent(kCurveTool, CommandOfTool(kCurveTool));
    ShowToolDefaults(kCurveTool);
    m_pCurrentTool->Activate();
    ZoomToFitPage();
    Invalidate();
}

void CVEKView::showEvent(QShowEvent* event)
{
    CEnrchSheetsBaseview::showEvent(event);
    if (!m_initialUpdateDone) OnInitialUpdate();
}

// --- Tools ----------------------------------------------------------------------

CDesignTool* CVEKView::GetTool(int index) const
{
    if (index < 0 || index >= ToolCount()) return nullptr;
    return m_tools[std::size_t(index)].get();
}

std::unique_ptr<CDesignTool> CVEKView::ReplaceTool(int index, std::unique_ptr<CDesignTool> tool)
{
    if (index < 0 || index >= ToolCount() || !tool) return tool;
    const bool current = m_pCurrentTool == GetTool(index);
    std::swap(m_tools[std::size_t(index)], tool);
    if (current) m_pCurrentTool = GetTool(index);
    return tool;
}

CSubToolHost* CVEKView::SymmetricDrawTool() const
{
    return dynamic_cast<CSubToolHost*>(GetTool(kSymmetricDrawTool));
}

void CVEKView::SetCurrent(int index, UINT command)
{
    m_nCurrentToolCmd = command;
    m_pCurrentTool = GetTool(index);
}

bool CVEKView::OnToolCommand(UINT command)
{
    if (command == ID_TOOL_SYMMETRIC_DRAW) {
        OnSymmetricDrawTool();
        return true;
    }
    const int index = ToolIndexOfCommand(command);
    if (index < 0) return false;
    SwitchTool(index, command);
    return true;
}

void CVEKView::SwitchTool(int index, UINT command)
{
    const int subTool = m_toolRows[std::size_t(index)].subTool;
    // In symmetric-drawing mode the drawing tools become its sub-tools.
    if (subTool >= 0 && m_nCurrentToolCmd == ID_TOOL_SYMMETRIC_DRAW && SymmetricDrawTool()) {
        SymmetricDrawTool()->SelectSubTool(subTool);
        InvalidateFeedback();
        return;
    }
    CDesignTool* tool = GetTool(index);
    if (m_pCurrentTool && m_pCurrentTool != tool) m_pCurrentTool->Deactivate();
    SetCurrent(index, command);
    if (auto* ole = dynamic_cast<COleSelection*>(tool)) ole->SetElement(m_pLastOleElement);
    ShowToolDefaults(index);
    // Also when the tool was current already: choosing it again restarts it.
    m_pCurrentTool->Activate();
    InvalidateFeedback();
}

void CVEKView::OnSymmetricDrawTool()
{
    CSubToolHost* symmetric = SymmetricDrawTool();
    if (!symmetric) return;
    if (m_nCurrentToolCmd == ID_TOOL_SYMMETRIC_DRAW) {
        const int index = ToolOfSubTool(symmetric->GetSubToolIndex());
        if (index < 0) {
            QApplication::beep();
            return;
        }
        GetTool(kSymmetricDrawTool)->Deactivate();
        SetCurrent(index, CommandOfTool(index));
        ShowToolDefaults(index);
        m_pCurrentTool->Activate();
    } else {
        const int current = ToolIndexOfCommand(m_nCurrentToolCmd);
        const int subTool = current >= 0 ? m_toolRows[std::size_t(current)].subTool : -1;
        if (subTool >= 0) {
            // The user goes on drawing with the same tool, now mirrored.
            m_pCurrentTool->Reset();
            SetCurrent(kSymmetricDrawTool, ID_TOOL_SYMMETRIC_DRAW);
            ShowToolDefaults(kSymmetricDrawTool);
            GetTool(kSymmetricDrawTool)->Activate();
            symmetric->SelectSubTool(subTool);
        } else {
            m_pCurrentTool->Deactivate();
            SetCurrent(kSymmetricDrawTool, ID_TOOL_SYMMETRIC_DRAW);
            ShowToolDefaults(kSymmetricDrawTool);
            GetTool(kSymmetricDrawTool)->Activate();
        }
    }
    InvalidateFeedback();
}

bool CVEKView::IsToolCommandChecked(UINT command) const
{
    if (command == m_nCurrentToolCmd) return true;
    if (m_nCurrentToolCmd != ID_TOOL_SYMMETRIC_DRAW || !SymmetricDrawTool()) return false;
    return command == CommandOfTool(ToolOfSubTool(SymmetricDrawTool()->GetSubToolIndex()));
}

void CVEKView::ResetCurrentTool()
{
    if (m_pCurrentTool) m_pCurrentTool->Reset();
}

// Even a tool that sets nothing of its own then no longer shows the cursor
// and prompt of the tool before it; its Activate may set its own.
void CVEKView::ShowToolDefaults(int index)
{
    if (index < 0 || index >= ToolCount()) return;
    const CToolDescriptor& row = m_toolRows[std::size_t(index)];
    SetToolCursor(row.cursor);
    ShowStatusPrompt(LoadResString(int(row.prompt)));
}

void CVEKView::SetToolCursor(int cursorId)
{
    if (cursorId == m_nToolCursorId) return;
    m_nToolCursorId = cursorId;
    setCursor(CursorOfId(cursorId));
}

// --- Undo, redo, cancel -----------------------------------------------------------

void CVEKView::OnEditUndo()
{
    if (m_pCurrentTool->HasPendingStep()) {
        m_pCurrentTool->UndoStep();
        return;
    }
    if (!m_doc || !m_doc->CanUndo()) {
        QApplication::beep();
        return;
    }
    m_pCurrentTool->Reset();
    m_doc->Undo();
}

bool CVEKView::CanEditUndo() const
{
    return (m_doc && m_doc->CanUndo()) || m_pCurrentTool->HasPendingStep();
}

void CVEKView::OnEditRedo()
{
    // A pending step would be lost under the restored content.
    if (!CanEditRedo()) {
        QApplication::beep();
        return;
    }
    m_pCurrentTool->Reset();
    m_doc->Redo();
}

bool CVEKView::CanEditRedo() const
{
    return m_doc && m_doc->CanRedo() && !m_pCurrentTool->HasPendingStep();
}

void CVEKView::OnEditCancel()
{
    if (m_pCurrentTool->HasPendingStep()) m_pCurrentTool->Cancel();
}

bool CVEKView::CanEditCancel() const
{
    return m_pCurrentTool->HasPendingStep();
}

// --- Mapping ----------------------------------------------------------------------

void CVEKView::GetOrigin(int& x, int& y) const
{
    x = m_ptOrigin.x;
    y = m_ptOrigin.y;
}

void CVEKView::GetViewTransform(double& scale, int& originX, int& originY) const
{
    scale = m_dScale;
    GetOrigin(originX, originY);
}

BOOL CVEKView::SetViewTransform(double scale, int originX, int originY)
{
    if (!(scale > 0) || !std::isfinite(scale)) return FALSE;
    m_dScale = scale;
    m_ptOrigin = CPoint(originX, originY);
    m_zoomAnchor.Forget();
    Q_EMIT ViewTransformChanged(m_dScale, originX, originY);
    return UpdateScrollBars();
}

void CVEKView::SetOrigin(int x, int y)
{
    SetViewTransform(m_dScale, x, y);
}

void CVEKView::ZoomAt(double factor, int x, int y)
{
    ZoomAbout(factor, CPoint(x, y), ModelToDevicePoint(x, y));
}

// Zoomed far out, the origin that keeps the point under its pixel may lie
// beyond the int range: the view takes the nearest one there is, and keeps
// the point for its pixel (m_zoomAnchor) so that zooming back in there
// closes in on it again rather than on what the clamped origin shows.
void CVEKView::ZoomAbout(double factor, const CPoint& point, const CPoint& pixel)
{
    if (!(factor > 0)) return;
    if (factor >= 1.0 && GetScrollInfo(Qt::Horizontal).nMax >= kZoomInLimit &&
        GetScrollInfo(Qt::Vertical).nMax >= kZoomInLimit)
        return;
    const double scale = std::min(m_dScale / factor, std::max(m_dScale, kZoomOutLimit));
    if (scale == m_dScale) return;
    bool heldOff = false;
    // In 64 bits, which hold any offset a scroll range could reach; the
    // bound only keeps a scale set from outside defined.
    auto origin = [&](int at, int px) {
        constexpr double kFar = 1e18;
        const long long wanted = at - std::llround(std::clamp(double(px) * scale, -kFar, kFar));
        const int nearest = SaturateToInt(wanted);
        heldOff = heldOff || nearest != wanted;
        return nearest;
    };
    const int originX = origin(point.x, pixel.x);
    const int originY = origin(point.y, pixel.y);
    SetViewTransform(scale, originX, originY);
    m_zoomAnchor.Record(pixel, point, heldOff);
}

void CVEKView::ZoomToFitPage()
{
    const CPageSet* ps = GetPageSet();
    const CRect rc = GetDrawingRect();
    const int w = std::abs(rc.Width());
    const int h = std::abs(rc.Height());
    double scale = m_dScale;
    CPoint origin = m_ptOrigin;
    // At least 3 pixels free on every side; a window too small for that
    // keeps the mapping it has.
    if (ps && w > 7 && h > 7) {
        const CSize paper = ps->GetPaperSize();
        if (paper.cx > 10 || paper.cy > 10) {
            scale = std::max(paper.cx / (w - 6.0 - 1.0), paper.cy / (h - 6.0 - 1.0));
            origin = CPoint(RoundToInt(paper.cx / 2.0 - (w - 1) / 2.0 * scale),
                            RoundToInt(paper.cy / 2.0 - (h - 1) / 2.0 * scale));
        }
    }
    SetViewTransform(scale, origin.x, origin.y);
}

void CVEKView::FitPageWidthAt(int y)
{
    const CPageSet* ps = GetPageSet();
    const int w = std::abs(GetDrawingRect().Width());
    const int row = RoundToInt((double(y) - m_ptOrigin.y) / m_dScale);
    double scale = m_dScale;
    CPoint origin = m_ptOrigin;
    if (ps && w > 7) {
        const CSize paper = ps->GetPaperSize();
        if (paper.cx > 10 || paper.cy > 10) {
            scale = paper.cx / (w - 6.0 - 1.0);
            origin = CPoint(RoundToInt(paper.cx / 2.0 - (w - 1) / 2.0 * scale), RoundToInt(y - row * scale));
        }
    }
    SetViewTransform(scale, origin.x, origin.y);
}

void CVEKView::ZoomToRect(int left, int top, int right, int bottom)
{
    const CRect rc = GetDrawingRect();
    const int w = rc.right;
    const int h = rc.bottom;
    if (w <= 0 || h <= 0) return;
    double scale = std::max((double(right) - left + 1.0) / w, (double(bottom) - top + 1.0) / h);
    if (!(scale > 0)) return;
    // A box around a single point zooms no further than the wheel can:
    // where the paper's shorter side spans the scroll bars' limit.
    if (const CPageSet* ps = GetPageSet()) {
        const CSize paper = ps->GetPaperSize();
        scale = std::max(scale, std::min(paper.cx, paper.cy) / double(kZoomInLimit));
    }
    // In doubles: the box of a view zoomed far out spans the whole range
    // of coordinates, more than an int holds.
    struct Span {
        int low, high;
        double Width() const { return double(high) - low + 1.0; }
    };
    auto centred = [](int a, int b, int pixels, double s) {
        const double middle = (double(b) + a) / 2.0;
        return Span{RoundToInt(middle - (pixels - 1) / 2.0 * s), RoundToInt(middle + (pixels - 1) / 2.0 * s)};
    };
    // A tiny rectangle would ask for a span no scroll bar can hold.
    constexpr double kMaxSpanPixels = 15000.0;
    Span x = centred(left, right, w, scale);
    if (RoundToInt(x.Width() / scale) > kMaxSpanPixels) scale = x.Width() / kMaxSpanPixels;
    Span y = centred(top, bottom, h, scale);
    if (RoundToInt(y.Width() / scale) > kMaxSpanPixels) scale = y.Width() / kMaxSpanPixels;
    x = centred(left, right, w, scale);
    y = centred(top, bottom, h, scale);
    SetViewTransform(scale, x.low, y.low);
}

BOOL CVEKView::UpdateScrollBars()
{
    const CPageSet* ps = GetPageSet();
    if (!ps) return FALSE;
    const CRect rc = GetDrawingRect();
    const CSize paper = ps->GetPaperSize();
    const CPoint p0 = ModelToDevicePoint(0, 0);
    const CPoint p1 = ModelToDevicePoint(paper.cx, paper.cy);
    // The paper's ends lie at the ends of the int range when it is far
    // out of sight: the range saturates there.
    auto info = [](int low, int high, int pixels) {
        ScrollInfo si;
        si.nMin = DifferenceToInt(low, pixels);
        si.nMax = SumToInt(high, pixels);
        if (si.nMax != si.nMin) si.nMax = SumToInt(si.nMax, pixels / 2);
        si.nPage = pixels / 2;
        si.nPos = 0;
        return si;
    };
    SetScrollInfo(Qt::Horizontal, info(p0.x, p1.x, rc.Width()));
    SetScrollInfo(Qt::Vertical, info(p0.y, p1.y, rc.Height()));
    return TRUE;
}

CPoint CVEKView::DeviceToModelPoint(int dx, int dy) const
{
    return ::DeviceToModelPoint(dx, dy, m_dScale, m_ptOrigin.x, m_ptOrigin.y);
}

CPoint CVEKView::ModelToDevicePoint(int x, int y) const
{
    return ::ModelToDevicePoint(x, y, m_dScale, m_ptOrigin.x, m_ptOrigin.y);
}

// --- Scrolling ----------------------------------------------------------------------

void CVEKView::OnHScroll(int code, int pos)
{
    CEnrchSheetsBaseview::OnHScroll(code, pos);
    Scroll(Qt::Horizontal, code, pos);
}

void CVEKView::OnVScroll(int code, int pos)
{
    CEnrchSheetsBaseview::OnVScroll(code, pos);
    Scroll(Qt::Vertical, code, pos);
}

// The scroll position is a pixel offset from the origin the ranges were
// built for; a move of the thumb moves the origin by as many pixels.
void CVEKView::Scroll(Qt::Orientation bar, int code, int pos)
{
    // In 64 bits: the ranges of a paper far out of sight reach the ends of
    // the int range.
    const ScrollInfo info = GetScrollInfo(bar);
    const long long current = info.nPos;
    long long step = 0;
    switch (code) {
    case SB_LINEUP: step = -1; break;
    case SB_LINEDOWN: step = 1; break;
    case SB_PAGEUP: step = -info.nPage; break;
    case SB_PAGEDOWN: step = info.nPage; break;
    case SB_TOP: step = info.nMin - current; break;
    case SB_BOTTOM: step = info.nMax - current; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: step = pos - current; break;
    default: break;
    }
    if (step == 0) return;
    // Only as far as the thumb can go, so the origin and the thumb agree.
    const long long highest = std::max<long long>(info.nMin, info.nMax - std::max(info.nPage - 1LL, 0LL));
    const int newPos = int(std::clamp<long long>(current + step, info.nMin, highest));
    step = newPos - current;
    if (step == 0) return;
    SetScrollPos(bar, newPos);
    m_zoomAnchor.Forget();
    if (bar == Qt::Horizontal)
        m_ptOrigin.x = SumToInt(m_ptOrigin.x, RoundToInt(double(step) * m_dScale));
    else
        m_ptOrigin.y = SumToInt(m_ptOrigin.y, RoundToInt(double(step) * m_dScale));
    Q_EMIT ViewTransformChanged(m_dScale, m_ptOrigin.x, m_ptOrigin.y);
    Invalidate();
}

void CVEKView::resizeEvent(QResizeEvent* event)
{
    CEnrchSheetsBaseview::resizeEvent(event);
    // The ranges depend on the window's size; the mapping stays.
    UpdateScrollBars();
    Invalidate();
}

void CVEKView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    QWidget* grabber = QWidget::mouseGrabber();
    if ((grabber && grabber != this) || !hasFocus()) return;
    const CPageSet* ps = GetPageSet();
    const int delta = event->angleDelta().y();
    if (!ps || delta == 0) return;
    int y = DifferenceToInt(m_ptOrigin.y, RoundToInt(delta * m_dScale));
    // At least 5 pixels of the paper stay in the window.
    const int paperHeight = ps->GetPaperSize().cy;
    const int h = GetDrawingRect().Height();
    if (delta < 0 && y > paperHeight) y = paperHeight - RoundToInt(5.0 * m_dScale);
    if (delta > 0 && y < -RoundToInt(h * m_dScale)) y = -RoundToInt((h - 5) * m_dScale);
    SetOrigin(m_ptOrigin.x, y);
    ResendMouseMove();
    Invalidate(FALSE);
}

// --- Mouse ------------------------------------------------------------------------

UINT CVEKView::MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (buttons & Qt::XButton1) flags |= MK_XBUTTON1;
    if (buttons & Qt::XButton2) flags |= MK_XBUTTON2;
    if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

void CVEKView::mousePressEvent(QMouseEvent* event)
{
    RoutePress(event, false);
}

// The second press of a double click arrives as the double click alone
// (press, release, double click, release), which is the order the tools
// expect; QWidget's default would turn it back into a press.
void CVEKView::mouseDoubleClickEvent(QMouseEvent* event)
{
    RoutePress(event, true);
}

void CVEKView::RoutePress(QMouseEvent* event, bool doubleClick)
{
    const QPoint p = event->position().toPoint();
    const CPoint m = DeviceToModelPoint(p.x(), p.y());
    const UINT flags = MouseFlags(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton) {
        if (doubleClick)
            m_pCurrentTool->OnLButtonDblClk(flags, m.x, m.y);
        else
            m_pCurrentTool->OnLButtonDown(flags, m.x, m.y);
    } else if (event->button() == Qt::RightButton) {
        if (doubleClick)
            m_pCurrentTool->OnRButtonDblClk(flags, m.x, m.y);
        else
            m_pCurrentTool->OnRButtonDown(flags, m.x, m.y);
    } else {
        event->ignore();
        return;
    }
    event->accept();
}

void CVEKView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const CPoint m = DeviceToModelPoint(p.x(), p.y());
    const UINT flags = MouseFlags(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        m_pCurrentTool->OnLButtonUp(flags, m.x, m.y);
    else if (event->button() == Qt::RightButton)
        m_pCurrentTool->OnRButtonUp(flags, m.x, m.y);
    else {
        event->ignore();
        return;
    }
    event->accept();
}

void CVEKView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_lastMouse = p;
    m_mouseInside = true;
    if (m_bRefocus && window()->isActiveWindow() && !hasFocus()) setFocus(Qt::MouseFocusReason);
    Q_EMIT MouseMovedAt(p.x(), p.y());
    const CPoint m = DeviceToModelPoint(p.x(), p.y());
    m_pCurrentTool->OnMouseMove(MouseFlags(event->buttons(), event->modifiers()), m.x, m.y);
    event->accept();
}

void CVEKView::leaveEvent(QEvent* event)
{
    m_mouseInside = false;
    CEnrchSheetsBaseview::leaveEvent(event);
}

// After the mapping moved under a still mouse the tool sees a move to the
// page point now under it, as if the mouse had moved.
void CVEKView::ResendMouseMove()
{
    if (!m_mouseInside) return;
    const CPoint m = DeviceToModelPoint(m_lastMouse.x(), m_lastMouse.y());
    m_pCurrentTool->OnMouseMove(MouseFlags(QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers()),
                                m.x, m.y);
}

// --- Keys -------------------------------------------------------------------------

bool CVEKView::focusNextPrevChild(bool)
{
    return false;
}

void CVEKView::keyPressEvent(QKeyEvent* event)
{
    RouteKeyDown(event);
}

void CVEKView::keyReleaseEvent(QKeyEvent* event)
{
    // Qt repeats a held key as release and press pairs; the tools expect
    // repeated presses and one release.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    RouteKeyUp(event);
}

void CVEKView::RouteKeyDown(QKeyEvent* event)
{
    CDesignTool* tool = m_pCurrentTool;
    const int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    event->accept();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        tool->OnDigitDown(char('0' + (key - Qt::Key_0)));
        return;
    }
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: tool->OnTabDown(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: tool->OnReturnDown(); return;
    case Qt::Key_Shift: tool->OnShiftDown(); return;
    case Qt::Key_Control: tool->OnCtrlDown(); return;
    case Qt::Key_Space: tool->OnSpaceDown(); return;
    case Qt::Key_Delete: tool->OnDeleteDown(); return;
    case Qt::Key_End: tool->OnEndDown(); return;
    case Qt::Key_PageUp: tool->OnPageUpDown(); return;
    case Qt::Key_PageDown: tool->OnPageDownDown(); return;
    case Qt::Key_F2: tool->OnF2Down(); return;
    case Qt::Key_F3: tool->OnF3Down(); return;
    case Qt::Key_F4: tool->OnF4Down(); return;
    case Qt::Key_F5: tool->OnF5Down(); return;
    case Qt::Key_F6: tool->OnF6Down(); return;
    case Qt::Key_F7: tool->OnF7Down(); return;
    case Qt::Key_F8: tool->OnF8Down(); return;
    case Qt::Key_F9: tool->OnF9Down(); return;
    case Qt::Key_F10: tool->OnF10Down(); return;
    case Qt::Key_F11: tool->OnF11Down(); return;
    case Qt::Key_F12: tool->OnF12Down(); return;
    // Esc is the Cancel command; the main window's shortcut usually takes
    // it before the view sees it.
    case Qt::Key_Escape: OnEditCancel(); return;
    default: break;
    }
    if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down) {
        // A tool that moves what it selected takes the arrows first.
        const int dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
        const int dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
        if (tool->OnArrowDown(dx, dy, MouseFlags(Qt::NoButton, event->modifiers()), event->isAutoRepeat())) return;
    }
    if (CanPan()) {
        const int d = RoundToInt(m_dScale * kPanStep);
        switch (key) {
        case Qt::Key_Left: Pan(-d, 0); return;
        case Qt::Key_Up: Pan(0, -d); return;
        case Qt::Key_Right: Pan(d, 0); return;
        case Qt::Key_Down: Pan(0, d); return;
        default: break;
        }
    }
    if (keypad && key == Qt::Key_Plus) {
        ZoomAtCursor(kKeypadZoomIn);
        return;
    }
    if (keypad && key == Qt::Key_Minus) {
        ZoomAtCursor(kKeypadZoomOut);
        return;
    }
    if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right || key == Qt::Key_Down) return;
    CEnrchSheetsBaseview::keyPressEvent(event);
}

void CVEKView::RouteKeyUp(QKeyEvent* event)
{
    CDesignTool* tool = m_pCurrentTool;
    const int key = event->key();
    event->accept();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        tool->OnDigitUp(char('0' + (key - Qt::Key_0)));
        return;
    }
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: tool->OnTabUp(); return;
    case Qt::Key_Return:
    case Qt::Key_Enter: tool->OnReturnUp(); return;
    case Qt::Key_Shift: tool->OnShiftUp(); return;
    case Qt::Key_Control: tool->OnCtrlUp(); return;
    case Qt::Key_Escape: tool->OnEscUp(); return;
    case Qt::Key_Space: tool->OnSpaceUp(); return;
    case Qt::Key_PageUp: tool->OnPageUpUp(); return;
    case Qt::Key_PageDown: tool->OnPageDownUp(); return;
    case Qt::Key_End: tool->OnEndUp(); return;
    case Qt::Key_Delete: tool->OnDeleteUp(); return;
    case Qt::Key_F2: tool->OnF2Up(); return;
    case Qt::Key_F3: tool->OnF3Up(); return;
    case Qt::Key_F4: tool->OnF4Up(); return;
    case Qt::Key_F5: tool->OnF5Up(); return;
    case Qt::Key_F6: tool->OnF6Up(); return;
    case Qt::Key_F7: tool->OnF7Up(); return;
    case Qt::Key_F8: tool->OnF8Up(); return;
    case Qt::Key_F9: tool->OnF9Up(); return;
    case Qt::Key_F10: tool->OnF10Up(); return;
    case Qt::Key_F11: tool->OnF11Up(); return;
    case Qt::Key_F12: tool->OnF12Up(); return;
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down: return;
    default: break;
    }
    if ((event->modifiers() & Qt::KeypadModifier) && (key == Qt::Key_Plus || key == Qt::Key_Minus)) return;
    CEnrchSheetsBaseview::keyReleaseEvent(event);
}

// Panning an empty page would only lose it; a pending step may want to
// reach beyond the window.
bool CVEKView::CanPan() const
{
    QWidget* grabber = QWidget::mouseGrabber();
    if ((grabber && grabber != this) || !hasFocus()) return false;
    const CPageSet* ps = GetPageSet();
    return (ps && ps->GetPageCount() > 0 && ps->GetElementCount() > 0) || m_pCurrentTool->HasPendingStep();
}

void CVEKView::Pan(int dx, int dy)
{
    SetOrigin(m_ptOrigin.x + dx, m_ptOrigin.y + dy);
    ResendMouseMove();
    Invalidate(FALSE);
}

void CVEKView::ZoomAtCursor(double factor)
{
    const CRect rc = GetDrawingRect();
    CPoint p = m_mouseInside ? CPoint(m_lastMouse.x(), m_lastMouse.y()) : rc.CenterPoint();
    if (!rc.PtInRect(p)) p = rc.CenterPoint();
    const CPoint m = m_zoomAnchor.PointAt(p, DeviceToModelPoint(p.x, p.y));
    // A held key zooms faster than a page of many fills paints: what the
    // view showed is shown scaled until the steps stop.
    if (m_pageImageValid) m_zoomPreview->Step(m_pageImage, m_imageScale, m_imageOrigin);
    ZoomAbout(factor, m, p);
    m_pageImageValid = false;
    update();
}

// --- Pages of the tab bar ---------------------------------------------------------

void CVEKView::OnSheetSelected(int oldNumber, int newNumber)
{
    CEnrchSheetsBaseview::OnSheetSelected(oldNumber, newNumber);
    CPageSet* ps = GetPageSet();
    if (m_syncingSheets || !ps) return;
    if (newNumber >= 1 && newNumber <= ps->GetPageCount()) ps->SetCurrentPageIndex(newNumber - 1);
    m_pCurrentTool->Reset();
    if (m_bRefocus) setFocus(Qt::OtherFocusReason);
    Invalidate(FALSE);
}

void CVEKView::OnSheetInserted(int a, int where)
{
    CEnrchSheetsBaseview::OnSheetInserted(a, where);
    CPageSet* ps = GetPageSet();
    if (!m_syncingSheets && ps && ps->GetPageCount() < GetSheetCount()) {
        const int current = ps->GetCurrentPageIndex();
        if (where == 1 && a >= 1) {
            TakeInsertStep();
            ps->InsertPage(a - 1);
            if (a - 1 <= current) ps->SetCurrentPageIndex(current + 1);
        } else if (where == 2) {
            TakeInsertStep();
            ps->InsertPage(a);
            if (a - 1 < current) ps->SetCurrentPageIndex(current + 1);
        }
    }
    Invalidate(FALSE);
}

void CVEKView::InsertSheetAfterInStep(int index)
{
    m_insertInCallersStep = true;
    InsertSheetAfter(index);
    m_insertInCallersStep = false;
}

// A page of its own is one undo step; in a caller's step the page is that
// step's change (committing a held step), so it still marks the document.
void CVEKView::TakeInsertStep()
{
    if (!m_insertInCallersStep)
        m_doc->SaveUndoState();
    else if (!m_doc->CommitUndoStep())
        m_doc->SetModifiedFlag(true);
}

void CVEKView::OnSheetDeleted(int a)
{
    CEnrchSheetsBaseview::OnSheetDeleted(a);
    CPageSet* ps = GetPageSet();
    if (m_syncingSheets || !ps || a < 1 || a > ps->GetPageCount()) return;
    // The tool may hold elements of the page that goes.
    m_pCurrentTool->Reset();
    if (COleSelection* ole = OleTool()) ole->SetElement(nullptr);
    m_doc->SaveUndoState();
    ps->RemovePage(a - 1);
    if (ps->GetCurrentPageIndex() >= ps->GetPageCount()) ps->SetCurrentPageIndex(ps->GetPageCount() - 1);
    Invalidate(FALSE);
}

void CVEKView::SyncPageTabs()
{
    SyncSheetsWithPages();
}

void CVEKView::SyncSheetsWithPages()
{
    const CPageSet* ps = GetPageSet();
    if (!ps) return;
    m_syncingSheets = true;
    // All tabs at once: tab by tab, every tab would be measured again for
    // each page added.
    SetSheetCount(ps->GetPageCount());
    SetCurrentSheet(ps->GetCurrentPageIndex() + 1);
    m_syncingSheets = false;
}

// New and open clear both snapshot lists, undo and redo always leave one of
// them filled: only a new content is fitted into the window, an undone or
// redone one stays where the user looked.
void CVEKView::OnContentReplaced()
{
    if (COleSelection* ole = OleTool()) ole->SetElement(nullptr);
    ResetCurrentTool();
    SyncSheetsWithPages();
    if (m_doc && !m_doc->CanUndo() && !m_doc->CanRedo()) ZoomToFitPage();
    Invalidate();
}

// --- Painting ---------------------------------------------------------------------

void CVEKView::Invalidate(BOOL)
{
    m_zoomPreview->End();
    m_pageImageValid = false;
    update();
}

void CVEKView::InvalidateFeedback()
{
    update();
}

void CVEKView::ShowStatusPrompt(const QString& text)
{
    m_statusPrompt = text;
    Q_EMIT StatusPromptChanged(text);
}

void CVEKView::DrawPage(CDC& dc, double scale, int originX, int originY, const CRect& drawRect) const
{
    const CSystemSettings& s = Settings();
    const CPageSet* ps = GetPageSet();
    if (!ps) return;

    dc.SelectPen({PS_SOLID, 1, s.m_crOutsidePaperColor});
    dc.SelectBrush(CBrush::Solid(s.m_crOutsidePaperColor));
    dc.Rectangle(drawRect.left, drawRect.top, drawRect.right, drawRect.bottom);

    // The paper, clamped to the image; where it runs past the window its
    // outline lies on the window's edge.
    const CSize paper = ps->GetPaperSize();
    CPoint tl = ::ModelToDevicePoint(0, 0, scale, originX, originY);
    CPoint br = ::ModelToDevicePoint(paper.cx, paper.cy, scale, originX, originY);
    tl.x = std::max(tl.x, 0);
    tl.y = std::max(tl.y, 0);
    br.x = std::min(br.x, drawRect.right);
    br.y = std::min(br.y, drawRect.bottom);
    dc.SelectPen({PS_SOLID, 1, s.m_crPaperColor});
    dc.SelectBrush(CBrush::Solid(s.m_crPaperColor));
    dc.Rectangle(tl.x, tl.y, br.x, br.y);
    dc.SelectPen({PS_SOLID, 1, kBlack});
    OutlineBox(dc, tl.x, tl.y, br.x, br.y);

    int top, bottom, left, right;
    ps->GetMargins(top, bottom, left, right);
    if (top != 0 || bottom != 0 || left != 0 || right != 0) {
        const CPoint m0 = ::ModelToDevicePoint(left, top, scale, originX, originY);
        const CPoint m1 = ::ModelToDevicePoint(paper.cx - right, paper.cy - bottom, scale, originX, originY);
        dc.SelectPen({PS_SOLID, 1, s.m_crMarginFrameColor});
        OutlineBox(dc, m0.x, m0.y, m1.x, m1.y);
    }

    if (ps->GetPageCount() == 0) return;
    const int mode = dc.SetBkMode(TRANSPARENT);
    ps->DrawPage(std::clamp(ps->GetCurrentPageIndex(), 0, ps->GetPageCount() - 1), &dc, scale, originX, originY,
                 drawRect);
    dc.SetBkMode(mode);
}

const QImage& CVEKView::PageImage(const CRect& drawRect)
{
    const CPageSet* ps = GetPageSet();
    const QSize size(std::max(drawRect.right, 1), std::max(drawRect.bottom, 1));
    if (m_zoomPreview->IsActive()) {
        m_previewImage = m_zoomPreview->Compose(size, m_dScale, m_ptOrigin, ToQColor(Settings().m_crOutsidePaperColor));
        return m_previewImage;
    }
    const bool same = m_pageImageValid && m_pageImage.size() == size && m_imageScale == m_dScale &&
                      m_imageOrigin == m_ptOrigin && m_imagePageSet == ps &&
                      m_imagePage == ps->GetCurrentPageIndex();
    if (same) return m_pageImage;
    if (m_pageImage.size() != size) m_pageImage = QImage(size, QImage::Format_RGB32);
    {
        QPainter painter(&m_pageImage);
        CDC dc(&painter);
        DrawPage(dc, m_dScale, m_ptOrigin.x, m_ptOrigin.y, drawRect);
    }
    m_pageImageValid = true;
    m_imageScale = m_dScale;
    m_imageOrigin = m_ptOrigin;
    m_imagePageSet = ps;
    m_imagePage = ps->GetCurrentPageIndex();
    return m_pageImage;
}

void CVEKView::paintEvent(QPaintEvent*)
{
    const CSystemSettings& s = Settings();
    QPainter painter(this);
    const CRect rc = GetDrawingRect();
    if (!GetPageSet()) {
        // Nothing to show; the background keeps the window from showing
        // stale pixels.
        painter.fillRect(rect(), ToQColor(s.m_crOutsidePaperColor));
        return;
    }
    painter.drawImage(0, 0, PageImage(rc));
    painter.setClipRect(QRect(rc.left, rc.top, rc.Width(), rc.Height()));

    CDC dc(&painter);
    dc.SelectPen({PS_SOLID, 1, s.m_crPromptColor1});
    dc.SelectBrush(CBrush::Solid(s.m_crPromptColor1));
    dc.SetTextColor(s.m_crPromptColor1);
    dc.SetBkMode(TRANSPARENT);
    const CRect clip = DeviceToModelRect(rc.left, rc.top, rc.right, rc.bottom, m_dScale, m_ptOrigin.x, m_ptOrigin.y);
    m_pCurrentTool->Draw(&dc, m_dScale, m_ptOrigin.x, m_ptOrigin.y, clip);
}

// --- Embedded objects ---------------------------------------------------------------
// The object tool selects, drags and deletes; the view answers for it in
// its commands and shows its menu and cursors.

bool CVEKView::IsOleToolCurrent() const
{
    return m_pCurrentTool == GetTool(kOleItemTool);
}

COleSelection* CVEKView::OleTool() const
{
    return dynamic_cast<COleSelection*>(GetTool(kOleItemTool));
}

COleObjectElement* CVEKView::GetSelection() const
{
    const COleSelection* ole = OleTool();
    return ole ? ole->GetElement() : nullptr;
}

BOOL CVEKView::IsSelected(const COleObjectElement* element) const
{
    return element && element == GetSelection() ? TRUE : FALSE;
}

const CRectTracker& CVEKView::GetTracker() const
{
    static const CRectTracker none;
    const COleSelection* ole = OleTool();
    return ole ? ole->GetTracker() : none;
}

bool CVEKView::CanEditOleSelection() const
{
    return IsOleToolCurrent() && GetSelection() != nullptr;
}

void CVEKView::OnOleDelete()
{
    if (COleSelection* ole = OleTool()) ole->DeleteSelection();
}

void CVEKView::OnOleSaveData()
{
    if (COleSelection* ole = OleTool()) ole->SaveSelectionData();
}

void CVEKView::ShowOleContextMenu(const CPoint& device)
{
    UpdateCommandActions();
    if (!m_oleMenu) {
        m_oleMenu = new QMenu(this);
        m_oleMenu->addAction(CommandAction(int(ID_OLE_DELETE)));
        m_oleMenu->addAction(CommandAction(int(ID_OLE_SAVE_DATA)));
    }
    m_oleMenu->popup(mapToGlobal(QPoint(device.x, device.y)));
}

void CVEKView::ShowTrackerCursor(int hit)
{
    if (hit != CRectTracker::hitNothing) {
        setCursor(CRectTracker::CursorOfHit(hit));
        m_oleCursorShown = true;
    } else if (m_oleCursorShown) {
        setCursor(CursorOfId(m_nToolCursorId));
        m_oleCursorShown = false;
    }
}
