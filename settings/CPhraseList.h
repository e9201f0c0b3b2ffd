// The phrase list "Text.lst": the texts a user confirmed in the edit-text
// dialog, most recent first, offered again in its list box, and the whole
// list as the word-list editor edits it.
//
// The file is the Windows program's: one phrase a line in GBK bytes, lines
// ending in CR LF, read in pieces of at most 999 bytes (a phrase longer
// than that reads as several). It lives in the configuration folder beside
// "Config.dat", so a copy of the Windows program's file reads the same.
//
// A damaged file (NUL bytes, bytes that are no GBK character, a file too
// large to be a phrase list) gives the phrases that can be read and a
// warning, and is not written over until the user changes the list: a
// confirmed text that is already the newest phrase writes nothing then.
// Before it is written over it is kept beside itself ("Text.lst.damaged"),
// as the damaged settings files are; one of which no copy can be made is
// not written over. Every write goes through a temporary file and a rename.
#pragma once

#include <QString>

#include <string>
#include <vector>

class CPhraseList {
public:
    // Phrases the edit-text dialog keeps, and the word-list editor.
    static constexpr int kMaxPhrases = 400;
    static constexpr int kMaxDictionaryPhrases = 200;
    // Bytes of a phrase written at most (a shorter cut where the 998th
    // byte would split a double-byte character).
    static constexpr int kMaxPhraseBytes = 998;
    // Bytes of one piece read, the line feed included.
    static constexpr int kReadPieceBytes = 999;
    // More than this is no phrase list: only this much is read.
    static constexpr int kMaxFileBytes = 1 << 20;

    static QString FileName() { return QStringLiteral("Text.lst"); }
    // "Text.lst" in the configuration folder.
    static QString DefaultPath();

    // The phrases of a file's bytes in file order: pieces trimmed of white
    // space at both ends, empty ones skipped. Bytes that are no character
    // (NUL, a lead byte without its trail, 0xFF) are left out and make
    // `damaged` true.
    static std::vector<std::string> Parse(const std::string& bytes, bool* damaged = nullptr);
    // The file's bytes: each phrase trimmed, empty ones skipped, cut to
    // kMaxPhraseBytes on a character boundary, followed by CR LF.
    static std::string Format(const std::vector<std::string>& phrases);
    // A text confirmed in the edit-text dialog goes to the head: its line
    // breaks and white space at both ends trimmed, then each of its lines
    // in order moved (or added) to the head, so its last line ends up
    // first; at most kMaxPhrases stay.
    static void RecordText(std::vector<std::string>& phrases, const std::string& text);
    // The word-list editor's text as a list: its lines trimmed, empty ones
    // dropped, a phrase typed twice kept at its last place, at most
    // kMaxDictionaryPhrases.
    static std::vector<std::string> FromDictionaryText(const std::string& words);
    // The list as the word-list editor shows it: phrases joined by CR LF.
    static std::string ToDictionaryText(const std::vector<std::string>& phrases);

    // Reads the file; a missing file is an empty, sound list. False when it
    // was damaged or could not be read, with the reason in warning().
    bool Load(const QString& path);
    const std::vector<std::string>& Phrases() const { return m_phrases; }
    bool IsDamaged() const { return m_damaged; }
    const QString& Warning() const { return m_warning; }

    // Writes `phrases` through a temporary file. False with the reason when
    // it could not be written.
    static bool Write(const QString& path, const std::vector<std::string>& phrases,
                      QString* error = nullptr);

    // The edit-text dialog's OK: the file read, the text recorded, the file
    // written (a damaged one only when the list changed). False when a
    // write was due and failed.
    static bool SavePhrase(const QString& path, const std::string& text, QString* error = nullptr);
    // The word-list editor's OK: the list replaced by the editor's text.
    static bool SaveDictionary(const QString& path, const std::string& words,
                               QString* error = nullptr);

private:
    // Writes the phrases over the file `read` was loaded from, keeping a
    // copy of it first when it was damaged.
    static bool WriteOver(const QString& path, const CPhraseList& read, const std::vector<std::string>& phrases,
                          QString* error);

    std::vector<std::string> m_phrases;
    bool m_damaged = false;
    QString m_warning;
};
