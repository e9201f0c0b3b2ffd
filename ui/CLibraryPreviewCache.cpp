#include "ui/CLibraryPreviewCache.h"

#include "library/CLibraryThumbnail.h"

#include <QDateTime>

CLibraryPreviewCache& CLibraryPreviewCache::Shared()
{
    static CLibraryPreviewCache cache;
    return cache;
}

QString CLibraryPreviewCache::KeyOf(const QString& path, qint64 size, qint64 modified)
{
    return QStringLiteral("%1\n%2\n%3").arg(path).arg(size).arg(modified);
}

const QImage& CLibraryPreviewCache::Thumbnail(const QString& path, qint64 size, qint64 modified)
{
    const QString key = KeyOf(path, size, modified);
    auto found = m_images.find(key);
    if (found != m_images.end()) return found.value();
    if (m_images.size() >= kMaxEntries) m_images.clear();
    return m_images.insert(key, CLibraryThumbnail::Render(path)).value();
}

const QImage& CLibraryPreviewCache::Thumbnail(const QFileInfo& file)
{
    return Thumbnail(file.absoluteFilePath(), file.size(), file.lastModified().toMSecsSinceEpoch());
}
