// "Text.lst": the bytes the Windows program wrote and reads (GBK, CR LF,
// pieces of 999 bytes), the way a confirmed text and the word-list editor
// change it, and damaged files, which give what can be read and are kept
// until the user changes the list, and then beside the new list.
#include "settings/CPhraseList.h"

#include "tests/settings/PhraseListFixture.h"

#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdio>
#include <string>
#include <vector>

using namespace phrase_list_test;

TEST_F(PhraseListTest, ConfirmedTextsGoToTheHeadInTheWindowsBytes)
{
    struct Case {
        const char* name;
        std::string before;
        std::string text;
        std::string after;
    };
    const Case cases[] = {
        {"an equal line moves up", "B\r\nA\r\nC\r\n", "A", "A\r\nB\r\nC\r\n"},
        {"two lines: the last ends first", "B\r\n", "X\r\nY", "Y\r\nX\r\nB\r\n"},
        {"line breaks and blanks round it", "B\r\n", "\r\n  " + kCuff + " \r\n\r\n", kCuff + "\r\nB\r\n"},
        {"blank text keeps the phrases, trimmed", "  B \r\n\r\nC\r\n", " \r\n\t", "B\r\nC\r\n"},
        {"no file yet", "", kCollar, kCollar + "\r\n"},
        // Lines the Windows program wrote with LF alone, or with a CR too
        // many, read as the same phrases.
        {"LF and stray CR", "B\nC\r\r\n", "A", "A\r\nB\r\nC\r\n"},
    };
    for (const Case& c : cases) {
        QFile::remove(path);
        if (!c.before.empty()) WriteFile(c.before);
        ASSERT_TRUE(CPhraseList::SavePhrase(path, c.text)) << c.name;
        EXPECT_EQ(ReadFile(), c.after) << c.name;
    }
}

TEST_F(PhraseListTest, AtMost400PhrasesOfAtMost998BytesCutOnACharacter)
{
    std::string bytes;
    for (int i = 0; i < 400; ++i) bytes += "p" + std::to_string(i) + "\r\n";
    WriteFile(bytes);
    ASSERT_TRUE(CPhraseList::SavePhrase(path, "new"));
    CPhraseList list;
    ASSERT_TRUE(list.Load(path));
    ASSERT_EQ(list.Phrases().size(), 400u);
    EXPECT_EQ(list.Phrases().front(), "new");
    EXPECT_EQ(list.Phrases().back(), "p398");

    // 1200 ASCII characters keep 998; a double-byte character straddling
    // byte 998 goes whole, never in half.
    const std::string ascii(1200, 'a');
    EXPECT_EQ(CPhraseList::Format({ascii}), std::string(998, 'a') + "\r\n");
    const std::string straddling = std::string(997, 'a') + kCuff;
    EXPECT_EQ(CPhraseList::Format({straddling}), std::string(997, 'a') + "\r\n");
    const std::string fitting = std::string(996, 'a') + kCuff;
    EXPECT_EQ(CPhraseList::Format({fitting}), std::string(996, 'a') + kCuff.substr(0, 2) + "\r\n");
}

// A line longer than the reading buffer reads as several phrases, cut
// before a character that would not fit.
TEST_F(PhraseListTest, LongLinesReadInPiecesOf999Bytes)
{
    const std::string line = std::string(997, 'x') + kCuff + "tail";
    bool damaged = true;
    const Phrases phrases = CPhraseList::Parse(line + "\r\n", &damaged);
    EXPECT_FALSE(damaged);
    ASSERT_EQ(phrases.size(), 2u);
    EXPECT_EQ(phrases[0], std::string(997, 'x'));
    EXPECT_EQ(phrases[1], kCuff + "tail");
    EXPECT_EQ(CPhraseList::Parse(std::string(998, 'y') + "\n").size(), 1u);
    EXPECT_EQ(CPhraseList::Parse(std::string(999, 'y') + "\n").size(), 2u);
}

