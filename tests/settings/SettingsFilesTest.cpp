// Damaged settings files: what is damaged takes its default, the user is
// warned, and the damaged file is kept beside itself ("Config.dat.damaged")
// before the first write over it; a file of which no copy can be made is
// not written over; and the syntax check of "Vek.ini". Through the main
// window: tests/shell.
#include "settings/CSettingsFiles.h"
#include "settings/CSystemSettings.h"
#include "settings/ProfileSyntax.h"
#include "tests/settings/SettingsFileSupport.h"

#include "model/CLineAttr.h"
#include "platform/CArchive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <climits>
#include <functional>
#include <random>

#include <sys/stat.h>

namespace {

using settings_test::Fixture;
using settings_test::ReadAll;
using settings_test::WriteAll;

class SettingsFilesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    CSettingsFiles files{Path("Config.dat"), Path("LineType.dat")};
    CSystemSettings settings;
};

} // namespace

// Config.dat files sound but for a field or two that would break the
// program: those take their defaults, the rest is read, and the warning
// names the fields and the copy kept of the file.
TEST_F(SettingsFilesTest, DamagedFieldsTakeTheirDefaultsAndTheFileIsKept)
{
    CSystemSettings defaults;
    defaults.SetDefaults();
    const struct {
        const char* file;
        const char* fields;
        std::function<bool(const CSystemSettings&)> repaired;
    } cases[] = {
        {"fuzz/Config/font-height-int-min", "缺省字体",
         [&](const CSystemSettings& s) { return s.m_lfDefaultFont == defaults.m_lfDefaultFont; }},
        {"fuzz/Config/backup-interval-int-max", "备份间隙",
         [](const CSystemSettings& s) { return s.m_nBackupMinutes == 5; }},
        {"fuzz/Config/margin-int-min-precision-0", "显示精度、缺省页面",
         [](const CSystemSettings& s) {
             return s.m_nPrecision == 100 && s.m_nDefaultMargin[1] == 500 && s.m_sizeDefaultPaper == CSize(21000, 29700);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray damaged = ReadAll(Fixture(c.file));
        ASSERT_FALSE(damaged.isEmpty());
        WriteAll(Path("Config.dat"), damaged);
        QFile::remove(Path("Config.dat.damaged"));

        const QStringList warnings = files.Load(settings);
        EXPECT_TRUE(c.repaired(settings));
        EXPECT_EQ(settings.m_nCaptureRadius, 23);  // read from the file
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat”")));
        EXPECT_TRUE(warnings[0].contains(QString::fromUtf8(c.fields))) << qPrintable(warnings[0]);
        EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat.damaged”")));
        EXPECT_EQ(ReadAll(Path("Config.dat.damaged")), damaged);

        // Written back sound; the kept copy stays as it was.
        ASSERT_TRUE(files.Save(settings));
        CSettingsFiles again(Path("Config.dat"), Path("LineType.dat"));
        CSystemSettings reread;
        EXPECT_TRUE(again.Load(reread).isEmpty());
        EXPECT_EQ(ReadAll(Path("Config.dat.damaged")), damaged);
    }
}

// Files that cannot be read whole give every default. The same damage met
// again reuses its copy; other damage gets a copy of its own.
TEST_F(SettingsFilesTest, UnreadableFilesAreKeptOnceEach)
{
    const QByteArray truncated = ReadAll(Fixture("fuzz/Config/font-height-int-min")).left(40);
    const QByteArray badLineType = ReadAll(Fixture("fuzz/LineType/custom-point-at-int-min"));
    WriteAll(Path("Config.dat"), truncated);
    WriteAll(Path("LineType.dat"), badLineType);

    QStringList warnings = files.Load(settings);
    EXPECT_EQ(settings.m_nCaptureRadius, 15);
    EXPECT_EQ(settings.m_aLineTypes.size(), 9u);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat.damaged”")));
    EXPECT_TRUE(warnings[1].contains(QStringLiteral("“LineType.dat.damaged”")));
    EXPECT_EQ(ReadAll(Path("LineType.dat.damaged")), badLineType);

    // A later start finds the same damage: nothing new beside it.
    CSettingsFiles later(Path("Config.dat"), Path("LineType.dat"));
    later.Load(settings);
    EXPECT_FALSE(QFile::exists(Path("Config.dat.damaged.2")));
    // Other damage in its place keeps the first copy and adds a second.
    WriteAll(Path("Config.dat"), truncated.left(20));
    CSettingsFiles other(Path("Config.dat"), Path("LineType.dat"));
    warnings = other.Load(settings);
    EXPECT_TRUE(warnings.value(0).contains(QStringLiteral("“Config.dat.damaged.2”")));
    EXPECT_EQ(ReadAll(Path("Config.dat.damaged")), truncated);
    EXPECT_EQ(ReadAll(Path("Config.dat.damaged.2")), truncated.left(20));
}

namespace {

std::string Le32(std::int32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i) s[std::size_t(i)] = char((std::uint32_t(v) >> (8 * i)) & 0xFF);
    return s;
}

// The defaults and one custom line type, as the program writes them.
std::string SoundLineTypes()
{
    CSystemSettings s;
    s.SetDefaults();
    CPointList zigzag{CPoint(0, 0), CPoint(600, 300), CPoint(1200, 0)};
    EXPECT_TRUE(s.AddLineType(CLineAttr(300, 100, CLineTypeShapeArray{CLineTypeShape(10, 0, zigzag)})));
    CArchive ar;
    s.StoreLineTypes(ar);
    return ar.Buffer();
}

std::string Patched(std::string bytes, std::size_t at, std::int32_t value)
{
    return bytes.replace(at, 4, Le32(value));
}

// Where the records of SoundLineTypes() start: after the version and the
// count, the built-in kinds 0 to 8 (8, 16, 12, 24, 32 and four times 16
// bytes), then the custom one.
constexpr std::size_t kPlain = 8, kDash = 16, kDashPair = 44, kCustom = 164;

} // namespace

// Line types read out of step, or holding what no tool gives: the file is
// damage, whatever the reader made of it. The defaults stand, the user is
// told, and the file is kept before it is written over.
TEST_F(SettingsFilesTest, DamagedLineTypesGiveTheDefaultsAndAreKept)
{
    const std::string sound = SoundLineTypes();
    CSystemSettings defaults;
    defaults.SetDefaults();
    // The current index and the display-copy count follow the custom record.
    const std::size_t customEnd = kCustom + 16 + 12 + 3 * 8;
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"unknown kind", Patched(sound, kPlain, 99)},
        {"dash pair read as a dash", Patched(sound, kDashPair, 1)},
        {"dash read as a dotted line", Patched(sound, kDash, 2)},
        {"plain line read as a custom one", Patched(sound, kPlain, -1)},
        {"custom line read as a plain one", Patched(sound, kCustom, 0)},
        {"negative width", Patched(sound, kDash + 4, -10)},
        {"negative dash", Patched(sound, kDash + 8, -100)},
        {"negative current index", Patched(sound, customEnd, -3)},
        {"display copies of another count", Patched(sound, customEnd + 4, 4)},
        {"bytes after the lists", sound + Le32(0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray damaged = QByteArray::fromStdString(c.bytes);
        WriteAll(Path("LineType.dat"), damaged);
        QFile::remove(Path("LineType.dat.damaged"));

        CSettingsFiles loader(Path("Config.dat"), Path("LineType.dat"));
        const QStringList warnings = loader.Load(settings);
        EXPECT_EQ(settings.m_aLineTypes, defaults.m_aLineTypes);
        EXPECT_EQ(settings.m_aLineTypePreviews.size(), 4u);
        EXPECT_EQ(warnings.size(), 1);
        const QString warning = warnings.value(0);
        EXPECT_TRUE(warning.contains(QStringLiteral("“LineType.dat”"))) << qPrintable(warning);
        EXPECT_TRUE(warning.contains(QStringLiteral("“LineType.dat.damaged”"))) << qPrintable(warning);
        EXPECT_EQ(ReadAll(Path("LineType.dat.damaged")), damaged);
    }

    // The sound file reads without a word, the custom type and its display
    // copy with it.
    WriteAll(Path("LineType.dat"), QByteArray::fromStdString(sound));
    CSettingsFiles loader(Path("Config.dat"), Path("LineType.dat"));
    EXPECT_TRUE(loader.Load(settings).isEmpty());
    EXPECT_EQ(settings.m_aLineTypes.size(), 10u);
    EXPECT_EQ(settings.m_aLineTypePreviews.size(), 5u);
    EXPECT_EQ(settings.m_aLineTypes.back().GetKind(), LINE_CUSTOM);
}

// A named pipe in the place of Config.dat: read without waiting for a
// writer (the test's time bound fails a wait), not copied, and so never
// written over; the other file is written as usual.
TEST_F(SettingsFilesTest, APipeInTheFilesPlaceIsNeitherReadNorReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path("Config.dat")).constData(), 0600), 0);
    const QStringList warnings = files.Load(settings);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("“Config.dat”")));
    EXPECT_FALSE(warnings[0].contains(QStringLiteral(".damaged")));
    files.Save(settings);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Path("Config.dat")).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(QFile::exists(Path("LineType.dat")));
}

