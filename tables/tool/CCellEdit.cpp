#include "tables/tool/CCellEdit.h"

#include "tables/tool/CVTModifyTable.h"

#include "app/ToolCursors.h"

#include "geometry/Distance.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

// Font heights the screen can draw, in pixels.
constexpr int kMaxFontPixels = 32000;

int ScaledFontSize(int size, double scale)
{
    if (size == 0) return 0;
    const int scaled = std::clamp(RoundToInt(size / scale), -kMaxFontPixels, kMaxFontPixels);
    if (scaled == 0) return size < 0 ? -1 : 1;
    return scaled;
}

} // namespace

CCellEdit::CCellEdit(CVTModifyTable* tool, QWidget* view) : QTextEdit(view), m_tool(tool)
{
    setObjectName(QStringLiteral("1"));
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setTabChangesFocus(false);
    document()->setDocumentMargin(0);
    setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    setMouseTracking(true);
    viewport()->setCursor(CursorOfId(kCursor));
    const QPalette system = QApplication::palette();
    const QColor text = system.color(QPalette::Text);
    const QColor base = system.color(QPalette::Base);
    m_textColor = RGB(text.red(), text.green(), text.blue());
    m_backColor = RGB(base.red(), base.green(), base.blue());
    ApplyColors();
    setGeometry(0, 0, 200, 200);
}

CCellEdit::~CCellEdit() = default;

// --- Text ---------------------------------------------------------------------------------

void CCellEdit::SetModelText(const std::string& gbkText)
{
    QString text = GbkToQString(gbkText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setPlainText(text);
    m_givenText = gbkText;
    m_shownText = toPlainText();
}

std::string CCellEdit::GetModelText() const
{
    QString text = toPlainText();
    if (text == m_shownText) return m_givenText;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return QStringToGbk(text);
}

// --- Attributes ---------------------------------------------------------------------------

namespace {

bool SameDiagonal(const CCellEdit::Diagonal& a, const CCellEdit::Diagonal& b)
{
    return a.present == b.present && (!a.present || a == b);
}

} // namespace

bool CCellEdit::Contents::operator==(const Contents& o) const
{
    return text == o.text && textColour == o.textColour && backColour == o.backColour && alignment == o.alignment &&
           font == o.font && SameDiagonal(diagonal1, o.diagonal1) && SameDiagonal(diagonal2, o.diagonal2);
}

CCellEdit::Contents CCellEdit::GetContents() const
{
    return {GetModelText(), m_textColor, m_backColor, m_alignment, m_font, m_diagonal1, m_diagonal2};
}

void CCellEdit::SetTextColor(COLORREF colour)
{
    m_textColor = colour;
    ApplyColors();
}

void CCellEdit::SetBackColor(COLORREF colour)
{
    m_backColor = colour;
    ApplyColors();
}

void CCellEdit::ApplyColors()
{
    QPalette pal = palette();
    const QColor text = ToQColor(m_textColor);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::WindowText, text);
    const bool transparent = m_backColor == kTransparent;
    pal.setColor(QPalette::Base, transparent ? QColor(Qt::transparent) : ToQColor(m_backColor));
    setPalette(pal);
    viewport()->setAutoFillBackground(!transparent);
    viewport()->update();
}

void CCellEdit::SetAlignment(int index)
{
    if (index < 0 || index > 8) {
        QApplication::beep();
        return;
    }
    m_alignment = index;
    // The box can only align its lines across; the vertical part shows
    // when the cell is drawn.
    static const Qt::Alignment across[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(across[index % 3]);
    option.setWrapMode(QTextOption::WrapAnywhere);
    document()->setDefaultTextOption(option);
}

void CCellEdit::SetCellFont(const LogFont& font, double scale)
{
    m_font = font;
    if (scale > 0) m_scale = scale;
    ApplyFont();
}

void CCellEdit::SetScale(double scale)
{
    if (!(scale > 0) || scale == m_scale) return;
    m_scale = scale;
    ApplyFont();
}

void CCellEdit::ApplyFont()
{
    m_screenFont = m_font;
    m_screenFont.lfHeight = ScaledFontSize(m_font.lfHeight, m_scale);
    m_screenFont.lfWidth = ScaledFontSize(m_font.lfWidth, m_scale);
    m_screenFont.lfEscapement = 0;
    m_screenFont.lfOrientation = 0;
    const QFont qfont = MakeQFont(m_screenFont);
    setFont(qfont);
    document()->setDefaultFont(qfont);
    viewport()->update();
}

void CCellEdit::SetDiagonal1(bool present, COLORREF colour, int width)
{
    m_diagonal1 = {present, colour, width};
    viewport()->update();
}

void CCellEdit::SetDiagonal2(bool present, COLORREF colour, int width)
{
    m_diagonal2 = {present, colour, width};
    viewport()->update();
}

// --- Drawing ---------------------------------------------------------------------------------

void CCellEdit::paintEvent(QPaintEvent* event)
{
    QTextEdit::paintEvent(event);
    DrawDiagonals();
}

void CCellEdit::DrawDiagonals()
{
    if (!m_diagonal1.present && !m_diagonal2.present) return;
    QPainter painter(viewport());
    const QRect client = viewport()->rect();
    const int left = client.left();
    const int top = client.top();
    const int right = client.left() + client.width();
    const int bottom = client.top() + client.height();
    auto draw = [&](const Diagonal& d, const QPoint& from, const QPoint& to) {
        if (!d.present) return;
        const int pixels = std::max(1, RoundToInt(d.width / m_scale));
        painter.setPen(QPen(ToQColor(d.colour), pixels, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, to);
    };
    draw(m_diagonal1, QPoint(left - 2, top - 1), QPoint(right + 1, bottom + 2));
    draw(m_diagonal2, QPoint(left - 2, bottom + 2), QPoint(right + 1, top - 1));
}

// --- Keys ------------------------------------------------------------------------------------

// Esc belongs to the box while it has the keyboard: the window's cancel
// shortcut must not take it. Undo and Redo go the other way: they are the
// window's, whose Undo takes back what was typed in the box (through the
// table tool's pending step) before the document's steps; the box's own
// would leave an inserted row or a merge out of reach of the keyboard.
bool CCellEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            event->accept();
            return true;
        }
        if (IsUndoOrRedo(key)) {
            event->ignore();
            return true;
        }
    }
    return QTextEdit::event(event);
}

