#include "app/COwnerDrawButton.h"

#include <QEnterEvent>
#include <QPainter>
#include <QStyleOption>

COwnerDrawButton::COwnerDrawButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this]() { Q_EMIT Command(m_nCommandId); });
}

COwnerDrawButton::COwnerDrawButton(const QString& caption, int commandId, QWidget* parent)
    : COwnerDrawButton(parent)
{
    setText(caption);
    m_nCommandId = commandId;
}

QString COwnerDrawButton::IconPath(int id)
{
    return QStringLiteral(":/icons/%1.png").arg(id);
}

void COwnerDrawButton::SetIcon(int hoverId, int normalId, int width, int height)
{
    m_nHoverIconId = hoverId;
    m_hoverIcon = QPixmap(IconPath(hoverId));
    m_normalIcon = normalId != 0 ? QPixmap(IconPath(normalId)) : m_hoverIcon;
    m_iconSize = QSize(width, height);
    repaint();
}

QSize COwnerDrawButton::sizeHint() const
{
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
    return QSize(m_iconSize.width() + textSize.width() + 8, std::max(m_iconSize.height(), textSize.height()) + 4);
}

void COwnerDrawButton::enterEvent(QEnterEvent* event)
{
    QAbstractButton::enterEvent(event);
    SetMouseOver(true);
}

void COwnerDrawButton::leaveEvent(QEvent* event)
{
    QAbstractButton::leaveEvent(event);
    // With the left button held the press stays lit until it is released.
    if (!isDown()) SetMouseOver(false);
}

void COwnerDrawButton::focusOutEvent(QFocusEvent* event)
{
    QAbstractButton::focusOutEvent(event);
    SetMouseOver(false);
}

void COwnerDrawButton::SetMouseOver(bool over)
{
    if (m_bMouseOver == over) return;
    m_bMouseOver = over;
    update();
}

QRect COwnerDrawButton::IconRect(const QRect& item, bool withText) const
{
    // Icons larger than the button shrink to fit, keeping their proportions.
    QSize size = m_iconSize.isEmpty() ? m_hoverIcon.size() : m_iconSize;
    size = size.scaled(size.boundedTo(item.size()), Qt::KeepAspectRatio);
    const int top = item.top() + (item.height() - size.height()) / 2;
    const int left = withText ? item.left() + 3 : item.left() + (item.width() - size.width()) / 2;
    return QRect(QPoint(left, top), size);
}

void COwnerDrawButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    const bool pressed = isDown();
    const QRect item = rect();
    painter.fillRect(item, pal.color(QPalette::Button));

    if (pressed || m_bMouseOver) {
        const QColor topLeft = pressed ? pal.color(QPalette::Dark) : pal.color(QPalette::Light);
        const QColor bottomRight = pressed ? pal.color(QPalette::Light) : pal.color(QPalette::Dark);
        painter.setPen(topLeft);
        painter.drawLine(item.topLeft(), item.topRight());
        painter.drawLine(item.topLeft(), item.bottomLeft());
        painter.setPen(bottomRight);
        painter.drawLine(item.bottomLeft(), item.bottomRight());
        painter.drawLine(item.topRight(), item.bottomRight());
    }

    const int shift = pressed ? 1 : 0;
    QRect textRect = item;
    if (!m_hoverIcon.isNull()) {
        QRect iconRect = IconRect(item, !text().isEmpty()).translated(shift, shift);
        const QPixmap& icon = (m_bMouseOver || pressed) ? m_hoverIcon : m_normalIcon;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (isEnabled()) {
            painter.drawPixmap(iconRect, icon);
        } else {
            QStyleOption option;
            option.initFrom(this);
            painter.drawPixmap(iconRect, style()->generatedIconPixmap(QIcon::Disabled, icon, &option));
        }
        if (!text().isEmpty()) textRect.setLeft(iconRect.right() + 1 + 3);
    }
    if (!text().isEmpty()) {
        painter.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(textRect.translated(shift, shift), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
}
