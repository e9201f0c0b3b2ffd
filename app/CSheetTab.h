// One tab of the page-tab bar: its page number and where it lies in the bar.
#pragma once

#include "platform/Types.h"

#include <QPolygon>
#include <QString>

class QFontMetrics;

class CSheetTab {
public:
    CSheetTab(int number, const CRect& rect) : m_nNumber(number), m_rect(rect) {}

    int GetNumber() const { return m_nNumber; }
    void SetNumber(int number) { m_nNumber = number; }
    const CRect& GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }
    void Offset(int dx) { m_rect.OffsetRect(dx, 0); }
    int Width() const { return m_rect.Width(); }

    // "页面 %d" with the page number.
    QString GetCaption() const;
    // The caption's width plus room on both sides for the slanted edges.
    static int WidthFor(const QString& caption, const QFontMetrics& metrics);

    // The trapezoid the tab is drawn as: narrow at the bottom, wide at the top.
    QPolygon GetShape() const;
    // Whether a point of the bar lies inside the trapezoid.
    bool HitTest(const CPoint& point) const;

private:
    int m_nNumber;
    CRect m_rect;
};
