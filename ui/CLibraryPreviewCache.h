// The thumbnails of the library browser, each drawn once per program run:
// a file is read again only when its size or modification time differ
// from when it was drawn. Shared by every browser that opens.
#pragma once

#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QString>

class CLibraryPreviewCache {
public:
    // Beyond this many pictures (some 40 MB) the cache starts afresh.
    static constexpr int kMaxEntries = 2000;

    static CLibraryPreviewCache& Shared();

    // The picture of the file as the listing saw it (path, size and
    // modification time in milliseconds); drawn now when not drawn before.
    const QImage& Thumbnail(const QString& path, qint64 size, qint64 modified);
    const QImage& Thumbnail(const QFileInfo& file);
    int Count() const { return int(m_images.size()); }
    void Clear() { m_images.clear(); }

private:
    static QString KeyOf(const QString& path, qint64 size, qint64 modified);
    QHash<QString, QImage> m_images;
};
