// What the fuzz targets of the application layer do with one input; the
// fuzzers and the replay tests of their findings both call these.
#pragma once

#include "FuzzSupport.h"

#include "app/CDataTransfer.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "settings/SettingsRepair.h"
#include "model/COleArchiveContext.h"
#include "platform/CArchive.h"
#include "settings/CPhraseList.h"

#include <QMimeData>

namespace fuzz {

namespace detail {

inline const CSystemSettings& DefaultSettings()
{
    static const CSystemSettings defaults = [] {
        CSystemSettings s;
        s.SetDefaults();
        s.SetDefaultLineTypes();
        return s;
    }();
    return defaults;
}

// Reads into a copy of the defaults, as the settings file loader does;
// anything but CArchiveError passes through.
template <class Load>
bool LoadSettings(const std::string& bytes, CSystemSettings& settings, Load load)
{
    try {
        CArchive ar(bytes);
        load(settings, ar);
    } catch (const CArchiveError&) {
        return false;
    }
    return true;
}

// Loads, hands what loaded to `use` as the program would use it, stores
// and loads again.
template <class Load, class Store, class Use>
bool SettingsFile(const std::string& bytes, Load load, Store store, Use use)
{
    CSystemSettings settings = DefaultSettings();
    if (!LoadSettings(bytes, settings, load)) return false;
    use(static_cast<const CSystemSettings&>(settings));
    CArchive ar;
    store(settings, ar);
    CSystemSettings again = DefaultSettings();
    if (!LoadSettings(ar.Buffer(), again, load)) throw Broken("stored settings cannot be read back");
    return true;
}

template <class Load, class Store>
bool SettingsFile(const std::string& bytes, Load load, Store store)
{
    return SettingsFile(bytes, load, store, [](const CSystemSettings&) {});
}

} // namespace detail

// The document file as the editor opens it: a compound file whose
// "Contents" stream is the page-set record and whose "Embedding N"
// storages hold the embedded objects (a bare record is taken too, as the
// backup file is one). A document that opens is drawn, saved, and must
// open again.
inline bool Document(const std::string& bytes)
{
    const InputFile file(bytes, ".vek");
    CVEKDoc doc;
    if (doc.OnOpenDocument(file.Path()) != CVEKDoc::LoadResult::Ok) return false;
    if (!doc.GetPageSet()) throw Broken("an opened document has no content");
    DrawPages(*doc.GetPageSet());
    const InputFile saved("", ".saved.vek");
    QString error;
    if (!doc.OnSaveDocument(saved.Path(), &error))
        throw Broken("an opened document cannot be saved: " + error.toStdString());
    CVEKDoc reopened;
    if (reopened.OnOpenDocument(saved.Path()) != CVEKDoc::LoadResult::Ok)
        throw Broken("a saved document cannot be opened again");
    return true;
}

// "Config.dat", the user's settings, with the fields no settings page
// gives repaired as the program's start does. A repaired record holds
// nothing more to repair, stored and read back either.
inline bool Config(const std::string& bytes)
{
    return detail::SettingsFile(
        bytes,
        [](CSystemSettings& s, CArchive& ar) {
            s.LoadConfig(ar);
            RepairDamagedSettings(s);
            if (!RepairDamagedSettings(s).isEmpty()) throw Broken("repaired settings need repairing again");
        },
        [](const CSystemSettings& s, CArchive& ar) { s.StoreConfig(ar); });
}

// "LineType.dat" goes as far as the start takes it, to the tool bar's
// pictures of the line types: LineTypeTarget.h.

// Pasting: copied elements under the program's own clipboard format (a
// page-set record), or else a text, when the first byte is odd. What the
// paste accepts goes into a document's page, which is drawn and stored.
inline bool Clipboard(const std::string& bytes)
{
    if (bytes.empty()) return false;
    static const bool settingsReady = [] {
        Settings() = detail::DefaultSettings();
        return true;
    }();
    (void)settingsReady;
    QMimeData mime;
    const QByteArray body(bytes.data() + 1, qsizetype(bytes.size() - 1));
    if (bytes[0] & 1)
        mime.setText(QString::fromUtf8(body));
    else
        mime.setData(CDataTransfer::FormatName(), body);
    CDataTransfer::PasteData data = CDataTransfer::ReadPasteData(&mime);
    if (data.result != CDataTransfer::Pasted) return false;
    CPageSet document;
    document.AppendPage();
    CDataTransfer::InsertPasteData(&document, data);
    DrawPages(document);
    CArchive ar;
    COleArchiveContext objects(ar);
    document.Store(ar);
    return true;
}

// "Text.lst", the phrase list of the edit-text dialog, read as the dialog
// reads it. Every phrase read is a trimmed, non-empty run of whole
// characters short enough to be written whole, and reads back the same
// from the bytes written for it; a confirmed phrase leaves a file that
// reads without damage (or, for a damaged file that did not change, the
// file as it was), and a damaged file written over is kept beside it.
inline bool PhraseList(const std::string& bytes)
{
    const InputFile file(bytes, ".lst");
    CPhraseList list;
    const bool sound = list.Load(file.Path());
    const std::vector<std::string>& phrases = list.Phrases();
    for (const std::string& phrase : phrases) {
        if (phrase.empty() || phrase.size() > std::size_t(CPhraseList::kMaxPhraseBytes))
            throw Broken("a phrase read is empty or too long to be written whole");
        bool damaged = false;
        if (CPhraseList::Parse(phrase, &damaged) != std::vector<std::string>{phrase} || damaged)
            throw Broken("a phrase read does not read back alone and whole");
    }
    if (CPhraseList::Parse(CPhraseList::Format(phrases)) != phrases)
        throw Broken("the phrases written do not read back the same");
    if (phrases.empty()) return sound;
    const bool saved = CPhraseList::SavePhrase(file.Path(), phrases.back());
    // A damaged list written over is kept beside the new one, byte for byte.
    const QString copy = file.Path() + QStringLiteral(".damaged");
    if (QFile::exists(copy)) {
        QFile kept(copy);
        const QByteArray keptBytes = kept.open(QIODevice::ReadOnly) ? kept.readAll() : QByteArray();
        kept.close();
        QFile::remove(copy);
        if (!list.IsDamaged()) throw Broken("a sound phrase list was kept as damaged");
        if (keptBytes != QByteArray::fromStdString(bytes)) throw Broken("the kept copy is not the damaged list");
    }
    if (!saved) return sound;
    CPhraseList again;
    if (!again.Load(file.Path()) && !list.IsDamaged())
        throw Broken("a phrase list written reads as damaged");
    if (again.Phrases().empty()) throw Broken("a confirmed phrase was lost");
    return sound;
}

} // namespace fuzz
