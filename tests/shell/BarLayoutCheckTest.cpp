// The check of a saved bar layout, on what the main window itself saves:
// every layout the window writes passes, and a damaged one is refused
// before Qt reads it, or else Qt restores it at once.
#include "shell/CBarLayoutCheck.h"
#include "shell/CMainFrame.h"

#include "tests/shell/ProgramHomeTest.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QToolBar>
#include <QtEndian>

#include <climits>

namespace {

class BarLayoutCheckTest : public ProgramHomeTest {
protected:
    bool IsSound(const CMainFrame& frame, const QByteArray& state) const
    {
        return frame.BarLayoutCheck().IsSound(state, CMainFrame::kBarStateVersion);
    }
};

// Where the first tool-bar line's count of bars is: just before the first
// bar's name (its length in bytes, then UTF-16).
qsizetype FirstLineBarCount(const QByteArray& state, const CMainFrame& frame)
{
    qsizetype first = -1;
    for (const QToolBar* bar : {static_cast<QToolBar*>(frame.GetMainToolBar()), frame.GetDesignBar()}) {
        const QString name = bar->objectName();
        QByteArray utf16(name.size() * 2, Qt::Uninitialized);
        qToBigEndian<quint16>(name.utf16(), name.size(), utf16.data());
        const qsizetype at = state.indexOf(utf16);
        if (at >= 0 && (first < 0 || at < first)) first = at;
    }
    return first < 0 ? -1 : first - 8;
}

QByteArray WithInt(QByteArray state, qsizetype at, qint32 value)
{
    qToBigEndian(value, state.data() + at);
    return state;
}

} // namespace

// The layouts the window saves, as a user leaves it: as it starts, with a
// bar hidden, with the bars moved to other sides and onto one line, with a
// bar floating. Each passes, and a new window takes it.
TEST_F(BarLayoutCheckTest, TheWindowsOwnLayoutsAreSound)
{
    const struct {
        const char* name;
        void (*arrange)(CMainFrame&);
    } cases[] = {
        {"as it starts", [](CMainFrame&) {}},
        {"the design bar hidden", [](CMainFrame& f) { f.GetDesignBar()->hide(); }},
        {"both bars hidden",
         [](CMainFrame& f) {
             f.GetDesignBar()->hide();
             f.GetMainToolBar()->hide();
         }},
        {"the design bar on the right", [](CMainFrame& f) { f.addToolBar(Qt::RightToolBarArea, f.GetDesignBar()); }},
        {"both bars on one line at the bottom",
         [](CMainFrame& f) {
             f.addToolBar(Qt::BottomToolBarArea, f.GetMainToolBar());
             f.addToolBar(Qt::BottomToolBarArea, f.GetDesignBar());
         }},
        {"the design bar floating",
         [](CMainFrame& f) {
             f.GetDesignBar()->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
             f.GetDesignBar()->setGeometry(40, 50, 60, 300);
             f.GetDesignBar()->show();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMainFrame frame;
        frame.show();
        c.arrange(frame);
        const QByteArray state = frame.saveState(CMainFrame::kBarStateVersion);
        QString why;
        EXPECT_TRUE(frame.BarLayoutCheck().IsSound(state, CMainFrame::kBarStateVersion, &why)) << qPrintable(why);
        CMainFrame again;
        EXPECT_TRUE(again.restoreState(state, CMainFrame::kBarStateVersion));
        frame.close();
    }
}

// Layouts that are not the window's: refused before Qt would read them.
// The first among them left the program reading two billion bars at every
// start.
TEST_F(BarLayoutCheckTest, DamagedLayoutsAreRefused)
{
    CMainFrame frame;
    const QByteArray state = frame.saveState(CMainFrame::kBarStateVersion);
    const qsizetype count = FirstLineBarCount(state, frame);
    ASSERT_GT(count, 0);
    ASSERT_EQ(qFromBigEndian<qint32>(state.constData() + count), 1);
    const qsizetype lines = count - 8;
    ASSERT_EQ(quint8(state[lines - 1]), 0xfc);
    // The first bar: its name, its flags, position, preferred size and
    // floating rectangle.
    const qsizetype firstName = count + 4;
    const qsizetype firstBar = 4 + qFromBigEndian<qint32>(state.constData() + firstName) + 1 + 4 * 4;
    QByteArray twice = WithInt(state, count, 2);
    twice.insert(firstName + firstBar, state.mid(firstName, firstBar));
    QByteArray unknown = state;
    unknown[firstName + 5] = 'Q';
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"the first line holding 2^31-1 bars", WithInt(state, count, INT_MAX)},
        {"the first line holding a negative count", WithInt(state, count, -1)},
        {"the first line holding a bar more", WithInt(state, count, 2)},
        {"2^31-1 lines of bars", WithInt(state, lines, INT_MAX)},
        {"a line in a fifth area", WithInt(state, count - 4, 4)},
        {"2^31-1 dock areas", WithInt(state, 9, INT_MAX)},
        {"a name 2^31-1 bytes long", WithInt(state, firstName, INT_MAX)},
        {"a bar the window has not", unknown},
        {"a bar twice on a line", twice},
        {"another version", WithInt(state, 4, CMainFrame::kBarStateVersion + 1)},
        {"no marker", WithInt(state, 0, 0)},
        {"cut short", state.chopped(1)},
        {"a byte after the layout", state + '\0'},
        {"empty", QByteArray()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(IsSound(frame, c.bytes));
    }
}

// Every single flipped bit of the window's layout is either refused, or
// taken by Qt, leaving a layout that passes again. A flip that made Qt read
// on for seconds would hold the test up past its time limit.
TEST_F(BarLayoutCheckTest, EveryFlippedBitIsRefusedOrRestored)
{
    CMainFrame frame;
    frame.show();
    const QByteArray state = frame.saveState(CMainFrame::kBarStateVersion);
    int taken = 0;
    for (qsizetype bit = 0; bit < state.size() * 8; ++bit) {
        QByteArray flipped = state;
        flipped[bit / 8] = char(flipped[bit / 8] ^ (1 << (bit % 8)));
        if (!IsSound(frame, flipped)) continue;
        ++taken;
        SCOPED_TRACE(testing::Message() << "bit " << bit);
        EXPECT_TRUE(frame.restoreState(flipped, CMainFrame::kBarStateVersion));
        EXPECT_TRUE(IsSound(frame, frame.saveState(CMainFrame::kBarStateVersion)));
    }
    // The bits of positions and sizes are the layout's to change.
    EXPECT_GT(taken, 0);
    frame.close();
}
