// Helpers of the curve, closed-curve, freehand and curve-editor tests: a
// document with a shown view at 10 page units per pixel, input sent to the
// view as a user gives it, and readers of the curves on the page.
#pragma once

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"

#include "geometry/Mapping.h"
#include "model/CClosedCurveElement.h"
#include "model/CCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <vector>

class CurveViewFixture : public ::testing::Test {
protected:
    // Page units per pixel: the capture radius of 15 pixels is 150 units.
    static constexpr double kScale = 10.0;

    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        Settings().SetDefaults();
        Settings().m_strBackupFile = home.filePath(QStringLiteral("backup.vek")).toStdString();
        ASSERT_TRUE(doc.OnNewDocument());
        view = std::make_unique<CVEKView>(&doc, *tools);
        view->resize(900, 700);
        view->show();
        view->activateWindow();
        view->setFocus();
        QApplication::processEvents();
        view->SetViewTransform(kScale, 0, 0);
    }

    // What the view is made from; a fixture may put other rows in before
    // SetUp.
    std::unique_ptr<CToolFactory> tools = std::make_unique<CToolTable>();

    CPageSet& Pages() { return *doc.GetPageSet(); }
    CPage* Page() { return Pages().GetCurrentPage(); }

    void SelectTool(int index) { view->OnToolCommand(view->CommandOfTool(index)); }
    template <class T>
    T* Tool(int index)
    {
        return dynamic_cast<T*>(view->GetTool(index));
    }

    QPoint Device(int x, int y) const
    {
        const CPoint d = view->ModelToDevicePoint(x, y);
        return QPoint(d.x, d.y);
    }

    void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers)
    {
        const QPoint p = Device(x, y);
        QMouseEvent e(type, QPointF(p), view->mapToGlobal(QPointF(p)), button, buttons, modifiers);
        QCoreApplication::sendEvent(view.get(), &e);
    }
    void MoveTo(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                Qt::MouseButtons buttons = Qt::NoButton)
    {
        Mouse(QEvent::MouseMove, x, y, Qt::NoButton, buttons, modifiers);
    }
    // A user's click: the mouse gets there, then the button goes down and up.
    void Click(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        MoveTo(x, y, modifiers);
        Mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton, modifiers);
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, Qt::NoButton, modifiers);
    }
    void RightClick(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        MoveTo(x, y, modifiers);
        Mouse(QEvent::MouseButtonPress, x, y, Qt::RightButton, Qt::RightButton, modifiers);
        Mouse(QEvent::MouseButtonRelease, x, y, Qt::RightButton, Qt::NoButton, modifiers);
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
    // A double click comes as a click, then the second press as a double
    // click, then its release.
    void DoubleClick(int x, int y)
    {
        MoveTo(x, y);
        Press(x, y);
        Release(x, y);
        Mouse(QEvent::MouseButtonDblClick, x, y, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        Release(x, y);
    }
    void KeyDown(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent e(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(view.get(), &e);
    }
    void KeyUp(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent e(QEvent::KeyRelease, key, modifiers);
        QCoreApplication::sendEvent(view.get(), &e);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        KeyDown(key, modifiers);
        KeyUp(key, modifiers);
    }
    void Shift()
    {
        KeyDown(Qt::Key_Shift, Qt::ShiftModifier);
        KeyUp(Qt::Key_Shift);
    }

    // The curves of the current page in list order.
    std::vector<CCurveElement*> Curves()
    {
        std::vector<CCurveElement*> curves;
        for (CGraphElement* e : Page()->Elements())
            if (e->GetType() == ELEMENT_CURVE) curves.push_back(static_cast<CCurveElement*>(e));
        return curves;
    }
    static std::vector<int> Kinds(const CCurveElement* curve)
    {
        std::vector<int> kinds;
        for (const CCurveNode* n : curve->Nodes()) kinds.push_back(n->GetKind());
        return kinds;
    }
    static std::vector<CPoint> Positions(const CCurveElement* curve)
    {
        std::vector<CPoint> points;
        for (const CCurveNode* n : curve->Nodes()) points.push_back(n->GetPosition());
        return points;
    }

    // A curve put on the page directly, as if drawn earlier.
    CCurveElement* AddCurve(std::initializer_list<CPoint> points, int closed,
                            std::initializer_list<int> kinds = {})
    {
        CCurveNodeList nodes;
        auto kind = kinds.begin();
        for (const CPoint& p : points) {
            auto* shared = new CSharedPoint(Page(), p.x, p.y);
            Page()->AddPoint(shared);
            nodes.AddTail(new CCurveNode(shared, kind != kinds.end() ? *kind++ : NODE_CORNER));
        }
        CCurveElement* curve = nullptr;
        if (closed)
            curve = new CClosedCurveElement(Page(), 0, CLineAttr(10), 0, nodes, nullptr);
        else
            curve = new COpenCurveElement(Page(), 0, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0);
        Pages().AddElementToPage(curve);
        view->Invalidate();
        return curve;
    }

    // The mirror image of `source` across the line through a and b, as the
    // symmetric tools make it: an open curve on mirrored shared points.
    COpenCurveElement* AddMirrorImage(CCurveElement* source, const CPoint& a, const CPoint& b)
    {
        auto* axis1 = new CSharedPoint(Page(), a.x, a.y);
        auto* axis2 = new CSharedPoint(Page(), b.x, b.y);
        Page()->AddPoint(axis1);
        Page()->AddPoint(axis2);
        CCurveNodeList nodes;
        for (CCurveNode* n : source->Nodes()) {
            auto* mirrored = new CSharedPoint(Page(), n->GetPoint(), axis1, axis2);
            Page()->AddPoint(mirrored);
            nodes.AddTail(new CCurveNode(mirrored, n->GetKind()));
        }
        auto* image = new COpenCurveElement(Page(), 0, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0, source);
        Pages().AddElementToPage(image);
        view->Invalidate();
        return image;
    }

    // The page as the view paints it, without any tool feedback.
    QImage RenderPage()
    {
        QImage image(view->size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        CDC dc(&painter);
        view->DrawPage(dc, view->GetScale(), view->GetOriginPoint().x, view->GetOriginPoint().y,
                       CRect(0, 0, image.width(), image.height()));
        return image;
    }
    // The view with the current tool's feedback on top.
    QImage RenderView()
    {
        QImage image(view->size(), QImage::Format_RGB32);
        view->render(&image);
        return image;
    }
    // Whether a pixel of the colour lies within `radius` pixels of the
    // page point.
    bool ColourNear(const QImage& image, int x, int y, QRgb colour, int radius = 1)
    {
        const QPoint d = Device(x, y);
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint p(d.x() + dx, d.y() + dy);
                if (image.rect().contains(p) && (image.pixel(p) & 0xFFFFFF) == (colour & 0xFFFFFF))
                    return true;
            }
        return false;
    }
    bool DarkNear(const QImage& image, int x, int y, int radius = 1)
    {
        const QPoint d = Device(x, y);
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx) {
                const QPoint p(d.x() + dx, d.y() + dy);
                if (image.rect().contains(p) && qGray(image.pixel(p)) < 180) return true;
            }
        return false;
    }

    QTemporaryDir home;
    CVEKDoc doc;
    std::unique_ptr<CVEKView> view;
};

// Pixels of the colour anywhere in the image, within a little in each
// channel (text is drawn smoothed).
inline int CountColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < 40 && std::abs(qGreen(p) - qGreen(colour)) < 40 &&
                std::abs(qBlue(p) - qBlue(colour)) < 40)
                ++n;
        }
    return n;
}

