// A tool step that ends without a change costs nothing: after it is
// cancelled the undo and redo lists, the modified flag and the backup file
// are what they were, even with the undo list at its full depth.
#include "tests/tools/CurveTestSupport.h"

#include "app/CDesignTool.h"
#include "editors/CVTModifyCurve.h"
#include "tools/CVTCurve.h"

#include <QFile>
#include <QFileInfo>

namespace {

class CancelledStepTest : public CurveViewFixture {
protected:
    void SetUp() override
    {
        CurveViewFixture::SetUp();
        Settings().m_bAutoBackup = 1;
        Settings().m_bBackupEveryStep = 1;
    }

    QByteArray Backup() const
    {
        QFile file(QString::fromStdString(Settings().m_strBackupFile));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Draws an open curve of two nodes at height y with the curve tool,
    // which leaves it in the curve editor.
    void DrawCurve(int y)
    {
        SelectTool(CVEKView::kCurveTool);
        Click(1000, y);
        Click(5000, y);
        RightClick(5000, y + 1500);
    }
};

// Drags a point of the page with a press: the step is held at the press
// and becomes real at the first move; Esc before any move takes nothing.
class PressDragTool : public CDesignTool {
public:
    using CDesignTool::CDesignTool;
    CSharedPoint* point = nullptr;

    BOOL OnLButtonDown(UINT, int x, int y) override
    {
        BeginUndoStep();
        m_pressed = true;
        m_last = CPoint(x, y);
        return TRUE;
    }
    BOOL OnMouseMove(UINT, int x, int y) override
    {
        if (!m_pressed || CPoint(x, y) == m_last) return FALSE;
        CommitUndoStep();
        const CPoint at = point->GetPosition();
        point->MoveTo(at.x + x - m_last.x, at.y + y - m_last.y, 1);
        m_last = CPoint(x, y);
        InvalidateView();
        return TRUE;
    }
    BOOL OnLButtonUp(UINT, int, int) override
    {
        DropUndoStep(); // nothing held any more after a committed drag
        m_pressed = false;
        return TRUE;
    }
    BOOL HasPendingStep() override { return m_pressed ? TRUE : FALSE; }
    void Cancel() override
    {
        DropUndoStep();
        m_pressed = false;
    }

private:
    bool m_pressed = false;
    CPoint m_last;
};

} // namespace

TEST_F(CancelledStepTest, ACancelledDragOfTheCurveEditorKeepsAFullHistoryWhole)
{
    // Seven curves: the undo list is full, its oldest step holds one curve.
    for (int i = 0; i < 7; ++i) DrawCurve(2000 + 2000 * i);
    ASSERT_EQ(doc.UndoCount(), CVEKDoc::kUndoDepth);
    auto* tool = Tool<CVTCurve>(CVEKView::kCurveTool);
    ASSERT_EQ(tool->IsEditing(), 1);
    doc.SetModifiedFlag(false); // as after a save
    const QByteArray backup = Backup();
    ASSERT_FALSE(backup.isEmpty());

    // Pick the last curve's first node up, move it, and cancel.
    Click(1000, 14000);
    MoveTo(1500, 14500);
    ASSERT_TRUE(view->CanEditCancel());
    KeyDown(Qt::Key_Escape);
    EXPECT_FALSE(view->CanEditCancel());
    EXPECT_EQ(Curves().back()->GetNodeAt(0)->GetPosition(), CPoint(1000, 14000));

    EXPECT_EQ(doc.UndoCount(), CVEKDoc::kUndoDepth);
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.HasPendingUndoStep());
    EXPECT_EQ(Backup(), backup);
    // Six undos still reach the step with a single curve: none was evicted.
    for (int i = 0; i < CVEKDoc::kUndoDepth; ++i) view->OnEditUndo();
    EXPECT_EQ(Curves().size(), 1u);
}

TEST_F(CancelledStepTest, APressCancelledBeforeItMovesKeepsRedoAndTheModifiedFlag)
{
    Page()->AddPoint(new CSharedPoint(Page(), 100, 100));
    doc.SaveUndoState();
    doc.SaveUndoState();
    view->OnEditUndo();
    doc.SetModifiedFlag(false);
    ASSERT_EQ(doc.UndoCount(), 1);
    ASSERT_TRUE(doc.CanRedo());

    // The page set now is the one the undo brought back.
    auto tool = std::make_unique<PressDragTool>(view.get());
    tool->point = Page()->GetPointAt(0);
    view->ReplaceTool(CVEKView::kLayerTool, std::move(tool));
    view->OnToolCommand(view->CommandOfTool(CVEKView::kLayerTool));

    Mouse(QEvent::MouseButtonPress, 3000, 3000, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(doc.HasPendingUndoStep());
    EXPECT_FALSE(view->CanEditRedo()); // a pending step holds redo back
    KeyDown(Qt::Key_Escape);
    Mouse(QEvent::MouseButtonRelease, 3000, 3000, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.CanRedo());
    EXPECT_TRUE(view->CanEditRedo());
    EXPECT_FALSE(doc.IsModified());

    // The same press with a move is one step, which clears redo.
    Mouse(QEvent::MouseButtonPress, 3000, 3000, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    MoveTo(3500, 3000, Qt::NoModifier, Qt::LeftButton);
    MoveTo(4000, 3000, Qt::NoModifier, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, 4000, 3000, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_EQ(doc.UndoCount(), 2);
    EXPECT_EQ(Page()->GetPointAt(0)->GetPosition(), CPoint(1100, 100));
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.HasPendingUndoStep());
}