TEST_F(PhraseListTest, DamagedFilesGiveWhatCanBeReadAndAreKeptUntilTheListChanges)
{
    struct Case {
        const char* name;
        std::string bytes;
        Phrases readable;
    };
    const Case cases[] = {
        {"NUL bytes", std::string("A\0B\r\nC\r\n", 8), {"AB", "C"}},
        {"lead byte without a trail", "A\xD0\r\n" + kCuff + "\r\n", {"A", kCuff}},
        {"byte 0xFF", "\xFF" "B\r\n", {"B"}},
        {"lead byte at the end", "A\r\n\xC1", {"A"}},
    };
    for (const Case& c : cases) {
        WriteFile(c.bytes);
        QFile::remove(Copy());
        CPhraseList list;
        EXPECT_FALSE(list.Load(path)) << c.name;
        EXPECT_TRUE(list.IsDamaged()) << c.name;
        EXPECT_EQ(list.Phrases(), c.readable) << c.name;
        EXPECT_EQ(list.Warning(), LoadResString(36170)) << c.name;

        // Confirming the newest phrase changes nothing: the file stays.
        ASSERT_TRUE(CPhraseList::SavePhrase(path, c.readable.front())) << c.name;
        EXPECT_EQ(ReadFile(), c.bytes) << c.name;
        EXPECT_FALSE(QFile::exists(Copy())) << c.name;
        // A new phrase is a change: what could be read is kept with it, and
        // the damaged file beside it.
        ASSERT_TRUE(CPhraseList::SavePhrase(path, "new")) << c.name;
        Phrases expected{"new"};
        expected.insert(expected.end(), c.readable.begin(), c.readable.end());
        EXPECT_EQ(ReadFile(), CPhraseList::Format(expected)) << c.name;
        EXPECT_EQ(ReadFile(Copy()), c.bytes) << c.name;
    }
}

// A damaged file of which no copy can be made (here: every name a copy
// could take is a folder) is not written over, and the failure says why.
TEST_F(PhraseListTest, ADamagedFileThatCannotBeCopiedIsNotWrittenOver)
{
    const std::string damaged = std::string("A\0B\r\n", 5);
    WriteFile(damaged);
    ASSERT_TRUE(QDir().mkdir(Copy()));
    for (int n = 2; n <= 99; ++n) ASSERT_TRUE(QDir().mkdir(Copy() + QStringLiteral(".%1").arg(n)));
    QString error;
    EXPECT_FALSE(CPhraseList::SavePhrase(path, "new", &error));
    EXPECT_TRUE(error.contains(QStringLiteral("“Text.lst”"))) << qPrintable(error);
    EXPECT_FALSE(CPhraseList::SaveDictionary(path, "one", &error));
    EXPECT_EQ(ReadFile(), damaged);
}

TEST_F(PhraseListTest, AHugeFileReadsItsFirstMegabyteOnly)
{
    std::string bytes;
    const std::size_t lineBytes = 92;
    for (int i = 0; bytes.size() < 10u * 1024 * 1024; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%08d", i);
        bytes += number + std::string(lineBytes - 10, 'z') + "\r\n";
    }
    WriteFile(bytes);
    CPhraseList list;
    EXPECT_FALSE(list.Load(path));
    EXPECT_EQ(list.Warning(), LoadResString(36171));
    // Whole lines only: the one the limit cuts through is left out.
    EXPECT_EQ(list.Phrases().size(), std::size_t(CPhraseList::kMaxFileBytes) / lineBytes);
    EXPECT_EQ(list.Phrases().back().size(), lineBytes - 2);
    ASSERT_TRUE(CPhraseList::SavePhrase(path, list.Phrases().front()));
    EXPECT_EQ(ReadFile().size(), bytes.size());
}

TEST_F(PhraseListTest, TheWordListEditorKeepsTheTypedOrderUpTo200)
{
    EXPECT_EQ(CPhraseList::FromDictionaryText("b\r\n\r\n  a \r\nb\r\nc"), (Phrases{"a", "b", "c"}));
    std::string words;
    for (int i = 0; i < 250; ++i) words += "w" + std::to_string(i) + "\n";
    const Phrases kept = CPhraseList::FromDictionaryText(words);
    ASSERT_EQ(kept.size(), 200u);
    EXPECT_EQ(kept.front(), "w0");
    EXPECT_EQ(kept.back(), "w199");

    // A damaged list is kept beside the new one.
    WriteFile("x\r\n\xFF" "y\r\n");
    ASSERT_TRUE(CPhraseList::SaveDictionary(path, "one\r\ntwo"));
    EXPECT_EQ(ReadFile(), "one\r\ntwo\r\n");
    EXPECT_EQ(ReadFile(Copy()), "x\r\n\xFF" "y\r\n");
    // A sound one is not.
    ASSERT_TRUE(CPhraseList::SaveDictionary(path, "three"));
    EXPECT_EQ(ReadFile(), "three\r\n");
    EXPECT_FALSE(QFile::exists(Copy() + QStringLiteral(".2")));
}

TEST_F(PhraseListTest, AFileThatCannotBeWrittenIsReportedAndLeftWhole)
{
    // The folder of the file is a file: nothing can be created there.
    const QString blocked = dir.filePath(QStringLiteral("blocker"));
    {
        QFile f(blocked);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QString error;
    EXPECT_FALSE(CPhraseList::SavePhrase(blocked + QStringLiteral("/Text.lst"), "A", &error));
    EXPECT_FALSE(error.isEmpty());
}