// Profiles as either program writes them are sound, whatever their values:
// GBK paths and CR LF from the Windows program (with its own bar layout
// sections), escaped bytes, line breaks, lists and odd keys from QSettings.
// Damage is what neither writes.
TEST(ProfileSyntax, WhatEitherProgramWritesIsSoundAndNothingElse)
{
    const QByteArray windows =
        "[Settings]\r\nWindowPos=0,1,-1,-1,-1,-1,22,22,1002,702\r\n"
        "[Recent File List]\r\nFile1=C:\\\xB9\xA4\xD2\xD5\xB5\xA5\\a.vek\r\nFile2=D:\\b.vek\r\n"
        "[General-Summary]\r\nBars=2\r\nScreenCX=1280\r\nScreenCY=1024\r\n"
        "[General-Bar0]\r\nBarID=59392\r\nXPos=-2\r\nYPos=-2\r\nDocking=1\r\n";
    EXPECT_TRUE(IsSoundProfile(windows));
    EXPECT_TRUE(IsSoundProfile(QByteArray()));
    // A comment after a value, as a hand may add it, is not the value's.
    EXPECT_TRUE(IsSoundProfile("[General]\nBarState=@ByteArray(ab) ; the bars\n"));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vek.ini"));
    {
        QSettings profile(path, QSettings::IniFormat);
        profile.setValue(QStringLiteral("General/BarState"), QByteArray("\0\x01\xFF\n\r=[]", 8));
        profile.setValue(QStringLiteral("Settings/WindowPos"), QStringLiteral("0,1,-1,-1,-1,-1,1,2,3,4"));
        profile.setValue(QStringLiteral("Recent File List/File1"), QStringLiteral("/home/u/图 1.vek"));
        profile.setValue(QStringLiteral("Recent File List/File2"), QStringLiteral("two\nlines\tand=signs;#"));
        profile.setValue(QStringLiteral("图/键 名"), QStringList{QStringLiteral("a"), QStringLiteral("b,c")});
        profile.setValue(QStringLiteral("Settings/Empty"), QString());
    }
    const QByteArray written = ReadAll(path);
    QString why;
    EXPECT_TRUE(IsSoundProfile(written, &why)) << qPrintable(why) << written.constData();

    std::mt19937 random(33);
    QByteArray noise;
    for (int i = 0; i < 600; ++i) noise.append(char(random()));
    const struct {
        const char* name;
        QByteArray bytes;
    } damaged[] = {
        {"random bytes", noise},
        {"cut within a quoted value", QByteArray("[Recent File List]\nFile1=\"/home/u/a,b.vek")},
        {"a quote left open in the bar layout", QByteArray("[General]\nBarState=@ByteArray(a\"b)\n[S]\nK=1\n")},
        {"a quote left open in a key", QByteArray("[Settings]\n\"Window=Pos\nK=1\n")},
        {"a quote left open after a hash", QByteArray("# a \"note\n[Settings]\nK=1\n")},
        {"an entry ending in a backslash", QByteArray("[Recent File List]\nFile1=C:\\a\\\nFile2=D:\\b\n")},
        {"the same before CR LF", QByteArray("[Recent File List]\r\nFile1=C:\\a\\\r\nFile2=D:\\b\r\n")},
        {"an entry whose only = is quoted", QByteArray("[Settings]\n\"Window=Pos\"\n")},
        {"a bar layout cut short", written.left(written.indexOf("BarState=") + 20)},
        {"the same quoted", QByteArray("[General]\nBarState=\"@ByteArray(a,b\"\n")},
        {"a section without its bracket", QByteArray("[Settings\nWindowPos=0\n")},
        {"a line that is no entry", QByteArray("[Settings]\nWindowPos 0,1\n")},
        {"an entry without a key", QByteArray("[Settings]\n=0,1\n")},
        {"a NUL byte", QByteArray("[Settings]\nFile1=a\0b\n", 21)},
        {"larger than any profile", QByteArray("[S]\n") + QByteArray(kLargestProfile, 'x') + "=1\n"},
    };
    for (const auto& c : damaged) EXPECT_FALSE(IsSoundProfile(c.bytes)) << c.name;
}

