// What the fuzz targets of the application layer do with one input; the
// fuzzers and the replay tests of their findings both call these.
#pragma once

#include "FuzzSupport.h"

#include "app/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "platform/CArchive.h"

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

template <class Load, class Store>
bool SettingsFile(const std::string& bytes, Load load, Store store)
{
    CSystemSettings settings = DefaultSettings();
    if (!LoadSettings(bytes, settings, load)) return false;
    CArchive ar;
    store(settings, ar);
    CSystemSettings again = DefaultSettings();
    if (!LoadSettings(ar.Buffer(), again, load)) throw Broken("stored settings cannot be read back");
    return true;
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

// "Config.dat", the user's settings.
inline bool Config(const std::string& bytes)
{
    return detail::SettingsFile(
        bytes, [](CSystemSettings& s, CArchive& ar) { s.LoadConfig(ar); },
        [](const CSystemSettings& s, CArchive& ar) { s.StoreConfig(ar); });
}

// "LineType.dat", the user's line types.
inline bool LineType(const std::string& bytes)
{
    return detail::SettingsFile(
        bytes, [](CSystemSettings& s, CArchive& ar) { s.LoadLineTypes(ar); },
        [](const CSystemSettings& s, CArchive& ar) { s.StoreLineTypes(ar); });
}

} // namespace fuzz