// Arrowheads chosen on the tool bar (they go into the settings), and the
// check that a line wears them.
struct ArrowChoice {
    int startKind = ARROW_FILLED;
    int startSize = 800;
    double startAngle = 30.0;
    int endKind = ARROW_NOTCHED;
    int endSize = 700;
    double endAngle = 45.0;

    void Choose() const
    {
        CSystemSettings& s = Settings();
        s.m_nStartArrowType = startKind;
        s.m_nStartArrowSize = startSize;
        s.m_dStartArrowAngle = startAngle;
        s.m_nEndArrowType = endKind;
        s.m_nEndArrowSize = endSize;
        s.m_dEndArrowAngle = endAngle;
    }
    void ExpectOn(const CCurveElement* curve) const
    {
        const auto* open = dynamic_cast<const COpenCurveElement*>(curve);
        ASSERT_NE(open, nullptr);
        int sk = -1, ss = 0, ek = -1, es = 0;
        double sa = 0.0, ea = 0.0;
        open->GetArrowHeads(sk, ss, sa, ek, es, ea);
        EXPECT_EQ(sk, startKind);
        EXPECT_EQ(ss, startSize);
        EXPECT_DOUBLE_EQ(sa, startAngle);
        EXPECT_EQ(ek, endKind);
        EXPECT_EQ(es, endSize);
        EXPECT_DOUBLE_EQ(ea, endAngle);
    }
};

inline double Distance(const CPoint& a, const CPoint& b)
{
    return std::hypot(double(a.x - b.x), double(a.y - b.y));
}
