// The edit-text dialog over "Text.lst": its list of phrases, its warning
// of a damaged file, and the word-list editor it opens.
#include "ui/CEditDictionaryDlg.h"
#include "ui/CEditTextDlg.h"

#include "tests/settings/PhraseListFixture.h"

#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

#include <string>

using namespace phrase_list_test;

TEST_F(PhraseListTest, TheDialogListsThePhrasesSortedAndInsertsOneAtTheCaret)
{
    WriteFile("zeta\r\nalpha\r\n" + kCuff + "\r\n");
    CEditTextDlg dialog(nullptr, path);
    dialog.SetText("ab\r\ncd");
    QListWidget* list = dialog.PhraseList();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("alpha"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("zeta"));
    EXPECT_TRUE(dialog.WarningLabel()->isHidden());

    QTextCursor caret = dialog.TextEdit()->textCursor();
    caret.setPosition(1);
    dialog.TextEdit()->setTextCursor(caret);
    dialog.InsertPhrase(GbkToQString(kCuff));
    EXPECT_EQ(dialog.GetText(), "a" + kCuff + "b\r\ncd");

    dialog.accept();
    EXPECT_EQ(ReadFile(), "cd\r\na" + kCuff + "b\r\nzeta\r\nalpha\r\n" + kCuff + "\r\n");
}

TEST_F(PhraseListTest, TheDialogWarnsOfADamagedFileAndCancelWritesNothing)
{
    const std::string damaged = std::string("A\0\r\n", 4);
    WriteFile(damaged);
    CEditTextDlg dialog(nullptr, path);
    EXPECT_FALSE(dialog.WarningLabel()->isHidden());
    EXPECT_EQ(dialog.WarningLabel()->text(), LoadResString(36170));
    dialog.SetText("B");
    dialog.reject();
    EXPECT_EQ(ReadFile(), damaged);
}

TEST_F(PhraseListTest, TheButtonEditsTheWholeListAndTheDialogReloadsIt)
{
    WriteFile("one\r\ntwo\r\n");
    CEditTextDlg dialog(nullptr, path);
    QTimer::singleShot(0, [] {
        auto* editor = qobject_cast<CEditDictionaryDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->WordsEdit()->toPlainText(), QStringLiteral("one\ntwo"));
        editor->WordsEdit()->setPlainText(QStringLiteral("three\n\none\nthree"));
        editor->accept();
    });
    dialog.EditDictionary();
    EXPECT_EQ(ReadFile(), "one\r\nthree\r\n");
    ASSERT_EQ(dialog.PhraseList()->count(), 2);
    EXPECT_EQ(dialog.PhraseList()->item(1)->text(), QStringLiteral("three"));
}
