// The text tool through the view: a click on empty paper asks for a
// wording and places an upright text there in the tool bar's font and
// colour; a blank wording or Cancel makes nothing; a click on a text
// engages it, and a click away lets it go and acts at once; the edit-text
// dialog itself answers the tool when no script does.
#include "tests/editors/EditorTestSupport.h"

#include "editors/CVTModifyText.h"
#include "res/StringTable.h"
#include "settings/CPhraseList.h"
#include "tools/CVTText.h"
#include "ui/CEditTextDlg.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

class TextToolTest : public EditorViewFixture {
protected:
    void SetUp() override
    {
        EditorViewFixture::SetUp();
        SelectTool(CVEKView::kTextTool);
        tool = Tool<CVTText>(CVEKView::kTextTool);
        editor = tool->GetEditor();
    }
    std::vector<CTextElement*> Texts()
    {
        std::vector<CTextElement*> texts;
        for (CGraphElement* e : Page()->Elements())
            if (e->GetType() == ELEMENT_TEXT) texts.push_back(static_cast<CTextElement*>(e));
        return texts;
    }

    CVTText* tool = nullptr;
    CVTModifyText* editor = nullptr;
};

} // namespace

TEST_F(TextToolTest, AClickOnPaperPlacesAnUprightTextInTheToolBarsFontAndColour)
{
    EXPECT_EQ(view->GetToolCursorId(), CVTText::kCursor);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTText::kPromptCreate));
    Settings().m_lfDefaultFont = TextFont(-500, 450);
    Settings().m_crFontColor = RGB(200, 0, 0);
    ScriptedWording::Answers() = {"Front\r\nBack"};
    const int steps = doc.UndoCount();
    Click(2000, 3000);
    ASSERT_EQ(ScriptedWording::Shown(), std::vector<std::string>{""});
    ASSERT_EQ(Texts().size(), 1u);
    CTextElement* text = Texts()[0];
    EXPECT_EQ(text->GetTextFont().GetText(), "Front\r\nBack");
    EXPECT_EQ(text->GetTextFont().GetLogFont().lfEscapement, 0);
    EXPECT_EQ(text->GetTextFont().GetLogFont().lfHeight, -500);
    EXPECT_EQ(text->GetTextFont().GetColor(), RGB(200, 0, 0));
    EXPECT_EQ(text->GetOrigin(), CPoint(2000, 3000));
    EXPECT_EQ(text->GetBkMode(), TRANSPARENT);
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_EQ(tool->IsEditing(), 1);
    EXPECT_EQ(editor->GetElement(), text);

    // Two lines in red ink, right of and below the click.
    const QImage page = RenderPage();
    bool ink = false;
    const CSize size = text->GetExtent();
    for (int y = 3000; y < 3000 + size.cy && !ink; y += 20)
        for (int x = 2000; x < 2000 + size.cx && !ink; x += 10) ink = ColourAt(page, x, y, QColor(200, 0, 0), 60);
    EXPECT_TRUE(ink);
    EXPECT_GT(size.cy, 900);
}

TEST_F(TextToolTest, ABlankWordingOrCancelMakesNothing)
{
    ScriptedWording::Answers() = {"", " \r\n\t", ScriptedWording::kCancel};
    for (int i = 0; i < 3; ++i) Click(2000 + 1000 * i, 3000);
    EXPECT_EQ(ScriptedWording::Shown().size(), 3u);
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(tool->IsEditing(), 0);
}

TEST_F(TextToolTest, AClickOnATextEngagesItAndAClickAwayActsAtOnce)
{
    CTextElement* first = AddText("AB", {CPoint(2000, 2000), CPoint(4000, 2000), CPoint(4000, 3000), CPoint(2000, 3000)});
    CTextElement* second = AddText("CD", {CPoint(5000, 2000), CPoint(7000, 2000), CPoint(7000, 3000), CPoint(5000, 3000)});
    MoveTo(3000, 2500);
    EXPECT_EQ(tool->GetHoverText(), first);
    EXPECT_EQ(view->GetToolCursorId(), CVTText::kCursorOverText);
    Click(3000, 2500);
    EXPECT_EQ(editor->GetElement(), first);
    EXPECT_TRUE(ScriptedWording::Shown().empty());

    // Another text: the first is let go and the second engaged by one click.
    Click(6000, 2500);
    EXPECT_EQ(editor->GetElement(), second);
    EXPECT_TRUE(ScriptedWording::Shown().empty());

    // Empty paper: the second is let go and a new text asked for there.
    ScriptedWording::Answers() = {"EF"};
    Click(3000, 5000);
    ASSERT_EQ(Texts().size(), 3u);
    EXPECT_EQ(Texts()[2]->GetOrigin(), CPoint(3000, 5000));
    EXPECT_EQ(editor->GetElement(), Texts()[2]);
}

TEST_F(TextToolTest, TheRightButtonEndsAStepAndNeverCreates)
{
    CTextElement* text = AddText("AB", {CPoint(2000, 2000), CPoint(4000, 2000), CPoint(4000, 3000), CPoint(2000, 3000)});
    Click(3000, 2500);
    Click(3000, 2500);
    MoveTo(3200, 2500);
    ASSERT_TRUE(tool->HasPendingStep());
    RightClick(3200, 2500);
    EXPECT_FALSE(tool->HasPendingStep());
    EXPECT_EQ(text->GetOrigin(), CPoint(2200, 2000));
    EXPECT_EQ(Texts().size(), 1u);
    RightClick(8000, 6000);
    EXPECT_TRUE(ScriptedWording::Shown().empty());
    EXPECT_EQ(Texts().size(), 1u);
}

TEST_F(TextToolTest, SpaceZoomsWithoutLettingTheTextGo)
{
    CTextElement* text = AddText("AB", {CPoint(2000, 2000), CPoint(4000, 2000), CPoint(4000, 3000), CPoint(2000, 3000)});
    Click(3000, 2500);
    KeyDown(Qt::Key_Space);
    EXPECT_EQ(view->GetToolCursorId(), CZoomBox::kCursorZoomIn);
    Click(1000, 1000);
    Click(5000, 4000);
    EXPECT_LT(view->GetScale(), kScale);
    KeyUp(Qt::Key_Space);
    EXPECT_EQ(view->GetToolCursorId(), CVTText::kCursor);
    EXPECT_EQ(editor->GetElement(), text);
    EXPECT_TRUE(ScriptedWording::Shown().empty());
}

// Without a script the real dialog asks: what is typed there becomes the
// text, and the phrase list remembers it.
TEST_F(TextToolTest, TheEditTextDialogGivesTheWording)
{
    CVTModifyText::SetWordingDialog(nullptr);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CEditTextDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->TextEdit()->setPlainText(QString::fromUtf8("袖口\n门襟"));
        dialog->accept();
    });
    Click(2000, 3000);
    ASSERT_EQ(Texts().size(), 1u);
    // GBK, lines broken by CR LF as the Windows program keeps them.
    EXPECT_EQ(Texts()[0]->GetTextFont().GetText(), "\xD0\xE4\xBF\xDA\r\n\xC3\xC5\xBD\xF3");
    CPhraseList phrases;
    phrases.Load(CPhraseList::DefaultPath());
    EXPECT_EQ(phrases.Phrases(), (std::vector<std::string>{"\xC3\xC5\xBD\xF3", "\xD0\xE4\xBF\xDA"}));
}
