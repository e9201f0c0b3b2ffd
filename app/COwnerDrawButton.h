// A flat push button that shows an icon and optional text and lights up
// while the mouse is over it. Clicking it reports its command id.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class COwnerDrawButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit COwnerDrawButton(QWidget* parent = nullptr);
    COwnerDrawButton(const QString& caption, int commandId, QWidget* parent);

    int GetCommandId() const { return m_nCommandId; }

    // Loads the icons by resource number; the normal icon is the hover icon
    // when normalId is 0. width x height is the icon's natural size; it is
    // shrunk to fit a smaller button. Repaints at once.
    void SetIcon(int hoverId, int normalId, int width, int height);
    int GetHoverIconId() const { return m_nHoverIconId; }
    // The resource path of an icon number.
    static QString IconPath(int id);


    QSize sizeHint() const override;

Q_SIGNALS:
    void Command(int commandId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void SetMouseOver(bool over);
    QRect IconRect(const QRect& item, bool withText) const;

    int m_nCommandId = 0;
    int m_nHoverIconId = 0;
    bool m_bMouseOver = false;
    QPixmap m_hoverIcon;
    QPixmap m_normalIcon;
    QSize m_iconSize;
};
