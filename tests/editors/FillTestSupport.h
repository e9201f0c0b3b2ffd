// Helpers of the fill tool and fill editor tests: the fill tool current on
// a shown view at 10 page units per pixel, closed curves put on the page,
// fill kinds chosen as the tool bar chooses them, and modal dialogs and
// message boxes answered while the code under test waits for them.
#pragma once

#include "tests/tools/CurveTestSupport.h"

#include "settings/CMessageHub.h"
#include "editors/CVTFill.h"
#include "model/CClosedCurveElement.h"
#include "platform/CArchive.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>

// Answers the modal dialogs that open while it lives, in order: each
// handler gets the dialog and closes it. Message boxes are recorded by
// their text and closed when no handler is left for them.
class ModalAnswers {
public:
    using Handler = std::function<void(QWidget*)>;
    ModalAnswers()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    void Then(Handler handler) { m_handlers.push_back(std::move(handler)); }
    // The file dialog chooses `path` (an empty path cancels it).
    void ChooseFile(const QString& path)
    {
        Then([path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
    }
    QStringList messages;
    int dialogs = 0;

private:
    void Poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible()) return;
        if (w == m_last) {
            // A dialog that refused its answer would hold the test forever.
            if (m_since.elapsed() > 3000) {
                ADD_FAILURE() << "dialog stayed open " << w->metaObject()->className();
                if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
                m_since.restart();
            }
            return;
        }
        m_last = w;
        m_since.restart();
        ++dialogs;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            messages << box->text();
            if (m_handlers.empty()) {
                box->accept();
                return;
            }
        }
        if (m_handlers.empty()) {
            ADD_FAILURE() << "unexpected dialog " << w->metaObject()->className();
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
            return;
        }
        Handler handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        handler(w);
    }
    QTimer m_timer;
    std::deque<Handler> m_handlers;
    QWidget* m_last = nullptr;
    QElapsedTimer m_since;
};

class FillViewFixture : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        SelectTool(CVEKView::kFillTool);
        fill = Tool<CVTFill>(CVEKView::kFillTool);
        ASSERT_NE(fill, nullptr);
    }

    // A closed curve of four corners on the page, unfilled, drawn in black
    // one unit wide so that its bounds are its corners.
    CClosedCurveElement* AddBox(int left, int top, int right, int bottom)
    {
        CCurveElement* c =
            AddCurve({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, 1);
        c->SetLineAttr(CLineAttr(1));
        c->InvalidateBounds();
        return dynamic_cast<CClosedCurveElement*>(c);
    }

    // The fill-type combo's choice: stored in the settings and reported.
    void ChooseKind(int kind)
    {
        Settings().m_nFillType = kind;
        CMessageHub::Instance().SendFillTypeChange();
    }
    void ChooseStartColour(COLORREF c) { CMessageHub::Instance().SendColorChange(c, ID_GRADIENT_START); }
    void ChooseEndColour(COLORREF c) { CMessageHub::Instance().SendColorChange(c, ID_GRADIENT_END); }

    // Picks a curve with a click inside it, away from its outline.
    void PickAt(int x, int y) { Click(x, y); }

    // The curve's record, for comparing states.
    static std::string Record(const CGraphElement* e)
    {
        CArchive ar;
        e->Store(ar);
        return ar.Buffer();
    }
    CClosedCurveElement* ClosedAt(int index)
    {
        int i = 0;
        for (CGraphElement* e : Page()->Elements())
            if (auto* c = dynamic_cast<CClosedCurveElement*>(e))
                if (i++ == index) return c;
        return nullptr;
    }

    QRgb PixelOfPage(const QImage& image, int x, int y)
    {
        const QPoint d = Device(x, y);
        return image.pixel(d) & 0xFFFFFF;
    }

    CVTFill* fill = nullptr;
};

inline QRgb Rgb(COLORREF c)
{
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)) & 0xFFFFFF;
}

// Colours closer than `tolerance` in every channel.
inline bool Near(QRgb a, QRgb b, int tolerance = 6)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
