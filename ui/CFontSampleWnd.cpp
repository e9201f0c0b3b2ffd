#include "ui/CFontSampleWnd.h"

#include <QFontMetrics>
#include <QPainter>

CFontSampleWnd::CFontSampleWnd(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    resize(0, 0);
}

void CFontSampleWnd::ShowSample(int x, int y, const QString& text)
{
    if (text == m_sampleText && isVisible()) return;
    m_sampleText = text;
    m_sampleFont = QFont(text);
    m_sampleFont.setPixelSize(kSampleHeight);
    const QFontMetrics metrics(m_sampleFont);
    resize(metrics.horizontalAdvance(text) + kPadding, metrics.height() + kPadding);
    move(x, y);
    show();
    update();
}

void CFontSampleWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    p.setPen(palette().color(QPalette::ToolTipText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setFont(m_sampleFont);
    p.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_sampleText);
}
