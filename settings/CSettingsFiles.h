// The settings files "Config.dat" and "LineType.dat": read into the
// settings record when the main window is made, written back when it
// closes; and the profile "Vek.ini", whose syntax is checked here. A file found damaged (one that cannot be read whole, or holds
// values that would break the program) gives the defaults for what is
// damaged and a warning, and is kept beside itself ("Config.dat.damaged")
// before anything is written over it, for the user's settings and line
// types may still be recovered from it. A file of which no copy can be
// kept is not written over at all.
#pragma once

#include <QString>
#include <QStringList>

class CSystemSettings;

class CSettingsFiles {
public:
    CSettingsFiles(QString configPath, QString lineTypePath);

    // Fills the record with the defaults, then from both files; returns
    // the warnings for the user (none when the files were sound or there
    // were none).
    QStringList Load(CSystemSettings& settings);
    // Writes both files, but not over a damaged file of which no copy was
    // kept. False with the reason when a file cannot be written.
    bool Save(const CSystemSettings& settings, QString* error = nullptr) const;

    // The profile "Vek.ini", checked before anything reads it (see
    // ProfileSyntax.h). A damaged one is kept beside itself and removed, so
    // that the start has the defaults and the close writes a sound one; of
    // one that cannot be copied nothing is read and nothing written over
    // it. The warning, or empty when the profile was sound or missing.
    QString CheckProfile(const QString& path);

    // False for a damaged file of which no copy could be kept.
    bool MayWriteOver(const QString& path) const { return !m_keepAsTheyAre.contains(path); }

    // A file found damaged: its copy kept beside it, and the warning's
    // sentence saying so (or that it will not be written over). `what` is
    // the sentence saying what was found.
    QString KeepDamaged(const QString& path, const QString& what);

    // Copies the file beside itself as "<name>.damaged" (or ".damaged.2"
    // and on, when an earlier copy holds other bytes; an earlier copy of
    // the same bytes is taken as it is). The copy's path, or empty when
    // none could be made (the file is no regular file, or too large, or
    // the folder cannot be written).
    static QString KeepDamagedCopy(const QString& path);

private:
    QString m_configPath;
    QString m_lineTypePath;
    // Damaged files that must not be written over.
    QStringList m_keepAsTheyAre;
};