// The reader skips a byte-order mark and reads a last line without its
// line break as any other: a profile an editor left so is sound, and its
// values are read.
TEST(ProfileSyntax, AByteOrderMarkAndAMissingLastLineBreakAreSound)
{
    const QByteArray profile = "[Settings]\r\nWindowPos=0,1,-1,-1,-1,-1,22,22,1002,702\r\n"
                               "[Recent File List]\r\nFile1=/home/u/b.vek\r\n";
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"a byte-order mark", "\xEF\xBB\xBF" + profile},
        {"no last line break", profile.chopped(2)},
        {"both", "\xEF\xBB\xBF" + profile.chopped(2)},
        {"a mark alone", "\xEF\xBB\xBF"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QString why;
        EXPECT_TRUE(IsSoundProfile(c.bytes, &why)) << c.name << ": " << qPrintable(why);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".ini"));
        WriteAll(path, c.bytes);
        const QSettings read(path, QSettings::IniFormat);
        EXPECT_EQ(read.status(), QSettings::NoError) << c.name;
        if (c.bytes.size() > 3) {
            EXPECT_EQ(read.value(QStringLiteral("Settings/WindowPos")).toStringList().size(), 10) << c.name;
            EXPECT_EQ(read.value(QStringLiteral("Recent File List/File1")).toString(), QStringLiteral("/home/u/b.vek"))
                << c.name;
        }
    }
}

