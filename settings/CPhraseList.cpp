#include "settings/CPhraseList.h"

#include "settings/CSettingsFiles.h"
#include "settings/FileSaving.h"

#include "geometry/NumberText.h"
#include "geometry/TextMeasure.h"
#include "platform/RegularFile.h"
#include "res/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

constexpr int IDS_PHRASES_DAMAGED = 36170;
constexpr int IDS_PHRASES_TOO_LARGE = 36171;
constexpr int IDS_PHRASES_UNREADABLE = 36172;
constexpr int IDS_CANNOT_SAVE = 36180;
constexpr int IDS_DAMAGED_NOT_COPIED = 36197;

bool InRange(unsigned char c, unsigned char low, unsigned char high)
{
    return c >= low && c <= high;
}

// Bytes of the character at `i`: 1 for ASCII (and the code page's single
// 0x80), 2 for a GBK pair, 4 for a four-byte GB18030 sequence (which the
// editor writes for characters beyond GBK); 0 when the bytes there are no
// character.
std::size_t CharLength(const std::string& s, std::size_t i)
{
    const auto at = [&s](std::size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0; };
    const unsigned char c = at(i);
    if (c == 0) return 0;
    if (c <= 0x80) return 1;
    if (c == 0xFF) return 0;
    const unsigned char t = at(i + 1);
    if (InRange(t, 0x40, 0x7E) || InRange(t, 0x80, 0xFE)) return 2;
    if (InRange(t, 0x30, 0x39) && InRange(at(i + 2), 0x81, 0xFE) && InRange(at(i + 3), 0x30, 0x39)) return 4;
    return 0;
}

// The longest start of the text of at most `limit` bytes that ends on a
// character boundary.
std::string CutOnCharacter(const std::string& s, std::size_t limit)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t n = std::max<std::size_t>(1, CharLength(s, i));
        if (i + n > limit) break;
        i += n;
    }
    return s.substr(0, i);
}

void AddPiece(std::vector<std::string>& out, const std::string& piece)
{
    std::string t = Trimmed(piece);
    if (!t.empty()) out.push_back(std::move(t));
}

void MoveToHead(std::vector<std::string>& list, const std::string& phrase)
{
    list.erase(std::remove(list.begin(), list.end(), phrase), list.end());
    list.insert(list.begin(), phrase);
}

} // namespace

QString CPhraseList::DefaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(FileName());
}

// As the Windows program read it: text mode (CR LF one line feed) and
// pieces of at most 999 bytes up to and including a line feed; here the
// pieces also end before a character that would not fit whole.
std::vector<std::string> CPhraseList::Parse(const std::string& bytes, bool* damaged)
{
    bool bad = false;
    std::vector<std::string> phrases;
    std::string piece;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (c == '\n') {
            AddPiece(phrases, piece);
            piece.clear();
            ++i;
            continue;
        }
        const std::size_t n = CharLength(bytes, i);
        if (n == 0) {
            bad = true;
            ++i;
            continue;
        }
        // The line feed ending a piece counts among its 999 bytes.
        if (piece.size() + n > std::size_t(kReadPieceBytes - 1)) {
            AddPiece(phrases, piece);
            piece.clear();
        }
        piece.append(bytes, i, n);
        i += n;
    }
    AddPiece(phrases, piece);
    if (damaged) *damaged = bad;
    return phrases;
}

std::string CPhraseList::Format(const std::vector<std::string>& phrases)
{
    std::string out;
    for (const std::string& phrase : phrases) {
        const std::string t = CutOnCharacter(Trimmed(phrase), std::size_t(kMaxPhraseBytes));
        if (t.empty()) continue;
        out += t;
        out += "\r\n";
    }
    return out;
}

void CPhraseList::RecordText(std::vector<std::string>& phrases, const std::string& text)
{
    const std::string entry = Trimmed(TrimTrailingLineBreaks(TrimLeadingLineBreaks(text)));
    if (!entry.empty()) {
        const int lines = CountTextLines(entry);
        for (int n = 0; n < lines; ++n) {
            // Lines are compared as they will be stored, so no phrase ends
            // up twice in the file.
            const std::string line = Trimmed(GetTextLine(entry, n));
            if (!line.empty()) MoveToHead(phrases, line);
        }
    }
    if (phrases.size() > std::size_t(kMaxPhrases)) phrases.resize(std::size_t(kMaxPhrases));
}

