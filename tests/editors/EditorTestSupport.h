// Helpers of the select tool, text, picture and editor tests: the curve
// tests' view at 10 page units per pixel, pictures and texts put on the
// page as if made earlier, presses and drags with the button held, and the
// dialogs of the tools answered by script.
#pragma once

#include "tests/tools/CurveTestSupport.h"

#include "editors/CVTModifyText.h"
#include "model/CImageElement.h"
#include "model/CTextElement.h"
#include "tools/CVTInsertPicture.h"

#include <QColor>
#include <QImage>

#include <array>
#include <deque>
#include <string>

// Wordings the edit-text dialog "answers" in turn: a wording is OK with
// that text, the marker kCancel is Cancel. What the dialog was opened
// with is recorded.
struct ScriptedWording {
    static constexpr const char* kCancel = "\x01" "cancel";
    static std::deque<std::string>& Answers()
    {
        static std::deque<std::string> answers;
        return answers;
    }
    static std::vector<std::string>& Shown()
    {
        static std::vector<std::string> shown;
        return shown;
    }
    static bool Ask(QWidget*, std::string& text)
    {
        Shown().push_back(text);
        if (Answers().empty()) return false;
        const std::string answer = Answers().front();
        Answers().pop_front();
        if (answer == kCancel) return false;
        text = answer;
        return true;
    }
};

class EditorViewFixture : public CurveViewFixture {
protected:
    using Corners = std::array<CPoint, 4>;

    void SetUp() override
    {
        CurveViewFixture::SetUp();
        ScriptedWording::Answers().clear();
        ScriptedWording::Shown().clear();
        CVTModifyText::SetWordingDialog(&ScriptedWording::Ask);
    }
    void TearDown() override
    {
        CVTModifyText::SetWordingDialog(nullptr);
        CVTInsertPicture::SetFileChooser(nullptr);
    }

    // The left button goes down (or up) where the mouse is, with the keys.
    void Press(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton, modifiers);
    }
    void Release(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    // Press at `from`, move there in steps with the button held, release.
    void Drag(const CPoint& from, const CPoint& to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        MoveTo(from.x, from.y, modifiers);
        Press(from.x, from.y, modifiers);
        for (int i = 1; i <= 4; ++i)
            MoveTo(from.x + (to.x - from.x) * i / 4, from.y + (to.y - from.y) * i / 4, modifiers, Qt::LeftButton);
        Release(to.x, to.y, modifiers);
    }
    void DoubleClick(int x, int y)
    {
        MoveTo(x, y);
        Press(x, y);
        Release(x, y);
        Mouse(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        Release(x, y);
    }

    static QImage Solid(int w, int h, QColor colour)
    {
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(colour);
        return image;
    }

    CImageElement* AddPicture(const Corners& c, QColor colour = QColor(0, 0, 255))
    {
        auto* picture = new CImageElement(Page(), Page()->GetMaxLevel());
        CPixelBlock pixels(Solid(60, 40, colour));
        picture->SetBitmapCopy(&pixels);
        picture->SetUpperLeft(c[0].x, c[0].y);
        picture->SetUpperRight(c[1].x, c[1].y);
        picture->SetLowerRight(c[2].x, c[2].y);
        picture->SetLowerLeft(c[3].x, c[3].y);
        Pages().AddElementToPage(picture);
        view->Invalidate();
        return picture;
    }
    static Corners CornersOf(const CImageElement* p)
    {
        return {p->GetUpperLeft(), p->GetUpperRight(), p->GetLowerRight(), p->GetLowerLeft()};
    }

    static LogFont TextFont(int height = -400, int escapement = 0)
    {
        LogFont lf = Settings().m_lfDefaultFont;
        lf.lfHeight = height;
        lf.lfEscapement = escapement;
        return lf;
    }
    // A text whose box is put on the four points given (origin, corner 2,
    // corner 4, corner 3), so the handles lie where a test wants them.
    CTextElement* AddText(const std::string& wording, const Corners& box, int escapement = 0,
                          COLORREF colour = RGB(0, 0, 0))
    {
        auto* text = new CTextElement(Page(), Page()->GetMaxLevel(),
                                      CTextFont(wording, TextFont(-400, escapement), colour), box[0].x, box[0].y,
                                      TRANSPARENT);
        text->SetCorners(box[0], box[1], box[2], box[3]);
        Pages().AddElementToPage(text);
        view->Invalidate();
        return text;
    }
    static Corners BoxOf(CTextElement* t)
    {
        Corners c;
        t->GetCorners(c[0], c[1], c[2], c[3]);
        return c;
    }

    // Whether the page image shows `colour` at the page point.
    bool ColourAt(const QImage& image, int x, int y, QColor colour, int tolerance = 40)
    {
        const QPoint d = Device(x, y);
        if (!image.rect().contains(d)) return false;
        const QColor c = image.pixelColor(d);
        return std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance &&
               std::abs(c.blue() - colour.blue()) <= tolerance;
    }
};

inline std::ostream& operator<<(std::ostream& os, const CPoint& p)
{
    return os << "(" << p.x << ", " << p.y << ")";
}