// Quotes and backslashes as the settings reader meets them in recent files'
// paths: written by QSettings (escaped) they are sound and read back as
// they were, a quote or a trailing backslash included.
TEST(ProfileSyntax, PathsWithQuotesAndTrailingBackslashesRoundTrip)
{
    const QStringList paths = {
        QStringLiteral("/home/u/\"quoted\" name.vek"), QStringLiteral("/home/u/one \" quote.vek"),
        QStringLiteral("/home/u/ends in\\"), QStringLiteral("/home/u/a\\\"b;c=d,e.vek"),
        QStringLiteral("/home/u/\\\\"),
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vek.ini"));
    {
        QSettings profile(path, QSettings::IniFormat);
        for (int i = 0; i < paths.size(); ++i)
            profile.setValue(QStringLiteral("Recent File List/File%1").arg(i + 1), paths[i]);
    }
    const QByteArray written = ReadAll(path);
    QString why;
    EXPECT_TRUE(IsSoundProfile(written, &why)) << qPrintable(why) << written.constData();
    const QSettings read(path, QSettings::IniFormat);
    for (int i = 0; i < paths.size(); ++i)
        EXPECT_EQ(read.value(QStringLiteral("Recent File List/File%1").arg(i + 1)).toString(), paths[i]);
}

namespace {

// Whether QSettings reads the profile as `meant`: every key there, each
// with its value of the same type, and no other key.
bool ReadsIntact(const QByteArray& bytes, const QVariantMap& meant)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vek.ini"));
    WriteAll(path, bytes);
    const QSettings read(path, QSettings::IniFormat);
    if (read.allKeys().size() != meant.size()) return false;
    for (auto it = meant.begin(); it != meant.end(); ++it) {
        const QVariant value = read.value(it.key());
        if (value.metaType() != it.value().metaType() || value != it.value()) return false;
    }
    return true;
}

} // namespace