std::vector<std::string> CPhraseList::FromDictionaryText(const std::string& words)
{
    std::vector<std::string> list;
    const std::string entry = Trimmed(TrimTrailingLineBreaks(TrimLeadingLineBreaks(words)));
    if (entry.empty()) return list;
    const int lines = CountTextLines(entry);
    for (int n = 0; n < lines; ++n) {
        const std::string line = Trimmed(GetTextLine(entry, n));
        if (line.empty()) continue;
        list.erase(std::remove(list.begin(), list.end(), line), list.end());
        list.push_back(line);
    }
    if (list.size() > std::size_t(kMaxDictionaryPhrases)) list.resize(std::size_t(kMaxDictionaryPhrases));
    return list;
}

std::string CPhraseList::ToDictionaryText(const std::vector<std::string>& phrases)
{
    std::string text;
    for (const std::string& phrase : phrases) {
        if (!text.empty()) text += "\r\n";
        text += phrase;
    }
    return text;
}

bool CPhraseList::Load(const QString& path)
{
    m_phrases.clear();
    m_damaged = false;
    m_warning.clear();
    if (!QFileInfo::exists(path)) return true;
    // Only a regular file: a pipe or a device could hold the program up.
    QFile file;
    QString why;
    if (!OpenRegularFile(path, file, &why)) {
        m_damaged = true;
        m_warning = LoadResString(IDS_PHRASES_UNREADABLE).arg(why);
        return false;
    }
    const bool huge = file.size() > kMaxFileBytes;
    std::string bytes = file.read(kMaxFileBytes).toStdString();
    if (huge) {
        // The phrase the limit cut through is left out, not kept in half.
        const std::size_t lastBreak = bytes.find_last_of('\n');
        bytes.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    bool bad = false;
    m_phrases = Parse(bytes, &bad);
    m_damaged = bad || huge;
    if (huge)
        m_warning = LoadResString(IDS_PHRASES_TOO_LARGE);
    else if (bad)
        m_warning = LoadResString(IDS_PHRASES_DAMAGED);
    return !m_damaged;
}

bool CPhraseList::Write(const QString& path, const std::vector<std::string>& phrases, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SaveWholeFile(path, Format(phrases), error);
}

bool CPhraseList::SavePhrase(const QString& path, const std::string& text, QString* error)
{
    CPhraseList list;
    list.Load(path);
    std::vector<std::string> phrases = list.Phrases();
    RecordText(phrases, text);
    // A damaged file keeps what could not be read until the user changes
    // the list; a sound one is written back trimmed, as it always was.
    // Dropping what lies beyond the limit is no change of the user's.
    const std::vector<std::string>& before = list.Phrases();
    const bool unchanged = phrases.size() <= before.size() &&
                           std::equal(phrases.begin(), phrases.end(), before.begin());
    if (list.IsDamaged() && unchanged) return true;
    return WriteOver(path, list, phrases, error);
}

bool CPhraseList::SaveDictionary(const QString& path, const std::string& words, QString* error)
{
    CPhraseList list;
    list.Load(path);
    return WriteOver(path, list, FromDictionaryText(words), error);
}

bool CPhraseList::WriteOver(const QString& path, const CPhraseList& read, const std::vector<std::string>& phrases,
                            QString* error)
{
    // What could not be read may still be recovered from the copy.
    if (read.IsDamaged() && QFileInfo::exists(path) && CSettingsFiles::KeepDamagedCopy(path).isEmpty()) {
        if (error)
            *error = LoadResString(IDS_CANNOT_SAVE)
                         .arg(QFileInfo(path).fileName(), LoadResString(IDS_DAMAGED_NOT_COPIED));
        return false;
    }
    return Write(path, phrases, error);
}