bool CCellEdit::IsUndoOrRedo(const QKeyEvent* key)
{
    const QKeyCombination pressed = key->keyCombination();
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           pressed == QKeyCombination(Qt::ControlModifier, Qt::Key_Z) ||
           pressed == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

void CCellEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        event->accept();
        if (!m_tool) return;
        if (key == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier))
            m_tool->MoveToLeftCell();
        else
            m_tool->MoveToRightCell();
        return;
    case Qt::Key_Escape:
        // The cell's own text comes back; the keyboard goes to the view.
        event->accept();
        if (m_tool) m_tool->RevertCellEdit();
        if (View()) View()->setFocus(Qt::OtherFocusReason);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const QTextCursor before = textCursor();
        QTextEdit::keyPressEvent(event);
        const QTextCursor after = textCursor();
        const bool atEdge = !before.hasSelection() && !after.hasSelection() && before.position() == after.position();
        if (atEdge && m_tool) MoveAtEdge(key);
        return;
    }
    default: QTextEdit::keyPressEvent(event); return;
    }
}

bool CCellEdit::MoveAtEdge(int key)
{
    switch (key) {
    case Qt::Key_Left: m_tool->MoveToLeftCell(); return true;
    case Qt::Key_Right: m_tool->MoveToRightCell(); return true;
    case Qt::Key_Up: m_tool->MoveToUpperCell(); return true;
    case Qt::Key_Down: m_tool->MoveToLowerCell(); return true;
    default: return false;
    }
}

// --- Mouse -----------------------------------------------------------------------------------

void CCellEdit::SendMouseToView(QMouseEvent* event, QEvent::Type type, Qt::MouseButton button,
                                Qt::MouseButtons buttons)
{
    QWidget* view = View();
    if (!view) return;
    const QPointF at = viewport()->mapTo(view, event->position());
    QMouseEvent passed(type, at, view->mapToGlobal(at), button, buttons, event->modifiers());
    QCoreApplication::sendEvent(view, &passed);
}

void CCellEdit::mousePressEvent(QMouseEvent* event)
{
    QTextEdit::mousePressEvent(event);
    // The right button reaches the view as the context menu (below).
    if (event->button() == Qt::LeftButton)
        SendMouseToView(event, QEvent::MouseButtonPress, event->button(), event->buttons());
}

void CCellEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        SendMouseToView(event, QEvent::MouseButtonRelease, event->button(), event->buttons());
}

void CCellEdit::mouseMoveEvent(QMouseEvent* event)
{
    viewport()->setCursor(CursorOfId(kCursor));
    SendMouseToView(event, QEvent::MouseMove, Qt::NoButton, event->buttons());
    QTextEdit::mouseMoveEvent(event);
}

void CCellEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTextEdit::mouseDoubleClickEvent(event);
}

void CCellEdit::wheelEvent(QWheelEvent* event)
{
    QWidget* view = View();
    if (!view) return;
    const QPointF at = viewport()->mapTo(view, event->position());
    QWheelEvent passed(at, view->mapToGlobal(at), event->pixelDelta(), event->angleDelta(), event->buttons(),
                       event->modifiers(), event->phase(), event->inverted());
    view->setFocus(Qt::OtherFocusReason);
    QCoreApplication::sendEvent(view, &passed);
    setFocus(Qt::OtherFocusReason);
    event->accept();
}

// The table menu of the editing tool, not the box's own.
void CCellEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QWidget* view = View();
    event->accept();
    if (!view) return;
    const QPointF at = view->mapFromGlobal(QPointF(event->globalPos()));
    QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      event->modifiers());
    QCoreApplication::sendEvent(view, &press);
}
