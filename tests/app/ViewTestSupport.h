// Helpers of the view and zoom tool tests: a document with a view of a
// known size, synthesized input, a tool that logs what reaches it and an
// element that fills its rectangle.
#pragma once

#include "app/CDesignTool.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"

#include "geometry/Mapping.h"
#include "model/CGraphElement.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <memory>
#include <string>
#include <vector>

// Logs every call that reaches it as "name:Operation args".
class SpyTool : public CDesignTool {
public:
    SpyTool(CVEKView* view, std::string name, std::vector<std::string>* log)
        : CDesignTool(view), m_name(std::move(name)), m_log(log)
    {
    }
    bool pending = false;

    void Activate() override { Log("Activate"); }
    void Deactivate() override { Log("Deactivate"); }
    void Reset() override { Log("Reset"); }
    BOOL OnTabDown() override { return Log("TabDown"); }
    BOOL OnReturnDown() override { return Log("ReturnDown"); }
    BOOL OnShiftDown() override { return Log("ShiftDown"); }
    BOOL OnShiftUp() override { return Log("ShiftUp"); }
    BOOL OnSpaceDown() override { return Log("SpaceDown"); }
    BOOL OnSpaceUp() override { return Log("SpaceUp"); }
    BOOL OnDigitDown(char digit) override { return Log(std::string("DigitDown ") + digit); }
    BOOL OnDigitUp(char digit) override { return Log(std::string("DigitUp ") + digit); }
    BOOL OnF5Down() override { return Log("F5Down"); }
    BOOL OnF5Up() override { return Log("F5Up"); }
    BOOL OnPageDownDown() override { return Log("PageDownDown"); }
    BOOL OnLButtonDown(UINT flags, int x, int y) override { return Log("LDown", flags, x, y); }
    BOOL OnLButtonUp(UINT flags, int x, int y) override { return Log("LUp", flags, x, y); }
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override { return Log("LDblClk", flags, x, y); }
    BOOL OnRButtonDown(UINT flags, int x, int y) override { return Log("RDown", flags, x, y); }
    BOOL OnRButtonUp(UINT flags, int x, int y) override { return Log("RUp", flags, x, y); }
    BOOL OnMouseMove(UINT flags, int x, int y) override { return Log("Move", flags, x, y); }
    void Cancel() override { Log("Cancel"); }
    BOOL UndoStep() override { return Log("UndoStep"); }
    BOOL HasPendingStep() override { return pending ? TRUE : FALSE; }
    void OnEscUp() override { Log("EscUp"); }

private:
    BOOL Log(const std::string& what)
    {
        m_log->push_back(m_name + ":" + what);
        return TRUE;
    }
    BOOL Log(const char* what, UINT flags, int x, int y)
    {
        return Log(std::string(what) + " " + std::to_string(flags) + " " + std::to_string(x) + " " +
                   std::to_string(y));
    }
    std::string m_name;
    std::vector<std::string>* m_log;
};

// An element that fills its rectangle with one colour. It claims no kind:
// the model casts elements by their kind, and this is none of them.
class BoxElement : public CGraphElement {
public:
    BoxElement(CPage* page, const CRect& rect, COLORREF colour)
        : CGraphElement(page, 0, 0), m_rect(rect), m_colour(colour)
    {
    }
    CRect GetBoundRect() override { return m_rect; }
    void RecalcGeometry() override { ClearBoundsDirty(); }
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect&) override
    {
        ++drawCount;
        dc->FillSolidRect(ModelToDeviceRect(m_rect.left, m_rect.top, m_rect.right, m_rect.bottom, scale,
                                            originX, originY),
                          m_colour);
    }
    int ContainsPoint(int x, int y) override { return m_rect.PtInRect(CPoint(x, y)) ? 1 : 0; }
    int drawCount = 0;

private:
    CRect m_rect;
    COLORREF m_colour;
};

inline void SendMouse(QWidget& w, QEvent::Type type, QPoint p, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    Qt::MouseButtons buttons = button;
    if (type == QEvent::MouseButtonRelease) buttons = Qt::NoButton;
    if (type == QEvent::MouseMove) button = Qt::NoButton;
    QMouseEvent e(type, QPointF(p), w.mapToGlobal(QPointF(p)), button, buttons, modifiers);
    QCoreApplication::sendEvent(&w, &e);
}

inline void Click(QWidget& w, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonPress, p, button, modifiers);
    SendMouse(w, QEvent::MouseButtonRelease, p, button, modifiers);
}

inline void Move(QWidget& w, QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, modifiers);
}

inline void SendKey(QWidget& w, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    bool autoRepeat = false)
{
    QKeyEvent e(type, key, modifiers, QString(), autoRepeat);
    QCoreApplication::sendEvent(&w, &e);
}

inline void SendWheel(QWidget& w, QPoint p, int delta)
{
    QWheelEvent e(QPointF(p), w.mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&w, &e);
}

inline QImage Render(QWidget& w)
{
    QImage image(w.size(), QImage::Format_RGB32);
    w.render(&image);
    return image;
}

inline COLORREF PixelAt(const QImage& image, int x, int y)
{
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

// A new document of one A4 page and a view with a drawing area of a known
// size, shown and holding the keyboard focus.
class ViewFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        Settings().SetDefaults();
        ASSERT_TRUE(doc.OnNewDocument());
        view = std::make_unique<CVEKView>(&doc, CToolTable());
        view->resize(700, 500);
        view->show();
        view->activateWindow();
        view->setFocus();
        QApplication::processEvents();
        drawRect = view->GetDrawingRect();
    }

    CPageSet& Pages() { return *doc.GetPageSet(); }

    // Puts a logging tool into the table at `index`.
    SpyTool* Spy(int index, const std::string& name)
    {
        auto spy = std::make_unique<SpyTool>(view.get(), name, &log);
        SpyTool* raw = spy.get();
        view->ReplaceTool(index, std::move(spy));
        return raw;
    }

    BoxElement* AddBox(const CRect& rect, COLORREF colour)
    {
        auto* box = new BoxElement(Pages().GetCurrentPage(), rect, colour);
        Pages().AddElementToPage(box);
        view->Invalidate();
        return box;
    }

    QTemporaryDir home;
    CVEKDoc doc;
    std::unique_ptr<CVEKView> view;
    CRect drawRect;
    std::vector<std::string> log;
};
