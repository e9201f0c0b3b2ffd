// Helpers of the shape, ruler, eraser and offset-line tests: a modal
// dialog handled as a user would (values typed into its fields, then OK or
// Cancel), and reading the message box a refusal shows.
#pragma once

#include "tests/tools/CurveTestSupport.h"

#include "res/StringTable.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>

inline void PrintTo(const CPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

inline std::vector<CPoint> ToVectorOf(const CPointList& list)
{
    std::vector<CPoint> v;
    for (const CPoint& p : list) v.push_back(p);
    return v;
}

// Bumped when a test ends, so that a helper still waiting for a dialog
// from an earlier test lets go.
inline int& ModalGeneration()
{
    static int generation = 0;
    return generation;
}

// Runs `action` on the dialog of type D once it is the modal window (the
// tool opens it from inside a click). Gives up after about a second; the
// flag then stays false and the test sees it, and a dialog of another
// kind that is open then is closed.
template <class D>
void WhenModal(std::function<void(D&)> action, bool* seen = nullptr, int tries = 100, int generation = -1)
{
    if (generation < 0) {
        generation = ModalGeneration();
        if (seen) *seen = false;
    }
    QTimer::singleShot(tries == 100 ? 0 : 10, [action, seen, tries, generation] {
        if (generation != ModalGeneration()) return;
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            if (seen) *seen = true;
            action(*dialog);
            return;
        }
        if (tries > 0) {
            WhenModal<D>(action, seen, tries - 1, generation);
        } else if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            // Some other dialog came up: close it so that the test fails
            // instead of waiting for ever.
            ADD_FAILURE() << "unexpected dialog " << other->metaObject()->className();
            other->reject();
        }
    });
}

// Whether a dialog comes up during what follows; it is closed at once. Ask
// after processing events.
inline void WatchForDialog(bool* appeared)
{
    *appeared = false;
    const int generation = ModalGeneration();
    QTimer::singleShot(0, [appeared, generation] {
        if (generation != ModalGeneration()) return;
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            *appeared = true;
            dialog->reject();
        }
    });
}

// The fixture of these tests: value dialogs off again and pending dialog
// helpers dropped after each test.
class ShapeToolFixture : public CurveViewFixture {
protected:
    void TearDown() override
    {
        Settings().m_bValueDialogs = 0;
        ++ModalGeneration();
        CurveViewFixture::TearDown();
    }
};

// Text put into a field the way typing does it: the change is reported as
// the user's.
inline void Type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->setText(text);
    Q_EMIT edit->textEdited(text);
}

// Closes the next message box that comes up modally and keeps its text.
inline void CatchMessageBox(QString* text)
{
    WhenModal<QMessageBox>([text](QMessageBox& box) {
        *text = box.text();
        box.close();
    });
}
