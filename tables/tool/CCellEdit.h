// The in-cell edit box: the multi-line edit that the table editing tool
// lays over the current cell, so that the user types straight into the
// table. It shows the cell's text in the cell's font (scaled to the view),
// colours and alignment, draws the cell's diagonals over itself, passes
// the mouse on to the view so that the tool keeps working while the
// pointer is over it, and turns the arrow keys at the edges of its text,
// and Tab, into moves to the neighbouring cells. Esc gives the cell back
// its text and the keyboard to the view.
//
// It is a child of the editing view, hidden until a cell is edited. The
// tool reads and writes its text (GBK with CR LF line breaks, as the
// model keeps it) and attributes, and writes them into the cell when it
// commits.
#pragma once

#include "platform/LogFont.h"
#include "platform/Types.h"

#include <QEvent>
#include <QTextEdit>

#include <string>

class CVTModifyTable;

class CCellEdit : public QTextEdit {
    Q_OBJECT
public:
    // A background of this colour lets the page show through.
    static constexpr COLORREF kTransparent = 0xFFFFFFFF;
    static constexpr int kCursor = 197;

    struct Diagonal {
        bool present = false;
        COLORREF colour = 0;
        int width = 0; // page units
        bool operator==(const Diagonal& o) const
        {
            return present == o.present && colour == o.colour && width == o.width;
        }
        bool operator!=(const Diagonal& o) const { return !(*this == o); }
    };

    // What the box carries into its cell.
    struct Contents {
        std::string text;
        COLORREF textColour = 0;
        COLORREF backColour = 0;
        int alignment = 0;
        LogFont font;
        Diagonal diagonal1;
        Diagonal diagonal2;
        // Equal when they would make the same cell: an absent diagonal's
        // colour and width are only what it would take if added.
        bool operator==(const Contents& o) const;
        bool operator!=(const Contents& o) const { return !(*this == o); }
    };

    CCellEdit(CVTModifyTable* tool, QWidget* view);
    ~CCellEdit() override;

    // The box shows the text with its line breaks as lines; bytes that
    // are no GBK show as replacement characters.
    void SetModelText(const std::string& gbkText);
    // What the box was given, byte for byte, while its text is as shown
    // then: showing a text is no change of it, whatever its line breaks
    // or bytes. Once the text is edited, it is encoded again (GBK, CR LF).
    std::string GetModelText() const;

    void SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return m_textColor; }
    void SetBackColor(COLORREF colour);
    COLORREF GetBackColor() const { return m_backColor; }
    // 0-8; the box shows the horizontal part (index mod 3) and reports the
    // index as set. Indices above 8 are refused.
    void SetAlignment(int index);
    int GetAlignment() const { return m_alignment; }
    // The description in page units; the box draws it at the scale.
    void SetCellFont(const LogFont& font, double scale);
    void SetScale(double scale);
    double GetScale() const { return m_scale; }
    const LogFont& GetCellFont() const { return m_font; }
    // The first runs from the top-left to the bottom-right corner, the
    // second from the bottom-left to the top-right corner.
    void SetDiagonal1(bool present, COLORREF colour, int width);
    void SetDiagonal2(bool present, COLORREF colour, int width);
    const Diagonal& GetDiagonal1() const { return m_diagonal1; }
    const Diagonal& GetDiagonal2() const { return m_diagonal2; }
    Contents GetContents() const;

protected:
    static bool IsUndoOrRedo(const QKeyEvent* key);
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyColors();
    void ApplyFont();
    void DrawDiagonals();
    QWidget* View() const { return parentWidget(); }
    // The event passed on to the view at the same place.
    void SendMouseToView(QMouseEvent* event, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons);
    bool MoveAtEdge(int key);

    CVTModifyTable* m_tool;
    // The text as the model gave it and as the box then showed it.
    std::string m_givenText;
    QString m_shownText;
    COLORREF m_textColor = 0;
    COLORREF m_backColor = RGB(255, 255, 255);
    LogFont m_font;
    LogFont m_screenFont;
    int m_alignment = 0;
    Diagonal m_diagonal1;
    Diagonal m_diagonal2;
    double m_scale = 1.0;
};