// The check calls damaged what QSettings would misread, and only that:
// line breaks of any kind, comments after a section name, a section of no
// name that holds no entry, and byte-order marks where the reader passes
// them over lose nothing; the same marks before a section name or a key,
// an entry under a section of no name, an escaped closing bracket of a
// typed value, and lines run together lose or change a value.
TEST(ProfileSyntax, DamagedIsWhatQSettingsWouldMisread)
{
    const QStringList window{QStringLiteral("0"), QStringLiteral("1")};
    const QString file = QStringLiteral("/home/u/a.vek");
    const QVariantMap meant{{QStringLiteral("Settings/WindowPos"), window},
                            {QStringLiteral("Recent File List/File1"), file}};
    const QByteArray bom = "\xEF\xBB\xBF";
    const auto profile = [](const char* lineBreak, const QByteArray& before = QByteArray()) {
        return before + "[Settings]" + lineBreak + "WindowPos=0,1" + lineBreak + "[Recent File List]" + lineBreak +
               "File1=/home/u/a.vek" + lineBreak;
    };
    QVariantMap withKey = meant;
    withKey[QStringLiteral("K")] = QStringLiteral("1");
    QVariantMap withBars = meant;
    withBars[QStringLiteral("BarState")] = QByteArray("ab");
    QVariantMap withDel = meant;
    withDel[QStringLiteral("Recent File List/File1")] = QStringLiteral("/home/u/a\x7F.vek");
    const struct {
        const char* name;
        QByteArray bytes;
        QVariantMap meant;
        bool sound;
    } cases[] = {
        {"line breaks of CR alone", profile("\r"), meant, true},
        {"line breaks of LF CR", profile("\n\r"), meant, true},
        {"line breaks of all kinds", profile("\r\n\r\n\n\r\r"), meant, true},
        {"a comment after a section name", QByteArray(profile("\n")).replace("]\n", "] ; the window\n"), meant, true},
        {"a comment right after a section name", QByteArray(profile("\n")).replace("]\n", "];\"x\n"), meant, true},
        {"a section of no name and no entry", profile("\n", "[]\n"), meant, true},
        {"a section of a blank name and no entry", profile("\n", "K=1\n[ ]\n"), withKey, true},
        {"a second UTF-8 mark on a line of its own", profile("\n", bom + bom + "\n"), meant, true},
        {"a second UTF-8 mark before a comment", profile("\n", bom + bom + "; made by hand\n"), meant, true},
        {"a UTF-8 mark before a key", QByteArray(profile("\n")).replace("WindowPos", bom + "WindowPos"), meant, true},
        {"a UTF-16 mark on a line of its own", profile("\r\n", "\xFF\xFE\r\n"), meant, true},
        {"a UTF-16 big-endian mark before a comment", profile("\n", "\xFE\xFF;\n"), meant, true},
        {"a DEL byte in a path", QByteArray(profile("\n")).replace("a.vek", "a\x7F.vek"), withDel, true},
        {"a bar layout", profile("\n", "BarState=@ByteArray(ab)\n"), withBars, true},

        {"a second UTF-8 mark before a section name", profile("\n", bom + bom), meant, false},
        {"a UTF-16 mark before a section name", profile("\n", "\xFF\xFE"), meant, false},
        {"a UTF-16 mark before a key", QByteArray(profile("\n")).replace("WindowPos", "\xFF\xFEWindowPos"), meant,
         false},
        {"an entry under a section of no name", profile("\n", "[]\nK=1\n"), withKey, false},
        {"an entry under a section named by a slash", profile("\n", "[\\]\nK=1\n"), withKey, false},
        {"an entry on the line of its section name", QByteArray(profile("\n")).replace("]\nW", "] W"), meant, false},
        {"lines run together by a quote", QByteArray(profile("\r")).replace("=0", "=\"0"), meant, false},
        {"lines run together by a backslash before CR", QByteArray(profile("\r")).replace(",1", ",1\\"), meant, false},
        {"a bar layout whose bracket is escaped", profile("\n", "BarState=@ByteArray(ab\\)\n"), withBars, false},
        {"a bar layout cut short", profile("\n", "BarState=@ByteArray(ab\n"), withBars, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadsIntact(c.bytes, c.meant), c.sound);
        QString why;
        EXPECT_EQ(IsSoundProfile(c.bytes, &why), c.sound) << qPrintable(why);
    }
}

// Whatever QSettings writes is sound: keys, texts, lists and bytes of any
// characters, the control characters, DEL, byte-order marks, Chinese and
// the reader's own marks among them.
TEST(ProfileSyntax, WhatQSettingsWritesIsSoundWhateverItHolds)
{
    std::mt19937 random(42);
    const QString marks = QStringLiteral(" \t\"\\;=,[]#@()%/\x7F\xA0\xFF\uFEFF\uFFFD图");
    const auto character = [&]() -> QChar {
        switch (random() % 3) {
        case 0: return QChar(char16_t(1 + random() % 0xFF));
        case 1: return QChar(char16_t(0x4E00 + random() % 0x5000));
        default: return marks[qsizetype(random() % marks.size())];
        }
    };
    const auto text = [&](unsigned most) {
        QString s;
        for (unsigned n = random() % (most + 1); n > 0; --n) s += character();
        return s;
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Vek.ini"));
    {
        QSettings profile(path, QSettings::IniFormat);
        for (int i = 0; i < 800; ++i) {
            const QString key = QLatin1Char('k') + text(5) + QStringLiteral("/k") + text(5);
            QByteArray bytes;
            for (unsigned n = random() % 20; n > 0; --n) bytes += char(random());
            const QVariant values[] = {text(20), QStringList{text(5), text(5)}, bytes, QLatin1Char('@') + text(10)};
            profile.setValue(key, values[i % 4]);
        }
    }
    const QByteArray written = ReadAll(path);
    QString why;
    EXPECT_TRUE(IsSoundProfile(written, &why)) << qPrintable(why);
}
