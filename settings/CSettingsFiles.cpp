#include "settings/CSettingsFiles.h"

#include "settings/CSystemSettings.h"
#include "settings/FileSaving.h"
#include "settings/ProfileSyntax.h"
#include "settings/SettingsRepair.h"

#include "platform/RegularFile.h"
#include "res/StringTable.h"

#include <QFile>
#include <QFileInfo>

namespace {

enum : int {
    IDS_SETTINGS_DAMAGED = 36190,
    IDS_SETTINGS_FIELDS_DAMAGED = 36191,
    IDS_SETTINGS_COPY_KEPT = 36193,
    IDS_SETTINGS_NOT_OVERWRITTEN = 36194,
};

// Settings files are small; a "settings file" larger than this is not
// copied (nor, then, written over).
constexpr qint64 kLargestCopy = qint64(64) << 20;
constexpr int kMostCopies = 99;

QString FileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

bool HoldsBytes(const QString& path, const QByteArray& bytes)
{
    QFile file;
    return OpenRegularFile(path, file) && file.size() == bytes.size() && file.readAll() == bytes;
}

} // namespace

CSettingsFiles::CSettingsFiles(QString configPath, QString lineTypePath)
    : m_configPath(std::move(configPath)), m_lineTypePath(std::move(lineTypePath))
{
}

QString CSettingsFiles::KeepDamagedCopy(const QString& path)
{
    QFile source;
    if (!OpenRegularFile(path, source) || source.size() > kLargestCopy) return QString();
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return QString();
    for (int n = 1; n <= kMostCopies; ++n) {
        const QString copy = path + (n == 1 ? QStringLiteral(".damaged") : QStringLiteral(".damaged.%1").arg(n));
        if (QFileInfo::exists(copy) || QFileInfo(copy).isSymLink()) {
            if (HoldsBytes(copy, bytes)) return copy;
            continue;
        }
        return SaveWholeFile(copy, bytes) ? copy : QString();
    }
    return QString();
}

QString CSettingsFiles::KeepDamaged(const QString& path, const QString& what)
{
    const QString kept = KeepDamagedCopy(path);
    if (!kept.isEmpty()) return what + LoadResString(IDS_SETTINGS_COPY_KEPT).arg(FileName(kept));
    if (!m_keepAsTheyAre.contains(path)) m_keepAsTheyAre << path;
    return what + LoadResString(IDS_SETTINGS_NOT_OVERWRITTEN);
}

QStringList CSettingsFiles::Load(CSystemSettings& settings)
{
    settings.SetDefaults();
    QStringList warnings;
    QString why;
    const bool configRead = settings.LoadConfigFile(m_configPath, &why);
    const QStringList repaired = RepairDamagedSettings(settings);
    if (!configRead) {
        qWarning("%s: %s", qPrintable(m_configPath), qPrintable(why));
        warnings << KeepDamaged(m_configPath, LoadResString(IDS_SETTINGS_DAMAGED).arg(FileName(m_configPath)));
    } else if (!repaired.isEmpty()) {
        warnings << KeepDamaged(m_configPath, LoadResString(IDS_SETTINGS_FIELDS_DAMAGED)
                                                  .arg(FileName(m_configPath), repaired.join(QStringLiteral("、"))));
    }
    why.clear();
    if (!settings.LoadLineTypeFile(m_lineTypePath, &why)) {
        qWarning("%s: %s", qPrintable(m_lineTypePath), qPrintable(why));
        warnings << KeepDamaged(m_lineTypePath, LoadResString(IDS_SETTINGS_DAMAGED).arg(FileName(m_lineTypePath)));
    }
    return warnings;
}

bool CSettingsFiles::Save(const CSystemSettings& settings, QString* error) const
{
    bool ok = true;
    if (!m_keepAsTheyAre.contains(m_configPath)) ok = settings.SaveConfigFile(m_configPath, error) && ok;
    if (!m_keepAsTheyAre.contains(m_lineTypePath)) ok = settings.SaveLineTypeFile(m_lineTypePath, error) && ok;
    return ok;
}

QString CSettingsFiles::CheckProfile(const QString& path)
{
    // Whether a file that is no regular file may be read is not this
    // check's to say.
    QFile file;
    if (!QFileInfo::exists(path) || !OpenRegularFile(path, file)) return QString();
    const QByteArray bytes = file.read(kLargestProfile + 1);
    file.close();
    QString why;
    if (IsSoundProfile(bytes, &why)) return QString();
    qWarning("%s: %s", qPrintable(path), qPrintable(why));
    const QString warning = KeepDamaged(path, LoadResString(IDS_SETTINGS_DAMAGED).arg(FileName(path)));
    if (MayWriteOver(path)) QFile::remove(path);
    return warning;
}
